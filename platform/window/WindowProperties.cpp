// Text, window longs, relations, identifiers, searching and enabled state.
#include "platform/window/Focus.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/TextUtil.h"
#include "platform/window/Window.h"
#include "platform/window/WindowGeometry.h"
#include "platform/window/WindowSystem.h"

#include <cstring>

using namespace tabrix::window_detail;

namespace {

const HWND kNoWindow = nullptr;

template <typename Read>
auto ReadWindow(HWND hwnd, Read read, decltype(read(std::declval<WindowRecord&>())) fallback)
{
    WindowSystem& sys = WindowSystem::Get();
    Lock lock(sys.mutex);
    WindowRecord* w = sys.FindAliveLocked(hwnd);
    if (!w) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return fallback;
    }
    return read(*w);
}

bool ExtraInRange(const WindowRecord& w, int index, size_t size)
{
    return index >= 0 && static_cast<size_t>(index) + size <= w.extra.size();
}

// Style changes go through WM_STYLECHANGING (which may alter them) and WM_STYLECHANGED.
LONG_PTR ChangeStyle(HWND hwnd, int index, DWORD wanted)
{
    WindowSystem& sys = WindowSystem::Get();
    DWORD old = 0;
    {
        Lock lock(sys.mutex);
        WindowRecord* w = sys.FindAliveLocked(hwnd);
        if (!w) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return 0;
        }
        old = index == GWL_STYLE ? w->style : w->exStyle;
    }
    if (old == wanted)
        return old;
    STYLESTRUCT change{old, wanted};
    SendMessageW(hwnd, WM_STYLECHANGING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&change));
    {
        Lock lock(sys.mutex);
        WindowRecord* w = sys.FindAliveLocked(hwnd);
        if (!w)
            return old;
        (index == GWL_STYLE ? w->style : w->exStyle) = change.styleNew;
        MarkChangedLocked(*w, WindowChangeStyle);
    }
    SendMessageW(hwnd, WM_STYLECHANGED, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&change));
    return old;
}

HWND FindChildLocked(WindowSystem& sys, const WindowRecord& parent, HWND after, LPCWSTR className,
                     LPCWSTR windowName)
{
    bool started = after == nullptr;
    for (HWND hwnd : parent.children) {
        if (!started) {
            started = hwnd == after;
            continue;
        }
        WindowRecord* w = sys.FindLocked(hwnd);
        if (!w)
            continue;
        if (className) {
            bool match = IS_INTRESOURCE(className)
                             ? w->cls->atom == static_cast<ATOM>(reinterpret_cast<uintptr_t>(className))
                             : EqualsIgnoringAsciiCase(w->cls->name, className);
            if (!match)
                continue;
        }
        if (windowName && !EqualsIgnoringAsciiCase(w->text, windowName))
            continue;
        return hwnd;
    }
    return nullptr;
}

}  // namespace

BOOL SetWindowTextW(HWND hwnd, LPCWSTR text)
{
    if (!IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    return SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) ? TRUE : FALSE;
}

int GetWindowTextW(HWND hwnd, LPWSTR buffer, int chars)
{
    if (!buffer || chars <= 0)
        return 0;
    buffer[0] = 0;
    if (!IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    return static_cast<int>(SendMessageW(hwnd, WM_GETTEXT, static_cast<WPARAM>(chars),
                                         reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLengthW(HWND hwnd)
{
    if (!IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    return static_cast<int>(SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

int InternalGetWindowText(HWND hwnd, LPWSTR buffer, int chars)
{
    return ReadWindow(hwnd, [&](WindowRecord& w) { return CopyToBuffer(w.text, buffer, chars); }, 0);
}

LONG_PTR GetWindowLongPtrW(HWND hwnd, int index)
{
    WindowSystem& sys = WindowSystem::Get();
    Lock lock(sys.mutex);
    WindowRecord* w = sys.FindAliveLocked(hwnd);
    if (!w) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    if (index >= 0) {
        if (!ExtraInRange(*w, index, sizeof(LONG_PTR))) {
            SetLastError(ERROR_INVALID_INDEX);
            return 0;
        }
        LONG_PTR value = 0;
        std::memcpy(&value, w->extra.data() + index, sizeof(value));
        return value;
    }
    switch (index) {
    case GWLP_WNDPROC: return reinterpret_cast<LONG_PTR>(w->proc);
    case GWLP_HINSTANCE: return reinterpret_cast<LONG_PTR>(w->instance);
    case GWLP_HWNDPARENT: {
        WindowRecord* parent = (w->style & WS_CHILD) ? sys.FindAliveLocked(w->parent) : nullptr;
        return reinterpret_cast<LONG_PTR>(parent ? parent->handle : w->owner);
    }
    case GWLP_ID: return w->id;
    case GWL_STYLE: return static_cast<LONG_PTR>(w->style);
    case GWL_EXSTYLE: return static_cast<LONG_PTR>(w->exStyle);
    case GWLP_USERDATA: return w->userData;
    default: SetLastError(ERROR_INVALID_INDEX); return 0;
    }
}

LONG_PTR SetWindowLongPtrW(HWND hwnd, int index, LONG_PTR value)
{
    if (index == GWL_STYLE || index == GWL_EXSTYLE)
        return ChangeStyle(hwnd, index, static_cast<DWORD>(value));
    WindowSystem& sys = WindowSystem::Get();
    Lock lock(sys.mutex);
    WindowRecord* w = sys.FindAliveLocked(hwnd);
    if (!w) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    LONG_PTR old = 0;
    if (index >= 0) {
        if (!ExtraInRange(*w, index, sizeof(LONG_PTR))) {
            SetLastError(ERROR_INVALID_INDEX);
            return 0;
        }
        std::memcpy(&old, w->extra.data() + index, sizeof(old));
        std::memcpy(w->extra.data() + index, &value, sizeof(value));
        MarkChangedLocked(*w, WindowChangeClassState);
        return old;
    }
    switch (index) {
    case GWLP_WNDPROC:
        old = reinterpret_cast<LONG_PTR>(w->proc);
        w->proc = reinterpret_cast<WNDPROC>(value);
        return old;
    case GWLP_HINSTANCE:
        old = reinterpret_cast<LONG_PTR>(w->instance);
        w->instance = reinterpret_cast<HINSTANCE>(value);
        return old;
    case GWLP_HWNDPARENT:
        old = reinterpret_cast<LONG_PTR>(w->owner);
        if (!(w->style & WS_CHILD))
            w->owner = reinterpret_cast<HWND>(value);
        return old;
    case GWLP_ID:
        old = w->id;
        w->id = value;
        return old;
    case GWLP_USERDATA:
        old = w->userData;
        w->userData = value;
        return old;
    default: SetLastError(ERROR_INVALID_INDEX); return 0;
    }
}

LONG GetWindowLongW(HWND hwnd, int index)
{
    if (index >= 0) {
        return ReadWindow(hwnd, [&](WindowRecord& w) {
            if (!ExtraInRange(w, index, sizeof(LONG))) {
                SetLastError(ERROR_INVALID_INDEX);
                return LONG{0};
            }
            LONG value = 0;
            std::memcpy(&value, w.extra.data() + index, sizeof(value));
            return value;
        }, LONG{0});
    }
    return static_cast<LONG>(GetWindowLongPtrW(hwnd, index));
}

LONG SetWindowLongW(HWND hwnd, int index, LONG value)
{
    if (index >= 0) {
        return ReadWindow(hwnd, [&](WindowRecord& w) {
            if (!ExtraInRange(w, index, sizeof(LONG))) {
                SetLastError(ERROR_INVALID_INDEX);
                return LONG{0};
            }
            LONG old = 0;
            std::memcpy(&old, w.extra.data() + index, sizeof(old));
            std::memcpy(w.extra.data() + index, &value, sizeof(value));
            MarkChangedLocked(w, WindowChangeClassState);
            return old;
        }, LONG{0});
    }
    LONG_PTR wide = (index == GWL_STYLE || index == GWL_EXSTYLE)
                        ? static_cast<LONG_PTR>(static_cast<DWORD>(value))
                        : static_cast<LONG_PTR>(value);
    return static_cast<LONG>(SetWindowLongPtrW(hwnd, index, wide));
}

HWND GetParent(HWND hwnd)
{
    WindowSystem& sys = WindowSystem::Get();
    Lock lock(sys.mutex);
    WindowRecord* w = sys.FindAliveLocked(hwnd);
    if (!w) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    if (w->style & WS_CHILD) {
        WindowRecord* parent = sys.FindAliveLocked(w->parent);
        return parent ? parent->handle : nullptr;
    }
    return (w->style & WS_POPUP) ? w->owner : nullptr;
}

HWND SetParent(HWND hwnd, HWND newParent)
{
    WindowSystem& sys = WindowSystem::Get();
    Lock lock(sys.mutex);
    WindowRecord* w = sys.FindAliveLocked(hwnd);
    HWND target = newParent ? newParent : sys.desktop;
    if (newParent == HWND_MESSAGE)
        target = sys.messageRoot;
    WindowRecord* p = sys.FindLocked(target);
    if (!w || !p || target == hwnd || IsDescendantLocked(sys, hwnd, target)) {
        SetLastError(w && p ? ERROR_INVALID_PARAMETER : ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    HWND old = w->parent;
    if (WindowRecord* oldParent = sys.FindLocked(old))
        std::erase(oldParent->children, hwnd);
    w->parent = target;
    if (sys.IsRootLocked(target))
        p->children.insert(p->children.begin(), hwnd);
    else
        p->children.push_back(hwnd);
    MarkChangedLocked(*w, WindowChangeParent);
    return old == sys.messageRoot ? nullptr : old;
}

HWND GetAncestor(HWND hwnd, UINT kind)
{
    WindowSystem& sys = WindowSystem::Get();
    Lock lock(sys.mutex);
    WindowRecord* w = sys.FindAliveLocked(hwnd);
    if (!w)
        return nullptr;
    if (kind == GA_PARENT)
        return w->parent;
    while (WindowRecord* up = sys.FindAliveLocked(w->parent))
        w = up;
    if (kind == GA_ROOTOWNER)
        while (WindowRecord* owner = sys.FindAliveLocked(w->owner))
            w = owner;
    return w->handle;
}

HWND GetWindow(HWND hwnd, UINT relation)
{
    WindowSystem& sys = WindowSystem::Get();
    Lock lock(sys.mutex);
    WindowRecord* w = sys.FindLocked(hwnd);
    if (!w) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    if (relation == GW_CHILD)
        return w->children.empty() ? kNoWindow : w->children.front();
    if (relation == GW_OWNER)
        return w->owner;
    WindowRecord* parent = sys.FindLocked(w->parent);
    if (!parent)
        return nullptr;
    const std::vector<HWND>& siblings = parent->children;
    auto it = std::find(siblings.begin(), siblings.end(), hwnd);
    switch (relation) {
    case GW_HWNDFIRST: return siblings.front();
    case GW_HWNDLAST: return siblings.back();
    case GW_HWNDNEXT: return (it == siblings.end() || it + 1 == siblings.end()) ? kNoWindow : *(it + 1);
    case GW_HWNDPREV: return (it == siblings.begin() || it == siblings.end()) ? kNoWindow : *(it - 1);
    default: SetLastError(ERROR_INVALID_PARAMETER); return nullptr;
    }
}

HWND GetTopWindow(HWND hwnd) { return GetWindow(hwnd ? hwnd : GetDesktopWindow(), GW_CHILD); }

HWND GetDesktopWindow() { return WindowSystem::Get().desktop; }

BOOL IsChild(HWND parent, HWND hwnd)
{
    WindowSystem& sys = WindowSystem::Get();
    Lock lock(sys.mutex);
    // Only a chain of child windows counts, as on the original desktop.
    WindowRecord* w = sys.FindAliveLocked(hwnd);
    while (w && (w->style & WS_CHILD)) {
        if (w->parent == parent)
            return TRUE;
        w = sys.FindAliveLocked(w->parent);
    }
    return FALSE;
}

HWND GetDlgItem(HWND dialog, int id)
{
    WindowSystem& sys = WindowSystem::Get();
    Lock lock(sys.mutex);
    WindowRecord* w = sys.FindLocked(dialog);
    if (!w) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    for (HWND child : w->children) {
        WindowRecord* c = sys.FindLocked(child);
        if (c && static_cast<int>(c->id) == id)
            return child;
    }
    return nullptr;
}

int GetDlgCtrlID(HWND hwnd)
{
    return ReadWindow(hwnd, [](WindowRecord& w) { return static_cast<int>(w.id); }, 0);
}

BOOL SetDlgItemTextW(HWND dialog, int id, LPCWSTR text)
{
    HWND item = GetDlgItem(dialog, id);
    return item ? SetWindowTextW(item, text) : FALSE;
}

UINT GetDlgItemTextW(HWND dialog, int id, LPWSTR buffer, int chars)
{
    HWND item = GetDlgItem(dialog, id);
    if (!item) {
        if (buffer && chars > 0)
            buffer[0] = 0;
        return 0;
    }
    return static_cast<UINT>(GetWindowTextW(item, buffer, chars));
}

HWND FindWindowExW(HWND parent, HWND childAfter, LPCWSTR className, LPCWSTR windowName)
{
    WindowSystem& sys = WindowSystem::Get();
    Lock lock(sys.mutex);
    HWND root = parent ? (parent == HWND_MESSAGE ? sys.messageRoot : parent) : sys.desktop;
    WindowRecord* p = sys.FindLocked(root);
    if (!p) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    return FindChildLocked(sys, *p, childAfter, className, windowName);
}

HWND FindWindowW(LPCWSTR className, LPCWSTR windowName)
{
    return FindWindowExW(nullptr, nullptr, className, windowName);
}

BOOL EnableWindow(HWND hwnd, BOOL enable)
{
    WindowSystem& sys = WindowSystem::Get();
    bool wasDisabled = false;
    {
        Lock lock(sys.mutex);
        WindowRecord* w = sys.FindAliveLocked(hwnd);
        if (!w) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return FALSE;
        }
        wasDisabled = (w->style & WS_DISABLED) != 0;
        if (enable && wasDisabled) {
            w->style &= ~WS_DISABLED;
            MarkChangedLocked(*w, WindowChangeStyle);
        }
    }
    if (enable && wasDisabled) {
        SendMessageW(hwnd, WM_ENABLE, TRUE, 0);
    } else if (!enable && !wasDisabled) {
        SendMessageW(hwnd, WM_CANCELMODE, 0, 0);
        {
            Lock lock(sys.mutex);
            if (WindowRecord* w = sys.FindAliveLocked(hwnd)) {
                w->style |= WS_DISABLED;
                MarkChangedLocked(*w, WindowChangeStyle);
            }
        }
        if (GetFocus() == hwnd)
            SetFocus(nullptr);
        SendMessageW(hwnd, WM_ENABLE, FALSE, 0);
    }
    return wasDisabled ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND hwnd)
{
    return ReadWindow(hwnd, [](WindowRecord& w) { return (w.style & WS_DISABLED) ? FALSE : TRUE; }, FALSE);
}

BOOL IsWindowVisible(HWND hwnd)
{
    WindowSystem& sys = WindowSystem::Get();
    Lock lock(sys.mutex);
    WindowRecord* w = sys.FindLocked(hwnd);
    return (w && IsVisibleLocked(sys, *w)) ? TRUE : FALSE;
}

BOOL IsIconic(HWND hwnd)
{
    return ReadWindow(hwnd, [](WindowRecord& w) { return (w.style & WS_MINIMIZE) ? TRUE : FALSE; }, FALSE);
}

BOOL IsZoomed(HWND hwnd)
{
    return ReadWindow(hwnd, [](WindowRecord& w) { return (w.style & WS_MAXIMIZE) ? TRUE : FALSE; }, FALSE);
}

HMENU GetMenu(HWND hwnd)
{
    return ReadWindow(hwnd, [](WindowRecord& w) { return (w.style & WS_CHILD) ? HMENU{} : w.menu; }, HMENU{});
}

BOOL SetMenu(HWND hwnd, HMENU menu)
{
    {
        WindowSystem& sys = WindowSystem::Get();
        Lock lock(sys.mutex);
        WindowRecord* w = sys.FindAliveLocked(hwnd);
        if (!w || (w->style & WS_CHILD)) {
            SetLastError(w ? ERROR_INVALID_PARAMETER : ERROR_INVALID_WINDOW_HANDLE);
            return FALSE;
        }
        w->menu = menu;
    }
    // The menu bar takes its room from the client area.
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return TRUE;
}

DWORD GetWindowThreadProcessId(HWND hwnd, DWORD* processId)
{
    WindowSystem& sys = WindowSystem::Get();
    Lock lock(sys.mutex);
    WindowRecord* w = sys.FindAliveLocked(hwnd);
    if (!w) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    if (processId)
        *processId = GetCurrentProcessId();
    return w->threadId;
}
