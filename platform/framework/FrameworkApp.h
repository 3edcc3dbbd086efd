#pragma once
// The framework's application object and its entry: one CWinApp per program, built during static
// initialisation on the main thread (which makes it that thread's framework thread object).
// AfxWinMain runs it: the start hook, then the message loop, or after a failed start the exit hook
// alone. Thread safety: AfxGetApp from any thread; everything else on the user-interface thread.
#include "platform/framework/FrameworkThread.h"

class CWinApp : public CWinThread {
public:
    CWinApp();
    ~CWinApp() override;
};

// The framework's extended application class; headlessly its own initialisation has nothing to add.
class CWinAppEx : public CWinApp {
public:
    BOOL InitInstance() override { return CWinApp::InitInstance(); }
};

// The application object; null before it is built and after it is destroyed.
CWinApp* AfxGetApp();
// The calling thread's framework thread object (null on worker threads).
inline CWinThread* AfxGetThread() { return CWinThread::Current(); }
// Hosted-control support: nothing to prepare on this platform.
inline void AfxEnableControlContainer() {}
// The framework's OLE start for the calling thread (OleInitialize); TRUE when it succeeded.
BOOL AfxOleInit();

// Installs the loader's services, then runs the application object. Returns the exit code: the
// message loop's (WM_QUIT's code) after a good start, the exit hook's after a failed one (the main
// window, if one was set, is destroyed first). 1 when there is no application object.
int AfxWinMain();
