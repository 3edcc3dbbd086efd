// Drawing calls: resolve the device context, then hand the result to the backend.
#include "platform/gdi/Drawing.h"

#include "platform/gdi/FontMetrics.h"
#include "platform/gdi/GdiState.h"
#include "platform/gdi/TextLayout.h"
#include "platform/window/WindowGeometry.h"

#include <string>

using namespace tabrix::gdi_detail;

namespace {

constexpr size_t kLongestText = 1 << 20;  // longer texts are cut: no screen shows more

struct Resolved {
    DrawingTarget target;
    DcState dc;
    LOGFONTW font{};
    std::shared_ptr<DrawingBackend> backend;
};

bool Resolve(HDC hdc, Resolved* out)
{
    bool alive = WindowTokenAlive(hdc);
    GdiState& state = GdiState::Get();
    Lock lock(state.mutex);
    DcState* dc = state.DcLocked(hdc, alive);
    if (!dc)
        return false;
    out->dc = *dc;
    out->target = DrawingTarget{hdc, dc->window, dc->memory ? static_cast<HBITMAP>(dc->bitmap) : nullptr};
    out->font = SelectedFontLocked(state, *dc);
    out->backend = BackendLocked(state);
    return true;
}

bool BrushColour(const Resolved& r, HBRUSH brush, COLORREF* colour, bool* known)
{
    GdiState& state = GdiState::Get();
    Lock lock(state.mutex);
    auto value = reinterpret_cast<uintptr_t>(brush);
    *known = value != 0 && (value <= state.systemColours.size() || state.FindAsLocked<BrushObject>(brush));
    return BrushColourLocked(state, &r.dc, brush, colour);
}

bool PenOf(const Resolved& r, COLORREF* colour, int* width)
{
    GdiState& state = GdiState::Get();
    Lock lock(state.mutex);
    if (reinterpret_cast<uintptr_t>(r.dc.pen) == state.stock[DC_PEN]) {
        *colour = r.dc.dcPenColour;
        *width = 1;
        return true;
    }
    auto* pen = state.FindAsLocked<PenObject>(r.dc.pen);
    if (!pen || pen->log.lopnStyle == PS_NULL)
        return false;
    *colour = pen->log.lopnColor;
    *width = std::max<LONG>(1, pen->log.lopnWidth.x);
    return true;
}

std::u16string TextOf(LPCWSTR text, int count)
{
    if (!text)
        return {};
    size_t n = 0;
    if (count < 0)
        while (n < kLongestText && text[n])
            ++n;
    else
        n = std::min(static_cast<size_t>(count), kLongestText);
    return std::u16string(text, n);
}

MeasureWidth MeasurerFor(const Resolved& r)
{
    return [&r](std::u16string_view line) {
        SIZE size{};
        if (r.backend && r.backend->TextExtent(r.font, std::u16string(line), &size))
            return static_cast<int>(size.cx);
        return HeadlessTextWidth(r.font, line);
    };
}

int LineHeight(const Resolved& r)
{
    TEXTMETRICW tm{};
    if (!r.backend || !r.backend->TextMetrics(r.font, &tm))
        tm = HeadlessTextMetrics(r.font);
    return tm.tmHeight;
}

BOOL Blit(HDC target, RECT to, HDC source, RECT from, DWORD rop, BYTE alpha, bool perPixel)
{
    Resolved t;
    if (!Resolve(target, &t))
        return FALSE;
    HBITMAP bitmap = nullptr;
    {
        GdiState& state = GdiState::Get();
        Lock lock(state.mutex);
        DcState* s = state.DcLocked(source, false);  // a source is a memory DC
        if (!s || !s->memory)
            return FALSE;
        bitmap = static_cast<HBITMAP>(s->bitmap);
    }
    if (t.backend) {
        BitmapDrawing drawing;
        drawing.source = bitmap;
        drawing.from = from;
        drawing.to = to;
        drawing.rasterOperation = rop;
        drawing.constantAlpha = alpha;
        drawing.perPixelAlpha = perPixel;
        t.backend->DrawBitmap(t.target, drawing);
    }
    return TRUE;
}

}  // namespace

int FillRect(HDC hdc, const RECT* rect, HBRUSH brush)
{
    Resolved r;
    if (!rect || !Resolve(hdc, &r))
        return 0;
    COLORREF colour = 0;
    bool known = false;
    bool solid = BrushColour(r, brush, &colour, &known);
    if (!known)
        return 0;
    if (solid && r.backend && !IsRectEmpty(rect))
        r.backend->FillRect(r.target, *rect, colour);
    return 1;
}

int FrameRect(HDC hdc, const RECT* rect, HBRUSH brush)
{
    if (!rect)
        return 0;
    if (IsRectEmpty(rect))
        return 1;
    const RECT& a = *rect;
    RECT edges[4] = {{a.left, a.top, a.right, a.top + 1},
                     {a.left, a.bottom - 1, a.right, a.bottom},
                     {a.left, a.top, a.left + 1, a.bottom},
                     {a.right - 1, a.top, a.right, a.bottom}};
    for (const RECT& edge : edges)
        if (!FillRect(hdc, &edge, brush))
            return 0;
    return 1;
}

BOOL TextOutW(HDC hdc, int x, int y, LPCWSTR text, int count)
{
    Resolved r;
    if (!Resolve(hdc, &r) || count < 0 || (count > 0 && !text))
        return FALSE;
    if (!r.backend)
        return TRUE;
    TextDrawing drawing;
    TextLine line;
    line.text = TextOf(text, count);
    line.width = MeasurerFor(r)(line.text);
    line.origin = POINT{x, y};
    drawing.rect = RECT{x, y, x + line.width, y + LineHeight(r)};
    drawing.format = DT_NOCLIP | DT_SINGLELINE | DT_NOPREFIX;
    drawing.font = r.font;
    drawing.colour = r.dc.textColour;
    drawing.background = r.dc.backColour;
    drawing.backgroundMode = r.dc.backMode;
    drawing.lines.push_back(std::move(line));
    r.backend->DrawText(r.target, drawing);
    return TRUE;
}

int DrawTextW(HDC hdc, LPCWSTR text, int count, RECT* rect, UINT format)
{
    Resolved r;
    if (!rect || count < -1 || !Resolve(hdc, &r))
        return 0;
    std::u16string content = TextOf(text, count);
    TextLayoutResult layout = LayOutText(content, *rect, format, LineHeight(r), MeasurerFor(r));
    if (format & DT_CALCRECT) {
        rect->right = layout.extent.right;
        rect->bottom = layout.extent.bottom;
        return layout.returned;
    }
    if (r.backend && !layout.lines.empty()) {
        TextDrawing drawing;
        drawing.rect = *rect;
        drawing.format = format;
        drawing.font = r.font;
        drawing.colour = r.dc.textColour;
        drawing.background = r.dc.backColour;
        drawing.backgroundMode = r.dc.backMode;
        drawing.lines = std::move(layout.lines);
        r.backend->DrawText(r.target, drawing);
    }
    return layout.returned;
}

BOOL MoveToEx(HDC hdc, int x, int y, POINT* previous)
{
    bool alive = WindowTokenAlive(hdc);
    GdiState& state = GdiState::Get();
    Lock lock(state.mutex);
    DcState* dc = state.DcLocked(hdc, alive);
    if (!dc)
        return FALSE;
    if (previous)
        *previous = dc->position;
    dc->position = POINT{x, y};
    return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y)
{
    Resolved r;
    POINT from{};
    if (!MoveToEx(hdc, x, y, &from) || !Resolve(hdc, &r))
        return FALSE;
    COLORREF colour = 0;
    int width = 1;
    if (r.backend && PenOf(r, &colour, &width))
        r.backend->DrawLine(r.target, from, POINT{x, y}, colour, width);
    return TRUE;
}

BOOL BitBlt(HDC target, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
            DWORD rasterOperation)
{
    return Blit(target, RECT{x, y, x + width, y + height}, source,
                RECT{sourceX, sourceY, sourceX + width, sourceY + height}, rasterOperation, 255, false);
}

BOOL StretchBlt(HDC target, int x, int y, int width, int height, HDC source, int sourceX,
                int sourceY, int sourceWidth, int sourceHeight, DWORD rasterOperation)
{
    return Blit(target, RECT{x, y, x + width, y + height}, source,
                RECT{sourceX, sourceY, sourceX + sourceWidth, sourceY + sourceHeight}, rasterOperation,
                255, false);
}

BOOL GdiAlphaBlend(HDC target, int x, int y, int width, int height, HDC source, int sourceX,
                   int sourceY, int sourceWidth, int sourceHeight, BLENDFUNCTION blend)
{
    if (width < 0 || height < 0 || sourceWidth < 0 || sourceHeight < 0)
        return FALSE;
    return Blit(target, RECT{x, y, x + width, y + height}, source,
                RECT{sourceX, sourceY, sourceX + sourceWidth, sourceY + sourceHeight}, SRCCOPY,
                blend.SourceConstantAlpha, (blend.AlphaFormat & AC_SRC_ALPHA) != 0);
}
