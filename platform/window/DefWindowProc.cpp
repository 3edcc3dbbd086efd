// Default processing of messages, as far as the program relies on it.
#include "platform/window/Focus.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Paint.h"
#include "platform/window/TextUtil.h"
#include "platform/window/Window.h"
#include "platform/window/WindowClass.h"
#include "platform/window/WindowGeometry.h"
#include "platform/window/WindowSystem.h"

#include <algorithm>

using namespace tabrix::window_detail;

namespace tabrix::window_detail {
bool ActivationSetsFocus();
}

namespace {

LRESULT StoreText(HWND hwnd, LPCWSTR text)
{
    WindowSystem& sys = WindowSystem::Get();
    Lock lock(sys.mutex);
    WindowRecord* w = sys.FindAliveLocked(hwnd);
    if (!w)
        return FALSE;
    w->text = (text && !IS_INTRESOURCE(text)) ? std::u16string(text) : std::u16string();
    MarkChangedLocked(*w, WindowChangeText);
    return TRUE;
}

LRESULT CalculateClient(HWND hwnd, RECT* rect)
{
    WindowSystem& sys = WindowSystem::Get();
    Lock lock(sys.mutex);
    WindowRecord* w = sys.FindAliveLocked(hwnd);
    if (!w || !rect)
        return 0;
    if (w->style & WS_MINIMIZE) {
        rect->right = rect->left;
        rect->bottom = rect->top;
        return 0;
    }
    bool hasMenu = w->menu && !(w->style & WS_CHILD);
    Insets f = FrameInsets(w->style, w->exStyle, hasMenu);
    rect->left += f.left;
    rect->top += f.top;
    rect->right = std::max(rect->left, rect->right - f.right);
    rect->bottom = std::max(rect->top, rect->bottom - f.bottom);
    return 0;
}

// Top-level and sizable windows keep to their tracking limits.
void KeepToTrackSize(HWND hwnd, WINDOWPOS* pos)
{
    if (!pos || (pos->flags & SWP_NOSIZE))
        return;
    LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    if ((style & WS_CHILD) && !(style & WS_THICKFRAME))
        return;
    if (style & (WS_MINIMIZE | WS_MAXIMIZE))
        return;
    MINMAXINFO info{};
    RECT screen{};
    GetWindowRect(GetDesktopWindow(), &screen);
    info.ptMaxSize = POINT{screen.right, screen.bottom};
    info.ptMinTrackSize = POINT{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
    info.ptMaxTrackSize = POINT{GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
    SendMessageW(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    pos->cx = std::clamp<int>(pos->cx, info.ptMinTrackSize.x, std::max(info.ptMinTrackSize.x, info.ptMaxTrackSize.x));
    pos->cy = std::clamp<int>(pos->cy, info.ptMinTrackSize.y, std::max(info.ptMinTrackSize.y, info.ptMaxTrackSize.y));
}

void AnnouncePosition(HWND hwnd, const WINDOWPOS* pos)
{
    if (!pos)
        return;
    if (!(pos->flags & SWP_NOCLIENTMOVE)) {
        POINT origin{0, 0};
        MapWindowPoints(hwnd, GetAncestor(hwnd, GA_PARENT), &origin, 1);
        SendMessageW(hwnd, WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(origin.x), static_cast<WORD>(origin.y)));
    }
    if (!(pos->flags & SWP_NOCLIENTSIZE)) {
        RECT client{};
        GetClientRect(hwnd, &client);
        WPARAM kind = IsIconic(hwnd) ? SIZE_MINIMIZED : IsZoomed(hwnd) ? SIZE_MAXIMIZED : SIZE_RESTORED;
        SendMessageW(hwnd, WM_SIZE, kind,
                     MAKELPARAM(static_cast<WORD>(client.right), static_cast<WORD>(client.bottom)));
    }
}

LRESULT HitTest(HWND hwnd, LPARAM lParam)
{
    POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    RECT window{};
    GetWindowRect(hwnd, &window);
    if (!PtInRect(&window, p))
        return HTNOWHERE;
    POINT client = p;
    ScreenToClient(hwnd, &client);
    RECT area{};
    GetClientRect(hwnd, &area);
    if (PtInRect(&area, client))
        return HTCLIENT;
    LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    if ((style & WS_CAPTION) == WS_CAPTION && client.y < 0 && client.x >= 0 && client.x < area.right)
        return HTCAPTION;
    return HTBORDER;
}

HBRUSH ClassBrush(HWND hwnd) { return reinterpret_cast<HBRUSH>(GetClassLongPtrW(hwnd, GCLP_HBRBACKGROUND)); }

bool IsChildWindow(HWND hwnd) { return (GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD) != 0; }

LRESULT ForwardToParent(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!IsChildWindow(hwnd))
        return 0;
    HWND parent = GetParent(hwnd);
    return parent ? SendMessageW(parent, message, wParam, lParam) : 0;
}

LRESULT SystemCommand(HWND hwnd, WPARAM command)
{
    switch (command & 0xFFF0) {
    case SC_CLOSE: return SendMessageW(hwnd, WM_CLOSE, 0, 0);
    case SC_MINIMIZE: ShowWindow(hwnd, SW_MINIMIZE); return 0;
    case SC_MAXIMIZE: ShowWindow(hwnd, SW_MAXIMIZE); return 0;
    case SC_RESTORE: ShowWindow(hwnd, SW_RESTORE); return 0;
    default: return 0;
    }
}

}  // namespace

LRESULT DefWindowProcW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCCREATE: {
        auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        if (cs && cs->lpszName)
            StoreText(hwnd, cs->lpszName);
        return TRUE;
    }
    case WM_NCCALCSIZE: return CalculateClient(hwnd, reinterpret_cast<RECT*>(lParam));
    case WM_SETTEXT: return StoreText(hwnd, reinterpret_cast<LPCWSTR>(lParam));
    case WM_GETTEXT: {
        std::u16string text;
        WindowSystem& sys = WindowSystem::Get();
        {
            Lock lock(sys.mutex);
            WindowRecord* w = sys.FindAliveLocked(hwnd);
            if (!w)
                return 0;
            text = w->text;
        }
        return CopyToBuffer(text, reinterpret_cast<LPWSTR>(lParam), static_cast<int>(std::min<WPARAM>(wParam, 0x7FFFFFFF)));
    }
    case WM_GETTEXTLENGTH: {
        WindowSystem& sys = WindowSystem::Get();
        Lock lock(sys.mutex);
        WindowRecord* w = sys.FindAliveLocked(hwnd);
        return w ? static_cast<LRESULT>(w->text.size()) : 0;
    }
    case WM_CLOSE: DestroyWindow(hwnd); return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND: return ClassBrush(hwnd) ? 1 : 0;
    case WM_WINDOWPOSCHANGING: KeepToTrackSize(hwnd, reinterpret_cast<WINDOWPOS*>(lParam)); return 0;
    case WM_WINDOWPOSCHANGED: AnnouncePosition(hwnd, reinterpret_cast<const WINDOWPOS*>(lParam)); return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && !IsIconic(hwnd) && ActivationSetsFocus())
            SetFocus(hwnd);
        return 0;
    case WM_NCACTIVATE: return TRUE;
    case WM_NCHITTEST: return HitTest(hwnd, lParam);
    case WM_MOUSEACTIVATE: return 1;  // MA_ACTIVATE
    case WM_QUERYENDSESSION:
    case WM_QUERYOPEN: return TRUE;
    case WM_SYSCOMMAND: return SystemCommand(hwnd, wParam);
    case WM_SYSKEYDOWN:
        if (wParam == 0x73 /* F4 */ && !IsChildWindow(hwnd))
            SendMessageW(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
        return 0;
    case WM_CONTEXTMENU:
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL: return ForwardToParent(hwnd, message, wParam, lParam);
    default: return 0;
    }
}

LRESULT CallWindowProcW(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return proc ? proc(hwnd, message, wParam, lParam) : 0;
}
