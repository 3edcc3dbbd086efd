#include "ui/CVWnd.h"

#include "platform/controls/Reflection.h"
#include "platform/gdi/Cursors.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Paint.h"
#include "platform/window/PresenterHook.h"
#include "platform/window/WinMessages.h"
#include "platform/window/WinStyles.h"
#include "platform/window/Window.h"
#include "platform/window/WindowClass.h"
#include "ui/UiConstants.h"

#include <mutex>
#include <unordered_map>

namespace {

std::mutex& TableMutex()
{
    static std::mutex m;
    return m;
}
std::unordered_map<HWND, CVWnd*>& Table()
{
    static auto* table = new std::unordered_map<HWND, CVWnd*>();  // lives as long as windows may
    return *table;
}

// The object whose window is being created on this thread: the first message of a library
// window that no object owns yet ties the window to it.
thread_local CVWnd* t_pending = nullptr;

struct PendingCreation {
    explicit PendingCreation(CVWnd* native) : previous(t_pending) { t_pending = native; }
    ~PendingCreation() { t_pending = previous; }
    CVWnd* previous;
};

bool IsPrivateRequest(UINT message, WPARAM wParam, LPARAM lParam)
{
    return lParam == kQrnWindowMark && wParam != 0 && message >= kQrnRemoveFilter && message <= kQrnQueryUserInt;
}

}  // namespace

bool RunNativeWindowSteps(NativeWindowParts& parts, HWND hwnd, UINT message, WPARAM& wParam,
                          LPARAM& lParam, LRESULT* result, ListenerStep step)
{
    if (IsPrivateRequest(message, wParam, lParam)) {
        if (message == kQrnRemoveFilter)
            parts.filters.Remove(reinterpret_cast<CQrnWindowProcFilter*>(wParam));
        else if (message == kQrnAddFilter)
            parts.filters.Add(reinterpret_cast<CQrnWindowProcFilter*>(wParam));
        else
            *reinterpret_cast<int32_t*>(wParam) = parts.userInt;
        *result = kQrnWindowMark;
        return true;
    }
    if (parts.filters.Run(hwnd, message, wParam, lParam, result))
        return true;
    if (message == WM_NCDESTROY)
        parts.filters.Clear();
    IBaseEventListener* listener = parts.listener.load(std::memory_order_acquire);
    if (listener && step == ListenerStep::Run) {
        MsgRecord record{hwnd, message, wParam, lParam};
        if (listener->OnWindowMessage(record) != 0 || record.hwnd != hwnd || !IsWindow(hwnd)) {
            *result = 0;
            return true;
        }
        wParam = record.wParam;
        lParam = record.lParam;
    }
    return false;
}

CVWnd::~CVWnd()
{
    // A window whose object goes away without its holder (a subclass deleting itself) forgets it.
    if (GetSafeHwnd())
        Detach();
}

CVWnd* CVWnd::FromHandle(HWND hwnd)
{
    if (!hwnd)
        return nullptr;
    std::lock_guard guard(TableMutex());
    auto it = Table().find(hwnd);
    return it == Table().end() ? nullptr : it->second;
}

void CVWnd::Attach(HWND hwnd, WNDPROC original)
{
    {
        std::lock_guard guard(TableMutex());
        Table()[hwnd] = this;
    }
    original_ = original;
    hwnd_.store(hwnd, std::memory_order_release);
}

void CVWnd::Detach()
{
    HWND hwnd = hwnd_.exchange(nullptr, std::memory_order_acq_rel);
    if (!hwnd)
        return;
    std::lock_guard guard(TableMutex());
    auto it = Table().find(hwnd);
    if (it != Table().end() && it->second == this)
        Table().erase(it);
}

bool CVWnd::RegisterLibraryClass(LPCWSTR className, int extraBytes)
{
    if (!className || !className[0])
        className = u"QrnWindow";
    WNDCLASSW existing{};
    if (GetClassInfoW(nullptr, className, &existing))
        return true;
    WNDCLASSW wc{};
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = &CVWnd::NativeWindowProcedure;
    wc.cbWndExtra = extraBytes;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    wc.lpszClassName = className;
    // Another thread may have registered it meanwhile; then the class is there all the same.
    return RegisterClassW(&wc) != 0 || GetClassInfoW(nullptr, className, &existing);
}

bool CVWnd::CreateNativeWindow(DWORD exStyle, LPCWSTR className, LPCWSTR text, DWORD style, int x, int y,
                               int width, int height, HWND parent, UINT_PTR id)
{
    if (GetSafeHwnd())
        return false;
    HWND hwnd = nullptr;
    {
        PendingCreation pending(this);
        hwnd = CreateWindowExW(exStyle, className, text, style, x, y, width, height, parent,
                               reinterpret_cast<HMENU>(id), nullptr, this);
    }
    if (!hwnd)
        return false;
    if (GetSafeHwnd() != hwnd && !FromHandle(hwnd)) {
        auto original = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
        Attach(hwnd, original);
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CVWnd::NativeWindowProcedure));
    }
    return GetSafeHwnd() == hwnd;
}

LRESULT CVWnd::NativeWindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CVWnd* self = FromHandle(hwnd);
    if (!self && t_pending && !t_pending->GetSafeHwnd()) {
        self = t_pending;
        t_pending = nullptr;
        self->Attach(hwnd, &DefWindowProcW);
    }
    if (!self)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    return self->RunMessage(hwnd, message, wParam, lParam);
}

LRESULT CVWnd::RunMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    ++depth_;
    LRESULT result = 0;
    if (message == kQrnDestroyRequest && lParam == kQrnWindowMark && wParam == reinterpret_cast<WPARAM>(this)) {
        // The holder went away on another thread and handed this object over.
        deletePending_ = true;
        DestroyWindow(hwnd);
        result = kQrnWindowMark;
    } else if (!RunNativeWindowSteps(*this, hwnd, message, wParam, lParam, &result, ListenerStepFor(message))) {
        result = WindowProc(message, wParam, lParam);
    } else if (message == WM_NCDESTROY) {
        // The class procedure underneath still has to let go of its own state.
        Default(message, wParam, lParam);
    }
    if (message == WM_NCDESTROY && GetSafeHwnd() == hwnd) {
        Detach();
        PostNcDestroy();
    }
    if (--depth_ == 0 && deletePending_)
        delete this;
    return result;
}

LRESULT CVWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) { return Default(message, wParam, lParam); }

LRESULT CVWnd::Default(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND hwnd = GetSafeHwnd();
    if (!hwnd)
        return 0;
    if (!original_ || original_ == &DefWindowProcW) {
        // Library windows keep the font they are given, as the standard controls do.
        if (message == WM_SETFONT) {
            font_ = reinterpret_cast<HFONT>(wParam);
            MarkWindowChanged(hwnd, WindowChangeFont);
            if (LOWORD(static_cast<uintptr_t>(lParam)))
                InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        }
        if (message == WM_GETFONT)
            return reinterpret_cast<LRESULT>(font_);
    }
    return CallWindowProcW(original_ ? original_ : &DefWindowProcW, hwnd, message, wParam, lParam);
}

bool CVWnd::ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    HWND hwnd = GetSafeHwnd();
    return hwnd && ReflectNotification(hwnd, message, wParam, lParam, result);
}

void CVWnd::ReleaseFromHolder(CVWnd* native)
{
    if (!native)
        return;
    HWND hwnd = native->GetSafeHwnd();
    if (hwnd && GetWindowThreadProcessId(hwnd, nullptr) != GetCurrentThreadId()) {
        // Only the window's thread may destroy it; there the object is deleted after its last message.
        if (SendMessageW(hwnd, kQrnDestroyRequest, reinterpret_cast<WPARAM>(native), kQrnWindowMark) == kQrnWindowMark)
            return;
        hwnd = native->GetSafeHwnd();
        if (hwnd)  // the window outlived a send that could not be delivered: leave it to its thread
            return;
    }
    if (hwnd)
        DestroyWindow(hwnd);
    if (native->depth_ > 0)
        native->deletePending_ = true;
    else
        delete native;
}
