#include "ControlTestSupport.h"

#include "platform/window/Focus.h"
#include "platform/window/Paint.h"
#include "platform/window/PresenterHook.h"

#include <map>
#include <mutex>

namespace control_test {

namespace {

std::mutex g_subclassMutex;
std::map<HWND, Subclass*> g_subclasses;

LRESULT SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Subclass* subclass = nullptr;
    {
        std::lock_guard guard(g_subclassMutex);
        auto it = g_subclasses.find(hwnd);
        if (it != g_subclasses.end())
            subclass = it->second;
    }
    Log().Add(hwnd, message);
    if (!subclass)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    LRESULT result = 0;
    if (subclass->handler && subclass->handler(message, wParam, lParam, &result))
        return result;
    return CallWindowProcW(subclass->original, hwnd, message, wParam, lParam);
}

}  // namespace

std::ostream& operator<<(std::ostream& out, const Notification& n)
{
    return out << "{0x" << std::hex << n.message << ", " << n.from << ", code 0x" << n.code << std::dec << ", id "
               << n.id << "}";
}

Subclass::Subclass(HWND window, Handler h) : hwnd(window), handler(std::move(h))
{
    original = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
    {
        std::lock_guard guard(g_subclassMutex);
        g_subclasses[hwnd] = this;
    }
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc));
}

Subclass::~Subclass()
{
    if (IsWindow(hwnd))
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    std::lock_guard guard(g_subclassMutex);
    g_subclasses.erase(hwnd);
}

void ControlTest::SetUp()
{
    ASSERT_TRUE(RegisterStandardControlClasses());
    window_test::DrainQueue();
    window_test::SetHandler([this](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
        if (hwnd == parent && message == WM_COMMAND && lParam)
            notifications.push_back(Notification{message, reinterpret_cast<HWND>(lParam), HIWORD(wParam), LOWORD(wParam)});
        if (hwnd == parent && message == WM_NOTIFY && lParam) {
            auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
            notifications.push_back(Notification{message, hdr->hwndFrom, hdr->code, hdr->idFrom});
        }
        return parentHandler && parentHandler(hwnd, message, wParam, lParam, result);
    });
    parent = parentClass.Create(u"Parent", WS_POPUP | WS_VISIBLE, nullptr, 0, 0, RECT{100, 100, 600, 500});
    ASSERT_NE(parent, nullptr);
    window_test::DrainQueue();
    Log().Take();
    Log().Watch({});
    notifications.clear();
}

void ControlTest::TearDown()
{
    if (IsWindow(parent))
        DestroyWindow(parent);
    window_test::DrainQueue();
    window_test::SetHandler(nullptr);
    Log().Watch({});
    Log().Take();
}

HWND ControlTest::CreateControl(LPCWSTR className, LPCWSTR text, DWORD style, int id, RECT rect, DWORD exStyle)
{
    HWND hwnd = CreateWindowExW(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, rect.left, rect.top,
                                rect.right - rect.left, rect.bottom - rect.top, parent,
                                reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
    EXPECT_NE(hwnd, nullptr);
    window_test::DrainQueue();
    notifications.clear();
    Log().Take();
    return hwnd;
}

void ControlTest::Input(HWND hwnd, std::initializer_list<MSG> messages)
{
    for (const MSG& m : messages)
        EXPECT_TRUE(PostInputMessage(hwnd, m.message, m.wParam, m.lParam));
    window_test::DrainQueue();
}

void ControlTest::Click(HWND hwnd, int x, int y, int upX, int upY)
{
    Input(hwnd, {Message(WM_LBUTTONDOWN, MK_LBUTTON, Point(x, y)), Message(WM_LBUTTONUP, 0, Point(upX, upY))});
}

std::vector<Notification> ControlTest::TakeNotifications()
{
    std::vector<Notification> out;
    out.swap(notifications);
    return out;
}

std::vector<UINT> ControlTest::TakeCommandCodes()
{
    std::vector<UINT> codes;
    for (const Notification& n : TakeNotifications())
        if (n.message == WM_COMMAND)
            codes.push_back(n.code);
    return codes;
}

MSG Message(UINT message, WPARAM wParam, LPARAM lParam)
{
    MSG m{};
    m.message = message;
    m.wParam = wParam;
    m.lParam = lParam;
    return m;
}

LPARAM Point(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

}  // namespace control_test
