// Buttons: clicks by mouse and space key, check boxes and radio groups, colours, reflection.
#include "ControlTestSupport.h"

#include "platform/controls/ButtonControl.h"
#include "platform/controls/Reflection.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/window/Focus.h"
#include "platform/window/Paint.h"

using namespace control_test;

namespace {

class ButtonTest : public ControlTest {
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        button = CreateControl(WC_BUTTONW, u"导出表格", BS_PUSHBUTTON, 101);
        Log().Watch({WM_LBUTTONDOWN, WM_LBUTTONUP, WM_KEYDOWN, WM_KEYUP, WM_COMMAND, WM_SETFOCUS, WM_KILLFOCUS});
        Log().Take();
    }
    Notification Clicked(HWND from, int id) { return Notification{WM_COMMAND, from, BN_CLICKED, static_cast<UINT_PTR>(id)}; }
    HWND button = nullptr;
};

TEST_F(ButtonTest, MouseDownAndUpOverTheButtonClicksAfterTakingTheFocus)
{
    Subclass recorder(button);
    Click(button);
    std::vector<Entry> expected{{button, WM_LBUTTONDOWN}, {parent, WM_KILLFOCUS}, {button, WM_SETFOCUS},
                                {button, WM_LBUTTONUP}, {parent, WM_COMMAND}};
    EXPECT_EQ(Log().Take(), expected);
    EXPECT_EQ(TakeNotifications(), std::vector<Notification>{Clicked(button, 101)});
    EXPECT_EQ(GetFocus(), button);

    // With the focus already there, the sequence is the bare click.
    Click(button);
    std::vector<Entry> again{{button, WM_LBUTTONDOWN}, {button, WM_LBUTTONUP}, {parent, WM_COMMAND}};
    EXPECT_EQ(Log().Take(), again);
}

TEST_F(ButtonTest, WhereTheButtonIsReleasedDecides)
{
    struct Case {
        const char* name;
        std::initializer_list<MSG> input;
        bool clicks;
    } cases[] = {
        {"released outside", {Message(WM_LBUTTONDOWN, MK_LBUTTON, Point(5, 5)), Message(WM_LBUTTONUP, 0, Point(500, 5))}, false},
        {"dragged out and back", {Message(WM_LBUTTONDOWN, MK_LBUTTON, Point(5, 5)), Message(WM_MOUSEMOVE, MK_LBUTTON, Point(-20, 5)),
                                  Message(WM_MOUSEMOVE, MK_LBUTTON, Point(6, 6)), Message(WM_LBUTTONUP, 0, Point(6, 6))}, true},
        {"released without a press", {Message(WM_LBUTTONUP, 0, Point(5, 5))}, false},
        {"double click presses again", {Message(WM_LBUTTONDOWN, MK_LBUTTON, Point(5, 5)), Message(WM_LBUTTONUP, 0, Point(5, 5)),
                                        Message(WM_LBUTTONDBLCLK, MK_LBUTTON, Point(5, 5)), Message(WM_LBUTTONUP, 0, Point(5, 5))}, true},
    };
    for (const Case& c : cases) {
        Input(button, c.input);
        size_t clicks = TakeNotifications().size();
        EXPECT_EQ(clicks > 0, c.clicks) << c.name;
        EXPECT_EQ(SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED, 0) << c.name;
    }
    Input(button, {Message(WM_LBUTTONDOWN, MK_LBUTTON, Point(5, 5)), Message(WM_LBUTTONUP, 0, Point(5, 5)),
                   Message(WM_LBUTTONDBLCLK, MK_LBUTTON, Point(5, 5)), Message(WM_LBUTTONUP, 0, Point(5, 5))});
    EXPECT_EQ(TakeNotifications().size(), 2u);
}

TEST_F(ButtonTest, SpaceKeyClicksOnRelease)
{
    Subclass recorder(button);
    SetFocus(button);
    Log().Take();
    Input(button, {Message(WM_KEYDOWN, VK_SPACE), Message(WM_KEYDOWN, VK_SPACE, 0x40000000)});
    EXPECT_TRUE(TakeNotifications().empty());
    EXPECT_NE(SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
    Input(button, {Message(WM_KEYUP, VK_SPACE)});
    std::vector<Entry> expected{{button, WM_KEYDOWN}, {button, WM_KEYDOWN}, {button, WM_KEYUP}, {parent, WM_COMMAND}};
    EXPECT_EQ(Log().Take(), expected);
    EXPECT_EQ(TakeNotifications(), std::vector<Notification>{Clicked(button, 101)});

    // Losing the focus between press and release cancels the click; other keys do nothing.
    Input(button, {Message(WM_KEYDOWN, VK_SPACE)});
    SetFocus(parent);
    Input(button, {Message(WM_KEYUP, VK_SPACE), Message(WM_KEYDOWN, VK_RETURN), Message(WM_KEYUP, VK_RETURN)});
    EXPECT_TRUE(TakeNotifications().empty());
}

TEST_F(ButtonTest, DisabledButtonsNeverClick)
{
    EnableWindow(button, FALSE);
    Click(button);
    Input(button, {Message(WM_KEYDOWN, VK_SPACE), Message(WM_KEYUP, VK_SPACE)});
    SendMessageW(button, BM_CLICK, 0, 0);
    EXPECT_TRUE(TakeNotifications().empty());
    EXPECT_NE(GetFocus(), button);
    // Disabled between press and release.
    EnableWindow(button, TRUE);
    Input(button, {Message(WM_LBUTTONDOWN, MK_LBUTTON, Point(5, 5))});
    EnableWindow(button, FALSE);
    Input(button, {Message(WM_LBUTTONUP, 0, Point(5, 5))});
    EXPECT_TRUE(TakeNotifications().empty());
}

TEST_F(ButtonTest, BmClickGoesThroughTheMouseMessages)
{
    Subclass recorder(button);
    SetFocus(button);
    Log().Take();
    SendMessageW(button, BM_CLICK, 0, 0);
    std::vector<Entry> expected{{button, WM_LBUTTONDOWN}, {button, WM_LBUTTONUP}, {parent, WM_COMMAND}};
    EXPECT_EQ(Log().Take(), expected);
}

TEST_F(ButtonTest, AutomaticCheckBoxesAndRadioGroupsChangeBeforeTheyNotify)
{
    HWND box = CreateControl(WC_BUTTONW, u"Box", BS_AUTOCHECKBOX, 102, RECT{10, 50, 110, 70});
    HWND three = CreateControl(WC_BUTTONW, u"Three", BS_AUTO3STATE, 103, RECT{10, 80, 110, 100});
    HWND a = CreateControl(WC_BUTTONW, u"A", BS_AUTORADIOBUTTON | WS_GROUP, 104, RECT{10, 110, 110, 130});
    HWND b = CreateControl(WC_BUTTONW, u"B", BS_AUTORADIOBUTTON, 105, RECT{10, 140, 110, 160});
    HWND other = CreateControl(WC_BUTTONW, u"Other", BS_AUTORADIOBUTTON | WS_GROUP, 106, RECT{10, 170, 110, 190});
    LRESULT seen = -1;
    parentHandler = [&](HWND, UINT message, WPARAM wParam, LPARAM lParam, LRESULT*) {
        if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED)
            seen = SendMessageW(reinterpret_cast<HWND>(lParam), BM_GETCHECK, 0, 0);
        return false;
    };
    Click(box);
    EXPECT_EQ(seen, static_cast<LRESULT>(BST_CHECKED));
    Click(box);
    EXPECT_EQ(seen, static_cast<LRESULT>(BST_UNCHECKED));
    for (LRESULT wanted : {BST_CHECKED, BST_INDETERMINATE, BST_UNCHECKED}) {
        Click(three);
        EXPECT_EQ(seen, wanted);
    }
    SendMessageW(other, BM_SETCHECK, BST_CHECKED, 0);
    Click(a);
    Click(b);
    EXPECT_EQ(SendMessageW(a, BM_GETCHECK, 0, 0), static_cast<LRESULT>(BST_UNCHECKED));
    EXPECT_EQ(SendMessageW(b, BM_GETCHECK, 0, 0), static_cast<LRESULT>(BST_CHECKED));
    EXPECT_EQ(SendMessageW(other, BM_GETCHECK, 0, 0), static_cast<LRESULT>(BST_CHECKED));  // another group
    // A push button has no check state, and indeterminate needs a three-state box.
    SendMessageW(button, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(SendMessageW(button, BM_GETCHECK, 0, 0), 0);
    SendMessageW(box, BM_SETCHECK, BST_INDETERMINATE, 0);
    EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), static_cast<LRESULT>(BST_CHECKED));
    EXPECT_EQ(GetWindowLongPtrW(box, BUTTON_EXTRA_STATE) & 3, static_cast<LONG_PTR>(BST_CHECKED));
}

TEST_F(ButtonTest, DialogCodesFollowTheKind)
{
    struct Case {
        DWORD style;
        LRESULT code;
    } cases[] = {{BS_PUSHBUTTON, DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON},
                 {BS_DEFPUSHBUTTON, DLGC_BUTTON | DLGC_DEFPUSHBUTTON},
                 {BS_AUTORADIOBUTTON, DLGC_BUTTON | DLGC_RADIOBUTTON},
                 {BS_AUTOCHECKBOX, DLGC_BUTTON},
                 {BS_GROUPBOX, DLGC_STATIC}};
    for (const Case& c : cases) {
        HWND hwnd = CreateControl(WC_BUTTONW, u"", c.style, 300);
        EXPECT_EQ(SendMessageW(hwnd, WM_GETDLGCODE, 0, 0), c.code) << c.style;
        DestroyWindow(hwnd);
    }
}

TEST_F(ButtonTest, PaintingAsksTheParentForColoursAndKeepsTheAnswer)
{
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    HWND box = CreateControl(WC_BUTTONW, u"Box", BS_AUTOCHECKBOX, 102, RECT{10, 50, 110, 70});
    std::vector<UINT> asked;
    parentHandler = [&](HWND, UINT message, WPARAM wParam, LPARAM, LRESULT* result) {
        if (message < WM_CTLCOLORMSGBOX || message > WM_CTLCOLORSTATIC)
            return false;
        asked.push_back(message);
        SetTextColor(reinterpret_cast<HDC>(wParam), RGB(200, 0, 0));
        *result = reinterpret_cast<LRESULT>(brush);
        return true;
    };
    InvalidateRect(button, nullptr, TRUE);
    UpdateWindow(button);
    EXPECT_EQ(asked, (std::vector<UINT>{WM_CTLCOLORBTN}));
    asked.clear();
    InvalidateRect(box, nullptr, TRUE);
    UpdateWindow(box);
    EXPECT_EQ(asked, (std::vector<UINT>{WM_CTLCOLORSTATIC}));
    EXPECT_EQ(GetWindowLongPtrW(button, CONTROL_EXTRA_TEXTCOLOUR), static_cast<LONG_PTR>(RGB(200, 0, 0)));
    EXPECT_EQ(GetWindowLongPtrW(button, CONTROL_EXTRA_BACKCOLOUR), static_cast<LONG_PTR>(RGB(1, 2, 3)));
    parentHandler = nullptr;
    DeleteObject(brush);
}

TEST_F(ButtonTest, FontIsKeptAndGivenBack)
{
    HFONT font = CreateFontW(-21, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, u"");
    SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(button, WM_GETFONT, 0, 0)), font);
    EXPECT_EQ(GetWindowLongPtrW(button, CONTROL_EXTRA_FONT), reinterpret_cast<LONG_PTR>(font));
    DestroyWindow(button);
    DeleteObject(font);
}

}  // namespace
