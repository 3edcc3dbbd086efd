#pragma once
// The windowing framework's thread object: start and exit hooks, per-message pre-translation, idle
// calls with a count, and the message loop over the window core. Only the user-interface thread
// has one: the object attaches to the thread that constructs it (the application object, built
// during static initialisation, attaches to the main thread), so code on worker threads finds none.
// Thread safety: an object is used on its own thread only; Current() from any thread.
#include "platform/window/WinTypes.h"

class CWinThread {
public:
    CWinThread();
    virtual ~CWinThread();
    CWinThread(const CWinThread&) = delete;
    CWinThread& operator=(const CWinThread&) = delete;

    // The calling thread's framework thread object; null on threads that have none.
    static CWinThread* Current();

    // Start hook: runs once before the loop; FALSE ends the program without one. Base: TRUE.
    virtual BOOL InitInstance();
    // Exit hook: the exit code. Base: WM_QUIT's code, or 1 after a failed start (StartFailed).
    virtual int ExitInstance();
    // TRUE when the message is consumed and must not be dispatched. Base: FALSE.
    virtual BOOL PreTranslateMessage(MSG* msg);
    // Idle call number count (0 at the start of each idle period); TRUE asks for another call
    // before the loop waits. Base: TRUE for the first call of a period only.
    virtual BOOL OnIdle(LONG count);
    // FALSE for messages that must not start a new idle period: WM_PAINT, the system timer, and a
    // mouse move to where the mouse already was.
    virtual BOOL IsIdleMessage(MSG* msg);
    // The message loop: idle calls while the queue is empty, then one message at a time, until
    // WM_QUIT; returns ExitInstance().
    virtual int Run();
    // One message: get (waiting if need be), pre-translate, translate, dispatch. FALSE at WM_QUIT,
    // which it takes from the queue.
    virtual BOOL PumpMessage();

    HWND MainWindow() const { return mainWindow_; }
    void SetMainWindow(HWND window) { mainWindow_ = window; }
    DWORD ThreadId() const { return threadId_; }
    // The message being handled (the last one PumpMessage took).
    const MSG& CurrentMessage() const { return current_; }
    // Set by the framework when the start hook failed, before it calls the exit hook.
    void MarkStartFailed() { startFailed_ = true; }
    bool StartFailed() const { return startFailed_; }

    static constexpr int kStartFailedExitCode = 1;

private:
    HWND mainWindow_ = nullptr;
    DWORD threadId_ = 0;
    MSG current_{};
    POINT lastMousePoint_{-1, -1};
    UINT lastMouseMessage_ = 0;
    bool startFailed_ = false;
};
