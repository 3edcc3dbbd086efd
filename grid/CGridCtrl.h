#pragma once
// CGridCtrl: the grid component behind the grid control, a window of class "QrnGrid" over a
// GridModel. It keeps cells, fixed rows and columns, focus, selection and typed columns, answers
// mouse and keyboard messages, and runs in-place editing through a CInPlaceEdit child window.
// Threads: the window belongs to the thread that called Create; mouse, keyboard, editing and the
// hooks below run there. Every other public operation may be called from any thread (an import
// fills cells from a worker while the window thread paints): each takes the model lock for its
// whole change, the lock guards nothing but the model and nothing is called while it is held, and
// repaints travel as one posted GM_REPAINT per burst of changes (a view then pulls the new state;
// see GetRevision). A presenter reads through the same locked getters.
#include "grid/GridModel.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

class CInPlaceEdit;
class GridTableAdapter;

// What a view shows besides the cells, taken in one go.
struct GridViewport {
    int rows = 0, cols = 0, fixedRows = 0, fixedCols = 0, topRow = 0, leftCol = 0;
    CCellID focus;
    CCellRange selection;
    CCellID editCell;
    uint64_t revision = 0;
};

class CGridCtrl {
public:
    static constexpr const char16_t* kClassName = u"QrnGrid";

    CGridCtrl();
    CGridCtrl(const CGridCtrl&) = delete;
    CGridCtrl& operator=(const CGridCtrl&) = delete;
    // Destroys the window if it still exists (call on its thread).
    virtual ~CGridCtrl();

    // Registers "QrnGrid" and the editor's class once per process; any thread.
    static void RegisterWindowClasses();
    // Creates the window and ties it to this object; false when the window system refuses.
    bool Create(DWORD exStyle, DWORD style, const RECT& rect, HWND parent, UINT id);
    HWND GetSafeHwnd() const noexcept { return hwnd_.load(std::memory_order_acquire); }
    bool IsLive() const noexcept { return GetSafeHwnd() != nullptr; }
    // The grid of a "QrnGrid" window, null for any other window.
    static CGridCtrl* FromHandle(HWND hwnd);

    // Counts: setting a fixed count above the row or column count grows the grid.
    void SetRowCount(int rows);
    void SetColumnCount(int cols);
    void SetFixedRowCount(int rows);
    void SetFixedColumnCount(int cols);
    int GetRowCount() const;
    int GetColumnCount() const;
    int GetFixedRowCount() const;
    int GetFixedColumnCount() const;

    // Sizes in pixels; the defaults are what new rows and columns get.
    void SetDefaultRowHeight(int pixels);
    void SetDefaultColumnWidth(int pixels);
    int GetDefaultRowHeight() const;
    void SetAllRowHeights(int pixels);
    bool SetRowHeight(int row, int pixels);
    int GetRowHeight(int row) const;
    // False outside the grid; true and "changed" tells whether the width differed.
    bool SetColumnWidth(int col, int pixels, bool* changed = nullptr);
    int GetColumnWidth(int col) const;

    // Cells; outside the grid reads give empty values and writes return false.
    bool IsValid(int row, int col) const;
    bool SetItemText(int row, int col, std::u16string_view text);
    std::u16string GetItemText(int row, int col) const;
    void ReadRow(int row, std::vector<std::u16string>& texts) const;
    bool SetItemData(int row, int col, int64_t value);
    int64_t GetItemData(int row, int col) const;
    bool SetItemCheck(int row, int col, bool checked);
    bool GetItemCheck(int row, int col) const;
    bool SetItemImage(int row, int col, int32_t image);
    int32_t GetItemImage(int row, int col) const;
    bool SetItemFormat(int row, int col, uint32_t format);
    uint32_t GetItemFormat(int row, int col) const;
    bool SetItemState(int row, int col, uint16_t state);
    uint16_t GetItemState(int row, int col) const;
    bool SetItemColours(int row, int col, COLORREF text, COLORREF back);
    COLORREF GetItemBackColour(int row, int col) const;
    COLORREF GetItemTextColour(int row, int col) const;

    // Whole-grid operations, each under one lock (their rules are in GridCellOps.cpp).
    int AddRow(std::u16string_view text);
    void ClearCells(int lastRow, int lastCol);
    void CentreCells(int lastRow, int lastCol);

    void SetColumnType(int col, GridColumnType type);
    GridColumnType GetColumnType(int col) const;
    void SetColumnListItems(int col, std::vector<std::u16string> items);

    CCellID GetFocusCell() const;
    void SetFocusCell(int row, int col);
    void EnableSelection(bool enabled);
    void SetSelectedRange(int minRow, int minCol, int maxRow, int maxCol);
    CCellRange GetSelectedRange() const;
    void EnsureVisible(int row, int col);

    void SetGridLines(GridLines lines);
    GridLines GetGridLines() const;
    void SetEditable(Editable editable);
    bool IsEditable() const;
    // Default colours of cells, the area outside them, grid lines and fixed cells.
    void SetColours(COLORREF text, COLORREF textBack, COLORREF gridBack, COLORREF gridLine, COLORREF fixedBack);
    void SetAlternateColours(AlternateColors mode, COLORREF first, COLORREF second);
    HFONT GetFont() const;

    // In-place editing (window thread): starts an edit as a click, F2 or a typed character would.
    bool EditCell(int row, int col, char16_t firstChar = 0);
    // Ends the running edit: Commit writes the editor's text, Cancel keeps the cell.
    enum class EditEnd { Commit, Cancel };
    void EndEditing(EditEnd how);
    bool IsEditing() const;
    HWND GetEditWindow() const;

    GridViewport GetViewport() const;
    uint64_t GetRevision() const;
    size_t GetStoreBytes() const;

protected:
    // Held around a creation call that makes a "QrnGrid" window for this grid.
    class PendingGrid {
    public:
        explicit PendingGrid(CGridCtrl* grid);
        ~PendingGrid();
        PendingGrid(const PendingGrid&) = delete;
        PendingGrid& operator=(const PendingGrid&) = delete;

    private:
        CGridCtrl* previous_;
    };

    // The window procedure of this grid; hosts may run their own steps first.
    virtual LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    // What the component reports to its host, on the window thread with no lock held.
    virtual bool OnBeforeEdit(int /*row*/, int /*col*/) { return true; }  // false cancels
    virtual void OnEditStarted(int /*row*/, int /*col*/) {}
    virtual void OnEditEnded(int /*row*/, int /*col*/) {}
    virtual void OnFocusCellChanged() {}
    virtual void OnColumnResized(int /*col*/) {}
    virtual void OnRowResized(int /*row*/) {}
    virtual void OnCellClicked(int /*row*/, int /*col*/) {}
    virtual void OnFixedCellClicked(int /*row*/, int /*col*/) {}
    virtual void OnCellDoubleClicked(int /*row*/, int /*col*/) {}
    virtual void OnCellListSelected(int /*row*/, int /*col*/, std::u16string_view /*item*/) {}

private:
    friend LRESULT GridWindowProcedure(HWND, UINT, WPARAM, LPARAM);
    enum class MouseMode { None, Selecting, PrepareEdit, SizingColumn, SizingRow };
    using Guard = std::lock_guard<std::mutex>;

    // Change marks (model lock held) and the coalesced repaint they lead to (no lock held).
    void MarkCellLocked(int row, int col);
    void MarkFocusLocked(CCellID cell);
    void MarkAllLocked();
    void RequestRepaint();
    void OnRepaint(HWND hwnd);
    LRESULT HandleInput(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    void OnLButtonDown(HWND hwnd, int x, int y);
    void OnMouseMove(int x, int y, WPARAM keys);
    void OnLButtonUp(int x, int y);
    void OnLButtonDblClk(int x, int y);
    void OnKeyDown(UINT key);
    void OnScroll(UINT message, WORD request, int position);
    void MoveFocus(CCellID cell);
    bool ToggleCheck(int row, int col);
    bool StartEditing(int row, int col, char16_t firstChar);
    void OnEditDone(WPARAM key);
    // The desktop presenter's view of this grid, registered while the window lives.
    void RegisterTableSource(HWND hwnd);
    void UnregisterTableSource();
    void ApplyDesktopCommits();

    mutable std::mutex lock_;
    GridModel model_;
    std::atomic<HWND> hwnd_{nullptr};
    std::atomic<bool> repaintPosted_{false};
    std::atomic<bool> marked_{false};  // something was marked since the last GM_REPAINT
    RECT dirty_{};
    bool dirtyAny_ = false;
    HFONT font_ = nullptr;
    // Window-thread state of mouse gestures and the running edit.
    MouseMode mouseMode_ = MouseMode::None;
    int sizingIndex_ = -1;
    CCellID downCell_;
    CCellID downFocus_;
    CCellID editCell_;  // written under the model lock, so views may read it
    CInPlaceEdit* editor_ = nullptr;
    bool endingEdit_ = false;
    std::shared_ptr<GridTableAdapter> table_;  // window thread, and the destructor
};
