// The grid control rg_BiaoGe: properties kept before creation and applied at creation, the
// private requests of its native window, cell operations, and its ten events through messages.
#include "GridTestSupport.h"

#include "grid/rg_BiaoGe.h"
#include "runtime/CQrnEventObjectPointer.h"
#include "ui/CVWnd.h"
#include "ui/UiConstants.h"

#include "platform/spreadsheet/tests/SheetTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using grid_test::At;
using grid_test::Click;
using grid_test::Key;
using grid_test::Pump;
using grid_test::Type;
using rg_quarn_MFCJieMian_BiaoGe::rg_BiaoGe;
using Events = std::vector<std::string>;

// The owner of the bindings: records what its handlers saw.
struct Owner : CQrnObject {
    Events events;
    int32_t beforeEditAnswer = 0;
    rg_BiaoGe* destroyInBeforeEdit = nullptr;
};

Owner* OwnerOf(CQrnObject* owner) { return static_cast<Owner*>(owner); }

template <class... Args>
int32_t Note(CQrnObject* owner, CQrnObject*, uint32_t user, Args... args)
{
    static const char* names[] = {"FocusCellChanged", "EditStarted",      "EditEnded",    "RowResized",
                                  "ColumnResized",    "CellClicked",      "CellListSelected", "BeforeEdit",
                                  "FixedCellClicked", "CellDoubleClicked", "LeftButtonDown"};
    std::string line = names[user];
    ((line += " " + std::to_string(args)), ...);
    OwnerOf(owner)->events.push_back(line);
    return 0;
}

int32_t NoteList(CQrnObject* owner, CQrnObject*, uint32_t, int32_t row, int32_t col, const CWString* item)
{
    OwnerOf(owner)->events.push_back("CellListSelected " + std::to_string(row) + " " + std::to_string(col) + " "
                                     + std::to_string(item->GetLength()));
    return 0;
}


int32_t BeforeEdit(CQrnObject* owner, CQrnObject*, uint32_t)
{
    Owner* o = OwnerOf(owner);
    o->events.push_back("BeforeEdit");
    if (o->destroyInBeforeEdit)
        o->destroyInBeforeEdit->Reset();  // the last holder goes: the window is destroyed meanwhile
    return o->beforeEditAnswer;
}

class GridControl : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(CVWnd::RegisterLibraryClass(u""));
        ASSERT_TRUE(parent.CreateNativeWindow(0, u"QrnWindow", u"form", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 800, 600,
                                              nullptr, 0));
        guard = new CQrnEventObjectPointer(&owner);
    }
    void TearDown() override
    {
        grid.Reset();
        guard->BeginOwnerTeardown();
        DestroyWindow(parent.GetSafeHwnd());
        Pump();
    }
    WinCreateInfo Record()
    {
        WinCreateInfo info;
        info.parentNative = &parent;
        info.x = 0;
        info.y = 0;
        info.width = 400;
        info.height = 300;
        info.id = 1001;
        info.userInt = 77;
        return info;
    }
    void BindAll()
    {
        grid.BindEvent(grid.FocusCellChanged, &Note<>, guard, 0);
        grid.BindEvent(grid.EditStarted, &Note<>, guard, 1);
        grid.BindEvent(grid.EditEnded, &Note<>, guard, 2);
        grid.BindEvent(grid.RowResized, &Note<int32_t>, guard, 3);
        grid.BindEvent(grid.ColumnResized, &Note<int32_t>, guard, 4);
        grid.BindEvent(grid.CellClicked, &Note<int32_t, int32_t>, guard, 5);
        grid.BindEvent(grid.CellListSelected, &NoteList, guard, 6);
        grid.BindEvent(grid.BeforeEdit, &BeforeEdit, guard, 7);
        grid.BindEvent(grid.FixedCellClicked, &Note<int32_t, int32_t>, guard, 8);
        grid.BindEvent(grid.CellDoubleClicked, &Note<int32_t, int32_t>, guard, 9);
        grid.BindEvent(grid.LeftButtonDown, &Note<int32_t, int32_t, int32_t>, guard, 10);
    }
    HWND Hwnd() const { return grid.GetSafeHwnd(); }

    CVWnd parent;
    Owner owner;
    CQrnEventObjectPointer* guard = nullptr;
    rg_BiaoGe grid;
};

TEST_F(GridControl, PropertiesBeforeCreationTakeEffectAtCreation)
{
    EXPECT_EQ(std::string(grid.GetClassInfo()->name), "rg_quarn_MFCJieMian_BiaoGe::rg_BiaoGe");
    EXPECT_TRUE(grid.GetWndObject()->style & WS_TABSTOP);
    EXPECT_TRUE(grid.GetWndObject()->exStyle & WS_EX_CLIENTEDGE);
    const CWString text(u"x");
    EXPECT_EQ(grid.SetCellText(1, 1, text), 0);  // no window yet
    grid.SetColumnCount(5);
    grid.SetDefaultRowHeight(22);
    grid.SetRowCount(3);
    WinCreateInfo info = Record();
    ASSERT_EQ(grid.Create(info), 1);
    EXPECT_EQ(grid.Create(info), 0);
    char16_t name[16];
    GetClassNameW(Hwnd(), name, 16);
    EXPECT_EQ(std::u16string(name), u"QrnGrid");
    EXPECT_EQ(GetWindowLongPtrW(Hwnd(), GWLP_USERDATA), kQrnWindowMark);
    EXPECT_TRUE(GetWindowLongW(Hwnd(), GWL_STYLE) & WS_CHILD);
    EXPECT_EQ(grid.GetRowCount(), 3);
    EXPECT_EQ(grid.GetColumnCount(), 5);
    EXPECT_EQ(grid.GetGridNative()->GetRowHeight(2), 22);
    EXPECT_TRUE(grid.GetCellText(1, 1).IsEmpty());
    int32_t userInt = 0;
    EXPECT_EQ(SendMessageW(Hwnd(), kQrnQueryUserInt, reinterpret_cast<WPARAM>(&userInt), kQrnWindowMark), kQrnWindowMark);
    EXPECT_EQ(userInt, 77);
    EXPECT_EQ(grid.GetGridNative()->GetFont(), info.font);  // the control's font reached the grid

    EXPECT_EQ(grid.SetCellText(0, 2, CWString(u"车牌号")), 1);
    EXPECT_EQ(grid.GetCellText(0, 2).View(), u"车牌号");
    EXPECT_EQ(grid.AddRow(CWString(u"1")), 3);
    grid.CentreCells(3, 4);
    grid.ClearCells(3, 4);
    EXPECT_TRUE(grid.GetCellText(3, 0).IsEmpty());
    EXPECT_EQ(grid.GetCellText(0, 2).View(), u"车牌号");
}

TEST_F(GridControl, TheTenEventsArriveThroughMessages)
{
    BindAll();
    WinCreateInfo info = Record();
    ASSERT_EQ(grid.Create(info), 1);
    grid.SetColumnCount(5);
    grid.SetRowCount(10);
    grid.GetGridNative()->SetColumnType(4, GridColumnType::CheckBox);
    grid.GetGridNative()->SetColumnType(3, GridColumnType::List);
    grid.GetGridNative()->SetColumnListItems(3, {u"蓝色", u"黄色"});

    Click(Hwnd(), At(2, 1));  // focus moves
    Click(Hwnd(), At(2, 1));  // edit
    Type(grid.GetGridNative()->GetEditWindow(), u"A");
    Key(grid.GetGridNative()->GetEditWindow(), VK_RETURN);
    EXPECT_EQ(grid.GetCellText(2, 1).View(), u"A");
    SendMessageW(Hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, At(3, 2));
    Key(grid.GetGridNative()->GetEditWindow(), VK_ESCAPE);
    Click(Hwnd(), At(0, 3));
    grid.SetFocusCell(5, 4);
    Click(Hwnd(), At(5, 4));  // check-box toggle
    EXPECT_TRUE(grid.GetGridNative()->GetItemCheck(5, 4));
    grid.GetGridNative()->EditCell(6, 3);
    Key(grid.GetGridNative()->GetEditWindow(), VK_DOWN);
    Key(grid.GetGridNative()->GetEditWindow(), VK_RETURN);
    SendMessageW(Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(121, 10));
    SendMessageW(Hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(130, 10));
    SendMessageW(Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 47));
    SendMessageW(Hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(20, 60));

    const Events expected{
        "LeftButtonDown 90 60 0", "FocusCellChanged", "CellClicked 2 1",
        "LeftButtonDown 90 60 0", "BeforeEdit", "EditStarted", "CellClicked 2 1", "EditEnded",
        "CellDoubleClicked 3 2", "BeforeEdit", "EditStarted", "EditEnded",
        "LeftButtonDown 210 12 0", "FixedCellClicked 0 3",
        "LeftButtonDown 270 132 0", "BeforeEdit", "EditStarted", "EditEnded", "CellClicked 5 4",
        "BeforeEdit", "EditStarted", "CellListSelected 6 3 2", "EditEnded",
        "LeftButtonDown 121 10 0", "ColumnResized 1",
        "LeftButtonDown 20 47 0", "RowResized 1"};
    EXPECT_EQ(owner.events, expected);
    EXPECT_EQ(grid.GetCellText(6, 3).View(), u"蓝色");
    EXPECT_EQ(grid.GetGridNative()->GetColumnWidth(1), 70);
    EXPECT_EQ(grid.GetGridNative()->GetRowHeight(1), 36);
}

TEST_F(GridControl, ABeforeEditHandlerAnsweringOnePreventsEveryEdit)
{
    BindAll();
    owner.beforeEditAnswer = 1;
    WinCreateInfo info = Record();
    ASSERT_EQ(grid.Create(info), 1);
    grid.GetGridNative()->SetColumnType(4, GridColumnType::CheckBox);
    grid.SetFocusCell(2, 1);
    Click(Hwnd(), At(2, 1));
    SendMessageW(Hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, At(3, 2));
    Key(Hwnd(), 0x71);
    SendMessageW(Hwnd(), WM_CHAR, u'x', 0);
    grid.SetFocusCell(2, 4);
    Click(Hwnd(), At(2, 4));
    EXPECT_FALSE(grid.GetGridNative()->IsEditing());
    EXPECT_FALSE(grid.GetGridNative()->GetItemCheck(2, 4));
    EXPECT_EQ(std::count(owner.events.begin(), owner.events.end(), "BeforeEdit"), 5);
    EXPECT_EQ(std::count(owner.events.begin(), owner.events.end(), "EditStarted"), 0);
}

TEST_F(GridControl, AHandlerThatDestroysTheGridStopsTheEdit)
{
    BindAll();
    WinCreateInfo info = Record();
    ASSERT_EQ(grid.Create(info), 1);
    HWND hwnd = Hwnd();
    owner.destroyInBeforeEdit = &grid;
    grid.SetFocusCell(2, 1);
    Click(hwnd, At(2, 1));
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(std::count(owner.events.begin(), owner.events.end(), "EditStarted"), 0);
    Pump();
}

TEST_F(GridControl, CopiesShareOneNativeGridAndExportIt)
{
    WinCreateInfo info = Record();
    ASSERT_EQ(grid.Create(info), 1);
    grid.SetCellText(0, 0, CWString(u"ID"));
    rg_BiaoGe copy;
    ASSERT_TRUE(copy.CopyFrom(grid));
    EXPECT_TRUE(copy.IsEqual(grid));
    EXPECT_EQ(copy.GetSafeHwnd(), grid.GetSafeHwnd());
    EXPECT_EQ(copy.GetCellText(0, 0).View(), u"ID");
    platform::spreadsheet::testing::ScratchFolder folder;
    const std::string file = folder / "grid.xls";
    CWString path{std::u16string(file.begin(), file.end())};
    rg_quarn_base::rg_ZhengShuShuZuLei none;
    EXPECT_TRUE(copy.ExportToWorkbook(CWString(u"Sheet1"), CWString(u"宋体"), path, none));
    CWString bad(u"/nonexistent-folder/grid.xls");
    std::string error;
    EXPECT_FALSE(copy.ExportToWorkbook(CWString(u"Sheet1"), CWString(u"宋体"), bad, none, &error));
    EXPECT_NE(error.find("/nonexistent-folder"), std::string::npos) << error;
    copy.Reset();  // the other control keeps the window
    EXPECT_TRUE(IsWindow(grid.GetSafeHwnd()));
}

}  // namespace
