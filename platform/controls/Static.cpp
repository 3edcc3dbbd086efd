// The "Static" class.
#include "platform/controls/ControlProcs.h"
#include "platform/controls/ControlSupport.h"
#include "platform/controls/StaticControl.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/SystemColors.h"
#include "platform/window/Paint.h"
#include "platform/window/WinMessages.h"
#include "platform/window/Window.h"
#include "platform/window/WindowGeometry.h"

namespace tabrix::controls_detail {

namespace {

UINT TextFormat(DWORD style)
{
    DWORD type = style & SS_TYPEMASK;
    UINT format = (style & SS_NOPREFIX) ? DT_NOPREFIX : 0;
    if (type == SS_CENTER)
        format |= DT_CENTER;
    else if (type == SS_RIGHT)
        format |= DT_RIGHT;
    if (type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP || (style & SS_CENTERIMAGE))
        format |= DT_SINGLELINE | ((style & SS_CENTERIMAGE) ? DT_VCENTER : 0);
    else
        format |= DT_WORDBREAK;
    if (style & SS_ENDELLIPSIS)
        format |= DT_END_ELLIPSIS;
    return format;
}

void Paint(HWND hwnd)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    if (!hdc)
        return;
    PaintColours colours = AskParentColours(hwnd, hdc, WM_CTLCOLORSTATIC, COLOR_BTNFACE, COLOR_WINDOWTEXT);
    RECT client{};
    GetClientRect(hwnd, &client);
    FillRect(hdc, &client, colours.brush);
    DWORD style = StyleOf(hwnd);
    DWORD type = style & SS_TYPEMASK;
    if (type <= SS_RIGHT || type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP) {
        HGDIOBJ oldFont = SelectControlFont(hwnd, hdc);
        if (!Enabled(hwnd))
            SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
        SetBkMode(hdc, TRANSPARENT);
        std::u16string text = StoredText(hwnd);
        DrawTextW(hdc, text.c_str(), static_cast<int>(text.size()), &client, TextFormat(style));
        SelectObject(hdc, oldFont);
    }
    EndPaint(hwnd, &ps);
}

LRESULT SetImage(HWND hwnd, LPARAM image)
{
    LONG_PTR previous = Slot(hwnd, STATIC_EXTRA_IMAGE);
    SetSlot(hwnd, STATIC_EXTRA_IMAGE, image);
    InvalidateRect(hwnd, nullptr, TRUE);
    return previous;
}

}  // namespace

LRESULT StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (HandleFontMessage(hwnd, message, wParam, lParam, &result))
        return result;
    switch (message) {
    case WM_NCCREATE: InitialiseSharedSlots(hwnd); break;
    case WM_GETDLGCODE: return DLGC_STATIC;
    case WM_NCHITTEST:
        if (!(StyleOf(hwnd) & SS_NOTIFY))
            return HTTRANSPARENT;
        break;
    case WM_LBUTTONDOWN:
        if (StyleOf(hwnd) & SS_NOTIFY)
            NotifyParentCommand(hwnd, STN_CLICKED);
        return 0;
    case WM_LBUTTONDBLCLK:
        if (StyleOf(hwnd) & SS_NOTIFY)
            NotifyParentCommand(hwnd, STN_DBLCLK);
        return 0;
    case WM_ENABLE:
        if (StyleOf(hwnd) & SS_NOTIFY)
            NotifyParentCommand(hwnd, wParam ? STN_ENABLE : STN_DISABLE);
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case STM_SETICON: return SetImage(hwnd, static_cast<LPARAM>(wParam));
    case STM_GETICON: return Slot(hwnd, STATIC_EXTRA_IMAGE);
    case STM_SETIMAGE: return SetImage(hwnd, lParam);
    case STM_GETIMAGE: return Slot(hwnd, STATIC_EXTRA_IMAGE);
    case WM_SETTEXT:
        result = DefWindowProcW(hwnd, message, wParam, lParam);
        InvalidateRect(hwnd, nullptr, TRUE);
        return result;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: Paint(hwnd); return 0;
    default: break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace tabrix::controls_detail
