// Edit boxes: the input filter on typed characters, normalisation on focus loss, focus and change
// events from the box's notifications, styles, vertical centring and the spin arrows.
#include "UiTestSupport.h"

#include "platform/controls/EditControl.h"
#include "platform/controls/MessageBeep.h"
#include "platform/controls/UpDownControl.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/window/Focus.h"
#include "platform/window/PresenterHook.h"
#include "platform/window/WindowGeometry.h"
#include "ui/EditInputTypes.h"
#include "ui/rg_edit_box.h"

namespace {

using rg_quarn_MFCJieMian_base::rg_edit_box;
using ui_test::EventOwner;

class EditBoxTest : public ui_test::UiTest {
protected:
    HWND CreateBox(rg_edit_box& box, int x = 10, int height = 24, int id = 20)
    {
        EXPECT_EQ(box.Create(*std::make_unique<WinCreateInfo>(ChildRecord(x, 10, 120, height, id))), 1);
        return box.GetSafeHwnd();
    }
    void Type(HWND hwnd, std::u16string_view text)
    {
        for (char16_t c : text)
            SendMessageW(hwnd, WM_CHAR, c, 0);
    }
    std::string Text(const rg_edit_box& box) { return ui_test::Utf8(box.GetControlText().View()); }
};

TEST_F(EditBoxTest, AnIntegerBoxTakesSignAndDigitsAndRefusesLettersWithABeep)
{
    rg_edit_box box;
    box.SetInputType(kEditInteger);
    HWND hwnd = CreateBox(box);
    const unsigned long beeps = GetMessageBeepCount();
    Type(hwnd, u"-1a2");
    EXPECT_EQ(Text(box), "-12");
    EXPECT_EQ(GetMessageBeepCount(), beeps + 1);
    SendMessageW(hwnd, WM_CHAR, VK_BACK, 0);
    EXPECT_EQ(Text(box), "-1") << "control characters always pass";

    const struct {
        int32_t type;
        const char16_t* accepted;
        const char16_t* refused;
    } filters[] = {{kEditSignedDigits, u"-09", u".a"}, {kEditDecimalDigits, u"-.9", u"e+"}, {kEditByte, u"09", u"-."},
                   {kEditFloat, u"-.1", u"E"}, {kEditPlain, u"a-中", u""}, {kEditDate, u"年/", u""}};
    for (const auto& f : filters) {
        for (const char16_t* c = f.accepted; *c; ++c)
            EXPECT_TRUE(EditAcceptsCharacter(f.type, *c)) << f.type;
        for (const char16_t* c = f.refused; *c; ++c)
            EXPECT_FALSE(EditAcceptsCharacter(f.type, *c)) << f.type;
    }
}

TEST_F(EditBoxTest, TheCharInputEventMaySwallowOrReplaceTheCharacter)
{
    rg_edit_box box;
    HWND hwnd = CreateBox(box);
    EventOwner owner;
    owner.Bind(box, box.CharInput, "CharInput");
    owner.answers["CharInput"] = -1;
    Type(hwnd, u"x");
    EXPECT_EQ(Text(box), "");
    owner.answers["CharInput"] = 0x41;
    Type(hwnd, u"x");
    EXPECT_EQ(Text(box), "A");
    owner.answers["CharInput"] = 0;
    Type(hwnd, u"y");
    EXPECT_EQ(Text(box), "Ay");
}

TEST_F(EditBoxTest, LosingTheFocusNormalisesTheTextBeforeFocusLostIsRaised)
{
    const struct {
        int32_t type;
        const char16_t* typed;
        const char* shown;
    } cases[] = {
        {kEditInteger, u"007", "7"},
        {kEditInteger, u"0", ""},
        {kEditInteger, u"99999999999", "2147483647"},
        {kEditByte, u"300", "255"},
        {kEditByte, u"-3", ""},
        {kEditShort, u"-40000", "-32768"},
        {kEditLong, u"-9223372036854775808", "-9223372036854775808"},
        {kEditLong, u"-99999999999999999999", "-9223372036854775808"},
        {kEditFloat, u"3.14159265", "3.14159"},
        {kEditDouble, u"3.14159265", "3.14159265"},
        {kEditDouble, u"-.5", "-0.5"},
        {kEditDouble, u"1.5e3x", "1500"},
        {kEditHexadecimal, u"0x00ff", "FF"},
        {kEditHexadecimal, u"zz", ""},
        {kEditDate, u"2024-08-21 13:05:09", "2024年8月21日"},
        {kEditDateTime, u"2024-08-21 13:05:09", "2024年8月21日13时5分9秒"},
        {kEditDateTime, u"08/21/2024 13:05", "2024年8月21日13时5分"},
        {kEditDate, u"not a date", ""},
        {kEditSignedDigits, u"007", "007"},
        {kEditPlain, u"0", "0"},
    };
    rg_edit_box other;
    HWND otherWindow = CreateBox(other, 200, 24, 99);
    for (const auto& c : cases) {
        rg_edit_box box;
        box.SetInputType(c.type);
        HWND hwnd = CreateBox(box);
        box.SetControlText(CWString(c.typed));
        EventOwner owner;
        std::string textAtFocusLost;
        owner.Bind(box, box.FocusLost, "FocusLost");
        owner.onEvent = [&](const std::string&) { textAtFocusLost = Text(box); };
        SetFocus(hwnd);
        SetFocus(otherWindow);
        EXPECT_EQ(Text(box), c.shown) << "type " << c.type << " typed " << ui_test::Utf8(c.typed);
        EXPECT_EQ(textAtFocusLost, c.shown);
        DestroyWindow(hwnd);
    }
}

TEST_F(EditBoxTest, FocusEventsComeOnceFromTheBoxsNotifications)
{
    rg_edit_box box, other;
    HWND hwnd = CreateBox(box);
    HWND otherWindow = CreateBox(other, 200, 24, 21);
    EventOwner owner;
    owner.BindWindowMessage(box);
    owner.watchedMessages = {WM_SETFOCUS, WM_KILLFOCUS};
    owner.Bind(box, box.FocusGained, "FocusGained");
    owner.Bind(box, box.FocusLost, "FocusLost");
    SetFocus(hwnd);
    SetFocus(otherWindow);
    EXPECT_EQ(owner.Take(), (std::vector<std::string>{"WindowMessage 0x7", "FocusGained", "WindowMessage 0x8", "FocusLost"}));
}

TEST_F(EditBoxTest, ChangedFollowsEveryChangeUnlessSuppressed)
{
    rg_edit_box box;
    HWND hwnd = CreateBox(box);
    EventOwner owner;
    owner.Bind(box, box.Changed, "Changed");
    Type(hwnd, u"ab");
    box.SetControlText(CWString(u"text"));
    EXPECT_EQ(owner.Take().size(), 3u);
    box.SetSuppressChanged(true);
    Type(hwnd, u"c");
    EXPECT_TRUE(owner.Take().empty());
}

TEST_F(EditBoxTest, StylesFollowTheBoxsFields)
{
    const struct {
        bool multiLine;
        int32_t scrollBars, inputType;
        DWORD wanted, unwanted;
    } cases[] = {
        {false, 0, kEditPlain, ES_AUTOHSCROLL | WS_TABSTOP, ES_MULTILINE | ES_READONLY | ES_PASSWORD},
        {true, 0, kEditPlain, ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN, ES_AUTOHSCROLL | WS_HSCROLL | WS_VSCROLL},
        {true, 1, kEditPlain, ES_MULTILINE | ES_AUTOHSCROLL | WS_HSCROLL, WS_VSCROLL},
        {true, 2, kEditPlain, WS_VSCROLL, ES_AUTOHSCROLL | WS_HSCROLL},
        {true, 3, kEditPlain, ES_AUTOHSCROLL | WS_HSCROLL | WS_VSCROLL, 0},
        {false, 0, kEditReadOnly, ES_READONLY, ES_PASSWORD},
        {false, 0, kEditPassword, ES_PASSWORD, ES_READONLY},
    };
    for (const auto& c : cases) {
        rg_edit_box box;
        box.SetMultiLine(c.multiLine);
        box.SetScrollBars(c.scrollBars);
        box.SetInputType(c.inputType);
        box.SetMaxLength(5);
        HWND hwnd = CreateBox(box);
        const auto style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
        EXPECT_EQ(style & c.wanted, c.wanted);
        EXPECT_EQ(style & c.unwanted, 0u);
        EXPECT_TRUE(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
        EXPECT_EQ(SendMessageW(hwnd, EM_GETLIMITTEXT, 0, 0), 5);
        if (c.inputType == kEditPassword) {
            EXPECT_EQ(SendMessageW(hwnd, EM_GETPASSWORDCHAR, 0, 0), u'*');
        }
        DestroyWindow(hwnd);
    }
}

TEST_F(EditBoxTest, ASingleLineBoxGrowsToItsFontAndCentresTheLine)
{
    rg_edit_box box;
    box.SetFont(u",16");
    HWND hwnd = CreateBox(box, 10, 20);
    TEXTMETRICW metrics{};
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, box.GetWndObject()->font);
    GetTextMetricsW(screen, &metrics);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    ASSERT_GT(metrics.tmHeight, 16);
    EXPECT_EQ(box.GetEditNative()->textHeight, metrics.tmHeight);
    RECT window{}, client{};
    GetWindowRect(hwnd, &window);
    GetClientRect(hwnd, &client);
    EXPECT_EQ(window.bottom - window.top, metrics.tmHeight + 2 * GetSystemMetrics(SM_CYEDGE) + 2);
    EXPECT_EQ(client.bottom, metrics.tmHeight);

    // A taller box keeps its height; its line sits in the middle.
    rg_edit_box tall;
    tall.SetFont(u",16");
    HWND tallWindow = CreateBox(tall, 200, 80, 21);
    GetWindowRect(tallWindow, &window);
    GetClientRect(tallWindow, &client);
    EXPECT_EQ(window.bottom - window.top, 80);
    EXPECT_EQ(client.bottom, metrics.tmHeight);
    POINT origin{0, 0};
    ClientToScreen(tallWindow, &origin);
    const int above = origin.y - window.top;
    const int below = window.bottom - (origin.y + client.bottom);
    EXPECT_LE(std::abs(above - below), 1);
    POINT border{window.left + 5, window.top + 3};
    EXPECT_EQ(SendMessageW(tallWindow, WM_NCHITTEST, 0, MAKELPARAM(border.x, border.y)), HTBORDER);
}

class SpinTest : public EditBoxTest {
protected:
    void Press(bool up)
    {
        HWND arrows = box.GetEditNative()->spin->GetSafeHwnd();
        RECT client{};
        GetClientRect(arrows, &client);
        const int y = up ? 1 : client.bottom - 1;
        SendMessageW(arrows, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, static_cast<WORD>(y)));
        SendMessageW(arrows, WM_LBUTTONUP, 0, MAKELPARAM(2, static_cast<WORD>(y)));
    }
    rg_edit_box box;
};

TEST_F(SpinTest, ACountingSpinStepsWithinItsRangeAndWrapsRound)
{
    box.SetSpin(1, 100, 0);
    HWND hwnd = CreateBox(box, 10, 24, 40);
    ASSERT_TRUE(box.GetEditNative()->spin);
    HWND arrows = box.GetEditNative()->spin->GetSafeHwnd();
    EXPECT_EQ(GetDlgCtrlID(arrows), 1040);
    EXPECT_EQ(GetParent(arrows), hostWindow);
    RECT edit{}, spin{};
    GetWindowRect(hwnd, &edit);
    GetWindowRect(arrows, &spin);
    EXPECT_EQ(spin.left, edit.right);
    EXPECT_EQ(spin.top, edit.top);
    EXPECT_EQ(spin.right - spin.left, 18);
    EXPECT_EQ(spin.bottom - spin.top, edit.bottom - edit.top);

    const struct {
        const char16_t* text;
        bool up;
        const char* shown;
    } steps[] = {{u"100", true, "0"}, {u"0", false, "100"}, {u"50", true, "51"}, {u"50", false, "49"},
                 {u"-7", true, "0"}, {u"250", false, "100"}, {u"abc", true, "1"}};
    for (const auto& s : steps) {
        box.SetControlText(CWString(s.text));
        Press(s.up);
        EXPECT_EQ(Text(box), s.shown) << ui_test::Utf8(s.text) << (s.up ? " up" : " down");
    }
    EXPECT_EQ(GetFocus(), hwnd);
    EXPECT_EQ(SendMessageW(hwnd, EM_GETSEL, 0, 0), MAKELONG(0, 1)) << "the whole text is selected";
    int lower = 0, upper = 0;
    SendMessageW(arrows, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower), reinterpret_cast<LPARAM>(&upper));
    EXPECT_EQ(lower, 0);
    EXPECT_EQ(upper, 100);
}

TEST_F(SpinTest, OtherSpinsRaiseSpinOnlyWhileTheBoxIsUsableAndFollowTheBox)
{
    box.SetSpin(2, 0, 10);
    HWND hwnd = CreateBox(box, 10, 24, 41);
    HWND arrows = box.GetEditNative()->spin->GetSafeHwnd();
    EventOwner owner;
    owner.Bind(box, box.Spin, "Spin");
    box.SetControlText(CWString(u"5"));
    Press(true);
    Press(false);
    EXPECT_EQ(owner.Take(), (std::vector<std::string>{"Spin 1", "Spin -1"}));
    EXPECT_EQ(Text(box), "5");
    box.SetEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(arrows)) << "the arrows follow the box";
    SendMessageW(arrows, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 1));
    EXPECT_TRUE(owner.Take().empty());
    box.SetEnabled(true);
    box.SetVisible(false);
    EXPECT_FALSE(IsWindowVisible(arrows));
    box.SetVisible(true);
    MoveWindow(hwnd, 50, 60, 100, 30, TRUE);
    RECT edit{}, spin{};
    GetWindowRect(hwnd, &edit);
    GetWindowRect(arrows, &spin);
    EXPECT_EQ(spin.left, edit.right);
    EXPECT_EQ(spin.bottom - spin.top, 30);
    DestroyWindow(hwnd);
    EXPECT_FALSE(IsWindow(arrows)) << "the arrows live only as long as the box";
}

}  // namespace
