// The TB_* messages of the "ToolbarWindow32" class.
#include "platform/controls/ToolbarControl.h"
#include "platform/controls/ToolbarState.h"
#include "platform/gdi/ImageList.h"
#include "platform/window/Paint.h"
#include "platform/window/PresenterHook.h"
#include "platform/window/WinMessages.h"
#include "platform/window/WinStyles.h"
#include "platform/window/Window.h"
#include "platform/window/WindowGeometry.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace tabrix::controls_detail {

namespace {

constexpr size_t kLongestText = 4096;
constexpr size_t kMostButtons = 10000;
// As a separator's width: the layout adds it to every row's positions.
constexpr int kWidestIndent = 32767;

std::u16string CopyText(LPCWSTR text)
{
    std::u16string out;
    for (size_t i = 0; text && text[i] && i < kLongestText; ++i)
        out.push_back(text[i]);
    return out;
}

ToolbarButton FromRecord(const TBBUTTON& record)
{
    ToolbarButton b;
    b.image = record.iBitmap;
    b.command = record.idCommand;
    b.state = record.fsState;
    b.style = record.fsStyle;
    b.data = record.dwData;
    b.stringField = record.iString;
    if (!IS_INTRESOURCE(reinterpret_cast<const void*>(record.iString)) && record.iString != -1) {
        b.ownText = true;
        b.text = CopyText(reinterpret_cast<LPCWSTR>(record.iString));
    }
    return b;
}

TBBUTTON ToRecord(const ToolbarButton& b)
{
    TBBUTTON record{};
    record.iBitmap = b.image;
    record.idCommand = b.command;
    record.fsState = b.state;
    record.fsStyle = b.style;
    record.dwData = b.data;
    record.iString = b.stringField;
    return record;
}

int IndexOfCommand(const ToolbarState& s, WPARAM command)
{
    for (size_t i = 0; i < s.buttons.size(); ++i)
        if (s.buttons[i].command == static_cast<int>(command))
            return static_cast<int>(i);
    return -1;
}

// Adds buttons at index (the end when past it); FALSE for a bad record size or pointer.
LRESULT InsertButtons(HWND hwnd, size_t index, size_t count, LPARAM records)
{
    auto* first = reinterpret_cast<const TBBUTTON*>(records);
    bool added = false;
    ToolbarStates().With(hwnd, [&](ToolbarState& s) {
        if (!first || count == 0 || s.structSize != sizeof(TBBUTTON) || s.buttons.size() + count > kMostButtons)
            return;
        index = std::min(index, s.buttons.size());
        std::vector<ToolbarButton> incoming;
        for (size_t i = 0; i < count; ++i)
            incoming.push_back(FromRecord(first[i]));
        s.buttons.insert(s.buttons.begin() + static_cast<ptrdiff_t>(index), incoming.begin(), incoming.end());
        added = true;
    });
    if (added)
        RelayoutToolbar(hwnd);
    return added ? TRUE : FALSE;
}

LRESULT AddStrings(HWND hwnd, WPARAM instance, LPARAM list)
{
    auto* text = reinterpret_cast<LPCWSTR>(list);
    if (instance || !text || IS_INTRESOURCE(text))
        return -1;  // string resources are not kept by toolbars here
    std::vector<std::u16string> incoming;
    size_t total = 0;
    while (*text && total < (1u << 20)) {
        std::u16string one = CopyText(text);
        text += one.size() + 1;
        total += one.size() + 1;
        incoming.push_back(std::move(one));
    }
    LRESULT first = -1;
    ToolbarStates().With(hwnd, [&](ToolbarState& s) {
        first = static_cast<LRESULT>(s.strings.size());
        s.strings.insert(s.strings.end(), incoming.begin(), incoming.end());
    });
    RelayoutToolbar(hwnd);
    return first;
}

// Changes a state bit of the button with that command; FALSE when there is none.
LRESULT ChangeStateBit(HWND hwnd, WPARAM command, BYTE bit, bool on)
{
    bool found = false, layout = bit == TBSTATE_HIDDEN;
    ToolbarStates().With(hwnd, [&](ToolbarState& s) {
        int i = IndexOfCommand(s, command);
        if (i < 0)
            return;
        found = true;
        BYTE& state = s.buttons[static_cast<size_t>(i)].state;
        state = static_cast<BYTE>(on ? state | bit : state & ~bit);
    });
    if (found && layout)
        RelayoutToolbar(hwnd);
    else if (found) {
        InvalidateRect(hwnd, nullptr, TRUE);
        MarkWindowChanged(hwnd, WindowChangeClassState);
    }
    return found ? TRUE : FALSE;
}

LRESULT TestStateBit(HWND hwnd, WPARAM command, BYTE bit)
{
    LRESULT result = 0;
    ToolbarStates().With(hwnd, [&](ToolbarState& s) {
        int i = IndexOfCommand(s, command);
        if (i >= 0)
            result = (s.buttons[static_cast<size_t>(i)].state & bit) ? TRUE : FALSE;
    });
    return result;
}

LRESULT SetImageList(HWND hwnd, HIMAGELIST ToolbarState::*slot, LPARAM list)
{
    HIMAGELIST previous = nullptr;
    auto handle = reinterpret_cast<HIMAGELIST>(list);
    int cx = 0, cy = 0;
    bool sized = handle && ImageList_GetIconSize(handle, &cx, &cy);
    ToolbarStates().With(hwnd, [&](ToolbarState& s) {
        previous = s.*slot;
        s.*slot = handle;
        if (sized && slot == &ToolbarState::images)
            s.bitmap = SIZE{cx, cy};
    });
    RelayoutToolbar(hwnd);
    return reinterpret_cast<LRESULT>(previous);
}

void AutoSize(HWND hwnd)
{
    RelayoutToolbar(hwnd);
    DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
    int height = 0;
    ToolbarStates().With(hwnd, [&](ToolbarState& s) { height = ToolbarHeight(s, style); });
    if (style & CCS_NORESIZE)
        return;
    RECT own{};
    GetWindowRect(hwnd, &own);
    HWND parent = GetParent(hwnd);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&own), 2);
    RECT area{0, 0, own.right - own.left, 0};
    if (parent)
        GetClientRect(parent, &area);
    int x = 0, y = (style & CCS_BOTTOM) == CCS_BOTTOM ? area.bottom - height : 0;
    if (style & CCS_NOPARENTALIGN) {
        x = own.left;
        y = own.top;
    } else if (style & CCS_NOMOVEY) {
        y = own.top;
    }
    int width = (style & CCS_NOPARENTALIGN) ? own.right - own.left : area.right;
    SetWindowPos(hwnd, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

template <typename F>
auto Read(HWND hwnd, F f) -> decltype(f(std::declval<ToolbarState&>()))
{
    decltype(f(std::declval<ToolbarState&>())) result{};
    ToolbarStates().With(hwnd, [&](ToolbarState& s) { result = f(s); });
    return result;
}

LRESULT CopyRect(HWND hwnd, int index, LPARAM out)
{
    auto* rect = reinterpret_cast<RECT*>(out);
    return Read(hwnd, [&](ToolbarState& s) -> LRESULT {
        if (!rect || index < 0 || static_cast<size_t>(index) >= s.buttons.size() || IsHidden(s.buttons[static_cast<size_t>(index)]))
            return FALSE;
        *rect = s.buttons[static_cast<size_t>(index)].rect;
        return TRUE;
    });
}

LRESULT GetButtonText(HWND hwnd, WPARAM command, LPARAM buffer)
{
    std::optional<std::u16string> text = Read(hwnd, [&](ToolbarState& s) -> std::optional<std::u16string> {
        int i = IndexOfCommand(s, command);
        if (i < 0)
            return std::nullopt;
        return ButtonText(s, s.buttons[static_cast<size_t>(i)]);
    });
    if (!text)
        return -1;
    if (auto* out = reinterpret_cast<WCHAR*>(buffer)) {
        text->copy(out, text->size());
        out[text->size()] = 0;
    }
    return static_cast<LRESULT>(text->size());
}

}  // namespace

LRESULT HandleToolbarMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, bool* handled)
{
    *handled = true;
    switch (message) {
    case TB_BUTTONSTRUCTSIZE: ToolbarStates().With(hwnd, [&](ToolbarState& s) { s.structSize = wParam; }); return 0;
    case TB_ADDBUTTONSA:
    case TB_ADDBUTTONSW: return InsertButtons(hwnd, static_cast<size_t>(-1), wParam, lParam);
    case TB_INSERTBUTTONA:
    case TB_INSERTBUTTONW: return InsertButtons(hwnd, static_cast<int>(wParam) < 0 ? static_cast<size_t>(-1) : wParam, 1, lParam);
    case TB_ADDSTRINGW: return AddStrings(hwnd, wParam, lParam);
    case TB_DELETEBUTTON: {
        bool deleted = Read(hwnd, [&](ToolbarState& s) {
            if (wParam >= s.buttons.size())
                return false;
            s.buttons.erase(s.buttons.begin() + static_cast<ptrdiff_t>(wParam));
            s.pressed = -1;
            return true;
        });
        if (deleted)
            RelayoutToolbar(hwnd);
        return deleted ? TRUE : FALSE;
    }
    case TB_GETBUTTON:
        return Read(hwnd, [&](ToolbarState& s) -> LRESULT {
            auto* out = reinterpret_cast<TBBUTTON*>(lParam);
            if (!out || wParam >= s.buttons.size())
                return FALSE;
            *out = ToRecord(s.buttons[wParam]);
            return TRUE;
        });
    case TB_BUTTONCOUNT: return Read(hwnd, [](ToolbarState& s) { return static_cast<LRESULT>(s.buttons.size()); });
    case TB_COMMANDTOINDEX: return Read(hwnd, [&](ToolbarState& s) { return static_cast<LRESULT>(IndexOfCommand(s, wParam)); });
    case TB_GETITEMRECT: return CopyRect(hwnd, static_cast<int>(wParam), lParam);
    case TB_GETRECT: return CopyRect(hwnd, Read(hwnd, [&](ToolbarState& s) { return IndexOfCommand(s, wParam); }), lParam);
    case TB_ENABLEBUTTON: return ChangeStateBit(hwnd, wParam, TBSTATE_ENABLED, LOWORD(static_cast<uintptr_t>(lParam)) != 0);
    case TB_CHECKBUTTON: return ChangeStateBit(hwnd, wParam, TBSTATE_CHECKED, LOWORD(static_cast<uintptr_t>(lParam)) != 0);
    case TB_PRESSBUTTON: return ChangeStateBit(hwnd, wParam, TBSTATE_PRESSED, LOWORD(static_cast<uintptr_t>(lParam)) != 0);
    case TB_HIDEBUTTON: return ChangeStateBit(hwnd, wParam, TBSTATE_HIDDEN, LOWORD(static_cast<uintptr_t>(lParam)) != 0);
    case TB_INDETERMINATE: return ChangeStateBit(hwnd, wParam, TBSTATE_INDETERMINATE, LOWORD(static_cast<uintptr_t>(lParam)) != 0);
    case TB_ISBUTTONENABLED: return TestStateBit(hwnd, wParam, TBSTATE_ENABLED);
    case TB_ISBUTTONCHECKED: return TestStateBit(hwnd, wParam, TBSTATE_CHECKED);
    case TB_ISBUTTONPRESSED: return TestStateBit(hwnd, wParam, TBSTATE_PRESSED);
    case TB_ISBUTTONHIDDEN: return TestStateBit(hwnd, wParam, TBSTATE_HIDDEN);
    case TB_ISBUTTONINDETERMINATE: return TestStateBit(hwnd, wParam, TBSTATE_INDETERMINATE);
    case TB_SETSTATE: {
        bool found = Read(hwnd, [&](ToolbarState& s) {
            int i = IndexOfCommand(s, wParam);
            if (i >= 0)
                s.buttons[static_cast<size_t>(i)].state = static_cast<BYTE>(LOWORD(static_cast<uintptr_t>(lParam)));
            return i >= 0;
        });
        if (found)
            RelayoutToolbar(hwnd);
        return found ? TRUE : FALSE;
    }
    case TB_GETSTATE:
        return Read(hwnd, [&](ToolbarState& s) -> LRESULT {
            int i = IndexOfCommand(s, wParam);
            return i < 0 ? -1 : s.buttons[static_cast<size_t>(i)].state;
        });
    case TB_SETCMDID:
        return Read(hwnd, [&](ToolbarState& s) -> LRESULT {
            if (wParam >= s.buttons.size())
                return FALSE;
            s.buttons[wParam].command = static_cast<int>(lParam);
            return TRUE;
        });
    case TB_SETBUTTONSIZE:
    case TB_SETBITMAPSIZE: {
        SIZE size{LOWORD(static_cast<uintptr_t>(lParam)), HIWORD(static_cast<uintptr_t>(lParam))};
        ToolbarStates().With(hwnd, [&](ToolbarState& s) { (message == TB_SETBUTTONSIZE ? s.explicitButton : s.bitmap) = size; });
        RelayoutToolbar(hwnd);
        return TRUE;
    }
    case TB_GETBUTTONSIZE:
        return Read(hwnd, [](ToolbarState& s) { return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(s.button.cx), static_cast<WORD>(s.button.cy))); });
    case TB_AUTOSIZE: AutoSize(hwnd); return 0;
    case TB_GETTOOLTIPS: return Read(hwnd, [](ToolbarState& s) { return reinterpret_cast<LRESULT>(s.tooltip); });
    case TB_SETTOOLTIPS:
        ToolbarStates().With(hwnd, [&](ToolbarState& s) {
            s.tooltip = reinterpret_cast<HWND>(wParam);
            s.ownsTooltip = false;
            s.toolCommands.clear();
        });
        RelayoutToolbar(hwnd);
        return 0;
    case TB_SETPARENT:
        return Read(hwnd, [&](ToolbarState& s) { return reinterpret_cast<LRESULT>(std::exchange(s.notify, reinterpret_cast<HWND>(wParam))); });
    case TB_GETROWS: return Read(hwnd, [](ToolbarState& s) { return static_cast<LRESULT>(s.rows); });
    case TB_SETINDENT:
        ToolbarStates().With(hwnd, [&](ToolbarState& s) { s.indent = std::clamp(static_cast<int>(wParam), 0, kWidestIndent); });
        RelayoutToolbar(hwnd);
        return TRUE;
    case TB_SETIMAGELIST: return SetImageList(hwnd, &ToolbarState::images, lParam);
    case TB_SETHOTIMAGELIST: return SetImageList(hwnd, &ToolbarState::hotImages, lParam);
    case TB_SETDISABLEDIMAGELIST: return SetImageList(hwnd, &ToolbarState::disabledImages, lParam);
    case TB_GETIMAGELIST: return Read(hwnd, [](ToolbarState& s) { return reinterpret_cast<LRESULT>(s.images); });
    case TB_GETHOTIMAGELIST: return Read(hwnd, [](ToolbarState& s) { return reinterpret_cast<LRESULT>(s.hotImages); });
    case TB_GETDISABLEDIMAGELIST: return Read(hwnd, [](ToolbarState& s) { return reinterpret_cast<LRESULT>(s.disabledImages); });
    case TB_SETSTYLE: SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>(lParam)); return 0;
    case TB_GETSTYLE: return static_cast<LRESULT>(static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)));
    case TB_SETMAXTEXTROWS:
        ToolbarStates().With(hwnd, [&](ToolbarState& s) { s.maxTextRows = std::max(0, static_cast<int>(wParam)); });
        RelayoutToolbar(hwnd);
        return TRUE;
    case TB_GETTEXTROWS: return Read(hwnd, [](ToolbarState& s) { return static_cast<LRESULT>(s.maxTextRows); });
    case TB_HITTEST: {
        auto* point = reinterpret_cast<const POINT*>(lParam);
        return Read(hwnd, [&](ToolbarState& s) -> LRESULT {
            int i = point ? ButtonAt(s, *point) : -1;
            if (i < 0)
                return -1;
            return IsSeparator(s.buttons[static_cast<size_t>(i)]) ? -i : i;
        });
    }
    case TB_GETBUTTONTEXTW: return GetButtonText(hwnd, wParam, lParam);
    case TB_GETMAXSIZE: {
        auto* size = reinterpret_cast<SIZE*>(lParam);
        return Read(hwnd, [&](ToolbarState& s) -> LRESULT {
            if (!size)
                return FALSE;
            *size = SIZE{0, 0};
            for (const ToolbarButton& b : s.buttons) {
                size->cx = std::max(size->cx, b.rect.right);
                size->cy = std::max(size->cy, b.rect.bottom);
            }
            return TRUE;
        });
    }
    case TB_SETEXTENDEDSTYLE: {
        LRESULT previous = Read(hwnd, [&](ToolbarState& s) {
            DWORD old = s.extendedStyle;
            DWORD mask = wParam ? static_cast<DWORD>(wParam) : 0xFFFFFFFF;
            s.extendedStyle = (old & ~mask) | (static_cast<DWORD>(lParam) & mask);
            return static_cast<LRESULT>(old);
        });
        RelayoutToolbar(hwnd);
        return previous;
    }
    case TB_GETEXTENDEDSTYLE: return Read(hwnd, [](ToolbarState& s) { return static_cast<LRESULT>(s.extendedStyle); });
    default: *handled = false; return 0;
    }
}

}  // namespace tabrix::controls_detail
