// The "tooltips_class32" class.
#include "platform/controls/ControlProcs.h"
#include "platform/controls/ControlSupport.h"
#include "platform/controls/TooltipControl.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/SystemColors.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Paint.h"
#include "platform/window/Timers.h"
#include "platform/window/WinMessages.h"
#include "platform/window/WinStyles.h"
#include "platform/window/Window.h"
#include "platform/window/WindowGeometry.h"

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

namespace tabrix::controls_detail {

namespace {

constexpr UINT_PTR kShowTimer = 1;
constexpr UINT_PTR kPopTimer = 2;
constexpr UINT kInitialDelay = 500;
constexpr size_t kLongestText = 4096;
constexpr int kPointerHeight = 20;
constexpr UINT kSmallestToolInfo = offsetof(TOOLINFOW, lParam);

struct Tool {
    UINT flags = 0;
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    RECT rect{};
    std::u16string text;
    bool callback = false;
    LPARAM lParam = 0;
};

struct TooltipState {
    std::vector<Tool> tools;
    bool active = true;
    int current = -1;      // the tool under the pointer
    bool shown = false;
    Tool shownTool;        // the tool whose text is up, told when it goes
    bool suppressed = false;  // a click hid the tip; it comes back after the pointer leaves the tool
    POINT pointer{};       // screen position of the last relayed message
    UINT initial = kInitialDelay;
    UINT autopop = kInitialDelay * 10;
    UINT reshow = kInitialDelay / 5;
    int maxWidth = -1;
    COLORREF back = CLR_DEFAULT;
    COLORREF text = CLR_DEFAULT;
};

WindowStateTable<TooltipState>& States()
{
    static auto* table = new WindowStateTable<TooltipState>();
    return *table;
}

template <typename F>
auto Read(HWND hwnd, F f) -> decltype(f(std::declval<TooltipState&>()))
{
    decltype(f(std::declval<TooltipState&>())) result{};
    States().With(hwnd, [&](TooltipState& s) { result = f(s); });
    return result;
}

std::u16string CopyText(LPCWSTR text, size_t longest)
{
    std::u16string out;
    for (size_t i = 0; text && text[i] && i < longest; ++i)
        out.push_back(text[i]);
    return out;
}

bool ValidInfo(const TOOLINFOW* info) { return info && info->cbSize >= kSmallestToolInfo; }

int FindTool(const TooltipState& s, HWND hwnd, UINT_PTR id)
{
    for (size_t i = 0; i < s.tools.size(); ++i)
        if (s.tools[i].hwnd == hwnd && s.tools[i].id == id)
            return static_cast<int>(i);
    return -1;
}

void SetToolText(Tool& tool, LPWSTR text)
{
    tool.callback = text == LPSTR_TEXTCALLBACKW;
    // Texts of string resources are not kept here; such a tool shows nothing.
    tool.text = (tool.callback || IS_INTRESOURCE(text)) ? std::u16string() : CopyText(text, kLongestText);
}

Tool FromInfo(const TOOLINFOW& info)
{
    Tool tool;
    tool.flags = info.uFlags;
    tool.hwnd = info.hwnd;
    tool.id = info.uId;
    tool.rect = info.rect;
    SetToolText(tool, info.lpszText);
    if (info.cbSize >= offsetof(TOOLINFOW, lpReserved))
        tool.lParam = info.lParam;
    return tool;
}

// Fills what the caller's structure asks for; the text goes into the caller's buffer (80 units).
void ToInfo(const Tool& tool, TOOLINFOW* info)
{
    info->uFlags = tool.flags;
    info->hwnd = tool.hwnd;
    info->uId = tool.id;
    info->rect = tool.rect;
    if (info->cbSize >= offsetof(TOOLINFOW, lpReserved))
        info->lParam = tool.lParam;
    if (tool.callback)
        info->lpszText = LPSTR_TEXTCALLBACKW;
    else if (info->lpszText && !IS_INTRESOURCE(info->lpszText) && info->lpszText != LPSTR_TEXTCALLBACKW) {
        size_t n = std::min<size_t>(tool.text.size(), 79);
        tool.text.copy(info->lpszText, n);
        info->lpszText[n] = 0;
    }
}

bool ToolContains(const Tool& tool, HWND hwnd, POINT client)
{
    if (tool.flags & TTF_IDISHWND)
        return reinterpret_cast<HWND>(tool.id) == hwnd;
    return tool.hwnd == hwnd && PtInRect(&tool.rect, client);
}

// The tool's text, asking its window when it has a callback text.
std::u16string TextFor(HWND hwnd, const Tool& tool)
{
    if (!tool.callback)
        return tool.text;
    NMTTDISPINFOW info{};
    info.lpszText = info.szText;
    info.uFlags = tool.flags;
    info.lParam = tool.lParam;
    info.hdr.hwndFrom = hwnd;
    info.hdr.idFrom = tool.id;
    info.hdr.code = TTN_GETDISPINFOW;
    SendMessageW(tool.hwnd, WM_NOTIFY, static_cast<WPARAM>(tool.id), reinterpret_cast<LPARAM>(&info));
    std::u16string text;
    if (!info.lpszText || info.lpszText == info.szText) {
        info.szText[79] = 0;
        text = CopyText(info.szText, 79);
    } else if (!IS_INTRESOURCE(info.lpszText) && info.lpszText != LPSTR_TEXTCALLBACKW) {
        text = CopyText(info.lpszText, kLongestText);
    }
    if (info.uFlags & TTF_DI_SETITEM) {
        States().With(hwnd, [&](TooltipState& s) {
            int i = FindTool(s, tool.hwnd, tool.id);
            if (i >= 0) {
                s.tools[static_cast<size_t>(i)].text = text;
                s.tools[static_cast<size_t>(i)].callback = false;
            }
        });
    }
    return text;
}

LRESULT NotifyTool(HWND hwnd, const Tool& tool, UINT code)
{
    NMHDR hdr{hwnd, tool.id, code};
    return SendMessageW(tool.hwnd, WM_NOTIFY, static_cast<WPARAM>(tool.id), reinterpret_cast<LPARAM>(&hdr));
}

void Hide(HWND hwnd)
{
    Tool tool;
    bool wasShown = Read(hwnd, [&](TooltipState& s) {
        if (!s.shown)
            return false;
        s.shown = false;
        tool = s.shownTool;
        return true;
    });
    KillTimer(hwnd, kPopTimer);
    if (!wasShown)
        return;
    ShowWindow(hwnd, SW_HIDE);
    if (tool.hwnd)
        NotifyTool(hwnd, tool, TTN_POP);
}

SIZE Measure(HWND hwnd, const std::u16string& text)
{
    HDC dc = CreateCompatibleDC(nullptr);
    SelectControlFont(hwnd, dc);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    DeleteDC(dc);
    return SIZE{size.cx + 8, size.cy + 4};
}

void Show(HWND hwnd)
{
    KillTimer(hwnd, kShowTimer);
    Tool tool;
    POINT pointer{};
    UINT autopop = 0;
    bool ready = Read(hwnd, [&](TooltipState& s) {
        if (!s.active || s.current < 0)
            return false;
        tool = s.tools[static_cast<size_t>(s.current)];
        pointer = s.pointer;
        autopop = s.autopop;
        return true;
    });
    if (!ready)
        return;
    std::u16string text = TextFor(hwnd, tool);
    if (text.empty()) {
        Hide(hwnd);
        return;
    }
    StoreText(hwnd, text);
    States().With(hwnd, [&](TooltipState& s) {
        s.shown = true;
        s.shownTool = tool;
    });
    SIZE size = Measure(hwnd, text);
    UINT flags = SWP_NOACTIVATE | SWP_SHOWWINDOW;
    if (NotifyTool(hwnd, tool, TTN_SHOW) != 0)
        flags |= SWP_NOMOVE | SWP_NOSIZE;  // the tool's window placed the tip itself
    SetWindowPos(hwnd, HWND_TOPMOST, pointer.x, pointer.y + kPointerHeight, size.cx, size.cy, flags);
    InvalidateRect(hwnd, nullptr, TRUE);
    if (autopop > 0)
        SetTimer(hwnd, kPopTimer, autopop, nullptr);
}

void Relay(HWND hwnd, const MSG* msg)
{
    if (!msg || msg->message < WM_MOUSEFIRST || msg->message > WM_MOUSELAST)
        return;
    POINT client{GET_X_LPARAM(msg->lParam), GET_Y_LPARAM(msg->lParam)};
    POINT screen = client;
    ClientToScreen(msg->hwnd, &screen);
    bool moved = msg->message == WM_MOUSEMOVE;
    bool leave = false, start = false;
    UINT delay = 0;
    States().With(hwnd, [&](TooltipState& s) {
        s.pointer = screen;
        int found = -1;
        for (size_t i = 0; i < s.tools.size() && found < 0; ++i)
            if (ToolContains(s.tools[i], msg->hwnd, client))
                found = static_cast<int>(i);
        if (!moved) {
            leave = s.shown;
            s.suppressed = found >= 0;
            return;
        }
        if (found == s.current)
            return;
        leave = s.shown;
        delay = s.shown ? s.reshow : s.initial;
        s.current = found;
        s.suppressed = false;
        start = found >= 0 && s.active;
    });
    if (leave)
        Hide(hwnd);
    if (!moved || leave || start)
        KillTimer(hwnd, kShowTimer);
    if (start)
        SetTimer(hwnd, kShowTimer, std::max<UINT>(delay, 1), nullptr);
}

LRESULT AddTool(HWND hwnd, const TOOLINFOW* info)
{
    if (!ValidInfo(info))
        return FALSE;
    States().With(hwnd, [&](TooltipState& s) { s.tools.push_back(FromInfo(*info)); });
    return TRUE;
}

void DeleteTool(HWND hwnd, const TOOLINFOW* info)
{
    if (!ValidInfo(info))
        return;
    bool hide = Read(hwnd, [&](TooltipState& s) {
        int i = FindTool(s, info->hwnd, info->uId);
        if (i < 0)
            return false;
        bool current = i == s.current;
        if (current && s.shown)
            return true;  // hidden (with its TTN_POP) before it goes
        s.tools.erase(s.tools.begin() + i);
        if (current)
            s.current = -1;
        else if (s.current > i)
            --s.current;
        return false;
    });
    if (hide) {
        Hide(hwnd);
        KillTimer(hwnd, kShowTimer);
        DeleteTool(hwnd, info);
    }
}

template <typename F>
LRESULT WithTool(HWND hwnd, const TOOLINFOW* info, F f)
{
    if (!ValidInfo(info))
        return FALSE;
    return Read(hwnd, [&](TooltipState& s) -> LRESULT {
        int i = FindTool(s, info->hwnd, info->uId);
        if (i < 0)
            return FALSE;
        f(s, s.tools[static_cast<size_t>(i)]);
        return TRUE;
    });
}

UINT* DelaySlot(TooltipState& s, WPARAM which)
{
    switch (which) {
    case TTDT_AUTOPOP: return &s.autopop;
    case TTDT_INITIAL: return &s.initial;
    case TTDT_RESHOW: return &s.reshow;
    default: return nullptr;
    }
}

void SetDelay(HWND hwnd, WPARAM which, LPARAM lParam)
{
    auto ms = static_cast<int16_t>(LOWORD(static_cast<uintptr_t>(lParam)));
    States().With(hwnd, [&](TooltipState& s) {
        UINT base = ms < 0 ? kInitialDelay : static_cast<UINT>(ms);
        if (which == TTDT_AUTOMATIC) {
            s.initial = base;
            s.autopop = base * 10;
            s.reshow = base / 5;
        } else if (UINT* slot = DelaySlot(s, which)) {
            UINT defaults = which == TTDT_AUTOPOP ? kInitialDelay * 10 : which == TTDT_RESHOW ? kInitialDelay / 5 : kInitialDelay;
            *slot = ms < 0 ? defaults : static_cast<UINT>(ms);
        }
    });
}

void Paint(HWND hwnd)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    if (!hdc)
        return;
    COLORREF back = CLR_DEFAULT, text = CLR_DEFAULT;
    States().With(hwnd, [&](TooltipState& s) {
        back = s.back;
        text = s.text;
    });
    RECT client{};
    GetClientRect(hwnd, &client);
    SetDCBrushColor(hdc, back == CLR_DEFAULT ? GetSysColor(COLOR_INFOBK) : back);
    FillRect(hdc, &client, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    HGDIOBJ oldFont = SelectControlFont(hwnd, hdc);
    SetTextColor(hdc, text == CLR_DEFAULT ? GetSysColor(COLOR_INFOTEXT) : text);
    SetBkMode(hdc, TRANSPARENT);
    std::u16string shown = StoredText(hwnd);
    InflateRect(&client, -4, -2);
    DrawTextW(hdc, shown.c_str(), static_cast<int>(shown.size()), &client, DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(hdc, oldFont);
    EndPaint(hwnd, &ps);
}

LRESULT OnToolMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, bool* handled)
{
    auto* info = reinterpret_cast<TOOLINFOW*>(lParam);
    *handled = true;
    switch (message) {
    case TTM_ADDTOOLW: return AddTool(hwnd, info);
    case TTM_DELTOOLW: DeleteTool(hwnd, info); return 0;
    case TTM_NEWTOOLRECTW: WithTool(hwnd, info, [&](TooltipState&, Tool& t) { t.rect = info->rect; }); return 0;
    case TTM_SETTOOLINFOW:
        WithTool(hwnd, info, [&](TooltipState&, Tool& t) { t = FromInfo(*info); });
        return 0;
    case TTM_GETTOOLINFOW: return WithTool(hwnd, info, [&](TooltipState&, Tool& t) { ToInfo(t, info); });
    case TTM_UPDATETIPTEXTW: {
        WithTool(hwnd, info, [&](TooltipState&, Tool& t) { SetToolText(t, info->lpszText); });
        if (Read(hwnd, [](TooltipState& s) { return s.shown; }))
            Show(hwnd);
        return 0;
    }
    case TTM_GETTEXTW: {
        if (!ValidInfo(info) || !info->lpszText)
            return 0;
        size_t room = wParam ? wParam : 80;
        std::u16string text;
        Tool tool;
        bool found = WithTool(hwnd, info, [&](TooltipState&, Tool& t) { tool = t; }) != FALSE;
        if (found)
            text = TextFor(hwnd, tool);
        size_t n = std::min(text.size(), room - 1);
        text.copy(info->lpszText, n);
        info->lpszText[n] = 0;
        return static_cast<LRESULT>(n);
    }
    case TTM_GETTOOLCOUNT: return Read(hwnd, [](TooltipState& s) { return static_cast<LRESULT>(s.tools.size()); });
    case TTM_ENUMTOOLSW:
        return Read(hwnd, [&](TooltipState& s) -> LRESULT {
            if (!ValidInfo(info) || wParam >= s.tools.size())
                return FALSE;
            ToInfo(s.tools[wParam], info);
            return TRUE;
        });
    case TTM_GETCURRENTTOOLW:
        return Read(hwnd, [&](TooltipState& s) -> LRESULT {
            if (!s.shown || s.current < 0)
                return FALSE;
            if (ValidInfo(info))
                ToInfo(s.tools[static_cast<size_t>(s.current)], info);
            return TRUE;
        });
    default: *handled = false; return 0;
    }
}

}  // namespace

LRESULT TooltipProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (HandleFontMessage(hwnd, message, wParam, lParam, &result))
        return result;
    bool handled = false;
    result = OnToolMessage(hwnd, message, wParam, lParam, &handled);
    if (handled)
        return result;
    switch (message) {
    case WM_NCCREATE:
        InitialiseSharedSlots(hwnd);
        States().Create(hwnd);
        break;
    case WM_NCDESTROY: States().Erase(hwnd); break;
    case TTM_RELAYEVENT: Relay(hwnd, reinterpret_cast<const MSG*>(lParam)); return 0;
    case TTM_ACTIVATE:
        States().With(hwnd, [&](TooltipState& s) { s.active = wParam != 0; });
        if (!wParam) {
            KillTimer(hwnd, kShowTimer);
            Hide(hwnd);
        }
        return 0;
    case TTM_POPUP:
    case TTM_UPDATE: Show(hwnd); return 0;
    case TTM_POP: KillTimer(hwnd, kShowTimer); Hide(hwnd); return 0;
    case TTM_SETDELAYTIME: SetDelay(hwnd, wParam, lParam); return 0;
    case TTM_GETDELAYTIME:
        return Read(hwnd, [&](TooltipState& s) -> LRESULT {
            UINT* slot = DelaySlot(s, wParam == TTDT_AUTOMATIC ? TTDT_INITIAL : wParam);
            return slot ? static_cast<LRESULT>(*slot) : 0;
        });
    case TTM_SETMAXTIPWIDTH:
        return Read(hwnd, [&](TooltipState& s) { return static_cast<LRESULT>(std::exchange(s.maxWidth, static_cast<int>(lParam))); });
    case TTM_GETMAXTIPWIDTH: return Read(hwnd, [](TooltipState& s) { return static_cast<LRESULT>(s.maxWidth); });
    case TTM_SETTIPBKCOLOR: States().With(hwnd, [&](TooltipState& s) { s.back = static_cast<COLORREF>(wParam); }); return 0;
    case TTM_SETTIPTEXTCOLOR: States().With(hwnd, [&](TooltipState& s) { s.text = static_cast<COLORREF>(wParam); }); return 0;
    case TTM_GETTIPBKCOLOR:
        return Read(hwnd, [](TooltipState& s) { return static_cast<LRESULT>(s.back == CLR_DEFAULT ? GetSysColor(COLOR_INFOBK) : s.back); });
    case TTM_GETTIPTEXTCOLOR:
        return Read(hwnd, [](TooltipState& s) { return static_cast<LRESULT>(s.text == CLR_DEFAULT ? GetSysColor(COLOR_INFOTEXT) : s.text); });
    case WM_TIMER:
        if (wParam == kShowTimer) {
            bool suppressed = Read(hwnd, [](TooltipState& s) { return s.suppressed; });
            if (suppressed)
                KillTimer(hwnd, kShowTimer);
            else
                Show(hwnd);
        } else if (wParam == kPopTimer) {
            Hide(hwnd);
        }
        return 0;
    case WM_NCHITTEST: return HTTRANSPARENT;
    case WM_MOUSEACTIVATE: return 3;  // MA_NOACTIVATE
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: Paint(hwnd); return 0;
    default: break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace tabrix::controls_detail
