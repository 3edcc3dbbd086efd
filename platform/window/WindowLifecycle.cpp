// Creation and destruction of windows with their message sequences.
#include "platform/window/Focus.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Window.h"
#include "platform/window/WindowGeometry.h"
#include "platform/window/WindowSystem.h"

#include <algorithm>

using namespace tabrix::window_detail;

namespace {

struct Placement {
    HWND parent = nullptr;
    HWND owner = nullptr;
    bool child = false;
};

bool ResolvePlacementLocked(WindowSystem& sys, DWORD style, HWND parentArg, Placement& out)
{
    if (parentArg == HWND_MESSAGE) {
        out.parent = sys.messageRoot;
        return true;
    }
    if (style & WS_CHILD) {
        if (!parentArg) {
            SetLastError(ERROR_TLW_WITH_WSCHILD);
            return false;
        }
        if (!sys.FindLocked(parentArg)) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return false;
        }
        out.parent = parentArg;
        out.child = !sys.IsRootLocked(parentArg);
        return true;
    }
    out.parent = sys.desktop;
    if (parentArg && !sys.IsRootLocked(parentArg)) {
        WindowRecord* owner = sys.FindLocked(parentArg);
        if (!owner) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return false;
        }
        // The owner is always a top-level window.
        while (owner->style & WS_CHILD) {
            WindowRecord* up = sys.FindAliveLocked(owner->parent);
            if (!up)
                break;
            owner = up;
        }
        out.owner = owner->handle;
    }
    return true;
}

RECT InitialRectLocked(WindowSystem& sys, DWORD style, const Placement& place, int x, int y, int width,
                       int height)
{
    bool overlapped = !(style & (WS_CHILD | WS_POPUP)) && place.parent == sys.desktop;
    const RECT& screen = sys.FindLocked(sys.desktop)->rect;
    if (x == CW_USEDEFAULT) {
        x = 0;
        y = 0;
    }
    if (width == CW_USEDEFAULT) {
        width = overlapped ? (screen.right - screen.left) * 3 / 4 : 0;
        height = overlapped ? (screen.bottom - screen.top) * 3 / 4 : 0;
    }
    width = std::max(width, 0);
    height = std::max(height, 0);
    return RECT{x, y, x + width, y + height};
}

HWND MakeRecordLocked(WindowSystem& sys, const std::shared_ptr<ClassRecord>& cls, DWORD exStyle,
                      LPCWSTR, DWORD style, const RECT& rect, const Placement& place, HMENU menuOrId,
                      HINSTANCE instance)
{
    auto w = std::make_unique<WindowRecord>();
    HWND hwnd = reinterpret_cast<HWND>(sys.nextHandle);
    sys.nextHandle += 4;
    w->handle = hwnd;
    w->cls = cls;
    w->proc = cls->proc;
    if (!(style & (WS_CHILD | WS_POPUP)))
        style |= WS_CLIPSIBLINGS | WS_CAPTION;  // overlapped windows always have a caption
    w->style = style & ~WS_VISIBLE;  // visible only once the show step ran
    w->exStyle = exStyle;
    if (!(style & (WS_CHILD | WS_POPUP)) || (exStyle & WS_EX_DLGMODALFRAME))
        w->exStyle |= WS_EX_WINDOWEDGE;
    w->rect = rect;
    w->restoreRect = rect;
    w->parent = place.parent;
    w->owner = place.owner;
    if (place.child)
        w->id = reinterpret_cast<LONG_PTR>(menuOrId);
    else
        w->menu = menuOrId;
    w->instance = instance;
    w->extra.assign(static_cast<size_t>(cls->wndExtra), 0);
    w->threadId = CurrentThread();
    WindowRecord& parent = *sys.FindLocked(place.parent);
    if (place.child)
        parent.children.push_back(hwnd);  // children: creation order is z-order (and tab order)
    else
        parent.children.insert(parent.children.begin(), hwnd);
    cls->windowCount++;
    WindowRecord& record = *w;
    sys.windows.emplace(hwnd, std::move(w));
    MarkChangedLocked(record, WindowChangeCreated);
    return hwnd;
}

void ClampToTrackSize(HWND hwnd, CREATESTRUCTW& cs)
{
    MINMAXINFO info{};
    RECT screen{};
    GetWindowRect(GetDesktopWindow(), &screen);
    info.ptMaxSize = POINT{screen.right, screen.bottom};
    info.ptMaxPosition = POINT{0, 0};
    info.ptMinTrackSize = POINT{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
    info.ptMaxTrackSize = POINT{GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
    SendMessageW(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    cs.cx = std::max<int>(std::min<int>(cs.cx, info.ptMaxTrackSize.x), info.ptMinTrackSize.x);
    cs.cy = std::max<int>(std::min<int>(cs.cy, info.ptMaxTrackSize.y), info.ptMinTrackSize.y);
    WindowSystem& sys = WindowSystem::Get();
    Lock lock(sys.mutex);
    if (WindowRecord* w = sys.FindAliveLocked(hwnd)) {
        w->rect.right = w->rect.left + cs.cx;
        w->rect.bottom = w->rect.top + cs.cy;
        w->restoreRect = w->rect;
    }
}

// Gives the window its client area from WM_NCCALCSIZE.
void CalculateFrame(HWND hwnd)
{
    WindowSystem& sys = WindowSystem::Get();
    RECT rect{};
    {
        Lock lock(sys.mutex);
        WindowRecord* w = sys.FindAliveLocked(hwnd);
        if (!w)
            return;
        rect = w->rect;
    }
    RECT client = rect;
    SendMessageW(hwnd, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&client));
    Lock lock(sys.mutex);
    if (WindowRecord* w = sys.FindAliveLocked(hwnd)) {
        client.right = std::max(client.right, client.left);
        client.bottom = std::max(client.bottom, client.top);
        w->frame = Insets{client.left - rect.left, client.top - rect.top, rect.right - client.right,
                          rect.bottom - client.bottom};
    }
}

void SendSizeAndMove(HWND hwnd)
{
    RECT client{};
    GetClientRect(hwnd, &client);
    POINT origin{0, 0};
    MapWindowPoints(hwnd, GetAncestor(hwnd, GA_PARENT), &origin, 1);
    SendMessageW(hwnd, WM_SIZE, SIZE_RESTORED,
                 MAKELPARAM(static_cast<WORD>(client.right), static_cast<WORD>(client.bottom)));
    SendMessageW(hwnd, WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(origin.x), static_cast<WORD>(origin.y)));
}

// WM_PARENTNOTIFY climbs while the notified window is itself a child that wants notifications.
void NotifyParents(HWND hwnd, WORD event)
{
    WindowSystem& sys = WindowSystem::Get();
    HWND current = hwnd;
    WPARAM wParam = 0;
    {
        Lock lock(sys.mutex);
        WindowRecord* w = sys.FindAliveLocked(hwnd);
        if (!w)
            return;
        wParam = MAKEWPARAM(event, static_cast<WORD>(w->id));
    }
    for (;;) {
        HWND parent = nullptr;
        {
            Lock lock(sys.mutex);
            WindowRecord* w = sys.FindAliveLocked(current);
            if (!w || !(w->style & WS_CHILD) || (w->exStyle & WS_EX_NOPARENTNOTIFY))
                return;
            WindowRecord* p = sys.FindAliveLocked(w->parent);
            if (!p)
                return;
            parent = p->handle;
        }
        SendMessageW(parent, WM_PARENTNOTIFY, wParam, reinterpret_cast<LPARAM>(hwnd));
        current = parent;
    }
}

std::vector<HWND> ChildrenOf(HWND hwnd)
{
    WindowSystem& sys = WindowSystem::Get();
    Lock lock(sys.mutex);
    WindowRecord* w = sys.FindLocked(hwnd);
    return w ? w->children : std::vector<HWND>{};
}

void SendDestroyMessages(HWND hwnd)
{
    SendMessageW(hwnd, WM_DESTROY, 0, 0);
    for (HWND child : ChildrenOf(hwnd))
        SendDestroyMessages(child);
}

void FreeWindow(HWND hwnd)
{
    for (HWND child : ChildrenOf(hwnd))
        FreeWindow(child);
    SendMessageW(hwnd, WM_NCDESTROY, 0, 0);
    WindowSystem& sys = WindowSystem::Get();
    Lock lock(sys.mutex);
    ForgetWindowLocked(sys, hwnd);
}

void MarkSubtreeDestroyingLocked(WindowSystem& sys, WindowRecord& w)
{
    w.life = Life::Destroying;
    for (HWND child : w.children)
        if (WindowRecord* c = sys.FindLocked(child))
            MarkSubtreeDestroyingLocked(sys, *c);
}

std::vector<HWND> OwnedWindowsOfThisThread(HWND owner)
{
    WindowSystem& sys = WindowSystem::Get();
    Lock lock(sys.mutex);
    std::vector<HWND> owned;
    for (HWND top : sys.FindLocked(sys.desktop)->children) {
        WindowRecord* w = sys.FindLocked(top);
        if (w && w->owner == owner && w->threadId == CurrentThread() && w->life != Life::Destroying)
            owned.push_back(top);
    }
    return owned;
}

// Focus and activation leave the dying subtree before WM_DESTROY.
void ReleaseFocusAndActivation(HWND hwnd)
{
    WindowSystem& sys = WindowSystem::Get();
    bool focusInside = false;
    {
        Lock lock(sys.mutex);
        ThreadQueue& queue = CurrentQueueLocked(lock);
        focusInside = queue.focus && (queue.focus == hwnd || IsDescendantLocked(sys, hwnd, queue.focus));
        if (queue.active == hwnd)
            queue.active = nullptr;
    }
    if (focusInside)
        SetFocus(nullptr);
}

}  // namespace

namespace tabrix::window_detail {

void ForgetWindowLocked(WindowSystem& sys, HWND hwnd)
{
    WindowRecord* w = sys.FindAliveLocked(hwnd);
    if (!w)
        return;
    if (WindowRecord* parent = sys.FindLocked(w->parent))
        std::erase(parent->children, hwnd);
    for (HWND child : w->children)  // children created during destruction lose their parent too
        if (WindowRecord* c = sys.FindLocked(child))
            c->parent = sys.messageRoot;
    if (ThreadQueue* queue = sys.QueueLocked(w->threadId)) {
        std::erase_if(queue->posted, [hwnd](const MSG& m) { return m.hwnd == hwnd; });
        std::erase_if(queue->input, [hwnd](const MSG& m) { return m.hwnd == hwnd; });
        std::erase_if(queue->timers, [hwnd](const Timer& t) { return t.hwnd == hwnd; });
        if (queue->focus == hwnd)
            queue->focus = nullptr;
        if (queue->active == hwnd)
            queue->active = nullptr;
        if (w->hasUpdate)
            queue->paintCount--;
    }
    for (auto& [handle, other] : sys.windows)
        if (other->owner == hwnd)
            other->owner = nullptr;
    if (w->changes)
        w->changes = 0;
    MarkDestroyedLocked(hwnd);
    w->cls->windowCount--;
    sys.windows.erase(hwnd);
}

}  // namespace tabrix::window_detail

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menuOrId, HINSTANCE instance, LPVOID param)
{
    WindowSystem& sys = WindowSystem::Get();
    HWND hwnd = nullptr;
    Placement place;
    {
        Lock lock(sys.mutex);
        CurrentQueueLocked(lock);
        auto cls = FindClassForCreateLocked(sys, className);
        if (!cls) {
            SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
            return nullptr;
        }
        if (!ResolvePlacementLocked(sys, style, parent, place))
            return nullptr;
        RECT rect = InitialRectLocked(sys, style, place, x, y, width, height);
        hwnd = MakeRecordLocked(sys, cls, exStyle, windowName, style, rect, place, menuOrId, instance);
        x = rect.left;
        y = rect.top;
        width = rect.right - rect.left;
        height = rect.bottom - rect.top;
    }
    CREATESTRUCTW cs{param, instance, menuOrId, parent, height, width, y, x,
                     static_cast<LONG>(style), windowName, className, exStyle};
    if (!place.child || (style & WS_THICKFRAME))
        ClampToTrackSize(hwnd, cs);
    if (!SendMessageW(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
        FreeWindow(hwnd);  // WM_NCDESTROY lets the procedure release what it attached
        return nullptr;
    }
    {
        Lock lock(sys.mutex);
        if (WindowRecord* w = sys.FindAliveLocked(hwnd))
            w->life = Life::Alive;
    }
    CalculateFrame(hwnd);
    if (SendMessageW(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    if (!IsWindow(hwnd))
        return nullptr;
    SendSizeAndMove(hwnd);
    if (style & WS_VISIBLE)
        ShowWindow(hwnd, SW_SHOW);
    if (place.child)
        NotifyParents(hwnd, static_cast<WORD>(WM_CREATE));
    return IsWindow(hwnd) ? hwnd : nullptr;
}

BOOL DestroyWindow(HWND hwnd)
{
    WindowSystem& sys = WindowSystem::Get();
    {
        Lock lock(sys.mutex);
        WindowRecord* w = sys.FindAliveLocked(hwnd);
        if (!w) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return FALSE;
        }
        if (w->threadId != CurrentThread()) {
            SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        }
        if (w->life == Life::Destroying)
            return FALSE;  // already on its way out
    }
    NotifyParents(hwnd, static_cast<WORD>(WM_DESTROY));
    for (HWND owned : OwnedWindowsOfThisThread(hwnd))
        DestroyWindow(owned);
    {
        Lock lock(sys.mutex);
        WindowRecord* w = sys.FindAliveLocked(hwnd);
        if (!w || w->life == Life::Destroying)
            return w ? FALSE : TRUE;
        MarkSubtreeDestroyingLocked(sys, *w);
    }
    ReleaseFocusAndActivation(hwnd);
    SendDestroyMessages(hwnd);
    FreeWindow(hwnd);
    return TRUE;
}

BOOL IsWindow(HWND hwnd)
{
    WindowSystem& sys = WindowSystem::Get();
    Lock lock(sys.mutex);
    return sys.FindLocked(hwnd) ? TRUE : FALSE;
}
