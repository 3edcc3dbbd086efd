#pragma once
// Internal state of the drawing layer: one table of drawing objects (fonts, brushes, pens, bitmaps,
// regions), the device contexts, icons and image lists, all under one lock.
// Not part of the public interface: include only from the drawing layer's own sources.
// Thread safety: every field is guarded by GdiState::mutex. The lock is never held while a drawing
// backend, a window procedure or any function of the window core runs: a presenter reads drawing
// objects while it holds the core's lock, so taking the core's lock under ours could deadlock.
#include "platform/gdi/DrawingBackend.h"
#include "platform/gdi/GdiTypes.h"
#include "platform/gdi/PixelBitmap.h"

#include <memory>
#include <mutex>
#include <unordered_map>
#include <variant>
#include <vector>

namespace tabrix::gdi_detail {

struct FontObject {
    LOGFONTW log{};
};
struct BrushObject {
    LOGBRUSH log{};
};
struct PenObject {
    LOGPEN log{};
};
struct BitmapObject {
    PixelBitmap picture;
};
enum class RegionKind { Rectangle, Ellipse, RoundRectangle };
struct RegionObject {
    RegionKind kind = RegionKind::Rectangle;
    RECT box{};
    int cornerWidth = 0;
    int cornerHeight = 0;
};

struct ObjectRecord {
    std::variant<FontObject, BrushObject, PenObject, BitmapObject, RegionObject> object;
    bool stock = false;     // never deleted
    bool owned = false;     // a window region: the system owns it
    int selections = 0;     // how many device contexts have it selected
};

struct DcState {
    HWND window = nullptr;  // window and paint DCs; null for memory DCs
    bool memory = false;
    HGDIOBJ font = nullptr;
    HGDIOBJ brush = nullptr;
    HGDIOBJ pen = nullptr;
    HGDIOBJ bitmap = nullptr;
    COLORREF textColour = 0x000000;
    COLORREF backColour = 0xFFFFFF;
    COLORREF dcBrushColour = 0xFFFFFF;
    COLORREF dcPenColour = 0x000000;
    int backMode = 2;  // OPAQUE
    int stretchMode = 1;
    POINT position{0, 0};
};

struct IconRecord {
    PixelBitmap picture;
    POINT hotspot{0, 0};
    bool cursor = false;
    WORD standardId = 0;  // a system cursor or icon (shared, never destroyed)
};

struct ImageListRecord {
    int cx = 0;
    int cy = 0;
    UINT flags = 0;
    int grow = 4;
    COLORREF background = CLR_NONE;
    std::vector<PixelBitmap> images;
};

class GdiState {
public:
    static GdiState& Get();

    std::mutex mutex;
    std::unordered_map<uintptr_t, ObjectRecord> objects;
    std::unordered_map<uintptr_t, DcState> dcs;
    std::unordered_map<uintptr_t, IconRecord> icons;
    std::unordered_map<uintptr_t, ImageListRecord> imageLists;
    std::unordered_map<HWND, HRGN> windowRegions;
    std::vector<uintptr_t> stock;  // by stock index; 0 where there is none
    std::vector<uintptr_t> systemColourBrushes;  // by colour index
    std::vector<COLORREF> systemColours;          // by colour index
    uintptr_t defaultBitmap = 0;                  // what a new memory DC has selected
    std::unordered_map<uint32_t, uintptr_t> standardIcons;  // (id | cursor << 16) to handle
    HCURSOR currentCursor = nullptr;
    int dpi = 96;
    size_t pruneAt = 256;  // when the DC table grows to this, dead windows' DCs are forgotten
    std::shared_ptr<DrawingBackend> backend;

    uintptr_t NewHandleLocked();
    ObjectRecord* FindLocked(HGDIOBJ handle);
    template <typename T>
    T* FindAsLocked(HGDIOBJ handle)
    {
        ObjectRecord* record = FindLocked(handle);
        return record ? std::get_if<T>(&record->object) : nullptr;
    }
    // The state of a device context: memory DCs from the table, window DCs (the token BeginPaint
    // and GetDC hand out is the window handle, the screen's the desktop's) made on first use when
    // windowAlive, which the caller learnt from WindowTokenAlive before locking. Null when unknown.
    DcState* DcLocked(HDC hdc, bool windowAlive);
    uintptr_t AddLocked(ObjectRecord record);

private:
    GdiState();
    uintptr_t nextHandle_ = 0x7A000010;
};

using Lock = std::unique_lock<std::mutex>;

// Whether a device-context token names a live window or the screen. Call without the lock; it also
// forgets the states of window DCs whose windows have gone, now and then.
bool WindowTokenAlive(HDC hdc);

// The font a device context draws with, as a description (the stock system font when none).
LOGFONTW SelectedFontLocked(GdiState& state, const DcState& dc);
COLORREF SystemColourLocked(GdiState& state, int index);
// Colour of a brush handle, including the (COLOR_* + 1) system-colour form; false for a null or
// hollow brush.
bool BrushColourLocked(GdiState& state, const DcState* dc, HBRUSH brush, COLORREF* colour);
std::shared_ptr<DrawingBackend> BackendLocked(GdiState& state);

}  // namespace tabrix::gdi_detail
