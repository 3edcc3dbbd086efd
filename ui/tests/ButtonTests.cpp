// Push buttons: the event order of a click by mouse and by the space key, refused clicks, the
// default button of a form with Enter, and the reflected colour request.
#include "UiTestSupport.h"

#include "platform/controls/ButtonControl.h"
#include "platform/controls/Reflection.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/window/Focus.h"
#include "platform/window/PresenterHook.h"
#include "platform/window/WindowClass.h"
#include "ui/CQrnWinForm.h"
#include "ui/PreTranslate.h"
#include "ui/rg_button1.h"
#include "ui/rg_edit_box.h"

namespace {

using rg_quarn_MFCJieMian_base::CQrnWinForm;
using rg_quarn_MFCJieMian_base::rg_AnNiuJiChuLei;
using rg_quarn_MFCJieMian_base::rg_button1;
using rg_quarn_MFCJieMian_base::rg_edit_box;
using ui_test::EventOwner;

class ButtonTest : public ui_test::UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        button.SetControlText(CWString(u"浏览目录"));
        WinCreateInfo info = ChildRecord(20, 30, 100, 30, 12);
        ASSERT_EQ(button.Create(info), 1);
        hwnd = button.GetSafeHwnd();
        owner.BindWindowMessage(button);
        owner.watchedMessages = {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_KEYDOWN, WM_KEYUP, OCM_COMMAND};
        owner.Bind(button, button.LeftButtonDown, "LeftButtonDown");
        owner.Bind(button, button.LeftButtonUp, "LeftButtonUp");
        owner.Bind(button, button.KeyDown, "KeyDown");
        owner.Bind(button, button.KeyUp, "KeyUp");
        owner.Bind(button, button.Click, "Click");
    }
    void Input(UINT message, WPARAM wParam, LPARAM lParam)
    {
        PostInputMessage(hwnd, message, wParam, lParam);
        ui_test::Pump();
    }
    rg_button1 button;
    HWND hwnd = nullptr;
    EventOwner owner;
};

TEST_F(ButtonTest, AMouseClickRaisesTheMouseEventsThenTheReflectedClick)
{
    Input(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 6));
    Input(WM_LBUTTONUP, 0, MAKELPARAM(5, 6));
    EXPECT_EQ(owner.Take(), (std::vector<std::string>{"WindowMessage 0x201", "LeftButtonDown 5 6 0", "WindowMessage 0x202",
                                                      "LeftButtonUp 5 6 0", "WindowMessage 0x2111", "Click"}));
    char16_t className[16] = {};
    GetClassNameW(hwnd, className, 16);
    EXPECT_EQ(std::u16string(className), u"Button");
    EXPECT_TRUE(GetWindowLongW(hwnd, GWL_STYLE) & WS_TABSTOP);
    EXPECT_TRUE(GetWindowLongW(hwnd, GWL_STYLE) & BS_MULTILINE);
}

TEST_F(ButtonTest, TheSpaceKeyClicksTheFocusedButton)
{
    SetFocus(hwnd);
    Input(WM_KEYDOWN, VK_SPACE, 0);
    Input(WM_KEYUP, VK_SPACE, 0);
    EXPECT_EQ(owner.Take(), (std::vector<std::string>{"WindowMessage 0x100", "KeyDown 32 0", "WindowMessage 0x101",
                                                      "KeyUp 32 0", "WindowMessage 0x2111", "Click"}));
}

TEST_F(ButtonTest, ReleasingOutsideOrADisabledButtonGivesNoClick)
{
    Input(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 6));
    Input(WM_LBUTTONUP, 0, MAKELPARAM(500, 6));
    button.SetEnabled(false);
    SendMessageW(hwnd, BM_CLICK, 0, 0);
    button.SetEnabled(true);
    owner.answers["LeftButtonDown"] = 1;  // a consumed press never reaches the button
    Input(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 6));
    Input(WM_LBUTTONUP, 0, MAKELPARAM(5, 6));
    for (const std::string& e : owner.Take())
        EXPECT_NE(e, "Click");
    rg_AnNiuJiChuLei base;
    EXPECT_EQ(base.Create(*std::make_unique<WinCreateInfo>(ChildRecord(0, 0, 10, 10))), 0);
    base.AttachListener();
    EXPECT_FALSE(base.HasListener());
}

TEST_F(ButtonTest, TheReflectedColourRequestAnswersTheButtonsBrush)
{
    button.SetBackColor(0x00FF00);
    button.SetTextColor(0x0000FF);
    HDC hdc = GetDC(hwnd);
    LRESULT brush = SendMessageW(hostWindow, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(hwnd));
    EXPECT_EQ(brush, reinterpret_cast<LRESULT>(button.GetButtonNative()->backBrush));
    EXPECT_EQ(GetTextColor(hdc), 0x0000FFu);
    EXPECT_EQ(GetBkColor(hdc), 0x00FF00u);
    ReleaseDC(hwnd, hdc);
}

class DefaultButtonTest : public ui_test::UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        WinCreateInfo formInfo;
        formInfo.width = 400;
        formInfo.height = 300;
        ASSERT_EQ(form.Create(formInfo), 1);
        WinCreateInfo boxInfo;
        boxInfo.parentNative = form.GetNative();
        boxInfo.parentControl = &form;
        boxInfo.x = boxInfo.y = 0;
        boxInfo.width = 380;
        boxInfo.height = 250;
        ASSERT_EQ(layout.Create(boxInfo), 1);
        auto child = [&](int x, int id) {
            WinCreateInfo info = boxInfo;
            info.parentNative = layout.GetNative();
            info.parentControl = &layout;
            info.x = x;
            info.width = 80;
            info.height = 24;
            info.id = id;
            return info;
        };
        okButton.SetButtonKind(BS_DEFPUSHBUTTON);
        ASSERT_EQ(okButton.Create(*std::make_unique<WinCreateInfo>(child(0, 1))), 1);
        ASSERT_EQ(otherButton.Create(*std::make_unique<WinCreateInfo>(child(100, 2))), 1);
        ASSERT_EQ(edit.Create(*std::make_unique<WinCreateInfo>(child(200, 3))), 1);
        owner.Bind(okButton, okButton.Click, "ok Click");
        owner.Bind(otherButton, otherButton.Click, "other Click");
    }
    void PressEnter(HWND target)
    {
        PostInputMessage(target, WM_KEYDOWN, VK_RETURN, 0);
        PostInputMessage(target, WM_KEYUP, VK_RETURN, 0);
        ui_test::Pump();
    }
    CQrnWinForm form;
    rg_quarn_MFCJieMian_base::rg_ZuJianBuJuQi layout;
    rg_button1 okButton, otherButton;
    rg_edit_box edit;
    EventOwner owner;
};

TEST_F(DefaultButtonTest, EnterClicksTheDefaultButtonButNeverAnotherButton)
{
    EXPECT_EQ(form.GetFormNative()->defaultButtonId, 1);
    EXPECT_EQ(SendMessageW(form.GetSafeHwnd(), WM_USER, 0, 0), 0x534B0001);
    SetFocus(edit.GetSafeHwnd());
    PressEnter(edit.GetSafeHwnd());
    EXPECT_EQ(owner.Take(), (std::vector<std::string>{"ok Click"}));
    SetFocus(otherButton.GetSafeHwnd());
    PressEnter(otherButton.GetSafeHwnd());
    EXPECT_TRUE(owner.Take().empty()) << "Enter on another button is swallowed";
    SendMessageW(otherButton.GetSafeHwnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(owner.Take(), (std::vector<std::string>{"other Click"})) << "clicks by mouse still count";
    okButton.SetEnabled(false);
    EXPECT_EQ(SendMessageW(form.GetSafeHwnd(), WM_USER, 0, 0), 0) << "no usable default button";
}

TEST_F(DefaultButtonTest, TabInsideAnEditBoxMovesToTheNextTabStop)
{
    SetFocus(edit.GetSafeHwnd());
    MSG tab{edit.GetSafeHwnd(), WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
    EXPECT_TRUE(PreTranslateLibraryMessage(&tab));
    EXPECT_EQ(GetFocus(), okButton.GetSafeHwnd()) << "wrapping round to the first tab stop";
    SetFocus(edit.GetSafeHwnd());
    SetKeyDown(VK_SHIFT, true);
    EXPECT_TRUE(PreTranslateLibraryMessage(&tab));
    EXPECT_EQ(GetFocus(), otherButton.GetSafeHwnd());
    tab.hwnd = otherButton.GetSafeHwnd();
    EXPECT_TRUE(PreTranslateLibraryMessage(&tab)) << "the dialog navigation moves on from buttons too";
    EXPECT_EQ(GetFocus(), okButton.GetSafeHwnd());
}

}  // namespace
