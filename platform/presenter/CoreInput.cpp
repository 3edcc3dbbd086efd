#include "platform/presenter/CoreInput.h"

#include "platform/window/MessageQueue.h"
#include "platform/window/PresenterHook.h"
#include "platform/window/WinMessages.h"
#include "platform/window/WinStyles.h"
#include "platform/window/Window.h"
#include "platform/window/WindowGeometry.h"

namespace {

bool OwnedByThisThread(HWND hwnd) { return GetWindowThreadProcessId(hwnd, nullptr) == GetCurrentThreadId(); }

void DeliverInput(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (OwnedByThisThread(hwnd))
        SendMessageW(hwnd, message, wParam, lParam);
    else
        PostInputMessage(hwnd, message, wParam, lParam);
}

}  // namespace

void ClickWindow(HWND hwnd)
{
    if (!IsWindow(hwnd))
        return;
    RECT client{};
    GetClientRect(hwnd, &client);
    ClickWindowAt(hwnd, POINT{client.right / 2, client.bottom / 2});
}

void ClickWindowAt(HWND hwnd, POINT client)
{
    if (!IsWindow(hwnd))
        return;
    const LPARAM at = MAKELPARAM(static_cast<WORD>(client.x), static_cast<WORD>(client.y));
    DeliverInput(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    DeliverInput(hwnd, WM_LBUTTONUP, 0, at);
}

void CloseWindow(HWND hwnd)
{
    if (!IsWindow(hwnd))
        return;
    if (OwnedByThisThread(hwnd))
        SendMessageW(hwnd, WM_CLOSE, 0, 0);
    else
        PostMessageW(hwnd, WM_CLOSE, 0, 0);
}

void SetTypedText(HWND hwnd, const std::u16string& text)
{
    if (!IsWindow(hwnd))
        return;
    // Sent, also across threads: the box reads the text through the pointer, so the text must
    // outlive the call, which a timed-out send whose receiver goes on would not guarantee.
    SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void ResizeClientArea(HWND hwnd, int width, int height)
{
    if (!IsWindow(hwnd) || !OwnedByThisThread(hwnd) || width <= 0 || height <= 0)
        return;
    RECT window{};
    RECT client{};
    GetWindowRect(hwnd, &window);
    GetClientRect(hwnd, &client);
    // The frame stays as it is: the new window size is the new client size plus the frame.
    const int frameWidth = (window.right - window.left) - (client.right - client.left);
    const int frameHeight = (window.bottom - window.top) - (client.bottom - client.top);
    SetWindowPos(hwnd, nullptr, 0, 0, width + frameWidth, height + frameHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
