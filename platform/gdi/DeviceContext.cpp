// Device contexts and their state.
#include "platform/gdi/DeviceContext.h"

#include "platform/gdi/FontMetrics.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/GdiState.h"
#include "platform/window/Window.h"
#include "platform/window/WindowGeometry.h"
#include "platform/window/WinStyles.h"

#include <string>
#include <utility>

using namespace tabrix::gdi_detail;

namespace {

void ReleaseSelectionsLocked(GdiState& state, const DcState& dc)
{
    for (HGDIOBJ selected : {dc.font, dc.brush, dc.pen, dc.bitmap})
        if (ObjectRecord* record = state.FindLocked(selected))
            if (record->selections > 0)
                --record->selections;
}

void Select(GdiState& state, HGDIOBJ& slot, HGDIOBJ object)
{
    if (ObjectRecord* old = state.FindLocked(slot))
        if (old->selections > 0)
            --old->selections;
    slot = object;
    if (ObjectRecord* now = state.FindLocked(object))
        ++now->selections;
}

template <typename Change>
auto ChangeDc(HDC hdc, decltype(std::declval<Change>()(std::declval<DcState&>())) fallback, Change change)
{
    bool alive = WindowTokenAlive(hdc);
    GdiState& state = GdiState::Get();
    Lock lock(state.mutex);
    DcState* dc = state.DcLocked(hdc, alive);
    if (!dc)
        return fallback;
    return change(*dc);
}

LOGFONTW FontOf(HDC hdc, bool* known)
{
    bool alive = WindowTokenAlive(hdc);
    GdiState& state = GdiState::Get();
    Lock lock(state.mutex);
    DcState* dc = state.DcLocked(hdc, alive);
    *known = dc != nullptr;
    return dc ? SelectedFontLocked(state, *dc) : LOGFONTW{};
}

}  // namespace

HDC GetDC(HWND hwnd)
{
    HWND target = hwnd ? hwnd : GetDesktopWindow();
    HDC hdc = reinterpret_cast<HDC>(target);
    bool alive = WindowTokenAlive(hdc);
    GdiState& state = GdiState::Get();
    Lock lock(state.mutex);
    return state.DcLocked(hdc, alive) ? hdc : nullptr;
}

HDC GetWindowDC(HWND hwnd) { return GetDC(hwnd); }

int ReleaseDC(HWND, HDC hdc)
{
    GdiState& state = GdiState::Get();
    Lock lock(state.mutex);
    auto it = state.dcs.find(reinterpret_cast<uintptr_t>(hdc));
    if (it == state.dcs.end() || it->second.memory)
        return 0;
    ReleaseSelectionsLocked(state, it->second);
    state.dcs.erase(it);
    return 1;
}

HDC CreateCompatibleDC(HDC)
{
    GdiState& state = GdiState::Get();
    Lock lock(state.mutex);
    DcState dc;
    dc.memory = true;
    uintptr_t handle = state.NewHandleLocked();
    auto& stored = state.dcs.emplace(handle, dc).first->second;
    Select(state, stored.font, reinterpret_cast<HGDIOBJ>(state.stock[SYSTEM_FONT]));
    Select(state, stored.brush, reinterpret_cast<HGDIOBJ>(state.stock[WHITE_BRUSH]));
    Select(state, stored.pen, reinterpret_cast<HGDIOBJ>(state.stock[BLACK_PEN]));
    Select(state, stored.bitmap, reinterpret_cast<HGDIOBJ>(state.defaultBitmap));
    return reinterpret_cast<HDC>(handle);
}

BOOL DeleteDC(HDC hdc)
{
    GdiState& state = GdiState::Get();
    Lock lock(state.mutex);
    auto it = state.dcs.find(reinterpret_cast<uintptr_t>(hdc));
    if (it == state.dcs.end() || !it->second.memory)
        return FALSE;
    ReleaseSelectionsLocked(state, it->second);
    state.dcs.erase(it);
    return TRUE;
}

HWND WindowFromDC(HDC hdc)
{
    return ChangeDc(hdc, HWND{nullptr}, [](DcState& dc) { return dc.window; });
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object)
{
    bool alive = WindowTokenAlive(hdc);
    GdiState& state = GdiState::Get();
    Lock lock(state.mutex);
    DcState* dc = state.DcLocked(hdc, alive);
    ObjectRecord* record = state.FindLocked(object);
    if (!dc || !record) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    HGDIOBJ* slot = nullptr;
    switch (record->object.index()) {
    case 0: slot = &dc->font; break;
    case 1: slot = &dc->brush; break;
    case 2: slot = &dc->pen; break;
    case 3:
        // A bitmap goes into one memory DC at a time.
        if (!dc->memory || (!record->stock && record->selections > 0 && dc->bitmap != object))
            return nullptr;
        slot = &dc->bitmap;
        break;
    default: return nullptr;
    }
    HGDIOBJ previous = *slot;
    if (previous != object)
        Select(state, *slot, object);
    return previous;
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT objectType)
{
    return ChangeDc(hdc, HGDIOBJ{nullptr}, [&](DcState& dc) -> HGDIOBJ {
        switch (objectType) {
        case OBJ_FONT: return dc.font;
        case OBJ_BRUSH: return dc.brush;
        case OBJ_PEN: return dc.pen;
        case OBJ_BITMAP: return dc.bitmap;
        default: return nullptr;
        }
    });
}

HBITMAP CreateCompatibleBitmap(HDC, int width, int height)
{
    PixelBitmap picture(width, height, 0xFF000000);
    if (width < 1 || height < 1)
        return nullptr;
    return CreateBitmapFromPixels(picture);
}

int GetDeviceCaps(HDC hdc, int index)
{
    int dpi = 96;
    bool alive = WindowTokenAlive(hdc);
    {
        GdiState& state = GdiState::Get();
        Lock lock(state.mutex);
        if (!state.DcLocked(hdc, alive))
            return 0;
        dpi = state.dpi;
    }
    switch (index) {
    case LOGPIXELSX:
    case LOGPIXELSY: return dpi;
    case HORZRES: return GetSystemMetrics(SM_CXSCREEN);
    case VERTRES: return GetSystemMetrics(SM_CYSCREEN);
    case HORZSIZE: return GetSystemMetrics(SM_CXSCREEN) * 254 / (dpi * 10);
    case VERTSIZE: return GetSystemMetrics(SM_CYSCREEN) * 254 / (dpi * 10);
    case BITSPIXEL: return 32;
    case PLANES: return 1;
    case NUMCOLORS: return -1;
    default: return 0;
    }
}

void SetScreenDpi(int dpi)
{
    GdiState& state = GdiState::Get();
    Lock lock(state.mutex);
    state.dpi = dpi > 0 ? dpi : 96;
}

COLORREF SetTextColor(HDC hdc, COLORREF colour)
{
    return ChangeDc(hdc, CLR_INVALID, [&](DcState& dc) { return std::exchange(dc.textColour, colour & 0x00FFFFFF); });
}
COLORREF GetTextColor(HDC hdc)
{
    return ChangeDc(hdc, CLR_INVALID, [](DcState& dc) { return dc.textColour; });
}
COLORREF SetBkColor(HDC hdc, COLORREF colour)
{
    return ChangeDc(hdc, CLR_INVALID, [&](DcState& dc) { return std::exchange(dc.backColour, colour & 0x00FFFFFF); });
}
COLORREF GetBkColor(HDC hdc)
{
    return ChangeDc(hdc, CLR_INVALID, [](DcState& dc) { return dc.backColour; });
}
int SetBkMode(HDC hdc, int mode)
{
    if (mode != TRANSPARENT && mode != OPAQUE)
        return 0;
    return ChangeDc(hdc, 0, [&](DcState& dc) { return std::exchange(dc.backMode, mode); });
}
int GetBkMode(HDC hdc)
{
    return ChangeDc(hdc, 0, [](DcState& dc) { return dc.backMode; });
}
int SetStretchBltMode(HDC hdc, int mode)
{
    if (mode < 1 || mode > 4)
        return 0;
    return ChangeDc(hdc, 0, [&](DcState& dc) { return std::exchange(dc.stretchMode, mode); });
}
COLORREF SetDCBrushColor(HDC hdc, COLORREF colour)
{
    return ChangeDc(hdc, CLR_INVALID, [&](DcState& dc) { return std::exchange(dc.dcBrushColour, colour & 0x00FFFFFF); });
}
COLORREF SetDCPenColor(HDC hdc, COLORREF colour)
{
    return ChangeDc(hdc, CLR_INVALID, [&](DcState& dc) { return std::exchange(dc.dcPenColour, colour & 0x00FFFFFF); });
}

BOOL GetTextMetricsW(HDC hdc, TEXTMETRICW* metrics)
{
    bool known = false;
    LOGFONTW font = FontOf(hdc, &known);
    if (!known || !metrics)
        return FALSE;
    std::shared_ptr<DrawingBackend> backend = GetDrawingBackend();
    if (!backend || !backend->TextMetrics(font, metrics))
        *metrics = HeadlessTextMetrics(font);
    return TRUE;
}

BOOL GetTextExtentPoint32W(HDC hdc, LPCWSTR text, int count, SIZE* size)
{
    bool known = false;
    LOGFONTW font = FontOf(hdc, &known);
    if (!known || !size || count < 0 || (count > 0 && !text))
        return FALSE;
    std::u16string line(text ? text : u"", static_cast<size_t>(count));
    std::shared_ptr<DrawingBackend> backend = GetDrawingBackend();
    if (backend && backend->TextExtent(font, line, size))
        return TRUE;
    size->cx = HeadlessTextWidth(font, line);
    size->cy = HeadlessTextMetrics(font).tmHeight;
    return TRUE;
}

int GetClipBox(HDC hdc, RECT* rect)
{
    HWND window = nullptr;
    SIZE bitmapSize{0, 0};
    bool alive = WindowTokenAlive(hdc);
    {
        GdiState& state = GdiState::Get();
        Lock lock(state.mutex);
        DcState* dc = state.DcLocked(hdc, alive);
        if (!dc || !rect)
            return ERROR_REGION;
        window = dc->window;
        if (auto* bitmap = state.FindAsLocked<BitmapObject>(dc->bitmap))
            bitmapSize = SIZE{bitmap->picture.width, bitmap->picture.height};
    }
    if (window) {
        if (window == GetDesktopWindow())
            SetRect(rect, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
        else if (!GetClientRect(window, rect))
            return ERROR_REGION;
    } else {
        SetRect(rect, 0, 0, bitmapSize.cx, bitmapSize.cy);
    }
    return IsRectEmpty(rect) ? NULLREGION : SIMPLEREGION;
}
