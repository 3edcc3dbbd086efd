#include "ui/CVWnd_Container.h"

#include "platform/controls/TooltipControl.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/window/Focus.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Paint.h"
#include "platform/window/WinMessages.h"
#include "platform/window/WinStyles.h"
#include "platform/window/Window.h"
#include "platform/window/WindowGeometry.h"
#include "ui/UiConstants.h"

#include <functional>
#include <vector>

namespace {

constexpr LRESULT kWantsInput = DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTALLKEYS | DLGC_WANTCHARS;

bool IsUsable(HWND hwnd) { return IsWindowVisible(hwnd) && IsWindowEnabled(hwnd); }

// Children before their own children, in z-order; descends only into visible, enabled windows.
HWND Walk(HWND parent, const std::function<bool(HWND)>& wanted)
{
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsUsable(child))
            continue;
        if (wanted(child))
            return child;
        if (HWND inner = Walk(child, wanted))
            return inner;
    }
    return nullptr;
}

bool IsCtlColor(UINT message) { return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC; }

}  // namespace

HWND FindFocusTarget(HWND container)
{
    if (IsUsable(container)) {
        if (HWND h = Walk(container, [](HWND w) { return (SendMessageW(w, WM_GETDLGCODE, 0, 0) & kWantsInput) != 0; }))
            return h;
        if (HWND h = Walk(container, [](HWND w) { return (GetWindowLongW(w, GWL_STYLE) & WS_TABSTOP) != 0; }))
            return h;
    }
    return GetWindow(container, GW_CHILD);
}

CVWnd_Container::~CVWnd_Container()
{
    if (picture)
        DeleteObject(picture);
}

void CVWnd_Container::SetPicture(HBITMAP newPicture)
{
    if (picture && picture != newPicture)
        DeleteObject(picture);
    picture = newPicture;
    if (HWND hwnd = GetSafeHwnd())
        InvalidateRect(hwnd, nullptr, TRUE);
}

BackgroundStyle CVWnd_Container::Background() const
{
    return BackgroundStyle{backColor, transparent != 0, picture, pictureMode};
}

IContainerEventListener* CVWnd_Container::ContainerListener() const
{
    return dynamic_cast<IContainerEventListener*>(listener.load(std::memory_order_acquire));
}

LRESULT CVWnd_Container::PaintContainer()
{
    HWND hwnd = GetSafeHwnd();
    PAINTSTRUCT ps{};
    HDC hdc = BeginPaint(hwnd, &ps);
    RECT client{}, area{};
    if (PaintArea(hwnd, hdc, &client, &area))
        PaintBackground(hdc, client, area, Background());
    EndPaint(hwnd, &ps);
    return 0;
}

void CVWnd_Container::ForwardFocus()
{
    HWND hwnd = GetSafeHwnd();
    if (!hwnd)
        return;
    if (HWND target = FindFocusTarget(hwnd))
        SetFocus(target);
}

void RepaintUnderTransparentWindow(HWND hwnd)
{
    if (!hwnd)
        return;
    HWND top = hwnd;
    while (top && (GetWindowLongW(top, GWL_STYLE) & WS_CHILD))
        top = GetParent(top);
    if (!top || top == hwnd)
        return;
    RECT mine{};
    GetWindowRect(hwnd, &mine);
    POINT corners[2] = {{mine.left, mine.top}, {mine.right, mine.bottom}};
    MapWindowPoints(nullptr, top, corners, 2);
    RECT inTop{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
    InvalidateRect(top, &inTop, TRUE);
    // Children before their parents, topmost first.
    std::vector<HWND> order;
    std::function<void(HWND)> collect = [&](HWND parent) {
        for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            if (!IsWindowVisible(child))
                continue;
            collect(child);
            RECT r{}, overlap{};
            GetWindowRect(child, &r);
            if (child != hwnd && IntersectRect(&overlap, &r, &mine))
                order.push_back(child);
        }
    };
    collect(top);
    for (HWND w : order)
        RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ERASENOW | RDW_FRAME);
    InvalidateRect(hwnd, nullptr, FALSE);
}

void CVWnd_Container::RelayToTooltip(const MSG* message)
{
    if (!message || !tooltipControl || !IsWindow(tooltipControl))
        return;
    const UINT m = message->message;
    if (m < WM_MOUSEMOVE || m > WM_MBUTTONUP || m == WM_LBUTTONDBLCLK || m == WM_RBUTTONDBLCLK)
        return;
    if (SendMessageW(tooltipControl, TTM_GETTOOLCOUNT, 0, 0) > 0)
        SendMessageW(tooltipControl, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(message));
}

void CVWnd_Container::DestroyTooltip()
{
    HWND tooltip = tooltipControl;
    tooltipControl = nullptr;
    if (tooltip && IsWindow(tooltip))
        DestroyWindow(tooltip);
}

bool CVWnd_Container::ReflectNotifications(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    return ReflectToChild(message, wParam, lParam, result);
}

LRESULT CVWnd_Container::OnCommandMessage(WPARAM wParam, LPARAM lParam)
{
    if (lParam == 0) {
        if (IContainerEventListener* l = ContainerListener())
            if (l->OnCommand(LOWORD(wParam)) != 0)
                return 0;
        return Default(WM_COMMAND, wParam, lParam);
    }
    LRESULT result = 0;
    if (ReflectNotifications(WM_COMMAND, wParam, lParam, &result))
        return result;
    return Default(WM_COMMAND, wParam, lParam);
}

LRESULT CVWnd_Container::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    switch (message) {
    case WM_PAINT: return PaintContainer();
    case WM_GETDLGCODE: return DLGC_STATIC;
    case WM_COMMAND: return OnCommandMessage(wParam, lParam);
    case WM_NOTIFY:
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (ReflectNotifications(message, wParam, lParam, &result))
            return result;
        return Default(message, wParam, lParam);
    case WM_SETFOCUS:
        result = Default(message, wParam, lParam);
        ForwardFocus();
        return result;
    case WM_MOVE:
        result = Default(message, wParam, lParam);
        if (transparent && GetSafeHwnd())
            RepaintUnderTransparentWindow(GetSafeHwnd());
        if (IContainerEventListener* l = ContainerListener())
            l->OnMove();
        return result;
    case WM_CREATE:
        result = Default(message, wParam, lParam);
        if (IContainerEventListener* l = ContainerListener())
            l->OnCreate();
        return result;
    case WM_DESTROY:
        result = Default(message, wParam, lParam);
        if (IContainerEventListener* l = ContainerListener())
            l->OnDestroy();
        DestroyTooltip();
        return result;
    case WM_SIZE:
        result = Default(message, wParam, lParam);
        if (IContainerEventListener* l = ContainerListener())
            l->OnSize();
        return result;
    case WM_SHOWWINDOW:
        result = Default(message, wParam, lParam);
        if (IContainerEventListener* l = ContainerListener())
            l->OnShow(wParam != 0);
        return result;
    default:
        if (message == kQrnPreTranslate && lParam == kQrnWindowMark) {
            RelayToTooltip(reinterpret_cast<const MSG*>(wParam));
            return 0;
        }
        if (IsCtlColor(message) && ReflectNotifications(message, wParam, lParam, &result))
            return result;
        return Default(message, wParam, lParam);
    }
}

void CVWnd_Container::PostNcDestroy()
{
    if (IContainerEventListener* l = ContainerListener())
        l->OnFinalDestroy();
}
