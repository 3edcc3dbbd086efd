// Update areas, WM_PAINT and the paint bracket.
#include "platform/window/Paint.h"

#include "platform/window/MessageQueue.h"
#include "platform/window/Window.h"
#include "platform/window/WindowGeometry.h"
#include "platform/window/WindowSystem.h"

using namespace tabrix::window_detail;

namespace {

// Shrinks the update area by a validated rectangle where a bounding box can say so exactly: when
// the rectangle covers it whole, or a full-width or full-height band at one of its edges.
void SubtractFromUpdate(WindowRecord& w, const RECT& valid)
{
    RECT& u = w.update;
    bool coversWidth = valid.left <= u.left && valid.right >= u.right;
    bool coversHeight = valid.top <= u.top && valid.bottom >= u.bottom;
    if (coversWidth && coversHeight) {
        SetUpdateLocked(w, false);
        return;
    }
    if (coversWidth && valid.top <= u.top && valid.bottom > u.top)
        u.top = valid.bottom;
    else if (coversWidth && valid.bottom >= u.bottom && valid.top < u.bottom)
        u.bottom = valid.top;
    else if (coversHeight && valid.left <= u.left && valid.right > u.left)
        u.left = valid.right;
    else if (coversHeight && valid.right >= u.right && valid.left < u.right)
        u.right = valid.left;
    if (IsRectEmpty(&u))
        SetUpdateLocked(w, false);
}

void ValidateLocked(WindowSystem& sys, WindowRecord& w, const RECT* rect, bool withChildren)
{
    if (w.hasUpdate) {
        if (rect)
            SubtractFromUpdate(w, *rect);
        else
            SetUpdateLocked(w, false);
    }
    if (!withChildren)
        return;
    for (HWND child : w.children) {
        WindowRecord* c = sys.FindLocked(child);
        if (!c)
            continue;
        if (rect) {
            RECT inChild = *rect;
            OffsetRect(&inChild, -(c->rect.left + c->frame.left), -(c->rect.top + c->frame.top));
            ValidateLocked(sys, *c, &inChild, true);
        } else {
            ValidateLocked(sys, *c, nullptr, true);
        }
    }
}

WindowRecord* PaintableInLocked(WindowSystem& sys, WindowRecord& w, DWORD thread, HWND filter)
{
    if (!(w.style & WS_VISIBLE))
        return nullptr;
    if (w.hasUpdate && w.threadId == thread && MatchesFilterLocked(sys, filter, w.handle))
        return &w;
    for (HWND child : w.children)
        if (WindowRecord* c = sys.FindLocked(child))
            if (WindowRecord* found = PaintableInLocked(sys, *c, thread, filter))
                return found;
    return nullptr;
}

HDC TokenFor(HWND hwnd) { return reinterpret_cast<HDC>(hwnd); }

void Update(HWND hwnd, bool withChildren)
{
    WindowSystem& sys = WindowSystem::Get();
    bool paint = false;
    std::vector<HWND> children;
    {
        Lock lock(sys.mutex);
        WindowRecord* w = sys.FindAliveLocked(hwnd);
        if (!w)
            return;
        paint = w->hasUpdate && IsVisibleLocked(sys, *w);
        if (withChildren)
            children = w->children;
    }
    if (paint)
        SendMessageW(hwnd, WM_PAINT, 0, 0);
    for (HWND child : children)
        Update(child, true);
}

}  // namespace

namespace tabrix::window_detail {

void SetUpdateLocked(WindowRecord& w, bool hasUpdate)
{
    if (w.hasUpdate == hasUpdate)
        return;
    w.hasUpdate = hasUpdate;
    if (!hasUpdate) {
        w.update = RECT{};
        w.eraseUpdate = false;
    }
    if (ThreadQueue* queue = WindowSystem::Get().QueueLocked(w.threadId)) {
        queue->paintCount += hasUpdate ? 1 : -1;
        if (hasUpdate)
            WakeQueueLocked(*queue);
    }
}

void InvalidateLocked(WindowSystem& sys, WindowRecord& w, const RECT* rect, bool erase, ChildScope scope)
{
    RECT client = ClientRectLocked(w);
    RECT area{};
    if (!rect)
        area = client;
    else if (!IntersectRect(&area, rect, &client))
        area = RECT{};
    if (!IsRectEmpty(&area)) {
        RECT merged{};
        UnionRect(&merged, w.hasUpdate ? &w.update : &area, &area);
        w.update = merged;
        w.eraseUpdate = w.eraseUpdate || erase;
        SetUpdateLocked(w, true);
        MarkChangedLocked(w, WindowChangeInvalidated);
    }
    if (scope == ChildScope::None || (scope == ChildScope::Unclipped && (w.style & WS_CLIPCHILDREN)))
        return;
    for (HWND child : w.children) {
        WindowRecord* c = sys.FindLocked(child);
        if (!c || !(c->style & WS_VISIBLE))
            continue;
        RECT inChild = rect ? *rect : client;
        OffsetRect(&inChild, -(c->rect.left + c->frame.left), -(c->rect.top + c->frame.top));
        InvalidateLocked(sys, *c, &inChild, erase, scope);
    }
}

WindowRecord* FindPaintableLocked(WindowSystem& sys, ThreadQueue& queue, HWND filter)
{
    if (queue.paintCount <= 0)
        return nullptr;
    return PaintableInLocked(sys, *sys.FindLocked(sys.desktop), queue.threadId, filter);
}

}  // namespace tabrix::window_detail

BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN, UINT flags)
{
    WindowSystem& sys = WindowSystem::Get();
    {
        Lock lock(sys.mutex);
        WindowRecord* w = hwnd ? sys.FindAliveLocked(hwnd) : sys.FindLocked(sys.desktop);
        if (!w) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return FALSE;
        }
        // Children come along when asked, or where windows do not clip them away.
        ChildScope scope = (flags & RDW_ALLCHILDREN) || !hwnd ? ChildScope::All
                           : (flags & RDW_NOCHILDREN)         ? ChildScope::None
                                                              : ChildScope::Unclipped;
        if (flags & RDW_INVALIDATE)
            InvalidateLocked(sys, *w, rect, (flags & RDW_ERASE) != 0, scope);
        else if (flags & RDW_VALIDATE)
            ValidateLocked(sys, *w, rect, scope != ChildScope::None);
    }
    if (hwnd && (flags & RDW_UPDATENOW))
        Update(hwnd, (flags & RDW_ALLCHILDREN) != 0);
    return TRUE;
}

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase)
{
    return RedrawWindow(hwnd, rect, nullptr, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

BOOL ValidateRect(HWND hwnd, const RECT* rect)
{
    return RedrawWindow(hwnd, rect, nullptr, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL GetUpdateRect(HWND hwnd, RECT* rect, BOOL)
{
    WindowSystem& sys = WindowSystem::Get();
    Lock lock(sys.mutex);
    WindowRecord* w = sys.FindAliveLocked(hwnd);
    if (!w)
        return FALSE;
    if (rect)
        *rect = w->hasUpdate ? w->update : RECT{};
    return w->hasUpdate ? TRUE : FALSE;
}

BOOL UpdateWindow(HWND hwnd)
{
    if (!IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    Update(hwnd, true);
    return TRUE;
}

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint)
{
    WindowSystem& sys = WindowSystem::Get();
    bool erase = false;
    RECT area{};
    {
        Lock lock(sys.mutex);
        WindowRecord* w = sys.FindAliveLocked(hwnd);
        if (!w || !paint) {
            SetLastError(w ? ERROR_INVALID_PARAMETER : ERROR_INVALID_WINDOW_HANDLE);
            return nullptr;
        }
        erase = w->hasUpdate && w->eraseUpdate;
        area = w->hasUpdate ? w->update : RECT{};
        SetUpdateLocked(*w, false);
    }
    *paint = PAINTSTRUCT{};
    paint->hdc = TokenFor(hwnd);
    paint->rcPaint = area;
    paint->fErase = TRUE;
    if (erase)
        paint->fErase = SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(paint->hdc), 0) ? FALSE : TRUE;
    else
        paint->fErase = FALSE;
    return paint->hdc;
}

BOOL EndPaint(HWND, const PAINTSTRUCT* paint) { return paint ? TRUE : FALSE; }
