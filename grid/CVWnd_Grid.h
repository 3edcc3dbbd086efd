#pragma once
// CVWnd_Grid: the native window of the grid control, the grid component plus the control library's
// native-window object (listener, filters, userInt: CVWnd) and the property store. The window is of
// class "QrnGrid"; the library's native window procedure runs in front of the component's own. Setters always store and,
// while the window exists, apply at once; creation applies everything stored. Cell operations act on
// the live component only: without a window they fail (0, false or an empty text).
// Threads: created, destroyed and edited on the window thread; the property and cell operations may
// also be called from a worker (the import), as CGridCtrl allows.
#include "grid/CGridCtrl.h"
#include "grid/GridProperties.h"
#include "grid/IGridEventListener.h"
#include "runtime/CWString.h"
#include "ui/CVWnd.h"

#include <atomic>
#include <map>
#include <memory>

class CVWnd_Grid : public CVWnd, public CGridCtrl {
public:
    CVWnd_Grid() = default;
    // Destroys the window while the whole object still exists (the holder normally did already).
    ~CVWnd_Grid() override;

    // Creates the window ("QrnGrid") and applies the property store; false when it exists already
    // or the window system refuses.
    bool CreateGrid(DWORD exStyle, DWORD style, const RECT& rect, HWND parent, UINT id, HFONT font);

    using CGridCtrl::GetSafeHwnd;
    // The listener the control attached, when it is a grid's.
    IGridEventListener* GetGridListener() const;

    // Properties.
    void SetRowCount(int32_t rows);
    void SetColumnCount(int32_t cols);
    void SetFixedRowCount(int32_t rows);
    void SetFixedColumnCount(int32_t cols);
    void SetGridLines(int32_t mode);
    void SetEditable(bool editable);
    void SetDefaultRowHeight(int32_t pixels);
    void SetDefaultColumnWidth(int32_t pixels);
    void SetTextColour(COLORREF colour);
    void SetCellBackColour(COLORREF colour);
    void SetGridBackColour(COLORREF colour);
    void SetGridLineColour(COLORREF colour);
    void SetFixedBackColour(COLORREF colour);
    void SetAlternateRowColours(AlternateColors mode, COLORREF first, COLORREF second);
    int32_t GetRowCount() const;
    int32_t GetColumnCount() const;
    int32_t GetFixedRowCount() const;
    GridProperties GetProperties() const;
    const char16_t* GetDateFormat() const { return u"yyyy-MM-dd"; }

    // Cells. SetCellValue answers 1 on success, 0 without a window, outside the grid, for a null value
    // or for a value the cell does not take. value points at what typeTag names:
    //   kind 1 (text): 'S' const CWString*, 'B' const int32_t* (written "1" or "0"), 'b' const int8_t*,
    //     'n' const int32_t*, 'p' const int64_t* (decimal), 'F' const double*, 'f' const float* (number
    //     texts); a non-fixed cell of a number column takes only a text that reads as a number.
    //   kind 5 (check state): 'B' const int32_t*, check-box columns only.
    //   kind 6 (image): 'n' const int32_t* (image-list index), 'S' const CWString* (picture path),
    //     'C' const CQrnObject* (a picture object), image columns only.
    int32_t SetCellValue(int32_t row, int32_t col, int32_t kind, char16_t typeTag, const void* value);
    CWString GetCellText(int32_t row, int32_t col) const;
    void ClearCells(int32_t lastRow, int32_t lastCol);
    // The new row's index, -1 without a window.
    int32_t AddRow(const CWString& text);
    void CentreCells(int32_t lastRow, int32_t lastCol);
    CCellID GetFocusCell() const;
    void SetFocusCell(int32_t row, int32_t col);
    void SetSelectedRange(int32_t rowFirst, int32_t colFirst, int32_t rowLast, int32_t colLast);
    void EnsureVisible(int32_t row, int32_t col);
    void SetColumnWidth(int32_t col, int32_t pixels);
    bool IsGridModified() const { return modified_.load(); }
    // The image of an image cell given by path ('S'), empty for others.
    CWString GetCellImagePath(int32_t row, int32_t col) const;

protected:
    void ApplyProperties();
    void ApplyColours(const GridProperties& p);
    bool OnBeforeEdit(int row, int col) override;
    void OnEditStarted(int row, int col) override;
    void OnEditEnded(int row, int col) override;
    void OnFocusCellChanged() override;
    void OnColumnResized(int col) override;
    void OnRowResized(int row) override;
    void OnCellClicked(int row, int col) override;
    void OnFixedCellClicked(int row, int col) override;
    void OnCellDoubleClicked(int row, int col) override;
    void OnCellListSelected(int row, int col, std::u16string_view item) override;

private:
    bool SetCellText(int32_t row, int32_t col, char16_t typeTag, const void* value);

    mutable std::mutex propertiesLock_;
    GridProperties properties_;
    std::atomic<bool> modified_{false};
    std::map<std::pair<int32_t, int32_t>, CWString> imagePaths_;  // under propertiesLock_
};
