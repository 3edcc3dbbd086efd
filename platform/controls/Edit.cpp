// The "Edit" class.
#include "platform/controls/ControlProcs.h"
#include "platform/controls/ControlSupport.h"
#include "platform/controls/EditControl.h"
#include "platform/controls/EditText.h"
#include "platform/controls/MessageBeep.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/FontMetrics.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/SystemColors.h"
#include "platform/window/Focus.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Paint.h"
#include "platform/window/WinMessages.h"
#include "platform/window/WinStyles.h"
#include "platform/window/Window.h"
#include "platform/window/WindowGeometry.h"

#include <algorithm>
#include <cstring>

namespace tabrix::controls_detail {

namespace {

constexpr LONG_PTR kDefaultLimit = 32767;
constexpr LONG_PTR kLargestSingleLineLimit = 0x7FFFFFFE;
constexpr LONG_PTR kLargestMultiLineLimit = 0xFFFFFFFF;
constexpr UINT kVkHome = 0x24;
constexpr UINT kVkEnd = 0x23;

struct Undo {
    bool valid = false;
    std::u16string text;
    LONG_PTR anchor = 0;
    LONG_PTR caret = 0;
};
// Never destroyed: windows of threads that end during exit still erase their entries.
WindowStateTable<Undo>& g_undo = *new WindowStateTable<Undo>();

std::mutex g_clipboardMutex;
std::u16string g_clipboard;

// Who makes a change decides which rules apply to it.
enum class Source { Typing, Paste, Program };

bool Multiline(HWND hwnd) { return (StyleOf(hwnd) & ES_MULTILINE) != 0; }
bool ReadOnly(HWND hwnd) { return (StyleOf(hwnd) & ES_READONLY) != 0; }

struct Selection {
    size_t start;
    size_t end;
};

Selection OrderedSelection(HWND hwnd, size_t length)
{
    auto anchor = static_cast<size_t>(std::clamp<LONG_PTR>(Slot(hwnd, EDIT_EXTRA_ANCHOR), 0, static_cast<LONG_PTR>(length)));
    auto caret = static_cast<size_t>(std::clamp<LONG_PTR>(Slot(hwnd, EDIT_EXTRA_CARET), 0, static_cast<LONG_PTR>(length)));
    return Selection{std::min(anchor, caret), std::max(anchor, caret)};
}

void Select(HWND hwnd, size_t anchor, size_t caret)
{
    SetSlot(hwnd, EDIT_EXTRA_ANCHOR, static_cast<LONG_PTR>(anchor));
    SetSlot(hwnd, EDIT_EXTRA_CARET, static_cast<LONG_PTR>(caret));
}

void AnnounceChange(HWND hwnd)
{
    InvalidateRect(hwnd, nullptr, TRUE);
    NotifyParentCommand(hwnd, EN_UPDATE);
    NotifyParentCommand(hwnd, EN_CHANGE);
}

void RememberForUndo(HWND hwnd, const std::u16string& text)
{
    LONG_PTR anchor = Slot(hwnd, EDIT_EXTRA_ANCHOR), caret = Slot(hwnd, EDIT_EXTRA_CARET);
    g_undo.With(hwnd, [&](Undo& undo) { undo = Undo{true, text, anchor, caret}; });
}

// Replaces the selection with insertion under the rules of its source; false when nothing changed.
bool ReplaceSelection(HWND hwnd, std::u16string insertion, Source source, bool canUndo)
{
    std::u16string text = StoredText(hwnd);
    Selection sel = OrderedSelection(hwnd, text.size());
    if (insertion.empty() && sel.start == sel.end)
        return false;
    if (source != Source::Program) {
        DWORD style = StyleOf(hwnd);
        insertion = ConvertCase(insertion, (style & ES_UPPERCASE) ? CaseConversion::Upper
                                           : (style & ES_LOWERCASE) ? CaseConversion::Lower
                                                                    : CaseConversion::None);
    }
    auto limit = static_cast<size_t>(std::max<LONG_PTR>(Slot(hwnd, EDIT_EXTRA_LIMIT), 0));
    size_t kept = text.size() - (sel.end - sel.start);
    size_t room = kept >= limit ? 0 : limit - kept;
    bool cut = insertion.size() > room;
    if (cut) {
        // Typing that does not fit is refused whole; a paste or replacement keeps what fits.
        insertion = source == Source::Typing ? std::u16string() : std::u16string(FittingPrefix(insertion, room));
        NotifyParentCommand(hwnd, EN_MAXTEXT);
        if (insertion.empty() && sel.start == sel.end)
            return false;
    }
    if (canUndo)
        RememberForUndo(hwnd, text);
    text.replace(sel.start, sel.end - sel.start, insertion);
    StoreText(hwnd, text);
    size_t caret = sel.start + insertion.size();
    Select(hwnd, caret, caret);
    SetSlot(hwnd, EDIT_EXTRA_MODIFIED, 1);
    AnnounceChange(hwnd);
    return true;
}

void DeleteCharacter(HWND hwnd, bool backwards)
{
    std::u16string text = StoredText(hwnd);
    Selection sel = OrderedSelection(hwnd, text.size());
    if (sel.start == sel.end) {
        if (backwards ? sel.start == 0 : sel.end >= text.size())
            return;
        if (backwards)
            sel.start = PreviousCharacter(text, sel.start);
        else
            sel.end = NextCharacter(text, sel.end);
        Select(hwnd, sel.start, sel.end);
    }
    ReplaceSelection(hwnd, u"", Source::Program, true);
}

void CopySelection(HWND hwnd)
{
    if (StyleOf(hwnd) & ES_PASSWORD)
        return;  // a password never leaves its box
    std::u16string text = StoredText(hwnd);
    Selection sel = OrderedSelection(hwnd, text.size());
    if (sel.start != sel.end)
        SetClipboardText(text.substr(sel.start, sel.end - sel.start));
}

void Paste(HWND hwnd)
{
    std::u16string clip = GetClipboardText();
    if (!Multiline(hwnd))
        clip = std::u16string(FirstLine(clip));
    if (!clip.empty())
        ReplaceSelection(hwnd, clip, Source::Paste, true);
}

void UndoLast(HWND hwnd)
{
    Undo undo;
    g_undo.With(hwnd, [&](Undo& u) { undo = u; });
    if (!undo.valid)
        return;
    std::u16string current = StoredText(hwnd);
    LONG_PTR anchor = Slot(hwnd, EDIT_EXTRA_ANCHOR), caret = Slot(hwnd, EDIT_EXTRA_CARET);
    // Undoing twice brings the change back, as on the original desktop.
    g_undo.With(hwnd, [&](Undo& u) { u = Undo{true, current, anchor, caret}; });
    StoreText(hwnd, undo.text);
    Select(hwnd, static_cast<size_t>(undo.anchor), static_cast<size_t>(undo.caret));
    SetSlot(hwnd, EDIT_EXTRA_MODIFIED, 1);
    AnnounceChange(hwnd);
}

void Refuse() { MessageBeep(0x30); }

LRESULT OnChar(HWND hwnd, char16_t c)
{
    if (!Enabled(hwnd))
        return 0;
    bool multi = Multiline(hwnd);
    switch (c) {
    case 0x01: Select(hwnd, 0, StoredText(hwnd).size()); return 0;
    case 0x03: SendMessageW(hwnd, WM_COPY, 0, 0); return 0;
    case 0x16: SendMessageW(hwnd, WM_PASTE, 0, 0); return 0;
    case 0x18: SendMessageW(hwnd, WM_CUT, 0, 0); return 0;
    case 0x1A: SendMessageW(hwnd, WM_UNDO, 0, 0); return 0;
    default: break;
    }
    bool editing = c >= 0x20 || c == 0x08 || (multi && (c == 0x0D || c == 0x0A || c == 0x09));
    if (!editing || c == 0x7F)
        return 0;
    if (ReadOnly(hwnd)) {
        Refuse();
        return 0;
    }
    if (c == 0x08) {
        DeleteCharacter(hwnd, true);
        return 0;
    }
    if (c == 0x0D || c == 0x0A) {
        ReplaceSelection(hwnd, u"\r\n", Source::Typing, true);
        return 0;
    }
    if ((StyleOf(hwnd) & ES_NUMBER) && !(c >= u'0' && c <= u'9')) {
        Refuse();
        return 0;
    }
    ReplaceSelection(hwnd, std::u16string(1, c), Source::Typing, true);
    return 0;
}

size_t MovedCaret(HWND hwnd, const std::u16string& text, size_t caret, UINT key)
{
    switch (key) {
    case VK_LEFT: return PreviousCharacter(text, caret);
    case VK_RIGHT: return NextCharacter(text, caret);
    case kVkHome: return Multiline(hwnd) ? LineStart(text, LineOf(text, caret)) : 0;
    case kVkEnd: {
        if (!Multiline(hwnd))
            return text.size();
        size_t line = LineOf(text, caret);
        return LineStart(text, line) + LineLength(text, line);
    }
    case VK_UP:
    case VK_DOWN: {
        size_t line = LineOf(text, caret);
        size_t column = caret - LineStart(text, line);
        if ((key == VK_UP && line == 0) || (key == VK_DOWN && line + 1 >= LineCount(text)))
            return caret;
        size_t target = key == VK_UP ? line - 1 : line + 1;
        return LineStart(text, target) + std::min(column, LineLength(text, target));
    }
    default: return caret;
    }
}

LRESULT OnKeyDown(HWND hwnd, UINT key)
{
    if (!Enabled(hwnd))
        return 0;
    if (key == VK_DELETE) {
        if (ReadOnly(hwnd))
            Refuse();
        else
            DeleteCharacter(hwnd, false);
        return 0;
    }
    if (key != VK_LEFT && key != VK_RIGHT && key != kVkHome && key != kVkEnd && key != VK_UP && key != VK_DOWN)
        return 0;
    std::u16string text = StoredText(hwnd);
    auto anchor = static_cast<size_t>(std::clamp<LONG_PTR>(Slot(hwnd, EDIT_EXTRA_ANCHOR), 0, static_cast<LONG_PTR>(text.size())));
    auto caret = static_cast<size_t>(std::clamp<LONG_PTR>(Slot(hwnd, EDIT_EXTRA_CARET), 0, static_cast<LONG_PTR>(text.size())));
    bool extend = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    if (!extend && anchor != caret && (key == VK_LEFT || key == VK_RIGHT)) {
        size_t edge = key == VK_LEFT ? std::min(anchor, caret) : std::max(anchor, caret);
        Select(hwnd, edge, edge);
        return 0;
    }
    size_t moved = MovedCaret(hwnd, text, caret, key);
    Select(hwnd, extend ? anchor : moved, moved);
    return 0;
}

LRESULT SetSelection(HWND hwnd, WPARAM wParam, LPARAM lParam)
{
    size_t length = StoredText(hwnd).size();
    auto start = static_cast<LONG_PTR>(static_cast<intptr_t>(wParam));
    auto end = static_cast<LONG_PTR>(lParam);
    if (start == -1) {
        LONG_PTR caret = std::clamp<LONG_PTR>(Slot(hwnd, EDIT_EXTRA_CARET), 0, static_cast<LONG_PTR>(length));
        Select(hwnd, static_cast<size_t>(caret), static_cast<size_t>(caret));
        return 0;
    }
    auto clampPosition = [&](LONG_PTR p) { return p < 0 ? length : std::min(static_cast<size_t>(p), length); };
    Select(hwnd, clampPosition(start), clampPosition(end));
    return 0;
}

LRESULT GetSelection(HWND hwnd, WPARAM wParam, LPARAM lParam)
{
    Selection sel = OrderedSelection(hwnd, StoredText(hwnd).size());
    if (auto* start = reinterpret_cast<DWORD*>(wParam))
        *start = static_cast<DWORD>(sel.start);
    if (auto* end = reinterpret_cast<DWORD*>(lParam))
        *end = static_cast<DWORD>(sel.end);
    if (sel.start > 0xFFFF || sel.end > 0xFFFF)
        return -1;
    return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(sel.start), static_cast<WORD>(sel.end)));
}

std::u16string Shown(HWND hwnd, const std::u16string& text)
{
    auto mask = static_cast<char16_t>(Slot(hwnd, EDIT_EXTRA_PASSWORDCHAR));
    if (!(StyleOf(hwnd) & ES_PASSWORD) || !mask)
        return text;
    return std::u16string(text.size(), mask);
}

LOGFONTW FontDescription(HWND hwnd)
{
    LOGFONTW log{};
    auto font = reinterpret_cast<HGDIOBJ>(Slot(hwnd, CONTROL_EXTRA_FONT));
    if (!font || GetObjectW(font, sizeof(log), &log) != static_cast<int>(sizeof(log)))
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(log), &log);
    return log;
}

LRESULT PositionFromCharacter(HWND hwnd, WPARAM index)
{
    std::u16string text = StoredText(hwnd);
    if (index > text.size())
        return -1;
    LOGFONTW font = FontDescription(hwnd);
    size_t line = Multiline(hwnd) ? LineOf(text, index) : 0;
    size_t start = Multiline(hwnd) ? LineStart(text, line) : 0;
    int x = 1 + HeadlessTextWidth(font, Shown(hwnd, text.substr(start, index - start)));
    int y = static_cast<int>(line) * HeadlessTextMetrics(font).tmHeight;
    return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(x), static_cast<WORD>(y)));
}

LRESULT GetLine(HWND hwnd, WPARAM line, LPARAM buffer)
{
    auto* out = reinterpret_cast<WCHAR*>(buffer);
    if (!out)
        return 0;
    WORD capacity = 0;
    std::memcpy(&capacity, out, sizeof(capacity));
    std::u16string text = StoredText(hwnd);
    size_t start = Multiline(hwnd) ? LineStart(text, line) : (line == 0 ? 0 : text.size() + 1);
    if (start > text.size())
        return 0;
    size_t length = Multiline(hwnd) ? LineLength(text, line) : text.size();
    size_t n = std::min<size_t>(length, capacity);
    text.copy(out, n, start);
    return static_cast<LRESULT>(n);
}

void Paint(HWND hwnd)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    if (!hdc)
        return;
    bool plain = ReadOnly(hwnd) || !Enabled(hwnd);
    PaintColours colours = AskParentColours(hwnd, hdc, plain ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT,
                                            plain ? COLOR_BTNFACE : COLOR_WINDOW, COLOR_WINDOWTEXT);
    RECT client{};
    GetClientRect(hwnd, &client);
    FillRect(hdc, &client, colours.brush);
    HGDIOBJ oldFont = SelectControlFont(hwnd, hdc);
    if (!Enabled(hwnd))
        SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
    SetBkMode(hdc, TRANSPARENT);
    DWORD style = StyleOf(hwnd);
    UINT format = DT_NOPREFIX | ((style & ES_CENTER) ? DT_CENTER : (style & ES_RIGHT) ? DT_RIGHT : 0);
    format |= Multiline(hwnd) ? ((style & ES_AUTOHSCROLL) ? 0 : DT_WORDBREAK) | DT_EDITCONTROL : DT_SINGLELINE;
    InflateRect(&client, -1, 0);
    std::u16string shown = Shown(hwnd, StoredText(hwnd));
    DrawTextW(hdc, shown.c_str(), static_cast<int>(shown.size()), &client, format);
    SelectObject(hdc, oldFont);
    EndPaint(hwnd, &ps);
}

void Initialise(HWND hwnd)
{
    InitialiseSharedSlots(hwnd);
    SetSlot(hwnd, EDIT_EXTRA_LIMIT, kDefaultLimit);
    SetSlot(hwnd, EDIT_EXTRA_PASSWORDCHAR, (StyleOf(hwnd) & ES_PASSWORD) ? u'*' : 0);
    g_undo.Create(hwnd);
}

LRESULT OnSetText(HWND hwnd, WPARAM wParam, LPARAM lParam)
{
    LRESULT stored = DefWindowProcW(hwnd, WM_SETTEXT, wParam, lParam);
    Select(hwnd, 0, 0);
    SetSlot(hwnd, EDIT_EXTRA_MODIFIED, 0);
    g_undo.With(hwnd, [](Undo& undo) { undo = Undo{}; });
    InvalidateRect(hwnd, nullptr, TRUE);
    if (!Multiline(hwnd)) {
        NotifyParentCommand(hwnd, EN_UPDATE);
        NotifyParentCommand(hwnd, EN_CHANGE);
    }
    return stored;
}

LRESULT OnEditMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, bool* handled)
{
    *handled = true;
    switch (message) {
    case EM_GETSEL: return GetSelection(hwnd, wParam, lParam);
    case EM_SETSEL: return SetSelection(hwnd, wParam, lParam);
    case EM_REPLACESEL:
        ReplaceSelection(hwnd, lParam ? std::u16string(reinterpret_cast<LPCWSTR>(lParam)) : std::u16string(),
                         Source::Program, wParam != 0);
        return 0;
    case EM_LIMITTEXT:
        SetSlot(hwnd, EDIT_EXTRA_LIMIT,
                wParam == 0 ? (Multiline(hwnd) ? kLargestMultiLineLimit : kLargestSingleLineLimit)
                            : static_cast<LONG_PTR>(std::min<WPARAM>(wParam, kLargestMultiLineLimit)));
        return 0;
    case EM_GETLIMITTEXT: return Slot(hwnd, EDIT_EXTRA_LIMIT);
    case EM_SETREADONLY: {
        DWORD style = StyleOf(hwnd);
        SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>(wParam ? style | ES_READONLY : style & ~ES_READONLY));
        InvalidateRect(hwnd, nullptr, TRUE);
        return TRUE;
    }
    case EM_SETPASSWORDCHAR: {
        SetSlot(hwnd, EDIT_EXTRA_PASSWORDCHAR, static_cast<LONG_PTR>(wParam & 0xFFFF));
        DWORD style = StyleOf(hwnd);
        SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>((wParam & 0xFFFF) ? style | ES_PASSWORD : style & ~ES_PASSWORD));
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    }
    case EM_GETPASSWORDCHAR: return (StyleOf(hwnd) & ES_PASSWORD) ? Slot(hwnd, EDIT_EXTRA_PASSWORDCHAR) : 0;
    case EM_GETMODIFY: return Slot(hwnd, EDIT_EXTRA_MODIFIED) ? TRUE : FALSE;
    case EM_SETMODIFY: SetSlot(hwnd, EDIT_EXTRA_MODIFIED, wParam ? 1 : 0); return 0;
    case EM_CANUNDO: {
        bool can = false;
        g_undo.With(hwnd, [&](Undo& undo) { can = undo.valid; });
        return can ? TRUE : FALSE;
    }
    case EM_UNDO:
    case WM_UNDO: {
        bool can = false;
        g_undo.With(hwnd, [&](Undo& undo) { can = undo.valid; });
        UndoLast(hwnd);
        return can ? TRUE : FALSE;
    }
    case EM_EMPTYUNDOBUFFER: g_undo.With(hwnd, [](Undo& undo) { undo = Undo{}; }); return 0;
    case EM_SCROLLCARET: return TRUE;
    case EM_GETFIRSTVISIBLELINE: return 0;
    case EM_GETLINECOUNT: return static_cast<LRESULT>(Multiline(hwnd) ? LineCount(StoredText(hwnd)) : 1);
    case EM_LINEINDEX: {
        std::u16string text = StoredText(hwnd);
        size_t line = static_cast<intptr_t>(wParam) < 0 ? LineOf(text, static_cast<size_t>(Slot(hwnd, EDIT_EXTRA_CARET))) : wParam;
        size_t start = Multiline(hwnd) ? LineStart(text, line) : (line == 0 ? 0 : text.size() + 1);
        return start > text.size() ? -1 : static_cast<LRESULT>(start);
    }
    case EM_LINEFROMCHAR: {
        std::u16string text = StoredText(hwnd);
        size_t pos = static_cast<intptr_t>(wParam) < 0 ? OrderedSelection(hwnd, text.size()).start : wParam;
        return Multiline(hwnd) ? static_cast<LRESULT>(LineOf(text, pos)) : 0;
    }
    case EM_LINELENGTH: {
        std::u16string text = StoredText(hwnd);
        if (!Multiline(hwnd))
            return static_cast<LRESULT>(text.size());
        size_t pos = static_cast<intptr_t>(wParam) < 0 ? static_cast<size_t>(Slot(hwnd, EDIT_EXTRA_CARET)) : wParam;
        return static_cast<LRESULT>(LineLength(text, LineOf(text, pos)));
    }
    case EM_GETLINE: return GetLine(hwnd, wParam, lParam);
    case EM_GETRECT:
        if (auto* rect = reinterpret_cast<RECT*>(lParam))
            GetClientRect(hwnd, rect);
        return 0;
    case EM_POSFROMCHAR: return PositionFromCharacter(hwnd, wParam);
    default: *handled = false; return 0;
    }
}

}  // namespace

LRESULT EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (HandleFontMessage(hwnd, message, wParam, lParam, &result))
        return result;
    bool handled = false;
    result = OnEditMessage(hwnd, message, wParam, lParam, &handled);
    if (handled)
        return result;
    switch (message) {
    case WM_NCCREATE: Initialise(hwnd); break;
    case WM_NCDESTROY: g_undo.Erase(hwnd); break;
    case WM_SETTEXT: return OnSetText(hwnd, wParam, lParam);
    case WM_CHAR: return OnChar(hwnd, static_cast<char16_t>(wParam));
    case WM_KEYDOWN: return OnKeyDown(hwnd, static_cast<UINT>(wParam));
    case WM_GETDLGCODE:
        return DLGC_HASSETSEL | DLGC_WANTCHARS | DLGC_WANTARROWS | (Multiline(hwnd) ? DLGC_WANTALLKEYS : 0);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (GetFocus() != hwnd)
            SetFocus(hwnd);
        return 0;
    case WM_SETFOCUS:
        InvalidateRect(hwnd, nullptr, FALSE);
        NotifyParentCommand(hwnd, EN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        InvalidateRect(hwnd, nullptr, FALSE);
        NotifyParentCommand(hwnd, EN_KILLFOCUS);
        return 0;
    case WM_COPY: CopySelection(hwnd); return 0;
    case WM_CUT:
        if (!ReadOnly(hwnd) && !(StyleOf(hwnd) & ES_PASSWORD)) {
            CopySelection(hwnd);
            ReplaceSelection(hwnd, u"", Source::Program, true);
        }
        return 0;
    case WM_CLEAR:
        if (!ReadOnly(hwnd))
            ReplaceSelection(hwnd, u"", Source::Program, true);
        return 0;
    case WM_PASTE:
        if (!ReadOnly(hwnd))
            Paste(hwnd);
        return 0;
    case WM_ENABLE: InvalidateRect(hwnd, nullptr, TRUE); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: Paint(hwnd); return 0;
    default: break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace tabrix::controls_detail

void SetClipboardText(const std::u16string& text)
{
    std::lock_guard guard(tabrix::controls_detail::g_clipboardMutex);
    tabrix::controls_detail::g_clipboard = text;
}

std::u16string GetClipboardText()
{
    std::lock_guard guard(tabrix::controls_detail::g_clipboardMutex);
    return tabrix::controls_detail::g_clipboard;
}
