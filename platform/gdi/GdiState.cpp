// The drawing layer's tables and the stock objects.
#include "platform/gdi/GdiState.h"

#include "platform/gdi/GdiConstants.h"
#include "platform/window/Window.h"

#include <algorithm>

namespace tabrix::gdi_detail {

namespace {

constexpr size_t kSmallestPruneSize = 256;

LOGFONTW StockFont(LONG height, LONG weight, BYTE pitchAndFamily, const char16_t* face)
{
    LOGFONTW f{};
    f.lfHeight = height;
    f.lfWeight = weight;
    f.lfCharSet = DEFAULT_CHARSET;
    f.lfPitchAndFamily = pitchAndFamily;
    for (int i = 0; face[i] && i < LF_FACESIZE - 1; ++i)
        f.lfFaceName[i] = face[i];
    return f;
}

// The light scheme of the original desktop.
std::vector<COLORREF> DefaultSystemColours()
{
    std::vector<COLORREF> c(31, 0);
    c[COLOR_SCROLLBAR] = RGB(200, 200, 200);
    c[COLOR_BACKGROUND] = RGB(0, 0, 0);
    c[COLOR_ACTIVECAPTION] = RGB(153, 180, 209);
    c[COLOR_INACTIVECAPTION] = RGB(191, 205, 219);
    c[COLOR_MENU] = RGB(240, 240, 240);
    c[COLOR_WINDOW] = RGB(255, 255, 255);
    c[COLOR_WINDOWFRAME] = RGB(100, 100, 100);
    c[COLOR_MENUTEXT] = RGB(0, 0, 0);
    c[COLOR_WINDOWTEXT] = RGB(0, 0, 0);
    c[COLOR_CAPTIONTEXT] = RGB(0, 0, 0);
    c[COLOR_ACTIVEBORDER] = RGB(180, 180, 180);
    c[COLOR_INACTIVEBORDER] = RGB(244, 247, 252);
    c[COLOR_APPWORKSPACE] = RGB(171, 171, 171);
    c[COLOR_HIGHLIGHT] = RGB(0, 120, 215);
    c[COLOR_HIGHLIGHTTEXT] = RGB(255, 255, 255);
    c[COLOR_BTNFACE] = RGB(240, 240, 240);
    c[COLOR_BTNSHADOW] = RGB(160, 160, 160);
    c[COLOR_GRAYTEXT] = RGB(109, 109, 109);
    c[COLOR_BTNTEXT] = RGB(0, 0, 0);
    c[COLOR_INACTIVECAPTIONTEXT] = RGB(0, 0, 0);
    c[COLOR_BTNHIGHLIGHT] = RGB(255, 255, 255);
    c[COLOR_3DDKSHADOW] = RGB(105, 105, 105);
    c[COLOR_3DLIGHT] = RGB(227, 227, 227);
    c[COLOR_INFOTEXT] = RGB(0, 0, 0);
    c[COLOR_INFOBK] = RGB(255, 255, 225);
    c[25] = RGB(180, 180, 180);
    c[COLOR_HOTLIGHT] = RGB(0, 102, 204);
    c[COLOR_GRADIENTACTIVECAPTION] = RGB(185, 209, 234);
    c[COLOR_GRADIENTINACTIVECAPTION] = RGB(215, 228, 242);
    c[COLOR_MENUHILIGHT] = RGB(0, 120, 215);
    c[COLOR_MENUBAR] = RGB(240, 240, 240);
    return c;
}

bool WindowAlive(HWND hwnd) { return IsWindow(hwnd) || (hwnd && hwnd == GetDesktopWindow()); }

void ForgetSelectionsLocked(GdiState& state, const DcState& dc)
{
    for (HGDIOBJ selected : {dc.font, dc.brush, dc.pen, dc.bitmap})
        if (ObjectRecord* record = state.FindLocked(selected))
            record->selections = std::max(0, record->selections - 1);
}

// Forgets the states of window DCs whose windows are gone; the windows are asked without our lock.
void PruneWindowDcs(GdiState& state)
{
    std::vector<std::pair<uintptr_t, HWND>> windows;
    {
        Lock lock(state.mutex);
        for (const auto& [key, dc] : state.dcs)
            if (dc.window)
                windows.emplace_back(key, dc.window);
    }
    std::vector<uintptr_t> dead;
    for (const auto& [key, hwnd] : windows)
        if (!WindowAlive(hwnd))
            dead.push_back(key);
    Lock lock(state.mutex);
    for (uintptr_t key : dead) {
        auto it = state.dcs.find(key);
        if (it == state.dcs.end() || !it->second.window)
            continue;
        ForgetSelectionsLocked(state, it->second);
        state.dcs.erase(it);
    }
}

}  // namespace

GdiState& GdiState::Get()
{
    static GdiState* state = new GdiState();  // never destroyed: threads may draw during exit
    return *state;
}

GdiState::GdiState() : systemColours(DefaultSystemColours())
{
    stock.assign(DC_PEN + 1, 0);
    auto brush = [&](int index, UINT style, COLORREF colour) {
        stock[index] = AddLocked(ObjectRecord{BrushObject{LOGBRUSH{style, colour, 0}}, true});
    };
    brush(WHITE_BRUSH, BS_SOLID, RGB(255, 255, 255));
    brush(LTGRAY_BRUSH, BS_SOLID, RGB(192, 192, 192));
    brush(GRAY_BRUSH, BS_SOLID, RGB(128, 128, 128));
    brush(DKGRAY_BRUSH, BS_SOLID, RGB(64, 64, 64));
    brush(BLACK_BRUSH, BS_SOLID, RGB(0, 0, 0));
    brush(NULL_BRUSH, BS_NULL, 0);
    brush(DC_BRUSH, BS_SOLID, RGB(255, 255, 255));
    auto pen = [&](int index, UINT style, COLORREF colour) {
        stock[index] = AddLocked(ObjectRecord{PenObject{LOGPEN{style, POINT{1, 0}, colour}}, true});
    };
    pen(WHITE_PEN, PS_SOLID, RGB(255, 255, 255));
    pen(BLACK_PEN, PS_SOLID, RGB(0, 0, 0));
    pen(NULL_PEN, PS_NULL, 0);
    pen(DC_PEN, PS_SOLID, RGB(0, 0, 0));
    auto font = [&](int index, const LOGFONTW& log) {
        stock[index] = AddLocked(ObjectRecord{FontObject{log}, true});
    };
    constexpr BYTE kFixed = 0x31;     // FIXED_PITCH | FF_MODERN
    constexpr BYTE kVariable = 0x22;  // VARIABLE_PITCH | FF_SWISS
    font(OEM_FIXED_FONT, StockFont(12, FW_NORMAL, kFixed, u"Terminal"));
    font(ANSI_FIXED_FONT, StockFont(12, FW_NORMAL, kFixed, u"Courier"));
    font(ANSI_VAR_FONT, StockFont(12, FW_NORMAL, kVariable, u"MS Sans Serif"));
    font(SYSTEM_FONT, StockFont(16, FW_BOLD, kVariable, u"System"));
    font(DEVICE_DEFAULT_FONT, StockFont(16, FW_BOLD, kVariable, u"System"));
    font(SYSTEM_FIXED_FONT, StockFont(16, FW_NORMAL, kFixed, u"Fixedsys"));
    font(DEFAULT_GUI_FONT, StockFont(-12, FW_NORMAL, DEFAULT_PITCH, u""));
    systemColourBrushes.assign(systemColours.size(), 0);
    for (size_t i = 0; i < systemColours.size(); ++i)
        systemColourBrushes[i] =
            AddLocked(ObjectRecord{BrushObject{LOGBRUSH{BS_SOLID, systemColours[i], 0}}, true});
    defaultBitmap = AddLocked(ObjectRecord{BitmapObject{PixelBitmap(1, 1, 0xFF000000)}, true});
}

uintptr_t GdiState::NewHandleLocked()
{
    uintptr_t handle = nextHandle_;
    nextHandle_ += 0x10;
    return handle;
}

uintptr_t GdiState::AddLocked(ObjectRecord record)
{
    uintptr_t handle = NewHandleLocked();
    objects.emplace(handle, std::move(record));
    return handle;
}

ObjectRecord* GdiState::FindLocked(HGDIOBJ handle)
{
    auto it = objects.find(reinterpret_cast<uintptr_t>(handle));
    return it == objects.end() ? nullptr : &it->second;
}

DcState* GdiState::DcLocked(HDC hdc, bool windowAlive)
{
    if (!hdc)
        return nullptr;
    auto key = reinterpret_cast<uintptr_t>(hdc);
    auto it = dcs.find(key);
    if (it != dcs.end()) {
        if (!it->second.window || windowAlive)
            return &it->second;
        // A window DC of a window that has gone: forget the old state.
        ForgetSelectionsLocked(*this, it->second);
        dcs.erase(it);
    }
    if (!windowAlive)
        return nullptr;
    DcState dc;
    dc.window = reinterpret_cast<HWND>(hdc);
    dc.font = reinterpret_cast<HGDIOBJ>(stock[SYSTEM_FONT]);
    dc.brush = reinterpret_cast<HGDIOBJ>(stock[WHITE_BRUSH]);
    dc.pen = reinterpret_cast<HGDIOBJ>(stock[BLACK_PEN]);
    return &dcs.emplace(key, dc).first->second;
}

bool WindowTokenAlive(HDC hdc)
{
    GdiState& state = GdiState::Get();
    bool prune = false;
    {
        Lock lock(state.mutex);
        auto it = state.dcs.find(reinterpret_cast<uintptr_t>(hdc));
        if (it != state.dcs.end() && it->second.memory)
            return false;
        prune = state.dcs.size() >= state.pruneAt;
    }
    if (prune) {
        PruneWindowDcs(state);
        Lock lock(state.mutex);
        state.pruneAt = std::max(kSmallestPruneSize, 2 * state.dcs.size());
    }
    return WindowAlive(reinterpret_cast<HWND>(hdc));
}

LOGFONTW SelectedFontLocked(GdiState& state, const DcState& dc)
{
    if (auto* font = state.FindAsLocked<FontObject>(dc.font))
        return font->log;
    return state.FindAsLocked<FontObject>(reinterpret_cast<HGDIOBJ>(state.stock[SYSTEM_FONT]))->log;
}

COLORREF SystemColourLocked(GdiState& state, int index)
{
    if (index < 0 || static_cast<size_t>(index) >= state.systemColours.size())
        return 0;
    return state.systemColours[static_cast<size_t>(index)];
}

bool BrushColourLocked(GdiState& state, const DcState* dc, HBRUSH brush, COLORREF* colour)
{
    auto value = reinterpret_cast<uintptr_t>(brush);
    if (value == 0)
        return false;
    if (value <= state.systemColours.size()) {  // (COLOR_* + 1)
        *colour = SystemColourLocked(state, static_cast<int>(value - 1));
        return true;
    }
    if (value == state.stock[DC_BRUSH]) {
        *colour = dc ? dc->dcBrushColour : RGB(255, 255, 255);
        return true;
    }
    auto* object = state.FindAsLocked<BrushObject>(brush);
    if (!object || object->log.lbStyle == BS_NULL)
        return false;
    *colour = object->log.lbColor;
    return true;
}

std::shared_ptr<DrawingBackend> BackendLocked(GdiState& state) { return state.backend; }

}  // namespace tabrix::gdi_detail

using namespace tabrix::gdi_detail;

void SetDrawingBackend(std::shared_ptr<DrawingBackend> backend)
{
    GdiState& state = GdiState::Get();
    Lock lock(state.mutex);
    state.backend = std::move(backend);
}

std::shared_ptr<DrawingBackend> GetDrawingBackend()
{
    GdiState& state = GdiState::Get();
    Lock lock(state.mutex);
    return state.backend;
}
