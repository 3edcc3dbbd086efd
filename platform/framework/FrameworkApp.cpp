// The framework's application object and entry.
#include "platform/framework/FrameworkApp.h"

#include "platform/framework/Com.h"
#include "platform/loader/InstanceServices.h"
#include "platform/window/Window.h"

#include <atomic>

namespace {

std::atomic<CWinApp*> g_app{nullptr};

}  // namespace

CWinApp::CWinApp()
{
    CWinApp* none = nullptr;
    g_app.compare_exchange_strong(none, this);
}

CWinApp::~CWinApp()
{
    CWinApp* self = this;
    g_app.compare_exchange_strong(self, nullptr);
}

CWinApp* AfxGetApp() { return g_app.load(); }

BOOL AfxOleInit()
{
    HRESULT result = OleInitialize(nullptr);
    return result == S_OK || result == S_FALSE;
}

int AfxWinMain()
{
    InstallLoaderServices();
    CWinApp* app = AfxGetApp();
    if (!app)
        return CWinThread::kStartFailedExitCode;
    if (app->InitInstance())
        return app->Run();
    if (HWND main = app->MainWindow(); main && IsWindow(main))
        DestroyWindow(main);
    app->MarkStartFailed();
    return app->ExitInstance();
}
