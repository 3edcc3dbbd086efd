// Progress bars and up-down controls.
#include "ControlTestSupport.h"

#include "platform/controls/EditControl.h"
#include "platform/controls/ProgressControl.h"
#include "platform/controls/UpDownControl.h"
#include "platform/window/PresenterHook.h"
#include "platform/window/WindowGeometry.h"

#include <cstring>

using namespace control_test;

namespace {

class ProgressTest : public ControlTest {
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        bar = CreateControl(PROGRESS_CLASSW, u"", 0, 301, RECT{10, 10, 210, 30});
    }
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) { return SendMessageW(bar, message, wParam, lParam); }
    HWND bar = nullptr;
};

TEST_F(ProgressTest, PositionsStayWithinTheRange)
{
    EXPECT_EQ(Send(PBM_GETPOS), 0);
    PBRANGE range{};
    EXPECT_EQ(Send(PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range)), 100);
    EXPECT_EQ(range.iLow, 0);
    struct Case {
        UINT message;
        WPARAM wParam;
        LRESULT previous;
        LRESULT now;
    } steps[] = {
        {PBM_SETPOS, 150, 0, 100},
        {PBM_SETPOS, static_cast<WPARAM>(-5), 100, 0},
        {PBM_DELTAPOS, 30, 0, 30},
        {PBM_DELTAPOS, 500, 30, 100},
        {PBM_STEPIT, 0, 100, 0},  // past the end: starts again
        {PBM_STEPIT, 0, 0, 10},
    };
    for (const Case& c : steps) {
        EXPECT_EQ(Send(c.message, c.wParam), c.previous) << c.message << " " << c.wParam;
        EXPECT_EQ(Send(PBM_GETPOS), c.now) << c.message << " " << c.wParam;
    }
    EXPECT_EQ(GetWindowLongPtrW(bar, PROGRESS_EXTRA_POS), 10);
}

TEST_F(ProgressTest, NewRangesClampThePositionAndReturnTheOldEnds)
{
    Send(PBM_SETPOS, 80);
    EXPECT_EQ(Send(PBM_SETRANGE, 0, MAKELPARAM(0, 50)), static_cast<LRESULT>(MAKELONG(0, 100)));
    EXPECT_EQ(Send(PBM_GETPOS), 50);
    EXPECT_EQ(Send(PBM_SETRANGE32, 60, 0x7FFF), static_cast<LRESULT>(MAKELONG(0, 50)));
    EXPECT_EQ(Send(PBM_GETPOS), 60);
    EXPECT_EQ(Send(PBM_GETRANGE, TRUE, 0), 60);
    // Ends given the wrong way round are kept and clamp between the smaller and the larger.
    Send(PBM_SETRANGE32, 100, 0);
    Send(PBM_SETPOS, 150);
    EXPECT_EQ(Send(PBM_GETPOS), 100);
    Send(PBM_SETPOS, static_cast<WPARAM>(-1));
    EXPECT_EQ(Send(PBM_GETPOS), 0);
    EXPECT_EQ(Send(PBM_SETSTEP, 25), 10);
    EXPECT_EQ(Send(PBM_GETSTEP), 25);
    // The 16-bit form reads its ends unsigned.
    Send(PBM_SETRANGE, 0, MAKELPARAM(0, 0xFFFF));
    Send(PBM_SETPOS, 40000);
    EXPECT_EQ(Send(PBM_GETPOS), 40000);
}

TEST_F(ProgressTest, APresenterIsToldOfEveryChangeItShows)
{
    struct Wake {
        static void Count(void* context) { ++*static_cast<int*>(context); }
    };
    int wakes = 0;
    SetWindowChangeWake(Wake::Count, &wakes);
    PullWindowChanges([](const WindowChangeView&) {});
    Send(PBM_SETPOS, 42);
    LONG_PTR seen = -1;
    size_t visited = PullWindowChanges([&](const WindowChangeView& view) {
        if (view.hwnd == bar && (view.changes & WindowChangeClassState))
            std::memcpy(&seen, view.extraBytes + PROGRESS_EXTRA_POS, sizeof(seen));
    });
    SetWindowChangeWake(nullptr, nullptr);
    EXPECT_GE(visited, 1u);
    EXPECT_EQ(seen, 42);
    EXPECT_GE(wakes, 1);
}

class UpDownTest : public ControlTest {
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        buddy = CreateControl(WC_EDITW, u"", 0, 401, RECT{10, 10, 110, 34});
        spin = CreateControl(UPDOWN_CLASSW, u"", UDS_SETBUDDYINT, 402, RECT{110, 10, 128, 34});
        SendMessageW(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
        TakeNotifications();
        parentHandler = [this](HWND, UINT message, WPARAM, LPARAM lParam, LRESULT* result) {
            if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == UDN_DELTAPOS) {
                auto* nm = reinterpret_cast<NMUPDOWN*>(lParam);
                deltas.push_back(nm->iDelta);
                *result = refuse ? 1 : 0;
                return true;
            }
            return false;
        };
    }
    void PressUp() { Click(spin, 5, 2); }
    void PressDown() { Click(spin, 5, 20); }
    std::u16string BuddyText()
    {
        WCHAR text[64] = {};
        GetWindowTextW(buddy, text, 64);
        return text;
    }
    HWND buddy = nullptr;
    HWND spin = nullptr;
    bool refuse = false;
    std::vector<int> deltas;
};

TEST_F(UpDownTest, TheDefaultRangeRunsDownSoTheUpArrowLowersThePosition)
{
    EXPECT_EQ(SendMessageW(spin, UDM_GETRANGE, 0, 0), static_cast<LRESULT>(MAKELONG(0, 100)));
    SendMessageW(spin, UDM_SETPOS, 0, 50);
    PressUp();
    EXPECT_EQ(deltas, std::vector<int>{-1});
    EXPECT_EQ(LOWORD(static_cast<uintptr_t>(SendMessageW(spin, UDM_GETPOS, 0, 0))), 49);
}

TEST_F(UpDownTest, ArrowsAskTheParentThenMoveShowAndScroll)
{
    SendMessageW(spin, UDM_SETRANGE, 0, MAKELPARAM(1500, 0));  // low word the upper end
    int lower = -1, upper = -1;
    SendMessageW(spin, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower), reinterpret_cast<LPARAM>(&upper));
    EXPECT_EQ(lower, 0);
    EXPECT_EQ(upper, 1500);
    SendMessageW(spin, UDM_SETPOS32, 0, 999);
    EXPECT_EQ(BuddyText(), u"999");
    Log().Watch({WM_NOTIFY, WM_VSCROLL});
    Log().Take();
    PressUp();
    std::vector<Entry> expected{{parent, WM_NOTIFY}, {parent, WM_VSCROLL}, {parent, WM_VSCROLL}};
    EXPECT_EQ(Log().Take(), expected);  // SB_THUMBPOSITION on the press, SB_ENDSCROLL on the release
    EXPECT_EQ(BuddyText(), u"1,000");
    EXPECT_EQ(deltas, std::vector<int>{1});
    // A refusal keeps the position and sends no scrolling.
    refuse = true;
    PressDown();
    EXPECT_EQ(SendMessageW(spin, UDM_GETPOS32, 0, 0), 1000);
    EXPECT_EQ(Log().Take(), (std::vector<Entry>{{parent, WM_NOTIFY}, {parent, WM_VSCROLL}}));
    refuse = false;
    // The buddy's own text is read back before a step.
    SetWindowTextW(buddy, u"7");
    PressDown();
    EXPECT_EQ(BuddyText(), u"6");
}

TEST_F(UpDownTest, EndsClampOrWrap)
{
    SendMessageW(spin, UDM_SETRANGE32, 0, 3);
    SendMessageW(spin, UDM_SETPOS32, 0, 3);
    PressUp();
    EXPECT_EQ(SendMessageW(spin, UDM_GETPOS32, 0, 0), 3);
    SetWindowLongW(spin, GWL_STYLE, GetWindowLongW(spin, GWL_STYLE) | UDS_WRAP);
    PressUp();
    EXPECT_EQ(SendMessageW(spin, UDM_GETPOS32, 0, 0), 0);
    PressDown();
    EXPECT_EQ(SendMessageW(spin, UDM_GETPOS32, 0, 0), 3);
    // A position outside the range is clamped; a buddy that says no number is an error.
    EXPECT_EQ(SendMessageW(spin, UDM_SETPOS32, 0, 99), 3);
    EXPECT_EQ(SendMessageW(spin, UDM_GETPOS32, 0, 0), 3);
    SetWindowTextW(buddy, u"abc");
    BOOL error = FALSE;
    SendMessageW(spin, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&error));
    EXPECT_TRUE(error);
    EXPECT_EQ(HIWORD(static_cast<uintptr_t>(SendMessageW(spin, UDM_GETPOS, 0, 0))), 1);
    EXPECT_EQ(SendMessageW(spin, UDM_SETBASE, 16, 0), 10);
    EXPECT_EQ(BuddyText(), u"0x0003");
    EXPECT_EQ(SendMessageW(spin, UDM_SETBASE, 7, 0), 0);
}

TEST_F(UpDownTest, AlignedControlsSitInsideTheBuddysEdge)
{
    HWND edit = CreateControl(WC_EDITW, u"", 0, 403, RECT{10, 50, 110, 74});
    HWND aligned = CreateControl(UPDOWN_CLASSW, u"", UDS_ALIGNRIGHT | UDS_AUTOBUDDY, 404, RECT{0, 0, 16, 10});
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(aligned, UDM_GETBUDDY, 0, 0)), edit);
    RECT e{}, a{};
    GetWindowRect(edit, &e);
    GetWindowRect(aligned, &a);
    EXPECT_EQ(e.right - e.left, 100 - 16);
    EXPECT_EQ(a.left, e.right);
    EXPECT_EQ(a.bottom - a.top, 24);
}

}  // namespace
