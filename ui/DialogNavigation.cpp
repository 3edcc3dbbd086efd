#include "ui/DialogNavigation.h"

#include "platform/controls/ButtonControl.h"
#include "platform/window/Focus.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/WinMessages.h"
#include "platform/window/WinStyles.h"
#include "platform/window/Window.h"
#include "platform/window/WindowClass.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr LRESULT kDefIdMark = 0x534B0000;  // DC_HASDEFID in the high word

bool Usable(HWND hwnd) { return IsWindowVisible(hwnd) && IsWindowEnabled(hwnd); }

void CollectTabStops(HWND parent, std::vector<HWND>& out)
{
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!Usable(child))
            continue;
        if (GetWindowLongW(child, GWL_EXSTYLE) & WS_EX_CONTROLPARENT)
            CollectTabStops(child, out);
        else if (GetWindowLongW(child, GWL_STYLE) & WS_TABSTOP)
            out.push_back(child);
    }
}

bool IsButtonClass(HWND hwnd)
{
    char16_t name[16] = {};
    GetClassNameW(hwnd, name, 16);
    std::u16string n(name);
    std::transform(n.begin(), n.end(), n.begin(), [](char16_t c) { return (c >= u'a' && c <= u'z') ? c - 32 : c; });
    return n == u"BUTTON";
}

bool IsPushButton(HWND hwnd)
{
    DWORD kind = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)) & BS_TYPEMASK;
    return IsButtonClass(hwnd) && (kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON);
}

HWND FindDescendantById(HWND parent, int id)
{
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetDlgCtrlID(child) == id)
            return child;
        if (HWND inner = FindDescendantById(child, id))
            return inner;
    }
    return nullptr;
}

void Click(HWND dialog, HWND button)
{
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(button)), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
}

BOOL Enter(HWND dialog, HWND focus)
{
    if (focus && IsPushButton(focus)) {
        Click(dialog, focus);
        return TRUE;
    }
    LRESULT answer = SendMessageW(dialog, WM_USER /* DM_GETDEFID */, 0, 0);
    if ((answer & 0xFFFF0000) != kDefIdMark)
        return FALSE;
    HWND button = FindDescendantById(dialog, LOWORD(static_cast<uintptr_t>(answer)));
    if (!button || !Usable(button))
        return FALSE;
    Click(dialog, button);
    return TRUE;
}

}  // namespace

HWND NextTabItem(HWND dialog, HWND from, TabDirection direction)
{
    std::vector<HWND> stops;
    CollectTabStops(dialog, stops);
    if (stops.empty())
        return nullptr;
    auto it = std::find(stops.begin(), stops.end(), from);
    if (it == stops.end())
        return direction == TabDirection::Forward ? stops.front() : stops.back();
    size_t i = static_cast<size_t>(it - stops.begin());
    size_t n = stops.size();
    return stops[direction == TabDirection::Forward ? (i + 1) % n : (i + n - 1) % n];
}

BOOL HandleDialogNavigation(HWND dialog, const MSG* message)
{
    if (!message || message->message != WM_KEYDOWN || !dialog)
        return FALSE;
    HWND focus = GetFocus();
    if (focus && focus != dialog && !IsChild(dialog, focus))
        return FALSE;
    const LRESULT wants = focus ? SendMessageW(focus, WM_GETDLGCODE, message->wParam, reinterpret_cast<LPARAM>(message)) : 0;
    if (wants & DLGC_WANTALLKEYS)
        return FALSE;
    switch (message->wParam) {
    case VK_TAB: {
        if (wants & DLGC_WANTTAB)
            return FALSE;
        const bool back = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
        if (HWND next = NextTabItem(dialog, focus, back ? TabDirection::Backward : TabDirection::Forward))
            SetFocus(next);
        return TRUE;
    }
    case VK_RETURN: return Enter(dialog, focus);
    default: return FALSE;
    }
}
