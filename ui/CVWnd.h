#pragma once
// CVWnd: the native window object behind a control, base of every CVWnd_* class. It ties one
// window to this object and runs the library's native window procedure for it: the private
// requests, the filter chain, the control's listener, then the class's own handling (WindowProc)
// over the class procedure underneath (DefWindowProcW for library classes, the standard control's
// own procedure for subclassed "Button", "Edit", ... windows).
// Threads: a native object is used on its window's thread; FromHandle and GetSafeHwnd may be called
// from any thread. An object whose holder lets go of it while one of its messages still runs is
// deleted when that message is finished (ReleaseFromHolder).
#include "platform/gdi/GdiTypes.h"
#include "ui/CQrnWindowProcFilters.h"
#include "ui/EventListeners.h"

#include <atomic>
#include <cstdint>

// The common native fields: the control's listener, the creation record's userInt, the filters.
struct NativeWindowParts {
    std::atomic<IBaseEventListener*> listener{nullptr};
    int32_t userInt = -1;
    CQrnWindowProcFilters filters;
};

enum class ListenerStep { Run, Skip };

// Steps 1 to 4 of the native window procedure, for windows with a procedure of their own (the
// grid): true when the message is finished with *result; false when default processing follows
// with wParam and lParam as the listener left them.
bool RunNativeWindowSteps(NativeWindowParts& parts, HWND hwnd, UINT message, WPARAM& wParam,
                          LPARAM& lParam, LRESULT* result, ListenerStep step = ListenerStep::Run);

class CVWnd : public NativeWindowParts {
public:
    CVWnd() = default;
    CVWnd(const CVWnd&) = delete;
    CVWnd& operator=(const CVWnd&) = delete;
    virtual ~CVWnd();

    HWND GetSafeHwnd() const noexcept { return hwnd_.load(std::memory_order_acquire); }
    // The native object of a window of this library, null for any other window.
    static CVWnd* FromHandle(HWND hwnd);

    // Creates the window and ties it to this object; false when it exists already or the window
    // system refuses. A window of a class with another procedure is subclassed once it exists.
    bool CreateNativeWindow(DWORD exStyle, LPCWSTR className, LPCWSTR text, DWORD style, int x, int y,
                            int width, int height, HWND parent, UINT_PTR id);
    // Registers a library window class on first use (an empty name means "QrnWindow"), with
    // extraBytes of window extra bytes; any thread.
    static bool RegisterLibraryClass(LPCWSTR className, int extraBytes = 0);

    // Destroys the window on its own thread, and deletes this object now or, when one of its
    // messages is still running, once that message is finished. For the holder only.
    static void ReleaseFromHolder(CVWnd* native);

    // The procedure of library window classes.
    static LRESULT NativeWindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    // The class's own handling; the default is the class procedure underneath.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);
    // Whether the listener sees the message (the edit box keeps focus messages from it).
    virtual ListenerStep ListenerStepFor(UINT) const { return ListenerStep::Run; }
    // After the window's last message; the window handle is already forgotten.
    virtual void PostNcDestroy() {}
    // Offers a child's notification to the child (OCM_*); true with *result when it handled it.
    bool ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

private:
    LRESULT RunMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void Attach(HWND hwnd, WNDPROC original);
    void Detach();

    std::atomic<HWND> hwnd_{nullptr};
    WNDPROC original_ = nullptr;
    HFONT font_ = nullptr;         // WM_SETFONT of library windows
    int depth_ = 0;                // messages of this object running on its thread
    bool deletePending_ = false;   // delete when depth_ comes back to 0
};
