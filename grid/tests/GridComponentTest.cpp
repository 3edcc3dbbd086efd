// The grid component through messages: clicks, the in-place editing protocol, the check-box toggle,
// border drags, keys, scrolling and the coalesced repaint.
#include "GridTestSupport.h"

#include "grid/CInPlaceEdit.h"
#include "platform/window/Focus.h"
#include "platform/window/Paint.h"

#include <gtest/gtest.h>

namespace {

using grid_test::At;
using grid_test::Click;
using grid_test::Key;
using grid_test::Pump;
using grid_test::Type;
using Events = std::vector<std::string>;

class GridComponent : public ::testing::Test {
protected:
    void SetUp() override
    {
        parent = grid_test::MakeParent();
        ASSERT_TRUE(grid.Create(0, WS_CHILD | WS_VISIBLE, RECT{0, 0, 400, 300}, parent, 7));
        hwnd = grid.GetSafeHwnd();
        grid.SetRowCount(10);
        grid.SetColumnCount(5);
        grid.SetFixedRowCount(1);
        grid.SetFixedColumnCount(1);
        for (int r = 0; r < 10; ++r)
            for (int c = 0; c < 5; ++c)
                grid.SetItemText(r, c, u"t" + std::u16string(1, char16_t(u'0' + r)) + char16_t(u'0' + c));
        Pump();
    }
    void TearDown() override
    {
        if (IsWindow(parent))
            DestroyWindow(parent);
        Pump();
    }

    HWND parent = nullptr;
    HWND hwnd = nullptr;
    grid_test::RecordingGrid grid;
};

TEST_F(GridComponent, ClickMovesFocusAndASecondClickEditsThroughTheProtocol)
{
    Click(hwnd, At(2, 3));
    EXPECT_EQ(grid.GetFocusCell(), (CCellID{2, 3}));
    EXPECT_EQ(grid.GetSelectedRange(), (CCellRange{2, 3, 2, 3}));
    EXPECT_EQ(grid.events, (Events{"FocusCellChanged", "CellClicked 2,3"}));
    grid.events.clear();

    Click(hwnd, At(2, 3));  // on the focus cell: the release opens the editor, then reports the click
    ASSERT_TRUE(grid.IsEditing());
    EXPECT_EQ(grid.events, (Events{"BeforeEdit 2,3", "EditStarted 2,3", "CellClicked 2,3"}));
    HWND editor = grid.GetEditWindow();
    EXPECT_EQ(GetFocus(), editor);
    EXPECT_EQ(grid.GetViewport().editCell, (CCellID{2, 3}));
    SendMessageW(editor, WM_CHAR, VK_BACK, 0);
    Type(editor, u"新");
    Key(editor, VK_RETURN);
    EXPECT_FALSE(grid.IsEditing());
    EXPECT_FALSE(IsWindow(editor));
    EXPECT_EQ(GetFocus(), hwnd);
    EXPECT_EQ(grid.GetItemText(2, 3), u"t2新");
    EXPECT_TRUE(grid.GetItemState(2, 3) & GVIS_MODIFIED);
    EXPECT_EQ(grid.events.back(), "EditEnded 2,3");

    grid.events.clear();
    Click(hwnd, At(0, 2));  // a header cell: no focus move, no edit
    EXPECT_EQ(grid.events, (Events{"FixedCellClicked 0,2"}));
    EXPECT_EQ(grid.GetFocusCell(), (CCellID{2, 3}));
}

TEST_F(GridComponent, EveryWayIntoAnEditAsksFirstAndStopsWhenRefused)
{
    grid.allowEdit = false;
    grid.SetFocusCell(3, 1);
    Click(hwnd, At(3, 1));
    SendMessageW(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, At(4, 2));
    grid.SetFocusCell(4, 4);
    Key(hwnd, 0x71);  // F2
    SendMessageW(hwnd, WM_CHAR, u'x', 0);
    EXPECT_FALSE(grid.IsEditing());
    EXPECT_EQ(grid.GetItemText(4, 4), u"t44");
    Events expected{"BeforeEdit 3,1", "CellClicked 3,1", "CellDoubleClicked 4,2", "BeforeEdit 4,2",
                    "BeforeEdit 4,4", "BeforeEdit 4,4"};
    EXPECT_EQ(grid.events, expected);

    // Not editable, read-only cells and fixed cells are never offered to the host.
    grid.events.clear();
    grid.allowEdit = true;
    grid.SetItemState(4, 4, GVIS_READONLY);
    SendMessageW(hwnd, WM_CHAR, u'x', 0);
    EXPECT_FALSE(grid.EditCell(0, 2));
    grid.SetEditable(Editable::No);
    EXPECT_FALSE(grid.EditCell(5, 2));
    EXPECT_TRUE(grid.events.empty());
}

TEST_F(GridComponent, EscapeKeepsTheCellAndATypedCharacterStartsAFreshText)
{
    grid.SetFocusCell(5, 2);
    SendMessageW(hwnd, WM_CHAR, u'9', 0);
    ASSERT_TRUE(grid.IsEditing());
    Type(grid.GetEditWindow(), u"9");
    Key(grid.GetEditWindow(), VK_ESCAPE);
    EXPECT_EQ(grid.GetItemText(5, 2), u"t52");
    EXPECT_FALSE(grid.GetItemState(5, 2) & GVIS_MODIFIED);

    SendMessageW(hwnd, WM_CHAR, u'9', 0);
    Type(grid.GetEditWindow(), u"9");
    Key(grid.GetEditWindow(), VK_TAB);  // commits and moves right
    EXPECT_EQ(grid.GetItemText(5, 2), u"99");
    EXPECT_EQ(grid.GetFocusCell(), (CCellID{5, 3}));

    // Losing the focus commits too; a text equal to the cell's does not mark it modified.
    grid.EditCell(6, 1);
    SetFocus(parent);
    EXPECT_FALSE(grid.IsEditing());
    EXPECT_FALSE(grid.GetItemState(6, 1) & GVIS_MODIFIED);
}

TEST_F(GridComponent, HostThatDestroysTheGridInBeforeEditGetsNoEdit)
{
    grid.destroyInBeforeEdit = true;
    EXPECT_FALSE(grid.EditCell(3, 3));
    EXPECT_FALSE(grid.IsLive());
    EXPECT_EQ(grid.events, (Events{"BeforeEdit 3,3"}));
}

TEST_F(GridComponent, CheckBoxColumnTogglesOnAClickOnTheFocusCellOnly)
{
    grid.SetColumnType(2, GridColumnType::CheckBox);
    Click(hwnd, At(3, 2));  // moves the focus: no toggle yet
    EXPECT_FALSE(grid.GetItemCheck(3, 2));
    grid.events.clear();
    Click(hwnd, At(3, 2));
    EXPECT_TRUE(grid.GetItemCheck(3, 2));
    EXPECT_FALSE(grid.IsEditing());
    EXPECT_EQ(grid.events, (Events{"BeforeEdit 3,2", "EditStarted 3,2", "EditEnded 3,2", "CellClicked 3,2"}));
    Key(hwnd, VK_SPACE);
    EXPECT_FALSE(grid.GetItemCheck(3, 2));

    grid.allowEdit = false;
    Click(hwnd, At(3, 2));
    EXPECT_FALSE(grid.GetItemCheck(3, 2));
    grid.allowEdit = true;
    grid.SetItemState(3, 2, GVIS_READONLY);
    Click(hwnd, At(3, 2));
    EXPECT_FALSE(grid.GetItemCheck(3, 2));
    grid.SetItemCheck(0, 2, true);  // a header cell keeps its state through clicks
    Click(hwnd, At(0, 2));
    EXPECT_TRUE(grid.GetItemCheck(0, 2));
}

TEST_F(GridComponent, BorderDragsResizeAndReport)
{
    // The border between columns 1 and 2 lies at x = 120 in the header row.
    SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(121, 10));
    SendMessageW(hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(150, 10));
    SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(160, 10));
    EXPECT_EQ(grid.GetColumnWidth(1), 100);
    // The border under row 3 lies at y = 96 in the fixed column.
    SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 95));
    SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(20, 80));
    EXPECT_EQ(grid.GetRowHeight(3), 8);
    EXPECT_EQ(grid.events, (Events{"ColumnResized 1", "RowResized 3"}));
}

TEST_F(GridComponent, KeysMoveTheFocusWithinTheNonFixedCells)
{
    grid.SetFocusCell(1, 1);
    Key(hwnd, VK_UP);
    Key(hwnd, VK_LEFT);
    EXPECT_EQ(grid.GetFocusCell(), (CCellID{1, 1}));
    for (int i = 0; i < 20; ++i)
        Key(hwnd, VK_DOWN);
    Key(hwnd, 0x23);  // End
    EXPECT_EQ(grid.GetFocusCell(), (CCellID{9, 4}));
    EXPECT_TRUE(grid.events.empty());  // only mouse releases report focus moves
}

TEST_F(GridComponent, FocusAndSelectionStayOutOfTheFixedArea)
{
    grid.SetFocusCell(0, 0);
    EXPECT_EQ(grid.GetFocusCell(), (CCellID{1, 1}));
    grid.SetFocusCell(-1, -1);
    EXPECT_EQ(grid.GetFocusCell(), (CCellID{-1, -1}));
    grid.SetSelectedRange(0, 0, 20, 3);
    EXPECT_EQ(grid.GetSelectedRange(), (CCellRange{1, 1, 9, 3}));
    grid.EnableSelection(false);
    grid.SetSelectedRange(2, 2, 3, 3);
    EXPECT_FALSE(grid.GetSelectedRange().IsValid());
}

TEST_F(GridComponent, ScrollingKeepsHitTestingAndEnsureVisibleRight)
{
    grid.SetRowCount(100000);
    grid.EnsureVisible(50000, 2);
    const GridViewport view = grid.GetViewport();
    // 300 pixels: the header row and 11 full rows of 24; row 50000 is the last one shown.
    EXPECT_EQ(view.topRow, 50000 - 10);
    Click(hwnd, At(1, 2));  // the first row under the header is the top row now
    EXPECT_EQ(grid.GetFocusCell(), (CCellID{view.topRow, 2}));
    SendMessageW(hwnd, WM_VSCROLL, grid_scroll::kBottom, 0);
    EXPECT_EQ(grid.GetViewport().topRow, 99999);
    SendMessageW(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    EXPECT_EQ(grid.GetViewport().topRow, 99996);
    SendMessageW(hwnd, GM_SCROLLTO, 0, 0);
    EXPECT_EQ(grid.GetViewport().topRow, 1);
    grid.EnsureVisible(1, 1);
    EXPECT_EQ(grid.GetViewport().topRow, 1);
}

TEST_F(GridComponent, ListColumnChoosesAnItemAndReportsIt)
{
    grid.SetColumnType(3, GridColumnType::List);
    grid.SetColumnListItems(3, {u"蓝色", u"黄色", u"白色"});
    ASSERT_TRUE(grid.EditCell(2, 3));
    HWND editor = grid.GetEditWindow();
    Type(editor, u"zz");  // a list takes no typing
    Key(editor, VK_DOWN);
    Key(editor, VK_DOWN);
    Key(editor, VK_RETURN);
    EXPECT_EQ(grid.GetItemText(2, 3), u"黄色");
    EXPECT_EQ(grid.listItem, u"黄色");
    EXPECT_EQ(grid.events, (Events{"BeforeEdit 2,3", "EditStarted 2,3", "CellListSelected 2,3", "EditEnded 2,3"}));
}

TEST_F(GridComponent, TypedColumnsCheckWhatAnEditCommits)
{
    grid.SetColumnType(2, GridColumnType::Integer);
    grid.SetColumnType(3, GridColumnType::Date);
    struct Case {
        int col;
        const char16_t* typed;
        const char16_t* cell;
    };
    const Case cases[] = {
        {2, u"abc", u"t42"},  // not a number: the cell keeps its text
        {2, u"-4.5e2", u"-4.5e2"},
        {3, u"2024/8/9", u"2024-08-09"},
        {3, u"2024年8月21日13时", u"2024-08-21"},
        {3, u"明天", u"t43"},
    };
    for (const Case& c : cases) {
        grid.SetItemText(4, c.col, u"t4" + std::u16string(1, char16_t(u'0' + c.col)));
        ASSERT_TRUE(grid.EditCell(4, c.col, u' '));
        HWND editor = grid.GetEditWindow();
        SendMessageW(editor, WM_CHAR, VK_BACK, 0);
        Type(editor, c.typed);
        Key(editor, VK_RETURN);
        EXPECT_EQ(grid.GetItemText(4, c.col), c.cell);
    }
}

TEST_F(GridComponent, RepaintsArriveAsOneMessagePerBurst)
{
    Pump();
    ValidateRect(hwnd, nullptr);
    for (int i = 0; i < 1000; ++i)
        grid.SetItemText(2, 2, i % 2 ? u"a" : u"b");
    grid.SetItemText(3, 3, u"c");
    MSG msg;
    int repaints = 0;
    while (PeekMessageW(&msg, hwnd, GM_REPAINT, GM_REPAINT, PM_REMOVE)) {
        ++repaints;
        DispatchMessageW(&msg);
    }
    EXPECT_EQ(repaints, 1);
    RECT update{};
    ASSERT_TRUE(GetUpdateRect(hwnd, &update, FALSE));
    // Cells (2,2) and (3,3), nothing more.
    EXPECT_EQ(update.left, 120);
    EXPECT_EQ(update.top, 48);
    EXPECT_EQ(update.right, 240);
    EXPECT_EQ(update.bottom, 96);
}

TEST(GridComponentLife, OperationsNeedNoWindowButRepaintsDoNotLeak)
{
    grid_test::RecordingGrid grid;
    grid.SetColumnCount(2);
    grid.SetRowCount(2);
    EXPECT_TRUE(grid.SetItemText(1, 1, u"x"));
    EXPECT_FALSE(grid.EditCell(1, 1));
    EXPECT_EQ(CGridCtrl::FromHandle(nullptr), nullptr);
}

}  // namespace
