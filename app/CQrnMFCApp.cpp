#include "app/CQrnMFCApp.h"

#include "app/ProgramClasses.h"
#include "app/TopLevelTrap.h"
#include "platform/controls/ControlClasses.h"
#include "platform/framework/Com.h"
#include "platform/framework/IdleTasks.h"
#include "platform/framework/ProcessControl.h"
#include "platform/framework/PumpMessages.h"
#include "platform/window/Clock.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/WinStyles.h"
#include "platform/window/Window.h"
#include "runtime/CQrnAppInstance.h"
#include "work/MessagePump.h"

using rg_quarn_base::rg_ChuangKouChengXuLei;

namespace {

bool IsKeyboardOrMouse(UINT message)
{
    return (message >= 0x0100 && message <= 0x0109) || (message >= 0x0200 && message <= 0x020E);
}

} // namespace

CQrnMFCApp::CQrnMFCApp(ClassRecord startupClass) : startupClass_(startupClass)
{
    // The clocks of the work layer pump through the framework.
    SetMessagePumpService(&PumpMessages);
}

BOOL CQrnMFCApp::InitInstance()
{
    AfxOleInit();
    INITCOMMONCONTROLSEX controls{8, 0xFF};
    InitCommonControlsEx(&controls);
    AfxEnableControlContainer();
    CQrnMfcAppBase::InitInstance();
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

    const CQrnClassInfo& record = startupClass_();
    CQrnObject* startup = record.create ? record.create() : nullptr;
    if (!startup || !startup->IsKindOf(CQrnUserApp::StaticClassInfo())) {
        if (startup)
            startup->Destroy(startup);
        ExitProcess(static_cast<UINT>(-1));
    }
    if (startup->IsKindOf(rg_ChuangKouChengXuLei::StaticClassInfo()))
        windowProgram = static_cast<rg_ChuangKouChengXuLei*>(startup);
    const int32_t result = RunInTopLevelTrap(*static_cast<CQrnUserApp*>(startup));
    return result != 0 && MainWindow() != nullptr ? TRUE : FALSE;
}

BOOL CQrnMFCApp::PreTranslateMessage(MSG* msg)
{
    if (windowProgram && windowProgram->PreTranslateMessageHook(msg->hwnd, msg->message, msg->wParam, msg->lParam, msg) == 0)
        return TRUE;
    if (CQrnMfcAppBase::PreTranslateMessage(msg))
        return TRUE;
    return IsKeyboardOrMouse(msg->message) && LibraryWindowsConsume(msg) ? TRUE : FALSE;
}

// Each library window from the message's window up to its top-level window may take the message
// for one of its children.
bool CQrnMFCApp::LibraryWindowsConsume(MSG* msg)
{
    for (HWND window = msg->hwnd; window; window = GetParent(window)) {
        if (GetWindowLongPtrW(window, GWLP_USERDATA) == kLibraryWindowMark &&
            SendMessageW(window, kLibraryPreTranslateMessage, reinterpret_cast<WPARAM>(msg), kLibraryWindowMark) ==
                kLibraryWindowMark)
            return true;
        if (!(static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)) & WS_CHILD))
            return false;
    }
    return false;
}

BOOL CQrnMFCApp::OnIdle(LONG count)
{
    if (!windowProgram)
        return CQrnMfcAppBase::OnIdle(count);
    if (count == 0) {
        moreFrameworkIdle = 1;
        idleStart = GetTickCount();
    }
    if (moreFrameworkIdle) {
        moreFrameworkIdle = CQrnMfcAppBase::OnIdle(count);
        return TRUE;
    }
    if (count >= 2) {
        RunIdleTasks(count);
        return windowProgram->IdleHook(GetTickCount() - idleStart) != 0 ? TRUE : FALSE;
    }
    return TRUE;
}

int CQrnMFCApp::ExitInstance()
{
    if (windowProgram)
        windowProgram->ExitHook();
    DiscardIdleTasks();
    if (currentUserApp) {
        CQrnUserApp* program = currentUserApp;
        currentUserApp = nullptr;
        program->Destroy(program);
    }
    // It was the start-up object just destroyed.
    windowProgram = nullptr;
    CQrnAppInstance::Get().ReleaseProcessState();
    return CQrnMfcAppBase::ExitInstance();
}

int QrnMain()
{
    return AfxWinMain();
}
