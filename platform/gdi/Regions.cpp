// Simple regions and window regions.
#include "platform/gdi/Regions.h"

#include "platform/gdi/GdiState.h"
#include "platform/window/Paint.h"
#include "platform/window/PresenterHook.h"
#include "platform/window/Window.h"

#include <algorithm>
#include <vector>

using namespace tabrix::gdi_detail;

namespace {

HRGN Make(RegionKind kind, int left, int top, int right, int bottom, int cw = 0, int ch = 0)
{
    RegionObject region;
    region.kind = kind;
    region.box = RECT{std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
    region.cornerWidth = std::max(cw, 0);
    region.cornerHeight = std::max(ch, 0);
    GdiState& state = GdiState::Get();
    Lock lock(state.mutex);
    return reinterpret_cast<HRGN>(state.AddLocked(ObjectRecord{region}));
}

bool InEllipse(double x, double y, double left, double top, double width, double height)
{
    if (width <= 0 || height <= 0)
        return false;
    double dx = (x + 0.5 - (left + width / 2)) / (width / 2);
    double dy = (y + 0.5 - (top + height / 2)) / (height / 2);
    return dx * dx + dy * dy <= 1.0;
}

bool Contains(const RegionObject& r, int x, int y)
{
    const RECT& b = r.box;
    if (x < b.left || x >= b.right || y < b.top || y >= b.bottom)
        return false;
    if (r.kind == RegionKind::Rectangle)
        return true;
    if (r.kind == RegionKind::Ellipse)
        return InEllipse(x, y, b.left, b.top, b.right - b.left, b.bottom - b.top);
    int cw = std::min<int>(r.cornerWidth, b.right - b.left);
    int ch = std::min<int>(r.cornerHeight, b.bottom - b.top);
    bool left = x < b.left + cw / 2, right = x >= b.right - cw / 2;
    bool top = y < b.top + ch / 2, bottom = y >= b.bottom - ch / 2;
    if (!((left || right) && (top || bottom)))
        return true;
    double ex = left ? b.left : b.right - cw;
    double ey = top ? b.top : b.bottom - ch;
    return InEllipse(x, y, ex, ey, cw, ch);
}

// Deletes the regions of windows that have gone; the windows are asked without our lock.
void ForgetDeadWindowRegions(GdiState& state)
{
    std::vector<HWND> windows;
    {
        Lock lock(state.mutex);
        for (const auto& entry : state.windowRegions)
            windows.push_back(entry.first);
    }
    std::vector<HWND> dead;
    for (HWND hwnd : windows)
        if (!IsWindow(hwnd))
            dead.push_back(hwnd);
    Lock lock(state.mutex);
    for (HWND hwnd : dead) {
        auto it = state.windowRegions.find(hwnd);
        if (it == state.windowRegions.end())
            continue;
        state.objects.erase(reinterpret_cast<uintptr_t>(it->second));
        state.windowRegions.erase(it);
    }
}

}  // namespace

HRGN CreateRectRgn(int left, int top, int right, int bottom)
{
    return Make(RegionKind::Rectangle, left, top, right, bottom);
}

HRGN CreateRectRgnIndirect(const RECT* rect)
{
    return rect ? CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom) : nullptr;
}

HRGN CreateEllipticRgn(int left, int top, int right, int bottom)
{
    return Make(RegionKind::Ellipse, left, top, right, bottom);
}

HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight)
{
    return Make(RegionKind::RoundRectangle, left, top, right, bottom, cornerWidth, cornerHeight);
}

int GetRgnBox(HRGN region, RECT* box)
{
    GdiState& state = GdiState::Get();
    Lock lock(state.mutex);
    auto* r = state.FindAsLocked<RegionObject>(region);
    if (!r || !box)
        return ERROR_REGION;
    *box = r->box;
    return (r->box.right > r->box.left && r->box.bottom > r->box.top) ? SIMPLEREGION : NULLREGION;
}

BOOL PtInRegion(HRGN region, int x, int y)
{
    GdiState& state = GdiState::Get();
    Lock lock(state.mutex);
    auto* r = state.FindAsLocked<RegionObject>(region);
    return r && Contains(*r, x, y) ? TRUE : FALSE;
}

int SetWindowRgn(HWND hwnd, HRGN region, BOOL redraw)
{
    if (!IsWindow(hwnd))
        return 0;
    GdiState& state = GdiState::Get();
    ForgetDeadWindowRegions(state);
    {
        Lock lock(state.mutex);
        ObjectRecord* record = region ? state.FindLocked(region) : nullptr;
        if (region && (!record || !std::holds_alternative<RegionObject>(record->object) || record->owned))
            return 0;
        auto it = state.windowRegions.find(hwnd);
        if (it != state.windowRegions.end()) {
            state.objects.erase(reinterpret_cast<uintptr_t>(it->second));
            state.windowRegions.erase(it);
        }
        if (record) {
            record->owned = true;
            state.windowRegions.emplace(hwnd, region);
        }
    }
    MarkWindowChanged(hwnd, WindowChangeStyle);
    if (redraw)
        InvalidateRect(hwnd, nullptr, TRUE);
    return 1;
}

int GetWindowRgn(HWND hwnd, HRGN region)
{
    GdiState& state = GdiState::Get();
    Lock lock(state.mutex);
    auto it = state.windowRegions.find(hwnd);
    auto* target = state.FindAsLocked<RegionObject>(region);
    if (it == state.windowRegions.end() || !target)
        return ERROR_REGION;
    auto* source = state.FindAsLocked<RegionObject>(it->second);
    if (!source)
        return ERROR_REGION;
    *target = *source;
    return SIMPLEREGION;
}

RegionShape GetRegionShape(HRGN region, RECT* box, SIZE* corner)
{
    GdiState& state = GdiState::Get();
    Lock lock(state.mutex);
    auto* r = state.FindAsLocked<RegionObject>(region);
    if (!r)
        return RegionShape::None;
    if (box)
        *box = r->box;
    if (corner)
        *corner = SIZE{r->cornerWidth, r->cornerHeight};
    switch (r->kind) {
    case RegionKind::Ellipse: return RegionShape::Ellipse;
    case RegionKind::RoundRectangle: return RegionShape::RoundRectangle;
    default: return RegionShape::Rectangle;
    }
}
