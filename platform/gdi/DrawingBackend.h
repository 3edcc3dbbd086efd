#pragma once
// The small drawing interface behind the drawing functions. Headless nothing is installed and
// every drawing call only keeps the device context's state; a desktop presenter (or a test)
// installs a backend that receives what was drawn and may answer text measurements with real font
// metrics. Where the drawing lands: a window (window and paint device contexts) or the bitmap
// selected into a memory device context.
// Thread safety: SetDrawingBackend from any thread. A backend is called on whichever thread draws
// (windows of worker threads paint on their own thread), never with a lock of the drawing layer
// held, so it may call the drawing layer's reading functions (GetBitmapPixels and friends).
#include "platform/gdi/GdiTypes.h"

#include <memory>
#include <string>
#include <vector>

struct DrawingTarget {
    HDC hdc = nullptr;
    HWND window = nullptr;    // the window drawn on; null for a memory device context
    HBITMAP bitmap = nullptr; // the bitmap selected into a memory device context
};

struct TextLine {
    std::u16string text;  // the line as shown (prefix marks removed)
    POINT origin{};       // left-top corner of the line
    int width = 0;
};

struct TextDrawing {
    RECT rect{};            // the formatting rectangle as given
    UINT format = 0;        // DT_* flags (TextOutW passes DT_NOCLIP | DT_SINGLELINE | DT_NOPREFIX)
    LOGFONTW font{};
    COLORREF colour = 0;
    COLORREF background = 0;
    int backgroundMode = 2;  // TRANSPARENT 1 or OPAQUE 2
    std::vector<TextLine> lines;
};

struct BitmapDrawing {
    HBITMAP source = nullptr;        // a bitmap, or
    HIMAGELIST imageList = nullptr;  // one image of an image list
    int image = -1;
    RECT from{};  // in the source's pixels
    RECT to{};    // in the target's coordinates
    DWORD rasterOperation = 0x00CC0020;  // SRCCOPY
    BYTE constantAlpha = 255;
    bool perPixelAlpha = false;  // blend with the source's alpha (GdiAlphaBlend with AC_SRC_ALPHA, image lists)
};

class DrawingBackend {
public:
    virtual ~DrawingBackend() = default;
    virtual void FillRect(const DrawingTarget&, const RECT&, COLORREF) {}
    virtual void DrawText(const DrawingTarget&, const TextDrawing&) {}
    virtual void DrawLine(const DrawingTarget&, POINT, POINT, COLORREF, int /*width*/) {}
    virtual void DrawBitmap(const DrawingTarget&, const BitmapDrawing&) {}
    // Real metrics for a font; false keeps the headless model (FontMetrics.h).
    virtual bool TextMetrics(const LOGFONTW&, TEXTMETRICW*) { return false; }
    virtual bool TextExtent(const LOGFONTW&, const std::u16string&, SIZE*) { return false; }
};

// Installs (or, with null, removes) the backend.
void SetDrawingBackend(std::shared_ptr<DrawingBackend> backend);
std::shared_ptr<DrawingBackend> GetDrawingBackend();
