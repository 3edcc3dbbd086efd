// The framework's thread object and its message loop.
#include "platform/framework/FrameworkThread.h"

#include "platform/window/MessageQueue.h"
#include "platform/window/WinMessages.h"
#include "platform/window/Window.h"

namespace {

thread_local CWinThread* t_current = nullptr;

constexpr UINT kSystemTimer = 0x0118;

}  // namespace

CWinThread::CWinThread() : threadId_(GetCurrentThreadId())
{
    if (!t_current)
        t_current = this;
}

CWinThread::~CWinThread()
{
    if (t_current == this)
        t_current = nullptr;
}

CWinThread* CWinThread::Current() { return t_current; }

BOOL CWinThread::InitInstance() { return TRUE; }

int CWinThread::ExitInstance()
{
    return startFailed_ ? kStartFailedExitCode
                        : (current_.message == WM_QUIT ? static_cast<int>(current_.wParam) : 0);
}

BOOL CWinThread::PreTranslateMessage(MSG*) { return FALSE; }

BOOL CWinThread::OnIdle(LONG count) { return count < 1 ? TRUE : FALSE; }

BOOL CWinThread::IsIdleMessage(MSG* msg)
{
    if (msg->message == WM_MOUSEMOVE || msg->message == WM_NCMOUSEMOVE) {
        bool same = msg->message == lastMouseMessage_ && msg->pt.x == lastMousePoint_.x &&
                    msg->pt.y == lastMousePoint_.y;
        lastMouseMessage_ = msg->message;
        lastMousePoint_ = msg->pt;
        return same ? FALSE : TRUE;
    }
    return msg->message != WM_PAINT && msg->message != kSystemTimer;
}

BOOL CWinThread::PumpMessage()
{
    if (GetMessageW(&current_, nullptr, 0, 0) <= 0)
        return FALSE;  // WM_QUIT (a failed get cannot happen without a window filter)
    if (!PreTranslateMessage(&current_)) {
        TranslateMessage(&current_);
        DispatchMessageW(&current_);
    }
    return TRUE;
}

int CWinThread::Run()
{
    bool idle = true;
    LONG idleCount = 0;
    MSG peeked;
    for (;;) {
        while (idle && !PeekMessageW(&peeked, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(idleCount++))
                idle = false;
        }
        do {
            if (!PumpMessage())
                return ExitInstance();
            if (IsIdleMessage(&current_)) {
                idle = true;
                idleCount = 0;
            }
        } while (PeekMessageW(&peeked, nullptr, 0, 0, PM_NOREMOVE));
    }
}
