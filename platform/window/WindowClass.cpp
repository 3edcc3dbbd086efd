#include "platform/window/WindowClass.h"

#include "platform/window/TextUtil.h"
#include "platform/window/WindowSystem.h"

#include <algorithm>
#include <cstring>

using namespace tabrix::window_detail;

namespace {

constexpr int kMaxExtraBytes = 40000;

std::shared_ptr<ClassRecord> FindClassLocked(WindowSystem& sys, LPCWSTR name)
{
    if (!name)
        return nullptr;
    for (auto& cls : sys.classes) {
        if (IS_INTRESOURCE(name) ? cls->atom == static_cast<ATOM>(reinterpret_cast<uintptr_t>(name))
                                 : EqualsIgnoringAsciiCase(cls->name, name))
            return cls;
    }
    return nullptr;
}

ATOM Register(const WNDCLASSEXW& wc)
{
    if (!wc.lpszClassName || IS_INTRESOURCE(wc.lpszClassName) || wc.lpszClassName[0] == 0 ||
        wc.cbClsExtra < 0 || wc.cbWndExtra < 0 || wc.cbClsExtra > kMaxExtraBytes ||
        wc.cbWndExtra > kMaxExtraBytes) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    WindowSystem& sys = WindowSystem::Get();
    Lock lock(sys.mutex);
    if (FindClassLocked(sys, wc.lpszClassName)) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    if (sys.nextAtom == 0xFFFF) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    auto cls = std::make_shared<ClassRecord>();
    cls->name = wc.lpszClassName;
    cls->atom = sys.nextAtom++;
    cls->style = wc.style;
    cls->proc = wc.lpfnWndProc;
    cls->clsExtra = wc.cbClsExtra;
    cls->wndExtra = wc.cbWndExtra;
    cls->instance = wc.hInstance;
    cls->icon = wc.hIcon;
    cls->iconSmall = wc.hIconSm;
    cls->cursor = wc.hCursor;
    cls->background = wc.hbrBackground;
    if (wc.lpszMenuName && !IS_INTRESOURCE(wc.lpszMenuName))
        cls->menuName = wc.lpszMenuName;
    cls->extra.assign(static_cast<size_t>(wc.cbClsExtra), 0);
    sys.classes.push_back(cls);
    return cls->atom;
}

void Fill(const ClassRecord& cls, WNDCLASSEXW& wc)
{
    wc.style = cls.style;
    wc.lpfnWndProc = cls.proc;
    wc.cbClsExtra = cls.clsExtra;
    wc.cbWndExtra = cls.wndExtra;
    wc.hInstance = cls.instance;
    wc.hIcon = cls.icon;
    wc.hCursor = cls.cursor;
    wc.hbrBackground = cls.background;
    wc.lpszMenuName = nullptr;
    wc.lpszClassName = cls.name.c_str();  // valid while the class stays registered
    wc.hIconSm = cls.iconSmall;
}

}  // namespace

namespace tabrix::window_detail {
std::shared_ptr<ClassRecord> FindClassForCreateLocked(WindowSystem& sys, LPCWSTR name)
{
    return FindClassLocked(sys, name);
}
}  // namespace tabrix::window_detail

ATOM RegisterClassExW(const WNDCLASSEXW* wc)
{
    if (!wc || wc->cbSize != sizeof(WNDCLASSEXW)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return Register(*wc);
}

ATOM RegisterClassW(const WNDCLASSW* wc)
{
    if (!wc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    WNDCLASSEXW ex{sizeof(WNDCLASSEXW), wc->style, wc->lpfnWndProc, wc->cbClsExtra, wc->cbWndExtra,
                   wc->hInstance, wc->hIcon, wc->hCursor, wc->hbrBackground, wc->lpszMenuName,
                   wc->lpszClassName, nullptr};
    return Register(ex);
}

BOOL UnregisterClassW(LPCWSTR className, HINSTANCE)
{
    WindowSystem& sys = WindowSystem::Get();
    Lock lock(sys.mutex);
    auto cls = FindClassLocked(sys, className);
    if (!cls) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    if (cls->windowCount > 0) {
        SetLastError(ERROR_CLASS_HAS_WINDOWS);
        return FALSE;
    }
    sys.classes.erase(std::find(sys.classes.begin(), sys.classes.end(), cls));
    return TRUE;
}

ATOM GetClassInfoExW(HINSTANCE, LPCWSTR className, WNDCLASSEXW* wc)
{
    WindowSystem& sys = WindowSystem::Get();
    Lock lock(sys.mutex);
    auto cls = FindClassLocked(sys, className);
    if (!cls || !wc) {
        SetLastError(cls ? ERROR_INVALID_PARAMETER : ERROR_CLASS_DOES_NOT_EXIST);
        return 0;
    }
    Fill(*cls, *wc);
    return cls->atom;
}

BOOL GetClassInfoW(HINSTANCE instance, LPCWSTR className, WNDCLASSW* wc)
{
    if (!wc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    WNDCLASSEXW ex{};
    ex.cbSize = sizeof(ex);
    if (!GetClassInfoExW(instance, className, &ex))
        return FALSE;
    *wc = WNDCLASSW{ex.style, ex.lpfnWndProc, ex.cbClsExtra, ex.cbWndExtra, ex.hInstance,
                    ex.hIcon, ex.hCursor, ex.hbrBackground, ex.lpszMenuName, ex.lpszClassName};
    return TRUE;
}

int GetClassNameW(HWND hwnd, LPWSTR buffer, int bufferChars)
{
    WindowSystem& sys = WindowSystem::Get();
    Lock lock(sys.mutex);
    WindowRecord* w = sys.FindLocked(hwnd);
    if (!w) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    return CopyToBuffer(w->cls->name, buffer, bufferChars);
}

ULONG_PTR GetClassLongPtrW(HWND hwnd, int index)
{
    WindowSystem& sys = WindowSystem::Get();
    Lock lock(sys.mutex);
    WindowRecord* w = sys.FindLocked(hwnd);
    if (!w) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    const ClassRecord& cls = *w->cls;
    if (index >= 0) {
        if (static_cast<size_t>(index) + sizeof(ULONG_PTR) > cls.extra.size()) {
            SetLastError(ERROR_INVALID_INDEX);
            return 0;
        }
        ULONG_PTR value = 0;
        std::memcpy(&value, cls.extra.data() + index, sizeof(value));
        return value;
    }
    switch (index) {
    case GCLP_HBRBACKGROUND: return reinterpret_cast<ULONG_PTR>(cls.background);
    case GCLP_HCURSOR: return reinterpret_cast<ULONG_PTR>(cls.cursor);
    case GCLP_HICON: return reinterpret_cast<ULONG_PTR>(cls.icon);
    case GCLP_HICONSM: return reinterpret_cast<ULONG_PTR>(cls.iconSmall);
    case GCLP_HMODULE: return reinterpret_cast<ULONG_PTR>(cls.instance);
    case GCL_CBWNDEXTRA: return static_cast<ULONG_PTR>(cls.wndExtra);
    case GCL_CBCLSEXTRA: return static_cast<ULONG_PTR>(cls.clsExtra);
    case GCLP_WNDPROC: return reinterpret_cast<ULONG_PTR>(cls.proc);
    case GCL_STYLE: return cls.style;
    case GCW_ATOM: return cls.atom;
    default: SetLastError(ERROR_INVALID_INDEX); return 0;
    }
}
