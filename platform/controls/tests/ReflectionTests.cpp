// Reflection of a child's notifications to the child's own window.
#include "ControlTestSupport.h"

#include "platform/controls/ButtonControl.h"
#include "platform/controls/Reflection.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/window/Focus.h"
#include "platform/window/Paint.h"

#include <thread>

using namespace control_test;

namespace {

class ReflectionTest : public ControlTest {
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        button = CreateControl(WC_BUTTONW, u"OK", BS_PUSHBUTTON, 101);
        // The parent offers what its children report to them first, as a control library does.
        parentHandler = [this](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
            if (hwnd != parent || !ReflectedMessage(message))
                return false;
            bool handled = ReflectNotification(parent, message, wParam, lParam, result) != FALSE;
            if (message == WM_COMMAND)
                reflected = handled;
            return handled;
        };
    }
    HWND button = nullptr;
    bool reflected = false;
};

TEST_F(ReflectionTest, AClickReachesTheButtonAgainAsItsOwnCommand)
{
    int clicks = 0;
    Subclass native(button, [&](UINT message, WPARAM wParam, LPARAM, LRESULT* result) {
        if (message != OCM_COMMAND || HIWORD(wParam) != BN_CLICKED)
            return false;
        ++clicks;
        MarkReflectedMessageHandled(button);
        *result = 0;
        return true;
    });
    SetFocus(button);
    Log().Watch({WM_LBUTTONDOWN, WM_LBUTTONUP, WM_COMMAND, OCM_COMMAND});
    Log().Take();
    Click(button);
    std::vector<Entry> expected{{button, WM_LBUTTONDOWN}, {button, WM_LBUTTONUP}, {parent, WM_COMMAND}, {button, OCM_COMMAND}};
    EXPECT_EQ(Log().Take(), expected);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(reflected);
}

TEST_F(ReflectionTest, AChildThatDoesNotHandleItLeavesItToTheParent)
{
    Subclass native(button);  // records, handles nothing
    Log().Watch({OCM_COMMAND});
    Log().Take();
    Click(button);
    EXPECT_EQ(Log().Take(), (std::vector<Entry>{{button, OCM_COMMAND}}));
    EXPECT_FALSE(reflected);
    EXPECT_EQ(TakeNotifications().size(), 1u);
}

TEST_F(ReflectionTest, ColourRequestsAndNotificationsReflectWithTheChildsAnswer)
{
    HBRUSH own = CreateSolidBrush(RGB(9, 8, 7));
    Subclass native(button, [&](UINT message, WPARAM, LPARAM lParam, LRESULT* result) {
        if (message == OCM_CTLCOLORBTN) {
            MarkReflectedMessageHandled(button);
            *result = reinterpret_cast<LRESULT>(own);
            return true;
        }
        if (message == OCM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == 12345) {
            MarkReflectedMessageHandled(button);
            *result = 77;
            return true;
        }
        return false;
    });
    InvalidateRect(button, nullptr, TRUE);
    UpdateWindow(button);
    EXPECT_EQ(GetWindowLongPtrW(button, CONTROL_EXTRA_BACKCOLOUR), static_cast<LONG_PTR>(RGB(9, 8, 7)));

    NMHDR hdr{button, 101, 12345};
    EXPECT_EQ(SendMessageW(parent, WM_NOTIFY, 101, reinterpret_cast<LPARAM>(&hdr)), 77);
    NMHDR other{button, 101, 999};
    LRESULT answer = -1;
    EXPECT_FALSE(ReflectNotification(parent, WM_NOTIFY, 101, reinterpret_cast<LPARAM>(&other), &answer));
    EXPECT_EQ(answer, -1);
    DestroyWindow(button);
    DeleteObject(own);
}

TEST_F(ReflectionTest, OnlyNotificationsThatNameALiveChildOfThisThreadReflect)
{
    struct Case {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    } refused[] = {
        {WM_COMMAND, MAKEWPARAM(5, 0), 0},                                  // a menu command
        {WM_COMMAND, 0, reinterpret_cast<LPARAM>(reinterpret_cast<HWND>(0x4321))},  // no such window
        {WM_SIZE, 0, 0},                                                    // does not reflect
        {WM_PARENTNOTIFY, WM_LBUTTONDOWN, Point(1, 1)},                     // names a point, not a child
        {WM_NOTIFY, 0, 0},
    };
    for (const Case& c : refused)
        EXPECT_FALSE(ReflectNotification(parent, c.message, c.wParam, c.lParam, nullptr)) << c.message;
    EXPECT_FALSE(ReflectNotification(parent, WM_COMMAND, 0, reinterpret_cast<LPARAM>(parent), nullptr));
    EXPECT_EQ(ReflectedMessage(WM_CTLCOLORSTATIC), OCM_CTLCOLORSTATIC);
    EXPECT_EQ(ReflectionSource(WM_PARENTNOTIFY, WM_CREATE, reinterpret_cast<LPARAM>(button)), button);
}

}  // namespace
