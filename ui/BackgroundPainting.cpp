#include "ui/BackgroundPainting.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/SystemColors.h"
#include "platform/window/WindowGeometry.h"
#include "ui/UiConstants.h"

#include <algorithm>

namespace {

void Blit(HDC hdc, HDC source, const BITMAP& info, const RECT& target)
{
    const int width = target.right - target.left;
    const int height = target.bottom - target.top;
    if (info.bmBitsPixel == 32 && info.bmBits) {
        BLENDFUNCTION blend{0, 0, 255, 1};  // AC_SRC_OVER with the pixels' own alpha
        GdiAlphaBlend(hdc, target.left, target.top, width, height, source, 0, 0, info.bmWidth, info.bmHeight, blend);
    } else if (width == info.bmWidth && height == info.bmHeight) {
        BitBlt(hdc, target.left, target.top, width, height, source, 0, 0, SRCCOPY);
    } else {
        StretchBlt(hdc, target.left, target.top, width, height, source, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    }
}

void DrawPicture(HDC hdc, const RECT& client, const RECT& area, HBITMAP picture, int32_t mode)
{
    BITMAP info{};
    if (!GetObjectW(picture, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0)
        return;
    HDC source = CreateCompatibleDC(hdc);
    HGDIOBJ old = SelectObject(source, picture);
    const int w = info.bmWidth, h = info.bmHeight;
    if (mode == 1) {
        for (int y = client.top; y < client.bottom; y += h)
            for (int x = client.left; x < client.right; x += w) {
                RECT tile{x, y, x + w, y + h}, visible{};
                if (IntersectRect(&visible, &tile, &area))
                    Blit(hdc, source, info, tile);
            }
    } else if (mode == 2) {
        const int cw = client.right - client.left, ch = client.bottom - client.top;
        const double scale = std::min({1.0, static_cast<double>(cw) / w, static_cast<double>(ch) / h});
        const int sw = static_cast<int>(w * scale), sh = static_cast<int>(h * scale);
        const int x = client.left + (cw - sw) / 2, y = client.top + (ch - sh) / 2;
        Blit(hdc, source, info, RECT{x, y, x + sw, y + sh});
    } else if (mode == 3) {
        Blit(hdc, source, info, client);
    } else {
        Blit(hdc, source, info, RECT{client.left, client.top, client.left + w, client.top + h});
    }
    SelectObject(source, old);
    DeleteDC(source);
}

}  // namespace

COLORREF ResolveColour(uint32_t colour, int systemIndex)
{
    return colour == kSystemColour ? GetSysColor(systemIndex) : static_cast<COLORREF>(colour);
}

void PaintBackground(HDC hdc, const RECT& client, const RECT& area, const BackgroundStyle& style)
{
    if (!style.transparent) {
        HBRUSH brush = CreateSolidBrush(ResolveColour(style.backColor, COLOR_BTNFACE));
        FillRect(hdc, &area, brush);
        DeleteObject(brush);
    }
    if (style.picture)
        DrawPicture(hdc, client, area, style.picture, style.pictureMode);
}

bool PaintArea(HWND hwnd, HDC hdc, RECT* client, RECT* area)
{
    RECT clip{};
    GetClipBox(hdc, &clip);
    GetClientRect(hwnd, client);
    return IntersectRect(area, &clip, client) != FALSE;
}
