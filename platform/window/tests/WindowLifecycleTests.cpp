// Creation and destruction sequences, creation failures, user data, subclassing and extra bytes.
#include "WindowTestSupport.h"

#include "platform/window/WindowGeometry.h"

#include <gtest/gtest.h>

using namespace window_test;

namespace {

class WindowLifecycle : public ::testing::Test {
protected:
    void SetUp() override { Log().Take(); }
    TestClass cls;
};

TEST_F(WindowLifecycle, CreateSendsTheOriginalSequence)
{
    HWND top = cls.Create(u"Top", WS_OVERLAPPEDWINDOW);
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(Log().Take(), (std::vector<Entry>{{top, WM_GETMINMAXINFO}, {top, WM_NCCREATE},
                                                 {top, WM_NCCALCSIZE}, {top, WM_CREATE},
                                                 {top, WM_SIZE}, {top, WM_MOVE}}));

    HWND child = cls.Create(u"Child", WS_CHILD | WS_VISIBLE, top, 7);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(Log().Take(), (std::vector<Entry>{{child, WM_NCCREATE}, {child, WM_NCCALCSIZE},
                                                 {child, WM_CREATE}, {child, WM_SIZE},
                                                 {child, WM_MOVE}, {child, WM_SHOWWINDOW},
                                                 {child, WM_WINDOWPOSCHANGING},
                                                 {child, WM_WINDOWPOSCHANGED},
                                                 {top, WM_PARENTNOTIFY}}));
    EXPECT_EQ(GetParent(child), top);
    EXPECT_EQ(GetDlgItem(top, 7), child);
    EXPECT_EQ(GetDlgCtrlID(child), 7);
    // The parent is hidden, so its visible child is not shown.
    EXPECT_FALSE(IsWindowVisible(child));
    DestroyWindow(top);
}

TEST_F(WindowLifecycle, CreateStructCarriesTheArguments)
{
    int param = 42;
    CREATESTRUCTW seen{};
    SetHandler([&](HWND, UINT m, WPARAM, LPARAM lp, LRESULT*) {
        if (m == WM_CREATE)
            seen = *reinterpret_cast<CREATESTRUCTW*>(lp);
        return false;
    });
    HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW, cls.Name(), u"Title", WS_POPUP, 5, 6, 300, 200,
                                nullptr, nullptr, nullptr, &param);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(seen.lpCreateParams, &param);
    EXPECT_EQ(seen.x, 5);
    EXPECT_EQ(seen.y, 6);
    EXPECT_EQ(seen.cx, 300);
    EXPECT_EQ(seen.cy, 200);
    EXPECT_EQ(std::u16string(seen.lpszName), u"Title");
    EXPECT_EQ(static_cast<DWORD>(seen.style), WS_POPUP);
    EXPECT_EQ(seen.dwExStyle, WS_EX_TOOLWINDOW);
    WCHAR text[16];
    EXPECT_EQ(GetWindowTextW(hwnd, text, 16), 5);
    EXPECT_EQ(std::u16string(text), u"Title");
    DestroyWindow(hwnd);
}

TEST_F(WindowLifecycle, DestroyTakesChildrenAlongInTheOriginalOrder)
{
    HWND top = cls.Create(u"P", WS_POPUP);
    HWND a = cls.Create(u"A", WS_CHILD, top, 1);
    HWND a1 = cls.Create(u"A1", WS_CHILD, a, 2);
    HWND b = cls.Create(u"B", WS_CHILD, top, 3);
    Log().Watch({WM_DESTROY, WM_NCDESTROY, WM_PARENTNOTIFY});
    Log().Take();

    // Children still exist while their parent handles WM_DESTROY.
    bool childAliveInDestroy = false;
    SetHandler([&](HWND h, UINT m, WPARAM, LPARAM, LRESULT*) {
        if (h == top && m == WM_DESTROY)
            childAliveInDestroy = IsWindow(a1) && IsWindow(b);
        return false;
    });
    ASSERT_TRUE(DestroyWindow(top));
    EXPECT_TRUE(childAliveInDestroy);
    EXPECT_EQ(Log().Take(), (std::vector<Entry>{{top, WM_DESTROY}, {a, WM_DESTROY}, {a1, WM_DESTROY},
                                                 {b, WM_DESTROY}, {a1, WM_NCDESTROY}, {a, WM_NCDESTROY},
                                                 {b, WM_NCDESTROY}, {top, WM_NCDESTROY}}));
    for (HWND h : {top, a, a1, b})
        EXPECT_FALSE(IsWindow(h));
    EXPECT_FALSE(DestroyWindow(top));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    Log().Watch({});
}

TEST_F(WindowLifecycle, DestroyingAChildNotifiesTheParentFirst)
{
    HWND top = cls.Create(u"P", WS_POPUP);
    HWND child = cls.Create(u"C", WS_CHILD, top, 9);
    HWND quiet = cls.Create(u"Q", WS_CHILD, top, 10, WS_EX_NOPARENTNOTIFY);
    Log().Watch({WM_DESTROY, WM_NCDESTROY, WM_PARENTNOTIFY});
    Log().Take();
    WPARAM notified = 0;
    SetHandler([&](HWND, UINT m, WPARAM wp, LPARAM, LRESULT*) {
        if (m == WM_PARENTNOTIFY)
            notified = wp;
        return false;
    });
    DestroyWindow(child);
    EXPECT_EQ(Log().Take(), (std::vector<Entry>{{top, WM_PARENTNOTIFY}, {child, WM_DESTROY},
                                                 {child, WM_NCDESTROY}}));
    EXPECT_EQ(notified, MAKEWPARAM(WM_DESTROY, 9));
    DestroyWindow(quiet);
    EXPECT_EQ(Log().Take(), (std::vector<Entry>{{quiet, WM_DESTROY}, {quiet, WM_NCDESTROY}}));
    EXPECT_EQ(GetWindow(top, GW_CHILD), nullptr);
    DestroyWindow(top);
    Log().Watch({});
}

TEST_F(WindowLifecycle, CreationFailsWhenTheProcedureRefuses)
{
    struct Case {
        UINT message;
        LRESULT answer;
        std::vector<UINT> expected;
    };
    const Case cases[] = {
        {WM_NCCREATE, FALSE, {WM_GETMINMAXINFO, WM_NCCREATE, WM_NCDESTROY}},
        {WM_CREATE, -1, {WM_GETMINMAXINFO, WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_DESTROY, WM_NCDESTROY}},
    };
    for (const Case& c : cases) {
        SetHandler([&](HWND, UINT m, WPARAM, LPARAM, LRESULT* r) {
            if (m != c.message)
                return false;
            *r = c.answer;
            return true;
        });
        Log().Take();
        HWND hwnd = cls.Create(u"Refused", WS_POPUP);
        EXPECT_EQ(hwnd, nullptr);
        std::vector<UINT> seen;
        for (const Entry& e : Log().Take()) {
            EXPECT_FALSE(IsWindow(e.hwnd));
            seen.push_back(e.message);
        }
        EXPECT_EQ(seen, c.expected) << "refusing message 0x" << std::hex << c.message;
    }
    SetHandler(nullptr);
    EXPECT_EQ(FindWindowW(cls.Name(), nullptr), nullptr);
}

TEST_F(WindowLifecycle, BadArgumentsFailWithTheirErrors)
{
    EXPECT_EQ(CreateWindowExW(0, u"NoSuchClass", u"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                              nullptr),
              nullptr);
    EXPECT_EQ(GetLastError(), ERROR_CANNOT_FIND_WND_CLASS);
    EXPECT_EQ(cls.Create(u"Orphan", WS_CHILD, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_TLW_WITH_WSCHILD);
    EXPECT_EQ(cls.Create(u"Stale parent", WS_CHILD, reinterpret_cast<HWND>(0x1234)), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);

    WNDCLASSEXW again{};
    again.cbSize = sizeof(again);
    again.lpfnWndProc = DefWindowProcW;
    std::u16string upper;
    for (char16_t c : std::u16string(cls.Name()))
        upper.push_back(c >= u'a' && c <= u'z' ? c - 32 : c);
    again.lpszClassName = upper.c_str();
    EXPECT_EQ(RegisterClassExW(&again), 0);  // names ignore case
    EXPECT_EQ(GetLastError(), ERROR_CLASS_ALREADY_EXISTS);

    HWND hwnd = cls.Create(u"Keeps the class", WS_POPUP);
    EXPECT_FALSE(UnregisterClassW(cls.Name(), nullptr));
    EXPECT_EQ(GetLastError(), ERROR_CLASS_HAS_WINDOWS);
    DestroyWindow(hwnd);
}

LRESULT g_subclassSeen = 0;
WNDPROC g_original = nullptr;
LRESULT SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_USER + 1)
        return ++g_subclassSeen * 100;
    return CallWindowProcW(g_original, hwnd, message, wParam, lParam);
}

TEST_F(WindowLifecycle, UserDataSubclassingAndExtraBytes)
{
    TestClass withExtra(0, 2 * sizeof(LONG_PTR));
    HWND hwnd = withExtra.Create(u"Data", WS_POPUP);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(GetWindowLongPtrW(hwnd, GWLP_USERDATA), 0);
    EXPECT_EQ(SetWindowLongPtrW(hwnd, GWLP_USERDATA, 19731115), 0);
    EXPECT_EQ(GetWindowLongPtrW(hwnd, GWLP_USERDATA), 19731115);

    EXPECT_EQ(SetWindowLongPtrW(hwnd, sizeof(LONG_PTR), 77), 0);
    EXPECT_EQ(GetWindowLongPtrW(hwnd, sizeof(LONG_PTR)), 77);
    EXPECT_EQ(GetWindowLongPtrW(hwnd, 2 * sizeof(LONG_PTR)), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_INDEX);
    EXPECT_EQ(SetWindowLongPtrW(hwnd, 2 * sizeof(LONG_PTR) - 1, 1), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_INDEX);

    g_original = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc)));
    EXPECT_EQ(g_original, &RecordingProc);
    Log().Take();
    EXPECT_EQ(SendMessageW(hwnd, WM_USER + 1, 0, 0), 100);  // the subclass answers alone
    EXPECT_TRUE(Log().Take().empty());
    SendMessageW(hwnd, WM_USER + 2, 0, 0);  // and passes the rest on
    EXPECT_EQ(Log().Take(), (std::vector<Entry>{{hwnd, WM_USER + 2}}));

    EXPECT_EQ(SetWindowLongPtrW(hwnd, GWLP_ID, 5), 0);
    EXPECT_EQ(GetDlgCtrlID(hwnd), 5);
    DestroyWindow(hwnd);
    EXPECT_EQ(GetWindowLongPtrW(hwnd, GWLP_USERDATA), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
}

TEST_F(WindowLifecycle, WmCloseDefaultsToDestroy)
{
    HWND hwnd = cls.Create(u"Closing", WS_POPUP);
    SendMessageW(hwnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(hwnd));
}

TEST_F(WindowLifecycle, OwnedWindowsGoBeforeTheirOwner)
{
    HWND owner = cls.Create(u"Owner", WS_POPUP);
    HWND owned = cls.Create(u"Owned", WS_POPUP, owner);
    EXPECT_EQ(GetWindow(owned, GW_OWNER), owner);
    EXPECT_EQ(GetParent(owned), owner);  // a pop-up's "parent" is its owner
    Log().Watch({WM_DESTROY, WM_NCDESTROY});
    Log().Take();
    DestroyWindow(owner);
    EXPECT_EQ(Log().Take(), (std::vector<Entry>{{owned, WM_DESTROY}, {owned, WM_NCDESTROY},
                                                 {owner, WM_DESTROY}, {owner, WM_NCDESTROY}}));
    Log().Watch({});
}

}  // namespace
