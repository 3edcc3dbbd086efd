// Tooltips on their own, and static controls.
#include "ControlTestSupport.h"

#include "platform/controls/StaticControl.h"
#include "platform/controls/TooltipControl.h"
#include "platform/window/Paint.h"

using namespace control_test;

namespace {

class TooltipTest : public ControlTest {
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        tooltip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP, 0, 0, 0, 0, parent, nullptr, nullptr, nullptr);
        ASSERT_NE(tooltip, nullptr);
        SendMessageW(tooltip, TTM_SETDELAYTIME, TTDT_INITIAL, 10);
        AddTool(1, RECT{0, 0, 50, 50}, const_cast<LPWSTR>(u"Plain text"));
        AddTool(2, RECT{50, 0, 100, 50}, LPSTR_TEXTCALLBACKW);
        parentHandler = [this](HWND hwnd, UINT message, WPARAM, LPARAM lParam, LRESULT*) {
            if (hwnd == parent && message == WM_NOTIFY) {
                auto* hdr = reinterpret_cast<NMHDR*>(lParam);
                if (hdr->code == TTN_GETDISPINFOW) {
                    auto* info = reinterpret_cast<NMTTDISPINFOW*>(hdr);
                    info->lpszText = const_cast<LPWSTR>(callbackText.c_str());
                }
            }
            return false;
        };
    }
    void AddTool(UINT_PTR id, RECT rect, LPWSTR text)
    {
        TOOLINFOW info{};
        info.cbSize = sizeof(info);
        info.hwnd = parent;
        info.uId = id;
        info.rect = rect;
        info.lpszText = text;
        EXPECT_TRUE(SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)));
    }
    void MoveTo(int x, int y)
    {
        MSG msg{parent, WM_MOUSEMOVE, 0, Point(x, y), 0, POINT{x, y}};
        SendMessageW(tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
    }
    std::u16string Shown()
    {
        WCHAR text[128] = {};
        InternalGetWindowText(tooltip, text, 128);
        return text;
    }
    std::vector<UINT> Codes()
    {
        std::vector<UINT> codes;
        for (const Notification& n : TakeNotifications())
            codes.push_back(n.code);
        return codes;
    }
    HWND tooltip = nullptr;
    std::u16string callbackText = u"From the owner";
};

TEST_F(TooltipTest, RestingOverAToolShowsItsTextAndLeavingHidesIt)
{
    MoveTo(10, 10);
    EXPECT_FALSE(IsWindowVisible(tooltip));  // not before the delay
    ASSERT_TRUE(window_test::PumpUntil([&] { return IsWindowVisible(tooltip) != FALSE; }, 3000));
    EXPECT_EQ(Shown(), u"Plain text");
    EXPECT_EQ(Codes(), std::vector<UINT>{TTN_SHOW});
    TOOLINFOW current{};
    current.cbSize = sizeof(current);
    EXPECT_TRUE(SendMessageW(tooltip, TTM_GETCURRENTTOOLW, 0, reinterpret_cast<LPARAM>(&current)));
    EXPECT_EQ(current.uId, 1u);
    MoveTo(60, 10);  // onto the callback tool
    EXPECT_FALSE(IsWindowVisible(tooltip));
    ASSERT_TRUE(window_test::PumpUntil([&] { return IsWindowVisible(tooltip) != FALSE; }, 3000));
    EXPECT_EQ(Shown(), u"From the owner");
    EXPECT_EQ(Codes(), (std::vector<UINT>{TTN_POP, TTN_GETDISPINFOW, TTN_SHOW}));
    MoveTo(300, 300);
    EXPECT_FALSE(IsWindowVisible(tooltip));
    EXPECT_EQ(Codes(), std::vector<UINT>{TTN_POP});
}

TEST_F(TooltipTest, CallbackTextsInTheBufferAreCutToItsSize)
{
    parentHandler = [this](HWND hwnd, UINT message, WPARAM, LPARAM lParam, LRESULT*) {
        if (hwnd == parent && message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == TTN_GETDISPINFOW) {
            auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
            for (WCHAR& c : info->szText)
                c = u'x';  // fills the whole buffer, terminator included
        }
        return false;
    };
    MoveTo(60, 10);
    SendMessageW(tooltip, TTM_POPUP, 0, 0);
    EXPECT_TRUE(IsWindowVisible(tooltip));
    EXPECT_EQ(Shown(), std::u16string(79, u'x'));
}

TEST_F(TooltipTest, ToolsAreKeptEditedAndRemoved)
{
    EXPECT_EQ(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), 2);
    TOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.hwnd = parent;
    info.uId = 1;
    info.lpszText = const_cast<LPWSTR>(u"Changed");
    SendMessageW(tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
    WCHAR buffer[80] = {};
    info.lpszText = buffer;
    EXPECT_EQ(SendMessageW(tooltip, TTM_GETTEXTW, 4, reinterpret_cast<LPARAM>(&info)), 3);
    EXPECT_EQ(std::u16string(buffer), u"Cha");
    MoveTo(10, 10);
    SendMessageW(tooltip, TTM_POPUP, 0, 0);
    EXPECT_TRUE(IsWindowVisible(tooltip));
    TakeNotifications();
    SendMessageW(tooltip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));  // the shown tool goes: hidden first
    EXPECT_FALSE(IsWindowVisible(tooltip));
    EXPECT_EQ(Codes(), std::vector<UINT>{TTN_POP});
    EXPECT_EQ(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), 1);
    // Deactivated, it stays hidden; too small a structure is refused.
    SendMessageW(tooltip, TTM_ACTIVATE, FALSE, 0);
    MoveTo(60, 10);
    SendMessageW(tooltip, TTM_POPUP, 0, 0);
    EXPECT_FALSE(IsWindowVisible(tooltip));
    info.cbSize = 8;
    EXPECT_FALSE(SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)));
    EXPECT_EQ(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), 1);
}

class StaticTest : public ControlTest {};

TEST_F(StaticTest, StaticsAreTransparentToInputUnlessTheyNotify)
{
    HWND label = CreateControl(WC_STATICW, u"用时：", SS_LEFT, 0xFFFF);
    HWND notifying = CreateControl(WC_STATICW, u"Click", SS_NOTIFY, 501, RECT{10, 50, 110, 70});
    EXPECT_EQ(SendMessageW(label, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
    EXPECT_EQ(SendMessageW(label, WM_NCHITTEST, 0, Point(120, 120)), HTTRANSPARENT);
    EXPECT_NE(SendMessageW(notifying, WM_NCHITTEST, 0, Point(120, 160)), HTTRANSPARENT);
    Click(label);
    EXPECT_TRUE(TakeNotifications().empty());
    Click(notifying);
    EXPECT_EQ(TakeNotifications(), (std::vector<Notification>{{WM_COMMAND, notifying, STN_CLICKED, 501}}));
    std::vector<UINT> asked;
    parentHandler = [&](HWND, UINT message, WPARAM, LPARAM, LRESULT*) {
        if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
            asked.push_back(message);
        return false;
    };
    InvalidateRect(label, nullptr, TRUE);
    UpdateWindow(label);
    EXPECT_EQ(asked, std::vector<UINT>{WM_CTLCOLORSTATIC});
    EXPECT_EQ(GetWindowLongPtrW(label, CONTROL_EXTRA_BACKCOLOUR), static_cast<LONG_PTR>(RGB(240, 240, 240)));
    EXPECT_EQ(GetDlgItem(parent, 0xFFFF), label);
}

}  // namespace
