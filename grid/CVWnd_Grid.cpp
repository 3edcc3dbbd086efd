#include "grid/CVWnd_Grid.h"

#include "grid/GridConversions.h"
#include "runtime/NumberText.h"
#include "platform/gdi/SystemColors.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/WinStyles.h"
#include "platform/window/Window.h"
#include "ui/UiConstants.h"

#include <algorithm>

namespace {
using PropertyGuard = std::lock_guard<std::mutex>;
}  // namespace

CVWnd_Grid::~CVWnd_Grid()
{
    if (HWND hwnd = CGridCtrl::GetSafeHwnd())
        DestroyWindow(hwnd);
}

bool CVWnd_Grid::CreateGrid(DWORD exStyle, DWORD style, const RECT& rect, HWND parent, UINT id, HFONT font)
{
    if (IsLive() || CVWnd::GetSafeHwnd())
        return false;
    RegisterWindowClasses();
    {
        PendingGrid pending(this);
        if (!CreateNativeWindow(exStyle, kClassName, u"", style, rect.left, rect.top, rect.right - rect.left,
                                rect.bottom - rect.top, parent, id))
            return false;
    }
    if (!IsLive())
        return false;
    SetWindowLongPtrW(GetSafeHwnd(), GWLP_USERDATA, kQrnWindowMark);
    if (font)
        SendMessageW(GetSafeHwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font), 1);
    ApplyProperties();
    return IsLive();
}

// Colours and display switches first, then grid lines, sizes, the four counts in order, and the
// remaining switches last.
void CVWnd_Grid::ApplyProperties()
{
    const GridProperties p = GetProperties();
    ApplyColours(p);
    CGridCtrl::SetAlternateColours(p.alternate, p.alternateFirst, p.alternateSecond);
    CGridCtrl::EnableSelection(p.selectionEnabled);
    CGridCtrl::SetGridLines(p.gridLines);
    CGridCtrl::SetDefaultRowHeight(p.defaultRowHeight);
    CGridCtrl::SetDefaultColumnWidth(p.defaultColumnWidth);
    CGridCtrl::SetRowCount(p.rowCount);
    CGridCtrl::SetColumnCount(p.columnCount);
    CGridCtrl::SetFixedRowCount(p.fixedRowCount);
    CGridCtrl::SetFixedColumnCount(p.fixedColumnCount);
    CGridCtrl::SetEditable(p.editable ? Editable::Yes : Editable::No);
}

// The button-face marker becomes the desktop's colour when applied.
void CVWnd_Grid::ApplyColours(const GridProperties& p)
{
    const COLORREF fixedBack = p.fixedBackColour == kSystemButtonFace ? GetSysColor(COLOR_BTNFACE) : p.fixedBackColour;
    CGridCtrl::SetColours(p.textColour, p.cellBackColour, p.gridBackColour, p.gridLineColour, fixedBack);
}

GridProperties CVWnd_Grid::GetProperties() const
{
    PropertyGuard guard(propertiesLock_);
    return properties_;
}

#define GRID_PROPERTY(field, value, apply) \
    {                                      \
        PropertyGuard guard(propertiesLock_);      \
        properties_.field = value;         \
    }                                      \
    if (IsLive()) {                        \
        apply;                             \
    }

void CVWnd_Grid::SetRowCount(int32_t rows) { GRID_PROPERTY(rowCount, std::max(rows, 0), CGridCtrl::SetRowCount(rows)) }

void CVWnd_Grid::SetColumnCount(int32_t cols)
{
    // The alternating colours follow the columns by themselves: the component computes them.
    GRID_PROPERTY(columnCount, std::max(cols, 0), CGridCtrl::SetColumnCount(cols))
}

void CVWnd_Grid::SetFixedRowCount(int32_t rows)
{
    GRID_PROPERTY(fixedRowCount, std::max(rows, 0), CGridCtrl::SetFixedRowCount(rows))
}

void CVWnd_Grid::SetFixedColumnCount(int32_t cols)
{
    GRID_PROPERTY(fixedColumnCount, std::max(cols, 0), CGridCtrl::SetFixedColumnCount(cols))
}

void CVWnd_Grid::SetGridLines(int32_t mode)
{
    const auto lines = static_cast<GridLines>(std::clamp(mode, 0, 3));
    GRID_PROPERTY(gridLines, lines, CGridCtrl::SetGridLines(lines))
}

void CVWnd_Grid::SetEditable(bool editable)
{
    GRID_PROPERTY(editable, editable, CGridCtrl::SetEditable(editable ? Editable::Yes : Editable::No))
}

void CVWnd_Grid::SetDefaultRowHeight(int32_t pixels)
{
    const int32_t lineWidth = GetProperties().gridLineWidth;
    GRID_PROPERTY(defaultRowHeight, pixels, CGridCtrl::SetDefaultRowHeight(pixels);
                  CGridCtrl::SetAllRowHeights(std::max(pixels, lineWidth + 6)))
}

void CVWnd_Grid::SetDefaultColumnWidth(int32_t pixels)
{
    GRID_PROPERTY(defaultColumnWidth, pixels, CGridCtrl::SetDefaultColumnWidth(pixels))
}

#define GRID_COLOUR_PROPERTY(Name, field)                                                                   \
    void CVWnd_Grid::Name(COLORREF colour)                                                                  \
    {                                                                                                       \
        GRID_PROPERTY(field, colour, ApplyColours(GetProperties()))                                         \
    }
GRID_COLOUR_PROPERTY(SetTextColour, textColour)
GRID_COLOUR_PROPERTY(SetCellBackColour, cellBackColour)
GRID_COLOUR_PROPERTY(SetGridBackColour, gridBackColour)
GRID_COLOUR_PROPERTY(SetGridLineColour, gridLineColour)
GRID_COLOUR_PROPERTY(SetFixedBackColour, fixedBackColour)

void CVWnd_Grid::SetAlternateRowColours(AlternateColors mode, COLORREF first, COLORREF second)
{
    {
        PropertyGuard guard(propertiesLock_);
        properties_.alternate = mode;
        properties_.alternateFirst = first;
        properties_.alternateSecond = second;
    }
    if (IsLive())
        CGridCtrl::SetAlternateColours(mode, first, second);
}

int32_t CVWnd_Grid::GetRowCount() const { return IsLive() ? CGridCtrl::GetRowCount() : GetProperties().rowCount; }
int32_t CVWnd_Grid::GetColumnCount() const
{
    return IsLive() ? CGridCtrl::GetColumnCount() : GetProperties().columnCount;
}
int32_t CVWnd_Grid::GetFixedRowCount() const
{
    return IsLive() ? CGridCtrl::GetFixedRowCount() : GetProperties().fixedRowCount;
}

// Cells ---------------------------------------------------------------------------------------

bool CVWnd_Grid::SetCellText(int32_t row, int32_t col, char16_t typeTag, const void* value)
{
    CWString text;
    switch (typeTag) {
    case u'S': text = *static_cast<const CWString*>(value); break;
    case u'B': text = CWString(*static_cast<const int32_t*>(value) ? u"1" : u"0"); break;
    case u'b': text = IntToText(*static_cast<const int8_t*>(value)); break;
    case u'n': text = IntToText(*static_cast<const int32_t*>(value)); break;
    case u'p': text = Int64ToText(*static_cast<const int64_t*>(value)); break;
    case u'F': text.AppendDouble(*static_cast<const double*>(value)); break;
    case u'f': text.AppendFloat(*static_cast<const float*>(value)); break;
    default: return false;
    }
    const GridColumnType type = GetColumnType(col);
    const bool numberColumn = type == GridColumnType::Integer || type == GridColumnType::Number;
    if (numberColumn && row >= CGridCtrl::GetFixedRowCount() && col >= CGridCtrl::GetFixedColumnCount()
        && !GridTextReadsAsNumber(text.View()))
        return false;
    return SetItemText(row, col, text.View());
}

int32_t CVWnd_Grid::SetCellValue(int32_t row, int32_t col, int32_t kind, char16_t typeTag, const void* value)
{
    if (!IsLive() || !value || !IsValid(row, col))
        return 0;
    switch (kind) {
    case 1:
        return SetCellText(row, col, typeTag, value) ? 1 : 0;
    case 5:
        if (typeTag != u'B' || GetColumnType(col) != GridColumnType::CheckBox)
            return 0;
        return SetItemCheck(row, col, *static_cast<const int32_t*>(value) != 0) ? 1 : 0;
    case 6: {
        if (GetColumnType(col) != GridColumnType::Image)
            return 0;
        if (typeTag == u'n')
            return SetItemImage(row, col, *static_cast<const int32_t*>(value)) ? 1 : 0;
        if (typeTag == u'S' || typeTag == u'C') {
            // A picture is shown by the desktop view; the grid keeps where it comes from.
            CWString source;
            if (typeTag == u'S')
                source = *static_cast<const CWString*>(value);
            else
                static_cast<const CQrnObject*>(value)->GetDumpText(source, 0);
            {
                PropertyGuard guard(propertiesLock_);
                imagePaths_[{row, col}] = source;
            }
            return SetItemImage(row, col, -2) ? 1 : 0;
        }
        return 0;
    }
    default:
        return 0;
    }
}

CWString CVWnd_Grid::GetCellImagePath(int32_t row, int32_t col) const
{
    PropertyGuard guard(propertiesLock_);
    auto it = imagePaths_.find({row, col});
    return it == imagePaths_.end() ? CWString() : it->second;
}

CWString CVWnd_Grid::GetCellText(int32_t row, int32_t col) const
{
    return IsLive() ? CWString(GetItemText(row, col)) : CWString();
}

void CVWnd_Grid::ClearCells(int32_t lastRow, int32_t lastCol)
{
    if (IsLive())
        CGridCtrl::ClearCells(lastRow, lastCol);
}

int32_t CVWnd_Grid::AddRow(const CWString& text)
{
    return IsLive() ? CGridCtrl::AddRow(text.View()) : -1;
}

void CVWnd_Grid::CentreCells(int32_t lastRow, int32_t lastCol)
{
    if (IsLive())
        CGridCtrl::CentreCells(lastRow, lastCol);
}

CCellID CVWnd_Grid::GetFocusCell() const { return IsLive() ? CGridCtrl::GetFocusCell() : CCellID{}; }

void CVWnd_Grid::SetFocusCell(int32_t row, int32_t col)
{
    if (IsLive())
        CGridCtrl::SetFocusCell(row, col);
}

void CVWnd_Grid::SetSelectedRange(int32_t rowFirst, int32_t colFirst, int32_t rowLast, int32_t colLast)
{
    if (IsLive())
        CGridCtrl::SetSelectedRange(rowFirst, colFirst, rowLast, colLast);
}

void CVWnd_Grid::EnsureVisible(int32_t row, int32_t col)
{
    if (IsLive())
        CGridCtrl::EnsureVisible(row, col);
}

void CVWnd_Grid::SetColumnWidth(int32_t col, int32_t pixels)
{
    bool changed = false;
    if (IsLive() && CGridCtrl::SetColumnWidth(col, pixels, &changed) && changed)
        modified_ = true;
}

// Listener slots -------------------------------------------------------------------------------

IGridEventListener* CVWnd_Grid::GetGridListener() const
{
    return dynamic_cast<IGridEventListener*>(listener.load(std::memory_order_acquire));
}

bool CVWnd_Grid::OnBeforeEdit(int, int)
{
    IGridEventListener* listener = GetGridListener();
    return !listener || listener->OnGridBeforeEdit() == 0;
}

#define GRID_REPORT(call)                               \
    if (IGridEventListener* listener = GetGridListener()) \
        listener->call;

void CVWnd_Grid::OnEditStarted(int, int) { GRID_REPORT(OnGridEditStarted()) }
void CVWnd_Grid::OnEditEnded(int, int) { GRID_REPORT(OnGridEditEnded()) }
void CVWnd_Grid::OnFocusCellChanged() { GRID_REPORT(OnGridFocusCellChanged()) }
void CVWnd_Grid::OnColumnResized(int col) { GRID_REPORT(OnGridColumnResized(col)) }
void CVWnd_Grid::OnRowResized(int row) { GRID_REPORT(OnGridRowResized(row)) }
void CVWnd_Grid::OnCellClicked(int row, int col) { GRID_REPORT(OnGridCellClicked(row, col)) }
void CVWnd_Grid::OnFixedCellClicked(int row, int col) { GRID_REPORT(OnGridFixedCellClicked(row, col)) }
void CVWnd_Grid::OnCellDoubleClicked(int row, int col) { GRID_REPORT(OnGridCellDoubleClicked(row, col)) }
void CVWnd_Grid::OnCellListSelected(int row, int col, std::u16string_view item)
{
    GRID_REPORT(OnGridCellListSelected(row, col, CWString(item)))
}
