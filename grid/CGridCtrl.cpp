#include "grid/CGridCtrl.h"

#include "grid/CInPlaceEdit.h"
#include "grid/GridTableAdapter.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Paint.h"
#include "platform/window/PresenterHook.h"
#include "platform/window/WinStyles.h"
#include "platform/window/Window.h"
#include "platform/window/WindowClass.h"
#include "platform/window/WindowGeometry.h"

#include <algorithm>

namespace {
// The grid whose window is being created on this thread: the window's first message ties the
// window to it. Whoever creates the window (CGridCtrl::Create, or a host's own creation call that
// passes its own creation parameter) only has to hold a PendingGrid around the call.
thread_local CGridCtrl* t_pendingGrid = nullptr;
}  // namespace

CGridCtrl::PendingGrid::PendingGrid(CGridCtrl* grid) : previous_(t_pendingGrid) { t_pendingGrid = grid; }
CGridCtrl::PendingGrid::~PendingGrid() { t_pendingGrid = previous_; }

LRESULT GridWindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE && t_pendingGrid && !t_pendingGrid->GetSafeHwnd()) {
        CGridCtrl* grid = t_pendingGrid;
        t_pendingGrid = nullptr;
        SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(grid));
        grid->hwnd_.store(hwnd, std::memory_order_release);
        grid->RegisterTableSource(hwnd);
    }
    auto* grid = reinterpret_cast<CGridCtrl*>(GetWindowLongPtrW(hwnd, 0));
    if (!grid)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        LRESULT result = grid->WindowProc(hwnd, message, wParam, lParam);
        grid->UnregisterTableSource();
        SetWindowLongPtrW(hwnd, 0, 0);
        grid->hwnd_.store(nullptr, std::memory_order_release);
        grid->editor_ = nullptr;
        {
            CGridCtrl::Guard guard(grid->lock_);
            grid->editCell_ = CCellID{};
        }
        grid->mouseMode_ = CGridCtrl::MouseMode::None;
        return result;
    }
    return grid->WindowProc(hwnd, message, wParam, lParam);
}

void CGridCtrl::RegisterWindowClasses()
{
    static std::once_flag once;
    std::call_once(once, [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
        wc.lpfnWndProc = GridWindowProcedure;
        wc.cbWndExtra = sizeof(void*);
        wc.lpszClassName = kClassName;
        RegisterClassExW(&wc);
    });
    CInPlaceEdit::RegisterWindowClass();
}

CGridCtrl::CGridCtrl() = default;

CGridCtrl::~CGridCtrl()
{
    // First: a view may still be reading through the adapter while this object goes.
    UnregisterTableSource();
    HWND hwnd = GetSafeHwnd();
    if (!hwnd)
        return;
    // Only the window's thread can destroy it; from anywhere else the window at least forgets
    // this object, so it never calls into freed memory.
    if (!DestroyWindow(hwnd) && IsWindow(hwnd))
        SetWindowLongPtrW(hwnd, 0, 0);
}

bool CGridCtrl::Create(DWORD exStyle, DWORD style, const RECT& rect, HWND parent, UINT id)
{
    if (IsLive())
        return false;
    RegisterWindowClasses();
    PendingGrid pending(this);
    HWND hwnd = CreateWindowExW(exStyle, kClassName, u"", style, rect.left, rect.top, rect.right - rect.left,
                                rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<uintptr_t>(id)),
                                nullptr, nullptr);
    return hwnd != nullptr && GetSafeHwnd() == hwnd;
}

CGridCtrl* CGridCtrl::FromHandle(HWND hwnd)
{
    WCHAR name[16];
    if (GetClassNameW(hwnd, name, 16) == 0 || std::u16string(name) != kClassName)
        return nullptr;
    return reinterpret_cast<CGridCtrl*>(GetWindowLongPtrW(hwnd, 0));
}

LRESULT CGridCtrl::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        RECT client{};
        GetClientRect(hwnd, &client);
        Guard guard(lock_);
        model_.clientWidth = client.right;
        model_.clientHeight = client.bottom;
        (void)create;
        return 0;
    }
    case WM_SIZE: {
        Guard guard(lock_);
        model_.clientWidth = LOWORD(static_cast<uintptr_t>(lParam));
        model_.clientHeight = HIWORD(static_cast<uintptr_t>(lParam));
        MarkAllLocked();
        break;
    }
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(hwnd, &paint);
        EndPaint(hwnd, &paint);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_SETFONT: {
        {
            Guard guard(lock_);
            font_ = reinterpret_cast<HFONT>(wParam);
            ++model_.revision;
        }
        MarkWindowChanged(hwnd, WindowChangeFont);
        if (LOWORD(static_cast<uintptr_t>(lParam)))
            InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    }
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(GetFont());
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
        Guard guard(lock_);
        MarkFocusLocked(model_.focus);
        break;
    }
    case GM_REPAINT:
        OnRepaint(hwnd);
        return 0;
    case GM_EDITDONE:
        OnEditDone(wParam);
        return 0;
    case GM_COMMITTEXT:
        ApplyDesktopCommits();
        return 0;
    case GM_MOVEFOCUS:
        if (IsValid(static_cast<int>(wParam), static_cast<int>(lParam)))
            SetFocusCell(static_cast<int>(wParam), static_cast<int>(lParam));
        return 0;
    default: {
        bool handled = false;
        LRESULT result = HandleInput(hwnd, message, wParam, lParam, handled);
        if (handled)
            return result;
        break;
    }
    }
    RequestRepaint();
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void CGridCtrl::MarkCellLocked(int row, int col)
{
    ++model_.revision;
    marked_.store(true, std::memory_order_relaxed);
    RECT rect;
    if (!model_.CellRect(row, col, rect))
        return;
    if (!dirtyAny_) {
        dirty_ = rect;
        dirtyAny_ = true;
    } else {
        dirty_ = RECT{std::min(dirty_.left, rect.left), std::min(dirty_.top, rect.top),
                      std::max(dirty_.right, rect.right), std::max(dirty_.bottom, rect.bottom)};
    }
}

void CGridCtrl::MarkFocusLocked(CCellID cell)
{
    if (!cell.IsValid())
        return;
    MarkCellLocked(cell.row, cell.col);
    if (model_.fixedCols > 0)
        MarkCellLocked(cell.row, 0);
    if (model_.fixedRows > 0)
        MarkCellLocked(0, cell.col);
}

void CGridCtrl::MarkAllLocked()
{
    ++model_.revision;
    marked_.store(true, std::memory_order_relaxed);
    dirty_ = RECT{0, 0, std::max(model_.clientWidth, 1), std::max(model_.clientHeight, 1)};
    dirtyAny_ = true;
}

void CGridCtrl::RequestRepaint()
{
    HWND hwnd = GetSafeHwnd();
    if (!hwnd || !marked_.load(std::memory_order_acquire) || repaintPosted_.exchange(true, std::memory_order_acq_rel))
        return;
    // One message per burst: the window thread takes everything marked until it runs.
    if (!PostMessageW(hwnd, GM_REPAINT, 0, 0))
        repaintPosted_.store(false, std::memory_order_release);
}

void CGridCtrl::OnRepaint(HWND hwnd)
{
    repaintPosted_.store(false, std::memory_order_release);
    marked_.store(false, std::memory_order_release);
    RECT rect{};
    bool any = false;
    {
        Guard guard(lock_);
        std::swap(any, dirtyAny_);
        rect = dirty_;
    }
    if (any)
        InvalidateRect(hwnd, &rect, FALSE);
    MarkWindowChanged(hwnd, WindowChangeClassState);
}

// Counts and sizes ----------------------------------------------------------------------------

#define GRID_CHANGE(body)       \
    {                           \
        Guard guard(lock_);     \
        body;                   \
        MarkAllLocked();        \
    }                           \
    RequestRepaint();

void CGridCtrl::SetRowCount(int rows) { GRID_CHANGE(model_.SetRowCount(rows)) }
void CGridCtrl::SetColumnCount(int cols) { GRID_CHANGE(model_.SetColumnCount(cols)) }
void CGridCtrl::SetFixedRowCount(int rows) { GRID_CHANGE(model_.SetFixedRowCount(rows)) }
void CGridCtrl::SetFixedColumnCount(int cols) { GRID_CHANGE(model_.SetFixedColumnCount(cols)) }
void CGridCtrl::SetAllRowHeights(int pixels) { GRID_CHANGE(model_.store.SetAllRowHeights(pixels)) }
void CGridCtrl::SetGridLines(GridLines lines) { GRID_CHANGE(model_.gridLines = lines) }
void CGridCtrl::SetColumnType(int col, GridColumnType type)
{
    GRID_CHANGE(if (type == GridColumnType::Text) model_.columnTypes.erase(col); else model_.columnTypes[col] = type)
}
void CGridCtrl::SetAlternateColours(AlternateColors mode, COLORREF first, COLORREF second)
{
    GRID_CHANGE(model_.alternate = mode; model_.alternateFirst = first; model_.alternateSecond = second)
}
void CGridCtrl::SetColours(COLORREF text, COLORREF textBack, COLORREF gridBack, COLORREF gridLine,
                           COLORREF fixedBack)
{
    GRID_CHANGE(model_.textColour = text; model_.textBackColour = textBack; model_.gridBackColour = gridBack;
                model_.gridLineColour = gridLine; model_.fixedBackColour = fixedBack)
}

int CGridCtrl::GetRowCount() const { Guard guard(lock_); return model_.store.RowCount(); }
int CGridCtrl::GetColumnCount() const { Guard guard(lock_); return model_.store.ColumnCount(); }
int CGridCtrl::GetFixedRowCount() const { Guard guard(lock_); return model_.fixedRows; }
int CGridCtrl::GetFixedColumnCount() const { Guard guard(lock_); return model_.fixedCols; }
int CGridCtrl::GetDefaultRowHeight() const { Guard guard(lock_); return model_.defaultRowHeight; }
GridLines CGridCtrl::GetGridLines() const { Guard guard(lock_); return model_.gridLines; }
bool CGridCtrl::IsEditable() const { Guard guard(lock_); return model_.editable; }
HFONT CGridCtrl::GetFont() const { Guard guard(lock_); return font_; }
uint64_t CGridCtrl::GetRevision() const { Guard guard(lock_); return model_.revision; }
size_t CGridCtrl::GetStoreBytes() const { Guard guard(lock_); return model_.store.BytesUsed(); }

void CGridCtrl::SetDefaultRowHeight(int pixels)
{
    Guard guard(lock_);
    model_.defaultRowHeight = std::max(pixels, 0);
}

void CGridCtrl::SetDefaultColumnWidth(int pixels)
{
    Guard guard(lock_);
    model_.defaultColumnWidth = std::max(pixels, 0);
}

void CGridCtrl::SetEditable(Editable editable)
{
    Guard guard(lock_);
    model_.editable = editable == Editable::Yes;
    ++model_.revision;
}

bool CGridCtrl::SetRowHeight(int row, int pixels)
{
    bool done;
    GRID_CHANGE(done = model_.store.SetRowHeight(row, pixels))
    return done;
}

int CGridCtrl::GetRowHeight(int row) const { Guard guard(lock_); return model_.store.RowHeight(row); }
int CGridCtrl::GetColumnWidth(int col) const { Guard guard(lock_); return model_.store.ColumnWidth(col); }

bool CGridCtrl::SetColumnWidth(int col, int pixels, bool* changed)
{
    bool done = false;
    bool differs = false;
    {
        Guard guard(lock_);
        differs = col >= 0 && col < model_.store.ColumnCount() && model_.store.ColumnWidth(col) != std::max(pixels, 0);
        done = model_.store.SetColumnWidth(col, pixels);
        if (done) {
            model_.ClampScroll();
            MarkAllLocked();
        }
    }
    if (changed)
        *changed = done && differs;
    RequestRepaint();
    return done;
}

void CGridCtrl::SetColumnListItems(int col, std::vector<std::u16string> items)
{
    Guard guard(lock_);
    model_.listItems[col] = std::move(items);
}

GridColumnType CGridCtrl::GetColumnType(int col) const { Guard guard(lock_); return model_.ColumnType(col); }

// Focus, selection and scrolling ---------------------------------------------------------------

CCellID CGridCtrl::GetFocusCell() const { Guard guard(lock_); return model_.focus; }
CCellRange CGridCtrl::GetSelectedRange() const { Guard guard(lock_); return model_.selection; }

void CGridCtrl::SetFocusCell(int row, int col)
{
    {
        Guard guard(lock_);
        MarkFocusLocked(model_.focus);
        model_.focus = model_.OutOfFixed(CCellID{std::max(row, -1), std::max(col, -1)});
        MarkFocusLocked(model_.focus);
    }
    RequestRepaint();
}

void CGridCtrl::EnableSelection(bool enabled)
{
    Guard guard(lock_);
    model_.selectionEnabled = enabled;
    if (!enabled)
        model_.selection = CCellRange{};
    ++model_.revision;
}

void CGridCtrl::SetSelectedRange(int minRow, int minCol, int maxRow, int maxCol)
{
    {
        Guard guard(lock_);
        if (!model_.selectionEnabled)
            return;
        const CCellID first = model_.OutOfFixed(CCellID{minRow, minCol});
        const CCellID last = model_.OutOfFixed(CCellID{maxRow, maxCol});
        CCellRange range{first.row, first.col, std::min(last.row, model_.store.RowCount() - 1),
                         std::min(last.col, model_.store.ColumnCount() - 1)};
        model_.selection = range.IsValid() ? range : CCellRange{};
        MarkAllLocked();
    }
    RequestRepaint();
}

void CGridCtrl::EnsureVisible(int row, int col)
{
    {
        Guard guard(lock_);
        const int top = model_.topRow;
        const int left = model_.leftCol;
        model_.EnsureVisible(row, col);
        if (top != model_.topRow || left != model_.leftCol)
            MarkAllLocked();
    }
    RequestRepaint();
}

GridViewport CGridCtrl::GetViewport() const
{
    Guard guard(lock_);
    return GridViewport{model_.store.RowCount(), model_.store.ColumnCount(), model_.fixedRows, model_.fixedCols,
                        model_.topRow, model_.leftCol, model_.focus, model_.selection, editCell_, model_.revision};
}
