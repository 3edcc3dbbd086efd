#pragma once
// A drawing backend for tests: records what was drawn, in order, under a lock.
#include "platform/gdi/DrawingBackend.h"

#include <memory>
#include <mutex>
#include <vector>

namespace gdi_test {

struct Fill {
    DrawingTarget target;
    RECT rect;
    COLORREF colour;
};

class RecordingBackend : public DrawingBackend {
public:
    void FillRect(const DrawingTarget& t, const RECT& r, COLORREF c) override
    {
        std::lock_guard guard(mutex);
        fills.push_back(Fill{t, r, c});
    }
    void DrawText(const DrawingTarget&, const TextDrawing& text) override
    {
        std::lock_guard guard(mutex);
        texts.push_back(text);
    }
    void DrawLine(const DrawingTarget&, POINT from, POINT to, COLORREF colour, int) override
    {
        std::lock_guard guard(mutex);
        lines.push_back({from, to, colour});
    }
    void DrawBitmap(const DrawingTarget&, const BitmapDrawing& b) override
    {
        std::lock_guard guard(mutex);
        bitmaps.push_back(b);
    }
    struct Line {
        POINT from, to;
        COLORREF colour;
    };
    std::mutex mutex;
    std::vector<Fill> fills;
    std::vector<TextDrawing> texts;
    std::vector<Line> lines;
    std::vector<BitmapDrawing> bitmaps;
};

// Installs a recording backend for the scope of a test.
class BackendScope {
public:
    BackendScope() : backend(std::make_shared<RecordingBackend>()) { SetDrawingBackend(backend); }
    ~BackendScope() { SetDrawingBackend(nullptr); }
    RecordingBackend* operator->() { return backend.get(); }
    std::shared_ptr<RecordingBackend> backend;
};

}  // namespace gdi_test
