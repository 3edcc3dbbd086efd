#include "ui/CVWnd_Button.h"

#include "platform/controls/ButtonControl.h"
#include "platform/controls/Reflection.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/window/Paint.h"
#include "platform/window/WinMessages.h"
#include "platform/window/WinStyles.h"
#include "platform/window/Window.h"
#include "platform/window/WindowGeometry.h"
#include "ui/BackgroundPainting.h"

CVWnd_Button::CVWnd_Button() : backBrush(CreateSolidBrush(ResolveColour(backColor, COLOR_BTNFACE))) {}

CVWnd_Button::~CVWnd_Button()
{
    if (backBrush)
        DeleteObject(backBrush);
}

void CVWnd_Button::SetBackColor(uint32_t colour)
{
    backColor = colour;
    HBRUSH old = backBrush;
    backBrush = CreateSolidBrush(ResolveColour(colour, COLOR_BTNFACE));
    if (old)
        DeleteObject(old);
    if (HWND hwnd = GetSafeHwnd())
        InvalidateRect(hwnd, nullptr, TRUE);
}

LRESULT CVWnd_Button::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND hwnd = GetSafeHwnd();
    switch (message) {
    case OCM_COMMAND:
        MarkReflectedMessageHandled(hwnd);
        if (HIWORD(wParam) == BN_CLICKED)
            if (auto* l = dynamic_cast<IButtonEventListener*>(listener.load(std::memory_order_acquire)))
                l->OnClick();
        return 0;
    case OCM_CTLCOLORBTN:
    case OCM_CTLCOLORSTATIC: {
        MarkReflectedMessageHandled(hwnd);
        auto hdc = reinterpret_cast<HDC>(wParam);
        SetTextColor(hdc, ResolveColour(textColor, COLOR_WINDOWTEXT));
        SetBkColor(hdc, ResolveColour(backColor, COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(backBrush);
    }
    case WM_ERASEBKGND:
        if ((static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)) & 7) != BS_PUSHBUTTON) {
            RECT client{};
            GetClientRect(hwnd, &client);
            FillRect(reinterpret_cast<HDC>(wParam), &client, backBrush);
        }
        return Default(message, wParam, lParam);
    default: return Default(message, wParam, lParam);
    }
}
