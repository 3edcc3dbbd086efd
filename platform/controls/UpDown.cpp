// The "msctls_updown32" class.
#include "platform/controls/ControlProcs.h"
#include "platform/controls/ControlSupport.h"
#include "platform/controls/UpDownControl.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/SystemColors.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Paint.h"
#include "platform/window/WinMessages.h"
#include "platform/window/WinStyles.h"
#include "platform/window/Window.h"
#include "platform/window/WindowGeometry.h"

#include <algorithm>
#include <optional>
#include <string>

namespace tabrix::controls_detail {

namespace {

constexpr int kDefaultWidth = 17;
constexpr LONG_PTR kPressedUp = 1;
constexpr LONG_PTR kPressedDown = 2;

LONG_PTR Lower(HWND hwnd) { return Slot(hwnd, UPDOWN_EXTRA_LOWER); }
LONG_PTR Upper(HWND hwnd) { return Slot(hwnd, UPDOWN_EXTRA_UPPER); }
LONG_PTR Position(HWND hwnd) { return Slot(hwnd, UPDOWN_EXTRA_POS); }
HWND Buddy(HWND hwnd)
{
    auto buddy = reinterpret_cast<HWND>(Slot(hwnd, UPDOWN_EXTRA_BUDDY));
    return IsWindow(buddy) ? buddy : nullptr;
}

LONG_PTR Clamped(HWND hwnd, LONG_PTR value)
{
    return std::clamp(value, std::min(Lower(hwnd), Upper(hwnd)), std::max(Lower(hwnd), Upper(hwnd)));
}

std::u16string FormatPosition(HWND hwnd, LONG_PTR value)
{
    if (Slot(hwnd, UPDOWN_EXTRA_BASE) == 16) {
        static const char16_t kDigits[] = u"0123456789ABCDEF";
        std::u16string hex;
        auto v = static_cast<uint32_t>(value);
        do {
            hex.insert(hex.begin(), kDigits[v & 0xF]);
            v >>= 4;
        } while (v);
        while (hex.size() < 4)
            hex.insert(hex.begin(), u'0');
        return u"0x" + hex;
    }
    std::string digits = std::to_string(value < 0 ? -static_cast<long long>(value) : static_cast<long long>(value));
    std::u16string out;
    bool separators = !(StyleOf(hwnd) & UDS_NOTHOUSANDS);
    for (size_t i = 0; i < digits.size(); ++i) {
        if (separators && i > 0 && (digits.size() - i) % 3 == 0)
            out.push_back(u',');
        out.push_back(static_cast<char16_t>(digits[i]));
    }
    return value < 0 ? u"-" + out : out;
}

// The position the buddy's text says, when it says one within the range.
std::optional<LONG_PTR> ParseBuddy(HWND hwnd, const std::u16string& text)
{
    bool hex = Slot(hwnd, UPDOWN_EXTRA_BASE) == 16;
    size_t i = 0;
    bool negative = false;
    if (!hex && i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        negative = text[i++] == u'-';
    if (hex && text.size() >= 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X'))
        i = 2;
    long long value = 0;
    bool any = false;
    for (; i < text.size(); ++i) {
        char16_t c = text[i];
        int digit = (c >= u'0' && c <= u'9') ? c - u'0' : (hex && c >= u'a' && c <= u'f') ? c - u'a' + 10
                                              : (hex && c >= u'A' && c <= u'F')           ? c - u'A' + 10
                                                                                           : -1;
        if (digit < 0 && !hex && c == u',')
            continue;
        if (digit < 0 || value > 0x7FFFFFFF)
            return std::nullopt;
        value = value * (hex ? 16 : 10) + digit;
        any = true;
    }
    if (!any)
        return std::nullopt;
    value = negative ? -value : value;
    if (value != Clamped(hwnd, static_cast<LONG_PTR>(value)))
        return std::nullopt;
    return static_cast<LONG_PTR>(value);
}

void ShowInBuddy(HWND hwnd)
{
    HWND buddy = Buddy(hwnd);
    if (buddy && (StyleOf(hwnd) & UDS_SETBUDDYINT))
        SetWindowTextW(buddy, FormatPosition(hwnd, Position(hwnd)).c_str());
}

// Sets the position (kept within the range); returns the previous one.
LONG_PTR MoveTo(HWND hwnd, LONG_PTR wanted)
{
    LONG_PTR previous = Position(hwnd);
    SetSlot(hwnd, UPDOWN_EXTRA_POS, Clamped(hwnd, wanted));
    ShowInBuddy(hwnd);
    return previous;
}

// The position the buddy says (updating ours), or an error.
bool ReadPosition(HWND hwnd)
{
    HWND buddy = Buddy(hwnd);
    if (!buddy || !(StyleOf(hwnd) & UDS_SETBUDDYINT))
        return true;
    std::optional<LONG_PTR> value = ParseBuddy(hwnd, StoredText(buddy));
    if (value)
        SetSlot(hwnd, UPDOWN_EXTRA_POS, *value);
    return value.has_value();
}

void Align(HWND hwnd, HWND buddy)
{
    DWORD style = StyleOf(hwnd);
    if (!(style & (UDS_ALIGNRIGHT | UDS_ALIGNLEFT)))
        return;
    RECT own{}, area{};
    GetWindowRect(hwnd, &own);
    GetWindowRect(buddy, &area);
    HWND parent = GetParent(hwnd);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&area), 2);
    int width = own.right > own.left ? own.right - own.left : kDefaultWidth;
    int height = area.bottom - area.top;
    bool right = (style & UDS_ALIGNRIGHT) != 0;
    int buddyLeft = right ? area.left : area.left + width;
    SetWindowPos(buddy, nullptr, buddyLeft, area.top, area.right - area.left - width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(hwnd, nullptr, right ? area.right - width : area.left, area.top, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT SetBuddy(HWND hwnd, HWND buddy)
{
    HWND previous = Buddy(hwnd);
    SetSlot(hwnd, UPDOWN_EXTRA_BUDDY, reinterpret_cast<LONG_PTR>(buddy));
    if (buddy && IsWindow(buddy)) {
        Align(hwnd, buddy);
        ShowInBuddy(hwnd);
    }
    return reinterpret_cast<LRESULT>(previous);
}

void Scrolled(HWND hwnd, WORD code)
{
    HWND parent = GetParent(hwnd);
    if (!parent)
        return;
    UINT message = (StyleOf(hwnd) & UDS_HORZ) ? WM_HSCROLL : WM_VSCROLL;
    SendMessageW(parent, message, MAKEWPARAM(code, static_cast<WORD>(Position(hwnd))), reinterpret_cast<LPARAM>(hwnd));
}

// One arrow step: towards the upper end for the up (right) arrow, the lower end for the other.
void Step(HWND hwnd, bool towardsUpper)
{
    ReadPosition(hwnd);
    LONG_PTR lower = Lower(hwnd), upper = Upper(hwnd);
    int delta = (towardsUpper == (upper >= lower)) ? 1 : -1;
    NMUPDOWN nm{};
    nm.iPos = static_cast<int>(Position(hwnd));
    nm.iDelta = delta;
    if (SendNotify(GetParent(hwnd), hwnd, &nm.hdr, UDN_DELTAPOS) != 0)
        return;
    LONG_PTR low = std::min(lower, upper), high = std::max(lower, upper);
    LONG_PTR next = Position(hwnd) + nm.iDelta;
    bool wrap = (StyleOf(hwnd) & UDS_WRAP) != 0;
    if (next > high)
        next = wrap ? low : high;
    else if (next < low)
        next = wrap ? high : low;
    MoveTo(hwnd, next);
    Scrolled(hwnd, SB_THUMBPOSITION);
}

void Press(HWND hwnd, LPARAM point)
{
    RECT client{};
    GetClientRect(hwnd, &client);
    bool horizontal = (StyleOf(hwnd) & UDS_HORZ) != 0;
    bool upper = horizontal ? GET_X_LPARAM(point) >= client.right / 2 : GET_Y_LPARAM(point) < client.bottom / 2;
    SetSlot(hwnd, UPDOWN_EXTRA_PRESSED, upper ? kPressedUp : kPressedDown);
    InvalidateRect(hwnd, nullptr, FALSE);
    Step(hwnd, upper);
}

void Paint(HWND hwnd)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    if (!hdc)
        return;
    RECT client{};
    GetClientRect(hwnd, &client);
    FillRect(hdc, &client, GetSysColorBrush(COLOR_BTNFACE));
    FrameRect(hdc, &client, GetSysColorBrush(COLOR_BTNSHADOW));
    EndPaint(hwnd, &ps);
}

void Initialise(HWND hwnd)
{
    InitialiseSharedSlots(hwnd);
    SetSlot(hwnd, UPDOWN_EXTRA_LOWER, 100);  // the original desktop's default range: 100 down to 0
    SetSlot(hwnd, UPDOWN_EXTRA_UPPER, 0);
    SetSlot(hwnd, UPDOWN_EXTRA_BASE, 10);
}

}  // namespace

LRESULT UpDownProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (HandleFontMessage(hwnd, message, wParam, lParam, &result))
        return result;
    switch (message) {
    case WM_NCCREATE: Initialise(hwnd); break;
    case WM_CREATE:
        if (StyleOf(hwnd) & UDS_AUTOBUDDY)
            SetBuddy(hwnd, GetWindow(hwnd, GW_HWNDPREV));
        return 0;
    case UDM_SETRANGE:
        SetSlot(hwnd, UPDOWN_EXTRA_UPPER, static_cast<int16_t>(LOWORD(static_cast<uintptr_t>(lParam))));
        SetSlot(hwnd, UPDOWN_EXTRA_LOWER, static_cast<int16_t>(HIWORD(static_cast<uintptr_t>(lParam))));
        SetSlot(hwnd, UPDOWN_EXTRA_POS, Clamped(hwnd, Position(hwnd)));
        return 0;
    case UDM_SETRANGE32:
        SetSlot(hwnd, UPDOWN_EXTRA_LOWER, static_cast<int>(wParam));
        SetSlot(hwnd, UPDOWN_EXTRA_UPPER, static_cast<int>(lParam));
        SetSlot(hwnd, UPDOWN_EXTRA_POS, Clamped(hwnd, Position(hwnd)));
        return 0;
    case UDM_GETRANGE:
        return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(Upper(hwnd)), static_cast<WORD>(Lower(hwnd))));
    case UDM_GETRANGE32:
        if (auto* lower = reinterpret_cast<int*>(wParam))
            *lower = static_cast<int>(Lower(hwnd));
        if (auto* upper = reinterpret_cast<int*>(lParam))
            *upper = static_cast<int>(Upper(hwnd));
        return 0;
    case UDM_SETPOS: return static_cast<int16_t>(MoveTo(hwnd, static_cast<int16_t>(LOWORD(static_cast<uintptr_t>(lParam)))));
    case UDM_SETPOS32: return static_cast<int>(MoveTo(hwnd, static_cast<int>(lParam)));
    case UDM_GETPOS: {
        bool valid = ReadPosition(hwnd);
        return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(Position(hwnd)), valid ? 0 : 1));
    }
    case UDM_GETPOS32: {
        bool valid = ReadPosition(hwnd);
        if (auto* error = reinterpret_cast<BOOL*>(lParam))
            *error = valid ? FALSE : TRUE;
        return static_cast<int>(Position(hwnd));
    }
    case UDM_SETBUDDY: return SetBuddy(hwnd, reinterpret_cast<HWND>(wParam));
    case UDM_GETBUDDY: return reinterpret_cast<LRESULT>(Buddy(hwnd));
    case UDM_SETBASE: {
        if (wParam != 10 && wParam != 16)
            return 0;
        LONG_PTR previous = Slot(hwnd, UPDOWN_EXTRA_BASE);
        SetSlot(hwnd, UPDOWN_EXTRA_BASE, static_cast<LONG_PTR>(wParam));
        ShowInBuddy(hwnd);
        return previous;
    }
    case UDM_GETBASE: return Slot(hwnd, UPDOWN_EXTRA_BASE);
    case UDM_SETACCEL: return TRUE;  // one step per press; acceleration is a desktop's matter
    case UDM_GETACCEL: return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (Enabled(hwnd) && !Slot(hwnd, UPDOWN_EXTRA_PRESSED))
            Press(hwnd, lParam);
        return 0;
    case WM_LBUTTONUP:
    case WM_CANCELMODE:
        if (Slot(hwnd, UPDOWN_EXTRA_PRESSED)) {
            SetSlot(hwnd, UPDOWN_EXTRA_PRESSED, 0);
            InvalidateRect(hwnd, nullptr, FALSE);
            Scrolled(hwnd, SB_ENDSCROLL);
        }
        return 0;
    case WM_KEYDOWN:
        if ((StyleOf(hwnd) & UDS_ARROWKEYS) && Enabled(hwnd) &&
            (wParam == VK_UP || wParam == VK_DOWN || wParam == VK_LEFT || wParam == VK_RIGHT))
            Step(hwnd, wParam == VK_UP || wParam == VK_RIGHT);
        return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: Paint(hwnd); return 0;
    default: break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace tabrix::controls_detail
