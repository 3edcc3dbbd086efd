// The component layouter: its rectangle and styles, default size, focus forwarding, life-cycle and
// command events, and the tooltip relay.
#include "UiTestSupport.h"

#include "platform/controls/ControlClasses.h"
#include "platform/controls/TooltipControl.h"
#include "platform/window/Focus.h"
#include "platform/window/WindowClass.h"
#include "platform/window/WindowGeometry.h"
#include "ui/UiConstants.h"

namespace {

using rg_quarn_MFCJieMian_base::rg_ZuJianBuJuQi;
using ui_test::EventOwner;

class LayouterTest : public ui_test::UiTest {
protected:
    HWND Child(HWND parent, LPCWSTR className, DWORD style, RECT r)
    {
        return CreateWindowExW(0, className, u"", WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.right - r.left,
                               r.bottom - r.top, parent, nullptr, nullptr, nullptr);
    }
};

RECT RectInParent(HWND hwnd)
{
    RECT r{};
    GetWindowRect(hwnd, &r);
    POINT corners[2] = {{r.left, r.top}, {r.right, r.bottom}};
    MapWindowPoints(nullptr, GetParent(hwnd), corners, 2);
    return RECT{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

bool SameRect(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

TEST_F(LayouterTest, ALayouterGetsExactlyItsRectangleAndItsChildrenKeepTheirs)
{
    rg_ZuJianBuJuQi box;
    box.GetWndObject()->style |= WS_TABSTOP;
    WinCreateInfo info = ChildRecord(5, 49, 560, 485);
    ASSERT_EQ(box.Create(info), 1);
    HWND hwnd = box.GetSafeHwnd();
    EXPECT_TRUE(SameRect(RectInParent(hwnd), RECT{5, 49, 565, 534}));
    EXPECT_TRUE(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_CONTROLPARENT);
    EXPECT_FALSE(GetWindowLongW(hwnd, GWL_STYLE) & WS_TABSTOP);
    EXPECT_TRUE(GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD);
    EXPECT_EQ(GetWindowLongPtrW(hwnd, GWLP_USERDATA), kQrnWindowMark);
    EXPECT_EQ(box.designOuterSize.width, 560);
    EXPECT_EQ(box.designOuterSize.height, 485);
    EXPECT_EQ(SendMessageW(hwnd, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
    wchar_t className[32] = {};
    GetClassNameW(hwnd, reinterpret_cast<LPWSTR>(className), 32);
    EXPECT_EQ(std::u16string(reinterpret_cast<char16_t*>(className)), u"QrnContainer");

    rg_ZuJianBuJuQi inner;
    WinCreateInfo innerInfo = ChildRecord(8, 9, 100, 50);
    innerInfo.parentNative = box.GetNative();
    innerInfo.parentControl = &box;
    ASSERT_EQ(inner.Create(innerInfo), 1);
    EXPECT_TRUE(SameRect(RectInParent(inner.GetSafeHwnd()), RECT{8, 9, 108, 59}));
    MoveWindow(hwnd, 50, 60, 560, 485, TRUE);
    EXPECT_TRUE(SameRect(RectInParent(inner.GetSafeHwnd()), RECT{8, 9, 108, 59})) << "the layouter never moves them";
}

TEST_F(LayouterTest, ADefaultSizeWithoutDesignSizeIsEmpty)
{
    rg_ZuJianBuJuQi box;
    WinCreateInfo info = ChildRecord(3, 4, kDefaultCoordinate, 30);
    ASSERT_EQ(box.Create(info), 1);
    EXPECT_EQ(info.width, 0);
    EXPECT_EQ(info.height, 0);
    EXPECT_EQ(box.designOuterSize.width, 0);
    RECT r{};
    GetWindowRect(box.GetSafeHwnd(), &r);
    EXPECT_TRUE(IsRectEmpty(&r));
}

TEST_F(LayouterTest, FocusGoesToTheFirstChildThatTakesKeyboardInput)
{
    rg_ZuJianBuJuQi box;
    ASSERT_EQ(box.Create(*std::make_unique<WinCreateInfo>(ChildRecord(0, 0, 300, 300))), 1);
    HWND hwnd = box.GetSafeHwnd();
    HWND label = Child(hwnd, u"Static", 0, RECT{0, 0, 50, 20});
    HWND hiddenEdit = CreateWindowExW(0, u"Edit", u"", WS_CHILD, 0, 30, 50, 20, hwnd, nullptr, nullptr, nullptr);
    HWND edit = Child(hwnd, u"Edit", 0, RECT{0, 60, 50, 80});
    ASSERT_TRUE(label && hiddenEdit && edit);
    EXPECT_EQ(SendMessageW(label, WM_GETDLGCODE, 0, 0) & DLGC_STATIC, DLGC_STATIC);

    SetFocus(hwnd);
    EXPECT_EQ(GetFocus(), edit) << "the label answers DLGC_STATIC; a hidden edit box is passed over";

    // A nested layouter is walked into; a button (tab stop, no keyboard wishes) is second choice.
    rg_ZuJianBuJuQi second;
    ASSERT_EQ(second.Create(*std::make_unique<WinCreateInfo>(ChildRecord(0, 310, 200, 200))), 1);
    rg_ZuJianBuJuQi nested;
    WinCreateInfo nestedInfo = ChildRecord(0, 0, 100, 100);
    nestedInfo.parentNative = second.GetNative();
    ASSERT_EQ(nested.Create(nestedInfo), 1);
    HWND button = Child(nested.GetSafeHwnd(), u"Button", WS_TABSTOP, RECT{0, 0, 40, 20});
    SetFocus(second.GetSafeHwnd());
    EXPECT_EQ(GetFocus(), button);

    // Disabled: the first child, whatever it is.
    EnableWindow(hwnd, FALSE);
    SetFocus(hwnd);
    EXPECT_EQ(GetFocus(), label);
}

TEST_F(LayouterTest, LifeCycleEventsFollowThePlatformsOwnProcessing)
{
    auto box = std::make_unique<rg_ZuJianBuJuQi>();
    EventOwner owner;
    for (auto [binding, name] : {std::pair{&box->WindowCreated, "WindowCreated"}, {&box->Destroying, "Destroying"},
                                 {&box->Destroyed, "Destroyed"}, {&box->Moved, "Moved"}, {&box->Resized, "Resized"},
                                 {&box->Shown, "Shown"}, {&box->Hidden, "Hidden"}})
        owner.Bind(*box, *binding, name);
    owner.Bind(*box, box->Created, "Created");
    WinCreateInfo info = ChildRecord(1, 2, 30, 40, 77);
    ASSERT_EQ(box->Create(info), 1);
    EXPECT_EQ(owner.Take(), (std::vector<std::string>{"WindowCreated", "Resized", "Moved", "Shown", "Created object 77"}));
    box->SetVisible(false);
    box->SetVisible(true);
    MoveWindow(box->GetSafeHwnd(), 5, 5, 30, 40, TRUE);
    EXPECT_EQ(owner.Take(), (std::vector<std::string>{"Hidden", "Shown", "Moved"}));
    DestroyWindow(box->GetSafeHwnd());
    EXPECT_EQ(owner.Take(), (std::vector<std::string>{"Destroying", "Destroyed"}));
    EXPECT_FALSE(box->NativeExists());
    box->SetControlText(CWString(u"after"));
    EXPECT_EQ(box->GetControlText().View(), u"after") << "the control stays usable with its holder";
}

TEST_F(LayouterTest, MenuCommandsRaiseCommandAndControlCommandsGoToTheControl)
{
    rg_ZuJianBuJuQi box;
    ASSERT_EQ(box.Create(*std::make_unique<WinCreateInfo>(ChildRecord(0, 0, 100, 100))), 1);
    EventOwner owner;
    owner.Bind(box, box.Command, "Command");
    SendMessageW(box.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(0x1234, 1), 0);
    HWND plain = Child(box.GetSafeHwnd(), u"Static", 0, RECT{0, 0, 5, 5});
    SendMessageW(box.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(5, 0), reinterpret_cast<LPARAM>(plain));
    EXPECT_EQ(owner.Take(), (std::vector<std::string>{"Command 4660"}));
}

// A stand-in tooltip with one tool that records what is relayed to it.
std::vector<UINT> g_relayed;
LRESULT FakeTooltipProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == TTM_GETTOOLCOUNT)
        return 1;
    if (message == TTM_RELAYEVENT) {
        g_relayed.push_back(reinterpret_cast<const MSG*>(lParam)->message);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

TEST_F(LayouterTest, MouseMessagesAreRelayedToTheTooltipButNeverConsumed)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = &FakeTooltipProc;
    wc.lpszClassName = u"UiFakeTooltip";
    RegisterClassW(&wc);
    rg_ZuJianBuJuQi box;
    ASSERT_EQ(box.Create(*std::make_unique<WinCreateInfo>(ChildRecord(0, 0, 100, 100))), 1);
    HWND tooltip = CreateWindowExW(0, u"UiFakeTooltip", u"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    box.SetTooltipControl(tooltip);
    g_relayed.clear();
    for (UINT m : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK, WM_MBUTTONUP, WM_MOUSEWHEEL, WM_KEYDOWN}) {
        MSG msg{box.GetSafeHwnd(), m, 0, 0, 0, {0, 0}};
        EXPECT_EQ(SendMessageW(box.GetSafeHwnd(), kQrnPreTranslate, reinterpret_cast<WPARAM>(&msg), kQrnWindowMark), 0);
    }
    EXPECT_EQ(g_relayed, (std::vector<UINT>{WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_MBUTTONUP}));
    DestroyWindow(box.GetSafeHwnd());
    EXPECT_FALSE(IsWindow(tooltip)) << "the tooltip goes with the layouter";
}

}  // namespace
