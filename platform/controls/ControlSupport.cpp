// Shared pieces of the standard controls.
#include "platform/controls/ControlSupport.h"

#include "platform/controls/ControlClasses.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/SystemColors.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Paint.h"
#include "platform/window/PresenterHook.h"
#include "platform/window/WinMessages.h"
#include "platform/window/WinStyles.h"
#include "platform/window/Window.h"
#include "platform/window/WindowGeometry.h"

namespace tabrix::controls_detail {

LONG_PTR Slot(HWND hwnd, int offset) { return GetWindowLongPtrW(hwnd, offset); }

void SetSlot(HWND hwnd, int offset, LONG_PTR value)
{
    if (GetWindowLongPtrW(hwnd, offset) != value)
        SetWindowLongPtrW(hwnd, offset, value);
}

void InitialiseSharedSlots(HWND hwnd)
{
    SetSlot(hwnd, CONTROL_EXTRA_TEXTCOLOUR, static_cast<LONG_PTR>(CLR_INVALID));
    SetSlot(hwnd, CONTROL_EXTRA_BACKCOLOUR, static_cast<LONG_PTR>(CLR_INVALID));
}

DWORD StyleOf(HWND hwnd) { return static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)); }

std::u16string StoredText(HWND hwnd)
{
    std::u16string text(256, u'\0');
    while (true) {
        int n = InternalGetWindowText(hwnd, text.data(), static_cast<int>(text.size()));
        if (n < static_cast<int>(text.size()) - 1 || text.size() >= (1u << 28)) {
            text.resize(static_cast<size_t>(n > 0 ? n : 0));
            return text;
        }
        text.resize(text.size() * 2);
    }
}

void StoreText(HWND hwnd, const std::u16string& text)
{
    DefWindowProcW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

bool Enabled(HWND hwnd) { return (StyleOf(hwnd) & WS_DISABLED) == 0 && IsWindow(hwnd); }

LRESULT NotifyParentCommand(HWND hwnd, WORD code)
{
    HWND parent = GetParent(hwnd);
    if (!parent)
        return 0;
    WORD id = static_cast<WORD>(GetDlgCtrlID(hwnd));
    return SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(hwnd));
}

LRESULT SendNotify(HWND target, HWND from, NMHDR* hdr, UINT code)
{
    if (!target || !hdr)
        return 0;
    hdr->hwndFrom = from;
    hdr->idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(from));
    hdr->code = code;
    return SendMessageW(target, WM_NOTIFY, hdr->idFrom, reinterpret_cast<LPARAM>(hdr));
}

bool HandleFontMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_GETFONT) {
        *result = Slot(hwnd, CONTROL_EXTRA_FONT);
        return true;
    }
    if (message != WM_SETFONT)
        return false;
    if (Slot(hwnd, CONTROL_EXTRA_FONT) != static_cast<LONG_PTR>(wParam)) {
        SetWindowLongPtrW(hwnd, CONTROL_EXTRA_FONT, static_cast<LONG_PTR>(wParam));
        MarkWindowChanged(hwnd, WindowChangeFont);
    }
    if (LOWORD(static_cast<uintptr_t>(lParam)))
        InvalidateRect(hwnd, nullptr, TRUE);
    *result = 0;
    return true;
}

HGDIOBJ SelectControlFont(HWND hwnd, HDC hdc)
{
    auto font = reinterpret_cast<HGDIOBJ>(Slot(hwnd, CONTROL_EXTRA_FONT));
    if (!font || GetObjectType(font) != OBJ_FONT)
        font = GetStockObject(DEFAULT_GUI_FONT);
    return SelectObject(hdc, font);
}

PaintColours AskParentColours(HWND hwnd, HDC hdc, UINT message, int backIndex, int textIndex)
{
    PaintColours colours;
    SetTextColor(hdc, GetSysColor(textIndex));
    SetBkColor(hdc, GetSysColor(backIndex));
    HWND parent = GetParent(hwnd);
    if (parent)
        colours.brush = reinterpret_cast<HBRUSH>(
            SendMessageW(parent, message, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(hwnd)));
    colours.text = GetTextColor(hdc);
    colours.back = GetSysColor(backIndex);
    if (colours.brush) {
        LOGBRUSH log{};
        if (GetObjectW(colours.brush, sizeof(log), &log) == static_cast<int>(sizeof(log)))
            colours.back = log.lbStyle == BS_NULL ? CLR_NONE : log.lbColor;
        else if (reinterpret_cast<uintptr_t>(colours.brush) <= 31)  // (COLOR_* + 1)
            colours.back = GetSysColor(static_cast<int>(reinterpret_cast<uintptr_t>(colours.brush) - 1));
    } else {
        colours.brush = GetSysColorBrush(backIndex);
    }
    SetSlot(hwnd, CONTROL_EXTRA_TEXTCOLOUR, static_cast<LONG_PTR>(colours.text));
    SetSlot(hwnd, CONTROL_EXTRA_BACKCOLOUR, static_cast<LONG_PTR>(colours.back));
    return colours;
}

bool PointInClient(HWND hwnd, LPARAM lParam)
{
    RECT client{};
    GetClientRect(hwnd, &client);
    return PtInRect(&client, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}) != FALSE;
}

}  // namespace tabrix::controls_detail
