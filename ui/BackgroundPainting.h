#pragma once
// Painting the background of library windows that paint themselves (layouters, forms, labels):
// a fill with the background colour unless transparent, then the background picture by mode
// (0 top-left unscaled, 1 tiled, 2 centred and shrunk to fit, 3 stretched); 32-bit pictures with
// pixel data are blended with their alpha, others copied. Used inside WM_PAINT on the window's thread.
#include "platform/gdi/GdiTypes.h"

#include <cstdint>

// The colour a field stands for: kSystemColour means the system colour systemIndex.
COLORREF ResolveColour(uint32_t colour, int systemIndex);

struct BackgroundStyle {
    uint32_t backColor = 0xFF000000u;
    bool transparent = false;
    HBITMAP picture = nullptr;
    int32_t pictureMode = 0;
};

// area: the part to paint (the update clip box within the client rectangle).
void PaintBackground(HDC hdc, const RECT& client, const RECT& area, const BackgroundStyle& style);

// The update area of a paint: the clip box within the client rectangle; false when empty.
bool PaintArea(HWND hwnd, HDC hdc, RECT* client, RECT* area);
