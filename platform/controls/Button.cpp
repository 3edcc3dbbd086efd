// The "Button" class.
#include "platform/controls/ButtonControl.h"
#include "platform/controls/ControlProcs.h"
#include "platform/controls/ControlSupport.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/SystemColors.h"
#include "platform/window/Focus.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Paint.h"
#include "platform/window/WinMessages.h"
#include "platform/window/WinStyles.h"
#include "platform/window/Window.h"
#include "platform/window/WindowClass.h"
#include "platform/window/WindowGeometry.h"

#include <string>

namespace tabrix::controls_detail {

namespace {

// The class's own bits above the BST_* ones in the state slot.
constexpr LONG_PTR kTrackingMouse = 0x100;
constexpr LONG_PTR kTrackingKey = 0x200;
constexpr LONG_PTR kCheckMask = BST_CHECKED | BST_INDETERMINATE;

DWORD TypeOf(HWND hwnd) { return StyleOf(hwnd) & BS_TYPEMASK; }

bool IsCheckable(DWORD type)
{
    switch (type) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_RADIOBUTTON:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_AUTORADIOBUTTON: return true;
    default: return false;
    }
}

bool IsPushLike(HWND hwnd)
{
    DWORD type = TypeOf(hwnd);
    return !IsCheckable(type) && type != BS_GROUPBOX ? true : (StyleOf(hwnd) & BS_PUSHLIKE) != 0;
}

LONG_PTR State(HWND hwnd) { return Slot(hwnd, BUTTON_EXTRA_STATE); }

void SetState(HWND hwnd, LONG_PTR state)
{
    if (State(hwnd) == state)
        return;
    SetSlot(hwnd, BUTTON_EXTRA_STATE, state);
    InvalidateRect(hwnd, nullptr, FALSE);
}

void ChangeState(HWND hwnd, LONG_PTR set, LONG_PTR clear) { SetState(hwnd, (State(hwnd) & ~clear) | set); }

bool IsAutoRadio(HWND hwnd)
{
    WCHAR name[16] = {};
    GetClassNameW(hwnd, name, 16);
    return std::u16string(name) == u"Button" && TypeOf(hwnd) == BS_AUTORADIOBUTTON;
}

// Unchecks the other automatic radio buttons of the group (siblings between two WS_GROUP marks).
void UncheckGroupSiblings(HWND hwnd)
{
    HWND first = hwnd;
    while (!(StyleOf(first) & WS_GROUP)) {
        HWND previous = GetWindow(first, GW_HWNDPREV);
        if (!previous)
            break;
        first = previous;
    }
    for (HWND sibling = first; sibling; sibling = GetWindow(sibling, GW_HWNDNEXT)) {
        if (sibling != first && (StyleOf(sibling) & WS_GROUP))
            break;
        if (sibling != hwnd && IsAutoRadio(sibling))
            SendMessageW(sibling, BM_SETCHECK, BST_UNCHECKED, 0);
    }
}

void Click(HWND hwnd)
{
    LONG_PTR check = State(hwnd) & kCheckMask;
    switch (TypeOf(hwnd)) {
    case BS_AUTOCHECKBOX: ChangeState(hwnd, check ? 0 : BST_CHECKED, kCheckMask); break;
    case BS_AUTO3STATE:
        ChangeState(hwnd, check == BST_UNCHECKED ? BST_CHECKED : check == BST_CHECKED ? BST_INDETERMINATE : 0, kCheckMask);
        break;
    case BS_AUTORADIOBUTTON:
        ChangeState(hwnd, BST_CHECKED, kCheckMask);
        UncheckGroupSiblings(hwnd);
        break;
    default: break;
    }
    NotifyParentCommand(hwnd, BN_CLICKED);
}

void CancelTracking(HWND hwnd) { ChangeState(hwnd, 0, kTrackingMouse | kTrackingKey | BST_PUSHED); }

LRESULT DialogCode(HWND hwnd)
{
    switch (TypeOf(hwnd)) {
    case BS_DEFPUSHBUTTON: return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
    case BS_PUSHBUTTON:
    case BS_PUSHBOX:
    case BS_OWNERDRAW:
    case BS_USERBUTTON: return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON: return DLGC_BUTTON | DLGC_RADIOBUTTON;
    case BS_GROUPBOX: return DLGC_STATIC;
    default: return DLGC_BUTTON;
    }
}

void Paint(HWND hwnd)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    if (!hdc)
        return;
    bool pushLike = IsPushLike(hwnd);
    PaintColours colours = AskParentColours(hwnd, hdc, pushLike ? WM_CTLCOLORBTN : WM_CTLCOLORSTATIC,
                                            COLOR_BTNFACE, COLOR_BTNTEXT);
    RECT client{};
    GetClientRect(hwnd, &client);
    FillRect(hdc, &client, colours.brush);
    HGDIOBJ oldFont = SelectControlFont(hwnd, hdc);
    if (!Enabled(hwnd))
        SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
    SetBkMode(hdc, TRANSPARENT);
    std::u16string text = StoredText(hwnd);
    UINT format = (StyleOf(hwnd) & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE | DT_VCENTER;
    if (pushLike) {
        format |= DT_CENTER;
    } else {
        RECT box{client.left, (client.bottom - 13) / 2, client.left + 13, (client.bottom - 13) / 2 + 13};
        if (TypeOf(hwnd) != BS_GROUPBOX)
            FrameRect(hdc, &box, GetSysColorBrush(COLOR_WINDOWTEXT));
        client.left += TypeOf(hwnd) == BS_GROUPBOX ? 8 : 17;
    }
    DrawTextW(hdc, text.c_str(), static_cast<int>(text.size()), &client, format);
    SelectObject(hdc, oldFont);
    EndPaint(hwnd, &ps);
}

LRESULT SetCheck(HWND hwnd, WPARAM check)
{
    DWORD type = TypeOf(hwnd);
    if (!IsCheckable(type))
        return 0;
    LONG_PTR value = check & kCheckMask;
    if (value == BST_INDETERMINATE && type != BS_3STATE && type != BS_AUTO3STATE)
        value = BST_CHECKED;
    ChangeState(hwnd, value, kCheckMask);
    return 0;
}

}  // namespace

LRESULT ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (HandleFontMessage(hwnd, message, wParam, lParam, &result))
        return result;
    switch (message) {
    case WM_NCCREATE: InitialiseSharedSlots(hwnd); break;
    case WM_GETDLGCODE: return DialogCode(hwnd);
    case WM_NCHITTEST:
        if (TypeOf(hwnd) == BS_GROUPBOX)
            return HTTRANSPARENT;
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (!Enabled(hwnd) || TypeOf(hwnd) == BS_GROUPBOX)
            return 0;
        if (GetFocus() != hwnd)
            SetFocus(hwnd);
        ChangeState(hwnd, kTrackingMouse | BST_PUSHED, 0);
        return 0;
    case WM_MOUSEMOVE:
        if (State(hwnd) & kTrackingMouse)
            ChangeState(hwnd, PointInClient(hwnd, lParam) ? BST_PUSHED : 0, PointInClient(hwnd, lParam) ? 0 : BST_PUSHED);
        return 0;
    case WM_LBUTTONUP:
        if (State(hwnd) & kTrackingMouse) {
            ChangeState(hwnd, 0, kTrackingMouse | BST_PUSHED);
            if (PointInClient(hwnd, lParam) && Enabled(hwnd))
                Click(hwnd);
        }
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_SPACE && Enabled(hwnd) && TypeOf(hwnd) != BS_GROUPBOX && !(State(hwnd) & kTrackingMouse))
            ChangeState(hwnd, kTrackingKey | BST_PUSHED, 0);
        return 0;
    case WM_KEYUP:
        if (wParam == VK_SPACE && (State(hwnd) & kTrackingKey)) {
            ChangeState(hwnd, 0, kTrackingKey | BST_PUSHED);
            if (Enabled(hwnd))
                Click(hwnd);
        }
        return 0;
    case WM_SETFOCUS:
        ChangeState(hwnd, BST_FOCUS, 0);
        if (StyleOf(hwnd) & BS_NOTIFY)
            NotifyParentCommand(hwnd, BN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        ChangeState(hwnd, 0, BST_FOCUS | kTrackingMouse | kTrackingKey | BST_PUSHED);
        if (StyleOf(hwnd) & BS_NOTIFY)
            NotifyParentCommand(hwnd, BN_KILLFOCUS);
        return 0;
    case WM_CANCELMODE: CancelTracking(hwnd); return 0;
    case WM_ENABLE:
        if (!wParam)
            CancelTracking(hwnd);
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case BM_GETCHECK: return IsCheckable(TypeOf(hwnd)) ? State(hwnd) & kCheckMask : 0;
    case BM_SETCHECK: return SetCheck(hwnd, wParam);
    case BM_GETSTATE: return State(hwnd) & (kCheckMask | BST_PUSHED | BST_FOCUS);
    case BM_SETSTATE: ChangeState(hwnd, wParam ? BST_PUSHED : 0, wParam ? 0 : BST_PUSHED); return 0;
    case BM_SETSTYLE:
        SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>((StyleOf(hwnd) & ~BS_TYPEMASK) | (wParam & BS_TYPEMASK)));
        if (LOWORD(static_cast<uintptr_t>(lParam)))
            InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case BM_CLICK:
        SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, 0);
        SendMessageW(hwnd, WM_LBUTTONUP, 0, 0);
        return 0;
    case BM_SETIMAGE: {
        LONG_PTR previous = Slot(hwnd, BUTTON_EXTRA_IMAGE);
        SetSlot(hwnd, BUTTON_EXTRA_IMAGE, lParam);
        SetSlot(hwnd, BUTTON_EXTRA_IMAGE + 8, static_cast<LONG_PTR>(wParam));
        InvalidateRect(hwnd, nullptr, TRUE);
        return previous;
    }
    case BM_GETIMAGE: return Slot(hwnd, BUTTON_EXTRA_IMAGE + 8) == static_cast<LONG_PTR>(wParam) ? Slot(hwnd, BUTTON_EXTRA_IMAGE) : 0;
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
