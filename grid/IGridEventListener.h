#pragma once
// What the native grid window reports to its control: slot 0, every message, is the control
// library's OnWindowMessage; slots 1 to 10 are the grid's own. Called on the window thread with no
// lock of the grid held.
#include "runtime/CWString.h"
#include "ui/EventListeners.h"

#include <cstdint>

class IGridEventListener : public IBaseEventListener {
public:
    virtual void OnGridFocusCellChanged() = 0;                                                 // 1
    virtual int32_t OnGridBeforeEdit() = 0;                                                    // 2: non-zero cancels
    virtual void OnGridEditStarted() = 0;                                                      // 3
    virtual void OnGridEditEnded() = 0;                                                        // 4
    virtual void OnGridColumnResized(int32_t col) = 0;                                         // 5
    virtual void OnGridRowResized(int32_t row) = 0;                                            // 6
    virtual void OnGridCellClicked(int32_t row, int32_t col) = 0;                              // 7
    virtual void OnGridFixedCellClicked(int32_t row, int32_t col) = 0;                         // 8
    virtual void OnGridCellDoubleClicked(int32_t row, int32_t col) = 0;                        // 9
    virtual void OnGridCellListSelected(int32_t row, int32_t col, const CWString& item) = 0;  // 10
};
