// Toolbars: buttons from records and a string pool, clicks to the notification window, drop-downs,
// layout and sizing, custom drawing and tooltips.
#include "ControlTestSupport.h"

#include "platform/controls/Reflection.h"
#include "platform/controls/ToolbarControl.h"
#include "platform/controls/TooltipControl.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/ImageList.h"
#include "platform/window/Paint.h"
#include "platform/window/WindowGeometry.h"

#include <climits>
#include <cstring>

using namespace control_test;

namespace {

TBBUTTON Record(int image, int command, BYTE state, BYTE style, INT_PTR text)
{
    TBBUTTON b{};
    b.iBitmap = image;
    b.idCommand = command;
    b.fsState = state;
    b.fsStyle = style;
    b.iString = text;
    return b;
}

class ToolbarTest : public ControlTest {
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        notify = notifyClass.Create(u"", WS_CHILD, parent, 0xFFFF, 0, RECT{0, 0, 0, 0});
        toolbar = CreateControl(TOOLBARCLASSNAMEW, u"工具条1",
                                CCS_TOP | TBSTYLE_FLAT | TBSTYLE_WRAPABLE | TBSTYLE_TRANSPARENT | TBSTYLE_CUSTOMERASE | TBSTYLE_TOOLTIPS,
                                103, RECT{2, 0, 130, 56});
        SendMessageW(toolbar, TB_SETPARENT, reinterpret_cast<WPARAM>(notify), 0);
        SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
        SendMessageW(toolbar, TB_SETMAXTEXTROWS, 0, 0);
        // The main window's three items: two buttons around a separator.
        EXPECT_EQ(SendMessageW(toolbar, TB_ADDSTRINGW, 0, reinterpret_cast<LPARAM>(u"导入数据\0表格比对\0")), 0);
        TBBUTTON buttons[] = {Record(0, 1, TBSTATE_ENABLED, BTNS_BUTTON, 0), Record(-1, 2, TBSTATE_ENABLED, BTNS_SEP, -1),
                              Record(1, 3, TBSTATE_ENABLED, BTNS_BUTTON, 1)};
        EXPECT_TRUE(SendMessageW(toolbar, TB_ADDBUTTONSW, 3, reinterpret_cast<LPARAM>(buttons)));
        window_test::DrainQueue();
        parentHandler = [this](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
            if (hwnd != notify)
                return false;
            if (message == WM_COMMAND)
                received.push_back(Notification{message, reinterpret_cast<HWND>(lParam), HIWORD(wParam), LOWORD(wParam)});
            if (message == WM_NOTIFY) {
                auto* hdr = reinterpret_cast<NMHDR*>(lParam);
                received.push_back(Notification{message, hdr->hwndFrom, hdr->code, hdr->idFrom});
                return notifyHandler && notifyHandler(hdr, result);
            }
            return false;
        };
    }
    RECT ButtonRect(int command)
    {
        RECT r{};
        EXPECT_TRUE(SendMessageW(toolbar, TB_GETRECT, static_cast<WPARAM>(command), reinterpret_cast<LPARAM>(&r)));
        return r;
    }
    void ClickButton(int command, int dx = 2)
    {
        RECT r = ButtonRect(command);
        Click(toolbar, r.left + dx, r.top + 2);
    }
    std::vector<Notification> Take()
    {
        std::vector<Notification> out;
        out.swap(received);
        return out;
    }
    Notification Command(int id) { return Notification{WM_COMMAND, toolbar, 0, static_cast<UINT_PTR>(id)}; }

    window_test::TestClass notifyClass;
    HWND notify = nullptr;
    HWND toolbar = nullptr;
    std::vector<Notification> received;
    std::function<bool(NMHDR*, LRESULT*)> notifyHandler;
};

TEST_F(ToolbarTest, ButtonsComeFromRecordsAndThePool)
{
    EXPECT_EQ(SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessageW(toolbar, TB_COMMANDTOINDEX, 3, 0), 2);
    EXPECT_EQ(SendMessageW(toolbar, TB_COMMANDTOINDEX, 9, 0), -1);
    WCHAR text[16] = {};
    EXPECT_EQ(SendMessageW(toolbar, TB_GETBUTTONTEXTW, 3, reinterpret_cast<LPARAM>(text)), 4);
    EXPECT_EQ(std::u16string(text), u"表格比对");
    EXPECT_EQ(SendMessageW(toolbar, TB_GETBUTTONTEXTW, 2, 0), 0);
    TBBUTTON got{};
    EXPECT_TRUE(SendMessageW(toolbar, TB_GETBUTTON, 1, reinterpret_cast<LPARAM>(&got)));
    EXPECT_EQ(got.fsStyle, BTNS_SEP);
    EXPECT_EQ(got.iString, -1);
    // Records of another size are refused.
    SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, 20, 0);
    TBBUTTON more = Record(2, 4, TBSTATE_ENABLED, 0, -1);
    EXPECT_FALSE(SendMessageW(toolbar, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&more)));
    SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    // The narrow form of the message adds the same way.
    EXPECT_TRUE(SendMessageW(toolbar, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&more)));
    EXPECT_EQ(SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0), 4);
    ToolbarSnapshot snapshot;
    ASSERT_TRUE(GetToolbarSnapshot(toolbar, &snapshot));
    ASSERT_EQ(snapshot.buttons.size(), 4u);
    EXPECT_EQ(snapshot.buttons[0].text, u"导入数据");
    EXPECT_EQ(snapshot.notify, notify);
    EXPECT_FALSE(GetToolbarSnapshot(parent, &snapshot));
}

TEST_F(ToolbarTest, AClickSendsTheCommandToTheNotificationWindow)
{
    Subclass recorder(toolbar);
    Log().Watch({WM_LBUTTONDOWN, WM_LBUTTONUP, WM_COMMAND});
    Log().Take();
    ClickButton(3);
    std::vector<Entry> expected{{toolbar, WM_LBUTTONDOWN}, {toolbar, WM_LBUTTONUP}, {notify, WM_COMMAND}};
    EXPECT_EQ(Log().Take(), expected);
    ClickButton(1);
    std::vector<Notification> commands;
    for (const Notification& n : Take())
        if (n.message == WM_COMMAND)
            commands.push_back(n);
    EXPECT_EQ(commands, (std::vector<Notification>{Command(3), Command(1)}));
    EXPECT_TRUE(TakeNotifications().empty());  // the parent hears nothing of it
}

TEST_F(ToolbarTest, SeparatorsDisabledButtonsAndReleasesElsewhereDoNotClick)
{
    RECT separator{};
    SendMessageW(toolbar, TB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&separator));
    Click(toolbar, separator.left + 1, separator.top + 2);
    SendMessageW(toolbar, TB_ENABLEBUTTON, 1, MAKELPARAM(FALSE, 0));
    EXPECT_FALSE(SendMessageW(toolbar, TB_ISBUTTONENABLED, 1, 0));
    ClickButton(1);
    RECT r = ButtonRect(3);
    Click(toolbar, r.left + 2, r.top + 2, r.right + 50, r.top + 2);
    std::vector<Notification> commands;
    for (const Notification& n : Take())
        if (n.message == WM_COMMAND)
            commands.push_back(n);
    EXPECT_TRUE(commands.empty());
    EXPECT_FALSE(SendMessageW(toolbar, TB_ISBUTTONPRESSED, 3, 0));
}

TEST_F(ToolbarTest, CheckButtonsAndGroups)
{
    TBBUTTON group[] = {Record(0, 10, TBSTATE_ENABLED, BTNS_CHECKGROUP, -1), Record(0, 11, TBSTATE_ENABLED, BTNS_CHECKGROUP, -1),
                        Record(0, 12, TBSTATE_ENABLED, BTNS_CHECK, -1)};
    SendMessageW(toolbar, TB_ADDBUTTONSW, 3, reinterpret_cast<LPARAM>(group));
    SendMessageW(toolbar, TB_SETBUTTONSIZE, 0, MAKELPARAM(20, 20));
    SetWindowPos(toolbar, nullptr, 0, 0, 400, 60, SWP_NOMOVE | SWP_NOZORDER);
    ClickButton(10);
    ClickButton(11);
    EXPECT_FALSE(SendMessageW(toolbar, TB_ISBUTTONCHECKED, 10, 0));
    EXPECT_TRUE(SendMessageW(toolbar, TB_ISBUTTONCHECKED, 11, 0));
    ClickButton(12);
    ClickButton(12);
    EXPECT_FALSE(SendMessageW(toolbar, TB_ISBUTTONCHECKED, 12, 0));
    EXPECT_TRUE(SendMessageW(toolbar, TB_ISBUTTONCHECKED, 11, 0));
}

TEST_F(ToolbarTest, DropDownButtonsReportTheirArrow)
{
    SendMessageW(toolbar, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    EXPECT_EQ(SendMessageW(toolbar, TB_GETEXTENDEDSTYLE, 0, 0), static_cast<LRESULT>(TBSTYLE_EX_DRAWDDARROWS));
    TBBUTTON drop = Record(2, 7, TBSTATE_ENABLED, BTNS_DROPDOWN, -1);
    SendMessageW(toolbar, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&drop));
    SetWindowPos(toolbar, nullptr, 0, 0, 400, 60, SWP_NOMOVE | SWP_NOZORDER);
    RECT reported{};
    notifyHandler = [&](NMHDR* hdr, LRESULT* result) {
        if (hdr->code != TBN_DROPDOWN)
            return false;
        auto* nm = reinterpret_cast<NMTOOLBARW*>(hdr);
        EXPECT_EQ(nm->iItem, 7);
        reported = nm->rcButton;
        *result = TBDDRET_NODEFAULT;
        return true;
    };
    RECT r = ButtonRect(7);
    Take();
    Click(toolbar, r.right - 3, r.top + 2);  // the arrow
    Click(toolbar, r.left + 2, r.top + 2);   // the button itself
    std::vector<Notification> seen;
    for (const Notification& n : Take())
        if (n.code == TBN_DROPDOWN || n.message == WM_COMMAND)
            seen.push_back(n);
    EXPECT_EQ(seen, (std::vector<Notification>{{WM_NOTIFY, toolbar, TBN_DROPDOWN, 103}, Command(7)}));
    EXPECT_TRUE(EqualRect(&reported, &r));
}

TEST_F(ToolbarTest, LayoutFollowsTheImagesAndAutoSizeFitsTheParent)
{
    HIMAGELIST list = ImageList_Create(32, 32, ILC_COLOR32 | ILC_MASK, 4, 4);
    EXPECT_EQ(SendMessageW(toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list)), 0);
    EXPECT_EQ(SendMessageW(toolbar, TB_GETBUTTONSIZE, 0, 0), static_cast<LRESULT>(MAKELONG(40, 39)));
    RECT first = ButtonRect(1), second = ButtonRect(3);
    EXPECT_EQ(first.left, 0);
    EXPECT_EQ(first.top, 2);  // below the divider
    EXPECT_EQ(second.left, 40 + 8);  // after the separator
    EXPECT_EQ(SendMessageW(toolbar, TB_GETROWS, 0, 0), 1);
    SendMessageW(toolbar, TB_AUTOSIZE, 0, 0);
    RECT own{}, client{};
    GetWindowRect(toolbar, &own);
    GetClientRect(parent, &client);
    EXPECT_EQ(own.right - own.left, client.right);
    EXPECT_EQ(own.bottom - own.top, 2 + 39);
    // Free placement keeps the toolbar where and as large as it is.
    SetWindowLongW(toolbar, GWL_STYLE, (GetWindowLongW(toolbar, GWL_STYLE) & ~0x0F) | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NOMOVEY);
    SetWindowPos(toolbar, nullptr, 5, 6, 60, 100, SWP_NOZORDER);
    SendMessageW(toolbar, TB_AUTOSIZE, 0, 0);
    GetWindowRect(toolbar, &own);
    EXPECT_EQ(own.right - own.left, 60);
    // Wrapping at the narrow width: the third button goes to a second row.
    EXPECT_EQ(SendMessageW(toolbar, TB_GETROWS, 0, 0), 2);
    EXPECT_EQ(ButtonRect(3).top, 2 + 39);
    SendMessageW(toolbar, TB_SETIMAGELIST, 0, 0);
    ImageList_Destroy(list);
}

// A separator's width and the indent are any int the caller passes: capped, so that the positions
// after them neither overflow nor wrap round to the left edge.
TEST_F(ToolbarTest, AHugeSeparatorOrIndentIsCappedAndTheButtonsAfterItStayInOrder)
{
    SetWindowLongW(toolbar, GWL_STYLE, GetWindowLongW(toolbar, GWL_STYLE) & ~TBSTYLE_WRAPABLE);
    TBBUTTON more[] = {Record(INT_MAX, 4, TBSTATE_ENABLED, BTNS_SEP, -1), Record(2, 5, TBSTATE_ENABLED, BTNS_BUTTON, -1)};
    ASSERT_TRUE(SendMessageW(toolbar, TB_ADDBUTTONSW, 2, reinterpret_cast<LPARAM>(more)));
    const RECT last = ButtonRect(3), separator = ButtonRect(4), after = ButtonRect(5);
    EXPECT_EQ(separator.left, last.right);
    EXPECT_EQ(separator.right - separator.left, 32767);
    EXPECT_EQ(after.left, separator.right);

    SendMessageW(toolbar, TB_SETINDENT, static_cast<WPARAM>(INT_MAX), 0);
    EXPECT_EQ(ButtonRect(1).left, 32767);
    EXPECT_GT(ButtonRect(5).left, ButtonRect(4).left);
    SendMessageW(toolbar, TB_SETINDENT, static_cast<WPARAM>(-5), 0);
    EXPECT_EQ(ButtonRect(1).left, 0);
}

TEST_F(ToolbarTest, PaintingAsksForCustomDrawingWithTheClientRectangle)
{
    RECT client{};
    GetClientRect(toolbar, &client);
    std::vector<std::pair<DWORD, RECT>> stages;
    notifyHandler = [&](NMHDR* hdr, LRESULT* result) {
        if (hdr->code != NM_CUSTOMDRAW)
            return false;
        auto* cd = reinterpret_cast<NMCUSTOMDRAW*>(hdr);
        stages.emplace_back(cd->dwDrawStage, cd->rc);
        *result = cd->dwDrawStage == CDDS_PREPAINT ? CDRF_NOTIFYITEMDRAW : CDRF_DODEFAULT;
        return true;
    };
    InvalidateRect(toolbar, nullptr, TRUE);
    UpdateWindow(toolbar);
    ASSERT_EQ(stages.size(), 2u + 3u);
    EXPECT_EQ(stages[0].first, CDDS_PREERASE);
    EXPECT_TRUE(EqualRect(&stages[0].second, &client));
    EXPECT_EQ(stages[1].first, CDDS_PREPAINT);
    EXPECT_EQ(stages[2].first, CDDS_ITEMPREPAINT);
    RECT first = ButtonRect(1);
    EXPECT_TRUE(EqualRect(&stages[2].second, &first));
}

TEST_F(ToolbarTest, CustomDrawReflectedToTheToolbarReachesItsOwnWindow)
{
    // The notification window offers custom drawing back to the toolbar, as a control library does.
    int reflected = 0;
    Subclass native(toolbar, [&](UINT message, WPARAM, LPARAM lParam, LRESULT* result) {
        if (message != OCM_NOTIFY || reinterpret_cast<NMHDR*>(lParam)->code != NM_CUSTOMDRAW)
            return false;
        ++reflected;
        MarkReflectedMessageHandled(toolbar);
        *result = CDRF_DODEFAULT;
        return true;
    });
    parentHandler = [&](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
        return hwnd == notify && message == WM_NOTIFY && ReflectNotification(notify, message, wParam, lParam, result);
    };
    InvalidateRect(toolbar, nullptr, TRUE);
    UpdateWindow(toolbar);
    EXPECT_EQ(reflected, 2);  // erase and paint
}

TEST_F(ToolbarTest, TooltipsAskTheNotificationWindowForTheButtonsText)
{
    auto tooltip = reinterpret_cast<HWND>(SendMessageW(toolbar, TB_GETTOOLTIPS, 0, 0));
    ASSERT_NE(tooltip, nullptr);
    EXPECT_EQ(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), 2);  // separators have no tool
    SendMessageW(tooltip, TTM_SETDELAYTIME, TTDT_INITIAL, 10);
    std::vector<UINT_PTR> asked;
    notifyHandler = [&](NMHDR* hdr, LRESULT* result) {
        if (hdr->code != TTN_GETDISPINFOW)
            return false;
        asked.push_back(hdr->idFrom);
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(hdr);
        std::u16string text = hdr->idFrom == 3 ? u"表格比对" : u"?";
        text.copy(info->szText, text.size());
        info->szText[text.size()] = 0;
        *result = 1;
        return true;
    };
    RECT r = ButtonRect(3);
    Input(toolbar, {Message(WM_MOUSEMOVE, 0, Point(r.left + 3, r.top + 3))});
    EXPECT_TRUE(window_test::PumpUntil([&] { return IsWindowVisible(tooltip) != FALSE; }, 3000));
    EXPECT_EQ(asked, std::vector<UINT_PTR>{3});
    WCHAR shown[32] = {};
    InternalGetWindowText(tooltip, shown, 32);
    EXPECT_EQ(std::u16string(shown), u"表格比对");
    // A click hides it.
    Input(toolbar, {Message(WM_LBUTTONDOWN, MK_LBUTTON, Point(r.left + 3, r.top + 3)), Message(WM_LBUTTONUP, 0, Point(r.left + 3, r.top + 3))});
    EXPECT_FALSE(IsWindowVisible(tooltip));
    DestroyWindow(toolbar);
    EXPECT_FALSE(IsWindow(tooltip));
}

}  // namespace
