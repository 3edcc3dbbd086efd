// Focus, activation and the keyboard: key state, GetKeyState and TranslateMessage.
#include "platform/window/Focus.h"

#include "platform/window/MessageQueue.h"
#include "platform/window/Window.h"
#include "platform/window/WindowSystem.h"

#include <atomic>

using namespace tabrix::window_detail;

namespace {

std::atomic<uint8_t> g_keyState[256];  // bit 0x80 down, bit 0x01 toggled
thread_local bool t_activatingForFocus = false;

bool OwnedByCallerLocked(WindowSystem& sys, HWND hwnd)
{
    WindowRecord* w = sys.FindAliveLocked(hwnd);
    return w && w->threadId == CurrentThread();
}

HWND RootOf(HWND hwnd) { return GetAncestor(hwnd, GA_ROOT); }

bool Down(UINT vk) { return (g_keyState[vk & 0xFF].load(std::memory_order_relaxed) & 0x80) != 0; }
bool Toggled(UINT vk) { return (g_keyState[vk & 0xFF].load(std::memory_order_relaxed) & 0x01) != 0; }

// The character a key makes on a US keyboard, or 0.
char16_t CharForKey(UINT vk, bool shift, bool caps, bool ctrl)
{
    if (vk >= 'A' && vk <= 'Z') {
        if (ctrl)
            return static_cast<char16_t>(vk - 'A' + 1);
        bool upper = shift != caps;
        return static_cast<char16_t>(upper ? vk : vk - 'A' + 'a');
    }
    if (ctrl)
        return 0;
    static const char16_t shiftedDigits[] = u")!@#$%^&*(";
    if (vk >= '0' && vk <= '9')
        return shift ? shiftedDigits[vk - '0'] : static_cast<char16_t>(vk);
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD0 + 9)
        return static_cast<char16_t>(u'0' + (vk - VK_NUMPAD0));
    struct Punct {
        UINT vk;
        char16_t plain;
        char16_t shifted;
    };
    static const Punct punct[] = {
        {VK_SPACE, u' ', u' '},      {VK_RETURN, u'\r', u'\r'},   {VK_BACK, 8, 8},
        {VK_TAB, u'\t', u'\t'},      {VK_ESCAPE, 27, 27},         {VK_OEM_1, u';', u':'},
        {VK_OEM_PLUS, u'=', u'+'},   {VK_OEM_COMMA, u',', u'<'},  {VK_OEM_MINUS, u'-', u'_'},
        {VK_OEM_PERIOD, u'.', u'>'}, {VK_OEM_2, u'/', u'?'},      {VK_OEM_3, u'`', u'~'},
        {VK_OEM_4, u'[', u'{'},      {VK_OEM_5, u'\\', u'|'},     {VK_OEM_6, u']', u'}'},
        {VK_OEM_7, u'\'', u'"'},     {VK_MULTIPLY, u'*', u'*'},   {VK_ADD, u'+', u'+'},
        {VK_SUBTRACT, u'-', u'-'},   {VK_DECIMAL, u'.', u'.'},    {VK_DIVIDE, u'/', u'/'},
    };
    for (const Punct& p : punct)
        if (p.vk == vk)
            return shift ? p.shifted : p.plain;
    return 0;
}

void SendFocusChange(HWND losing, HWND gaining)
{
    if (losing && IsWindow(losing))
        SendMessageW(losing, WM_KILLFOCUS, reinterpret_cast<WPARAM>(gaining), 0);
    if (gaining && IsWindow(gaining))
        SendMessageW(gaining, WM_SETFOCUS, reinterpret_cast<WPARAM>(losing), 0);
}

}  // namespace

HWND SetFocus(HWND hwnd)
{
    WindowSystem& sys = WindowSystem::Get();
    HWND previous = nullptr;
    {
        Lock lock(sys.mutex);
        ThreadQueue& queue = CurrentQueueLocked(lock);
        previous = queue.focus;
        if (hwnd && !OwnedByCallerLocked(sys, hwnd)) {
            SetLastError(sys.FindAliveLocked(hwnd) ? ERROR_ACCESS_DENIED : ERROR_INVALID_WINDOW_HANDLE);
            return nullptr;
        }
        if (hwnd == previous)
            return previous;
    }
    if (hwnd) {
        HWND root = RootOf(hwnd);
        if (root && GetActiveWindow() != root) {
            t_activatingForFocus = true;
            SetActiveWindow(root);
            t_activatingForFocus = false;
        }
        if (!IsWindow(hwnd))
            return nullptr;
    }
    {
        Lock lock(sys.mutex);
        ThreadQueue& queue = CurrentQueueLocked(lock);
        previous = queue.focus;
        queue.focus = hwnd;
        if (WindowRecord* w = sys.FindAliveLocked(hwnd))
            MarkChangedLocked(*w, WindowChangeFocus);
        if (WindowRecord* w = sys.FindAliveLocked(previous))
            MarkChangedLocked(*w, WindowChangeFocus);
    }
    SendFocusChange(previous, hwnd);
    return previous;
}

HWND GetFocus()
{
    WindowSystem& sys = WindowSystem::Get();
    Lock lock(sys.mutex);
    return CurrentQueueLocked(lock).focus;
}

HWND SetActiveWindow(HWND hwnd)
{
    WindowSystem& sys = WindowSystem::Get();
    HWND previous = nullptr;
    {
        Lock lock(sys.mutex);
        ThreadQueue& queue = CurrentQueueLocked(lock);
        previous = queue.active;
        if (hwnd && !OwnedByCallerLocked(sys, hwnd)) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return nullptr;
        }
        if (hwnd == previous)
            return previous;
        queue.active = hwnd;
    }
    if (previous && IsWindow(previous)) {
        SendMessageW(previous, WM_NCACTIVATE, FALSE, 0);
        SendMessageW(previous, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), reinterpret_cast<LPARAM>(hwnd));
    }
    if (hwnd && IsWindow(hwnd)) {
        SendMessageW(hwnd, WM_NCACTIVATE, TRUE, 0);
        SendMessageW(hwnd, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0), reinterpret_cast<LPARAM>(previous));
    }
    return previous;
}

HWND GetActiveWindow()
{
    WindowSystem& sys = WindowSystem::Get();
    Lock lock(sys.mutex);
    return CurrentQueueLocked(lock).active;
}

HWND GetForegroundWindow() { return GetActiveWindow(); }

namespace tabrix::window_detail {
// DefWindowProcW gives an activated window the focus unless SetFocus is activating it for a child.
bool ActivationSetsFocus() { return !t_activatingForFocus; }
}  // namespace tabrix::window_detail

short GetKeyState(int virtualKey)
{
    UINT vk = static_cast<UINT>(virtualKey) & 0xFF;
    short state = 0;
    if (Down(vk))
        state = static_cast<short>(0x8000);
    if (Toggled(vk))
        state |= 1;
    return state;
}

short GetAsyncKeyState(int virtualKey) { return Down(static_cast<UINT>(virtualKey)) ? static_cast<short>(0x8000) : 0; }

void SetKeyDown(UINT virtualKey, bool down)
{
    auto& slot = g_keyState[virtualKey & 0xFF];
    if (down)
        slot.fetch_or(0x80);
    else
        slot.fetch_and(static_cast<uint8_t>(~0x80));
}

void SetKeyToggled(UINT virtualKey, bool toggled)
{
    auto& slot = g_keyState[virtualKey & 0xFF];
    if (toggled)
        slot.fetch_or(0x01);
    else
        slot.fetch_and(static_cast<uint8_t>(~0x01));
}

BOOL TranslateMessage(const MSG* msg)
{
    if (!msg)
        return FALSE;
    bool keyDown = msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN;
    bool keyUp = msg->message == WM_KEYUP || msg->message == WM_SYSKEYUP;
    if (!keyDown && !keyUp)
        return FALSE;
    if (keyUp)
        return TRUE;
    UINT vk = static_cast<UINT>(msg->wParam) & 0xFF;
    bool ctrl = Down(VK_CONTROL) && !Down(VK_MENU);
    char16_t ch = CharForKey(vk, Down(VK_SHIFT), Toggled(VK_CAPITAL), ctrl);
    if (ch == 0)
        return TRUE;
    UINT charMessage = msg->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
    WindowSystem& sys = WindowSystem::Get();
    Lock lock(sys.mutex);
    ThreadQueue& queue = CurrentQueueLocked(lock);
    // The character is read by the very next retrieval.
    queue.posted.push_front(MSG{msg->hwnd, charMessage, ch, msg->lParam, msg->time, msg->pt});
    return TRUE;
}
