// Rectangles, the frame arithmetic, SetWindowPos and ShowWindow.
#include "platform/window/WindowGeometry.h"

#include "platform/window/Focus.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Paint.h"
#include "platform/window/Window.h"
#include "platform/window/WindowSystem.h"

#include <algorithm>

using namespace tabrix::window_detail;

namespace {

constexpr int kBorder = 1;
constexpr int kDialogFrame = 3;
constexpr int kSizingFrame = 4;
constexpr int kCaption = 23;
constexpr int kSmallCaption = 17;
constexpr int kMenuBar = 20;
constexpr int kEdge = 2;
constexpr int kScrollBar = 17;
constexpr int kMinTrackWidth = 136;
constexpr int kMinTrackHeight = 39;
const POINT kMinimisedPosition{-32000, -32000};
constexpr SIZE kMinimisedSize{160, 28};

Insets OuterFrame(DWORD style, DWORD exStyle, bool hasMenu)
{
    int adjust = 0;
    if ((exStyle & (WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME)) == WS_EX_STATICEDGE)
        adjust = 1;
    else if ((exStyle & WS_EX_DLGMODALFRAME) || (style & (WS_THICKFRAME | WS_DLGFRAME)))
        adjust = 2;
    if (style & WS_THICKFRAME)
        adjust += kSizingFrame - kDialogFrame;
    if ((style & (WS_BORDER | WS_DLGFRAME)) || (exStyle & WS_EX_DLGMODALFRAME))
        adjust += 1;
    Insets f{adjust, adjust, adjust, adjust};
    if ((style & WS_CAPTION) == WS_CAPTION)
        f.top += (exStyle & WS_EX_TOOLWINDOW) ? kSmallCaption : kCaption;
    if (hasMenu)
        f.top += kMenuBar;
    if (exStyle & WS_EX_CLIENTEDGE) {
        f.left += kEdge;
        f.top += kEdge;
        f.right += kEdge;
        f.bottom += kEdge;
    }
    return f;
}

RECT Deflate(const RECT& r, const Insets& f)
{
    RECT out{r.left + f.left, r.top + f.top, r.right - f.right, r.bottom - f.bottom};
    out.right = std::max(out.right, out.left);
    out.bottom = std::max(out.bottom, out.top);
    return out;
}

struct PositionChange {
    RECT before{};
    RECT clientBefore{};
    bool wasVisible = false;
};

void ApplyZOrderLocked(WindowSystem& sys, WindowRecord& w, HWND after)
{
    WindowRecord* parent = sys.FindLocked(w.parent);
    if (!parent)
        return;
    std::vector<HWND>& siblings = parent->children;
    std::erase(siblings, w.handle);
    if (after == HWND_TOPMOST)
        w.exStyle |= WS_EX_TOPMOST;
    else if (after == HWND_NOTOPMOST)
        w.exStyle &= ~WS_EX_TOPMOST;
    if (after == HWND_BOTTOM) {
        siblings.push_back(w.handle);
        return;
    }
    auto it = std::find(siblings.begin(), siblings.end(), after);
    if (it != siblings.end() && after != HWND_TOP)
        siblings.insert(it + 1, w.handle);
    else
        siblings.insert(siblings.begin(), w.handle);
}

}  // namespace

namespace tabrix::window_detail {

Insets FrameInsets(DWORD style, DWORD exStyle, bool hasMenu)
{
    Insets f = OuterFrame(style, exStyle, hasMenu);
    if (style & WS_VSCROLL)
        f.right += kScrollBar;
    if (style & WS_HSCROLL)
        f.bottom += kScrollBar;
    return f;
}

bool IsVisibleLocked(WindowSystem& sys, const WindowRecord& window)
{
    const WindowRecord* w = &window;
    while (w) {
        if (!(w->style & WS_VISIBLE))
            return false;
        if (sys.IsRootLocked(w->handle))
            return true;
        w = sys.FindLocked(w->parent);
    }
    return false;
}

bool IsDescendantLocked(WindowSystem& sys, HWND ancestor, HWND hwnd)
{
    WindowRecord* w = sys.FindAliveLocked(hwnd);
    while (w) {
        if (w->parent == ancestor)
            return true;
        w = sys.FindAliveLocked(w->parent);
    }
    return false;
}

POINT ClientOriginOnScreenLocked(const WindowRecord& window)
{
    WindowSystem& sys = WindowSystem::Get();
    POINT origin{window.rect.left + window.frame.left, window.rect.top + window.frame.top};
    if (sys.IsRootLocked(window.handle))
        return POINT{0, 0};
    if (WindowRecord* parent = sys.FindAliveLocked(window.parent)) {
        POINT up = ClientOriginOnScreenLocked(*parent);
        origin.x += up.x;
        origin.y += up.y;
    }
    return origin;
}

RECT ClientRectLocked(const WindowRecord& window)
{
    RECT client = Deflate(window.rect, window.frame);
    return RECT{0, 0, client.right - client.left, client.bottom - client.top};
}

}  // namespace tabrix::window_detail

BOOL AdjustWindowRectEx(RECT* rect, DWORD style, BOOL hasMenu, DWORD exStyle)
{
    if (!rect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Insets f = OuterFrame(style, exStyle, hasMenu != FALSE);
    rect->left -= f.left;
    rect->top -= f.top;
    rect->right += f.right;
    rect->bottom += f.bottom;
    return TRUE;
}

int GetSystemMetrics(int index)
{
    RECT screen{};
    {
        WindowSystem& sys = WindowSystem::Get();
        Lock lock(sys.mutex);
        screen = sys.FindLocked(sys.desktop)->rect;
    }
    switch (index) {
    case SM_CXSCREEN: return screen.right - screen.left;
    case SM_CYSCREEN: return screen.bottom - screen.top;
    case SM_CYCAPTION: return kCaption;
    case SM_CYSMCAPTION: return kSmallCaption;
    case SM_CXBORDER:
    case SM_CYBORDER: return kBorder;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME: return kDialogFrame;
    case SM_CXFRAME:
    case SM_CYFRAME: return kSizingFrame;
    case SM_CYMENU: return kMenuBar;
    case SM_CXEDGE:
    case SM_CYEDGE: return kEdge;
    case SM_CXMINTRACK: return kMinTrackWidth;
    case SM_CYMINTRACK: return kMinTrackHeight;
    case SM_CXMAXTRACK: return screen.right - screen.left + 2 * kSizingFrame + 4;
    case SM_CYMAXTRACK: return screen.bottom - screen.top + 2 * kSizingFrame + 4;
    default: return 0;
    }
}

BOOL GetWindowRect(HWND hwnd, RECT* rect)
{
    WindowSystem& sys = WindowSystem::Get();
    Lock lock(sys.mutex);
    WindowRecord* w = sys.FindLocked(hwnd);
    if (!w || !rect) {
        SetLastError(w ? ERROR_INVALID_PARAMETER : ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    *rect = w->rect;
    if (WindowRecord* parent = sys.FindAliveLocked(w->parent)) {
        POINT origin = ClientOriginOnScreenLocked(*parent);
        OffsetRect(rect, origin.x, origin.y);
    }
    return TRUE;
}

BOOL GetClientRect(HWND hwnd, RECT* rect)
{
    WindowSystem& sys = WindowSystem::Get();
    Lock lock(sys.mutex);
    WindowRecord* w = sys.FindLocked(hwnd);
    if (!w || !rect) {
        SetLastError(w ? ERROR_INVALID_PARAMETER : ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    *rect = ClientRectLocked(*w);
    return TRUE;
}

int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count)
{
    WindowSystem& sys = WindowSystem::Get();
    Lock lock(sys.mutex);
    POINT a{0, 0};
    POINT b{0, 0};
    if (from) {
        WindowRecord* w = sys.FindLocked(from);
        if (!w) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return 0;
        }
        a = ClientOriginOnScreenLocked(*w);
    }
    if (to) {
        WindowRecord* w = sys.FindLocked(to);
        if (!w) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return 0;
        }
        b = ClientOriginOnScreenLocked(*w);
    }
    LONG dx = a.x - b.x;
    LONG dy = a.y - b.y;
    for (UINT i = 0; points && i < count; ++i) {
        points[i].x += dx;
        points[i].y += dy;
    }
    return static_cast<int>(MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy)));
}

BOOL ClientToScreen(HWND hwnd, POINT* point)
{
    if (!point || !IsWindow(hwnd))
        return FALSE;
    MapWindowPoints(hwnd, nullptr, point, 1);
    return TRUE;
}

BOOL ScreenToClient(HWND hwnd, POINT* point)
{
    if (!point || !IsWindow(hwnd))
        return FALSE;
    MapWindowPoints(nullptr, hwnd, point, 1);
    return TRUE;
}

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int width, int height, UINT flags)
{
    WindowSystem& sys = WindowSystem::Get();
    PositionChange change;
    WINDOWPOS pos{hwnd, insertAfter, x, y, std::max(width, 0), std::max(height, 0), flags};
    {
        Lock lock(sys.mutex);
        WindowRecord* w = sys.FindAliveLocked(hwnd);
        if (!w) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return FALSE;
        }
        change.before = w->rect;
        change.clientBefore = Deflate(w->rect, w->frame);
        change.wasVisible = IsVisibleLocked(sys, *w);
        if (flags & SWP_NOMOVE) {
            pos.x = w->rect.left;
            pos.y = w->rect.top;
        }
        if (flags & SWP_NOSIZE) {
            pos.cx = w->rect.right - w->rect.left;
            pos.cy = w->rect.bottom - w->rect.top;
        }
    }
    if (!(flags & SWP_NOSENDCHANGING))
        SendMessageW(hwnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
    RECT after{pos.x, pos.y, pos.x + std::max(pos.cx, 0), pos.y + std::max(pos.cy, 0)};
    bool sized = (after.right - after.left) != (change.before.right - change.before.left) ||
                 (after.bottom - after.top) != (change.before.bottom - change.before.top);
    {
        Lock lock(sys.mutex);
        WindowRecord* w = sys.FindAliveLocked(hwnd);
        if (!w)
            return FALSE;
        w->rect = after;
        // A new place among the siblings is a change of placement for a presenter, which stacks
        // its widgets as the core does.
        if (!(pos.flags & SWP_NOZORDER)) {
            ApplyZOrderLocked(sys, *w, pos.hwndInsertAfter);
            MarkChangedLocked(*w, WindowChangeRect);
        }
        if (pos.flags & SWP_SHOWWINDOW)
            w->style |= WS_VISIBLE;
        if (pos.flags & SWP_HIDEWINDOW)
            w->style &= ~WS_VISIBLE;
        if (!EqualRect(&after, &change.before))
            MarkChangedLocked(*w, WindowChangeRect);
        if (pos.flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW))
            MarkChangedLocked(*w, WindowChangeStyle);
    }
    if (sized || (pos.flags & SWP_FRAMECHANGED)) {
        NCCALCSIZE_PARAMS params{{after, change.before, change.clientBefore}, &pos};
        SendMessageW(hwnd, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&params));
        Lock lock(sys.mutex);
        if (WindowRecord* w = sys.FindAliveLocked(hwnd)) {
            RECT c = params.rgrc[0];
            c.right = std::max(c.right, c.left);
            c.bottom = std::max(c.bottom, c.top);
            w->frame = Insets{c.left - after.left, c.top - after.top, after.right - c.right,
                              after.bottom - c.bottom};
        }
    }
    RECT clientAfter{};
    bool nowVisible = false;
    {
        Lock lock(sys.mutex);
        WindowRecord* w = sys.FindAliveLocked(hwnd);
        if (!w)
            return FALSE;
        clientAfter = Deflate(w->rect, w->frame);
        nowVisible = IsVisibleLocked(sys, *w);
        bool clientSized = (clientAfter.right - clientAfter.left) !=
                               (change.clientBefore.right - change.clientBefore.left) ||
                           (clientAfter.bottom - clientAfter.top) !=
                               (change.clientBefore.bottom - change.clientBefore.top);
        bool clientMoved = clientAfter.left != change.clientBefore.left ||
                           clientAfter.top != change.clientBefore.top;
        if (!clientSized)
            pos.flags |= SWP_NOCLIENTSIZE;
        if (!clientMoved)
            pos.flags |= SWP_NOCLIENTMOVE;
        if (!(pos.flags & SWP_NOREDRAW)) {
            if ((nowVisible && !change.wasVisible) || (clientSized && nowVisible))
                InvalidateLocked(sys, *w, nullptr, true, ChildScope::All);
            // What the window uncovered in its parent needs painting there.
            if ((change.wasVisible && !nowVisible) || (change.wasVisible && clientSized) || clientMoved) {
                if (WindowRecord* parent = sys.FindAliveLocked(w->parent)) {
                    RECT uncovered = change.before;  // already in the parent's client coordinates
                    if (change.wasVisible)
                        InvalidateLocked(sys, *parent, &uncovered, true, ChildScope::Unclipped);
                }
            }
        }
    }
    SendMessageW(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
    return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint)
{
    return SetWindowPos(hwnd, nullptr, x, y, width, height,
                        SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

namespace {

enum class Placing { Keep, Maximise, Minimise, Restore };

Placing PlacingFor(int command)
{
    switch (command) {
    case SW_SHOWMAXIMIZED: return Placing::Maximise;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
    case SW_FORCEMINIMIZE: return Placing::Minimise;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
    case SW_SHOWDEFAULT: return Placing::Restore;
    default: return Placing::Keep;
    }
}

bool Activates(int command)
{
    return command == SW_SHOWNORMAL || command == SW_SHOW || command == SW_SHOWMAXIMIZED ||
           command == SW_RESTORE || command == SW_SHOWDEFAULT || command == SW_SHOWMINIMIZED;
}

// Changes the minimise/maximise bits; returns the rectangle the window goes to.
RECT PlaceLocked(WindowSystem& sys, WindowRecord& w, Placing placing)
{
    bool placed = (w.style & (WS_MINIMIZE | WS_MAXIMIZE)) != 0;
    if (placing == Placing::Keep || (placing == Placing::Restore && !placed))
        return w.rect;
    if (!placed)
        w.restoreRect = w.rect;
    w.style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
    if (placing == Placing::Restore)
        return w.restoreRect;
    if (placing == Placing::Minimise) {
        w.style |= WS_MINIMIZE;
        return RECT{kMinimisedPosition.x, kMinimisedPosition.y, kMinimisedPosition.x + kMinimisedSize.cx,
                    kMinimisedPosition.y + kMinimisedSize.cy};
    }
    w.style |= WS_MAXIMIZE;
    WindowRecord* parent = sys.FindLocked(w.parent);
    RECT area = parent ? (sys.IsRootLocked(parent->handle) ? parent->rect : ClientRectLocked(*parent))
                       : w.rect;
    if ((w.style & WS_CHILD) == 0) {
        Insets f = OuterFrame(w.style & ~WS_CAPTION, w.exStyle, false);
        area.left -= f.left;
        area.top -= f.top;
        area.right += f.right;
        area.bottom += f.bottom;
    }
    return area;
}

}  // namespace

BOOL ShowWindow(HWND hwnd, int command)
{
    WindowSystem& sys = WindowSystem::Get();
    bool wasVisible = false;
    bool topLevel = false;
    RECT target{};
    RECT before{};
    {
        Lock lock(sys.mutex);
        WindowRecord* w = sys.FindAliveLocked(hwnd);
        if (!w) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return FALSE;
        }
        wasVisible = (w->style & WS_VISIBLE) != 0;
        topLevel = !(w->style & WS_CHILD);
        before = w->rect;
        target = PlaceLocked(sys, *w, PlacingFor(command));
    }
    bool show = command != SW_HIDE;
    bool moved = !EqualRect(&target, &before);
    if (show != wasVisible)
        SendMessageW(hwnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    if (show != wasVisible || moved) {
        UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
        if (!moved)
            flags |= SWP_NOSIZE | SWP_NOMOVE;
        SetWindowPos(hwnd, nullptr, target.left, target.top, target.right - target.left,
                     target.bottom - target.top, flags);
    }
    if (!show) {
        HWND focus = GetFocus();
        if (focus && (focus == hwnd || IsChild(hwnd, focus)))
            SetFocus(nullptr);
        if (GetActiveWindow() == hwnd)
            SetActiveWindow(nullptr);
    } else if (topLevel && Activates(command) && IsWindow(hwnd)) {
        SetActiveWindow(hwnd);
    }
    return wasVisible ? TRUE : FALSE;
}

BOOL SetRect(RECT* rect, int left, int top, int right, int bottom)
{
    if (!rect)
        return FALSE;
    *rect = RECT{left, top, right, bottom};
    return TRUE;
}

BOOL SetRectEmpty(RECT* rect) { return SetRect(rect, 0, 0, 0, 0); }

BOOL IsRectEmpty(const RECT* rect)
{
    return (!rect || rect->right <= rect->left || rect->bottom <= rect->top) ? TRUE : FALSE;
}

BOOL EqualRect(const RECT* a, const RECT* b)
{
    return (a && b && a->left == b->left && a->top == b->top && a->right == b->right &&
            a->bottom == b->bottom)
               ? TRUE
               : FALSE;
}

BOOL PtInRect(const RECT* rect, POINT p)
{
    return (rect && p.x >= rect->left && p.x < rect->right && p.y >= rect->top && p.y < rect->bottom)
               ? TRUE
               : FALSE;
}

BOOL OffsetRect(RECT* rect, int dx, int dy)
{
    if (!rect)
        return FALSE;
    rect->left += dx;
    rect->right += dx;
    rect->top += dy;
    rect->bottom += dy;
    return TRUE;
}

BOOL InflateRect(RECT* rect, int dx, int dy)
{
    if (!rect)
        return FALSE;
    rect->left -= dx;
    rect->right += dx;
    rect->top -= dy;
    rect->bottom += dy;
    return TRUE;
}

BOOL IntersectRect(RECT* out, const RECT* a, const RECT* b)
{
    if (!out || !a || !b)
        return FALSE;
    RECT r{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
           std::min(a->bottom, b->bottom)};
    if (IsRectEmpty(&r)) {
        SetRectEmpty(out);
        return FALSE;
    }
    *out = r;
    return TRUE;
}

BOOL UnionRect(RECT* out, const RECT* a, const RECT* b)
{
    if (!out || !a || !b)
        return FALSE;
    if (IsRectEmpty(a)) {
        *out = IsRectEmpty(b) ? RECT{} : *b;
    } else if (IsRectEmpty(b)) {
        *out = *a;
    } else {
        *out = RECT{std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right),
                    std::max(a->bottom, b->bottom)};
    }
    return IsRectEmpty(out) ? FALSE : TRUE;
}
