// The "msctls_progress32" class.
#include "platform/controls/ControlProcs.h"
#include "platform/controls/ControlSupport.h"
#include "platform/controls/ProgressControl.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/SystemColors.h"
#include "platform/window/Paint.h"
#include "platform/window/WinMessages.h"
#include "platform/window/Window.h"
#include "platform/window/WindowGeometry.h"

#include <algorithm>

namespace tabrix::controls_detail {

namespace {

struct Range {
    LONG_PTR low;
    LONG_PTR high;
    LONG_PTR Smaller() const { return std::min(low, high); }
    LONG_PTR Larger() const { return std::max(low, high); }
};

Range RangeOf(HWND hwnd) { return Range{Slot(hwnd, PROGRESS_EXTRA_LOW), Slot(hwnd, PROGRESS_EXTRA_HIGH)}; }
LONG_PTR Position(HWND hwnd) { return Slot(hwnd, PROGRESS_EXTRA_POS); }

// Sets the position, kept within the range; returns the previous one.
LRESULT MoveTo(HWND hwnd, LONG_PTR wanted)
{
    Range range = RangeOf(hwnd);
    LONG_PTR previous = Position(hwnd);
    LONG_PTR now = std::clamp(wanted, range.Smaller(), range.Larger());
    if (now != previous) {
        SetSlot(hwnd, PROGRESS_EXTRA_POS, now);
        InvalidateRect(hwnd, nullptr, FALSE);
    }
    return static_cast<LRESULT>(static_cast<int>(previous));
}

// Sets the range; returns the previous ends as two 16-bit words (low, high).
LRESULT SetRange(HWND hwnd, LONG_PTR low, LONG_PTR high)
{
    Range old = RangeOf(hwnd);
    SetSlot(hwnd, PROGRESS_EXTRA_LOW, low);
    SetSlot(hwnd, PROGRESS_EXTRA_HIGH, high);
    MoveTo(hwnd, Position(hwnd));
    InvalidateRect(hwnd, nullptr, FALSE);
    return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(old.low), static_cast<WORD>(old.high)));
}

LRESULT StepIt(HWND hwnd)
{
    Range range = RangeOf(hwnd);
    LONG_PTR previous = Position(hwnd);
    LONG_PTR next = previous + Slot(hwnd, PROGRESS_EXTRA_STEP);
    // Past one end the bar starts again from the other.
    if (next > range.Larger())
        next = range.Smaller();
    else if (next < range.Smaller())
        next = range.Larger();
    MoveTo(hwnd, next);
    return static_cast<LRESULT>(static_cast<int>(previous));
}

LRESULT SetColour(HWND hwnd, int slot, LPARAM colour)
{
    LONG_PTR previous = Slot(hwnd, slot);
    SetSlot(hwnd, slot, static_cast<LONG_PTR>(static_cast<COLORREF>(colour)));
    InvalidateRect(hwnd, nullptr, FALSE);
    return previous;
}

void Paint(HWND hwnd)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    if (!hdc)
        return;
    RECT client{};
    GetClientRect(hwnd, &client);
    auto back = static_cast<COLORREF>(Slot(hwnd, PROGRESS_EXTRA_BKCOLOUR));
    auto bar = static_cast<COLORREF>(Slot(hwnd, PROGRESS_EXTRA_BARCOLOUR));
    HBRUSH backBrush = back == CLR_DEFAULT ? GetSysColorBrush(COLOR_BTNFACE) : CreateSolidBrush(back);
    HBRUSH barBrush = bar == CLR_DEFAULT ? GetSysColorBrush(COLOR_HIGHLIGHT) : CreateSolidBrush(bar);
    FillRect(hdc, &client, backBrush);
    Range range = RangeOf(hwnd);
    LONG_PTR span = range.Larger() - range.Smaller();
    if (span > 0) {
        LONG_PTR done = Position(hwnd) - range.Smaller();
        RECT filled = client;
        if (StyleOf(hwnd) & PBS_VERTICAL)
            filled.top = client.bottom - static_cast<LONG>((client.bottom - client.top) * done / span);
        else
            filled.right = client.left + static_cast<LONG>((client.right - client.left) * done / span);
        FillRect(hdc, &filled, barBrush);
    }
    if (back != CLR_DEFAULT)
        DeleteObject(backBrush);
    if (bar != CLR_DEFAULT)
        DeleteObject(barBrush);
    EndPaint(hwnd, &ps);
}

void Initialise(HWND hwnd)
{
    InitialiseSharedSlots(hwnd);
    SetSlot(hwnd, PROGRESS_EXTRA_HIGH, 100);
    SetSlot(hwnd, PROGRESS_EXTRA_STEP, 10);
    SetSlot(hwnd, PROGRESS_EXTRA_BARCOLOUR, static_cast<LONG_PTR>(CLR_DEFAULT));
    SetSlot(hwnd, PROGRESS_EXTRA_BKCOLOUR, static_cast<LONG_PTR>(CLR_DEFAULT));
    SetSlot(hwnd, PROGRESS_EXTRA_STATE, static_cast<LONG_PTR>(PBST_NORMAL));
}

}  // namespace

LRESULT ProgressProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (HandleFontMessage(hwnd, message, wParam, lParam, &result))
        return result;
    switch (message) {
    case WM_NCCREATE: Initialise(hwnd); break;
    case PBM_SETRANGE:
        return SetRange(hwnd, LOWORD(static_cast<uintptr_t>(lParam)), HIWORD(static_cast<uintptr_t>(lParam)));
    case PBM_SETRANGE32: return SetRange(hwnd, static_cast<int>(wParam), static_cast<int>(lParam));
    case PBM_GETRANGE: {
        Range range = RangeOf(hwnd);
        if (auto* out = reinterpret_cast<PBRANGE*>(lParam))
            *out = PBRANGE{static_cast<int>(range.low), static_cast<int>(range.high)};
        return static_cast<LRESULT>(static_cast<int>(wParam ? range.low : range.high));
    }
    case PBM_SETPOS: return MoveTo(hwnd, static_cast<int>(wParam));
    case PBM_DELTAPOS: return MoveTo(hwnd, Position(hwnd) + static_cast<int>(wParam));
    case PBM_GETPOS: return static_cast<LRESULT>(static_cast<int>(Position(hwnd)));
    case PBM_SETSTEP: {
        LONG_PTR previous = Slot(hwnd, PROGRESS_EXTRA_STEP);
        SetSlot(hwnd, PROGRESS_EXTRA_STEP, static_cast<int>(wParam));
        return static_cast<LRESULT>(static_cast<int>(previous));
    }
    case PBM_GETSTEP: return static_cast<LRESULT>(static_cast<int>(Slot(hwnd, PROGRESS_EXTRA_STEP)));
    case PBM_STEPIT: return StepIt(hwnd);
    case PBM_SETBARCOLOR: return SetColour(hwnd, PROGRESS_EXTRA_BARCOLOUR, lParam);
    case PBM_GETBARCOLOR: return Slot(hwnd, PROGRESS_EXTRA_BARCOLOUR);
    case PBM_SETBKCOLOR: return SetColour(hwnd, PROGRESS_EXTRA_BKCOLOUR, lParam);
    case PBM_GETBKCOLOR: return Slot(hwnd, PROGRESS_EXTRA_BKCOLOUR);
    case PBM_SETSTATE: {
        LONG_PTR previous = Slot(hwnd, PROGRESS_EXTRA_STATE);
        if (wParam >= PBST_NORMAL && wParam <= PBST_PAUSED)
            SetSlot(hwnd, PROGRESS_EXTRA_STATE, static_cast<LONG_PTR>(wParam));
        return previous;
    }
    case PBM_GETSTATE: return Slot(hwnd, PROGRESS_EXTRA_STATE);
    case PBM_SETMARQUEE: SetSlot(hwnd, PROGRESS_EXTRA_MARQUEE, wParam ? 1 : 0); return TRUE;
    case WM_GETDLGCODE: return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: Paint(hwnd); return 0;
    default: break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace tabrix::controls_detail
