// The "ToolbarWindow32" class: creation, layout, mouse, painting and the tooltip.
#include "platform/controls/ControlProcs.h"
#include "platform/controls/ControlSupport.h"
#include "platform/controls/ToolbarControl.h"
#include "platform/controls/ToolbarState.h"
#include "platform/controls/TooltipControl.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/ImageList.h"
#include "platform/gdi/SystemColors.h"
#include "platform/window/Clock.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Paint.h"
#include "platform/window/PresenterHook.h"
#include "platform/window/WinMessages.h"
#include "platform/window/WinStyles.h"
#include "platform/window/Window.h"
#include "platform/window/WindowGeometry.h"

#include <algorithm>
#include <utility>

namespace tabrix::controls_detail {

namespace {

DWORD Style(HWND hwnd) { return StyleOf(hwnd); }

TextMeasure MeasureWithFont(HWND hwnd, HDC* dc)
{
    *dc = CreateCompatibleDC(nullptr);
    SelectControlFont(hwnd, *dc);
    TextMeasure measure;
    TEXTMETRICW tm{};
    GetTextMetricsW(*dc, &tm);
    measure.lineHeight = tm.tmHeight;
    HDC hdc = *dc;
    measure.width = [hdc](std::u16string_view text) {
        SIZE size{};
        GetTextExtentPoint32W(hdc, text.data(), static_cast<int>(text.size()), &size);
        return static_cast<int>(size.cx);
    };
    return measure;
}

struct ToolSync {
    HWND tooltip = nullptr;
    std::vector<int> remove;
    std::vector<std::pair<int, RECT>> add;
};

void SyncTools(HWND hwnd, const ToolSync& sync)
{
    if (!sync.tooltip || !IsWindow(sync.tooltip))
        return;
    TOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.hwnd = hwnd;
    for (int command : sync.remove) {
        info.uId = static_cast<UINT_PTR>(command);
        SendMessageW(sync.tooltip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    }
    for (const auto& [command, rect] : sync.add) {
        info.uId = static_cast<UINT_PTR>(command);
        info.rect = rect;
        info.lpszText = LPSTR_TEXTCALLBACKW;
        SendMessageW(sync.tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    }
}

HWND NotifyTarget(HWND hwnd)
{
    HWND target = nullptr;
    ToolbarStates().With(hwnd, [&](ToolbarState& s) { target = s.notify; });
    return target;
}

LRESULT CustomDraw(HWND hwnd, HDC hdc, DWORD stage, const RECT& rect, DWORD_PTR item, UINT itemState)
{
    NMTBCUSTOMDRAW cd{};
    cd.nmcd.dwDrawStage = stage;
    cd.nmcd.hdc = hdc;
    cd.nmcd.rc = rect;
    cd.nmcd.dwItemSpec = item;
    cd.nmcd.uItemState = itemState;
    cd.clrText = GetSysColor(COLOR_BTNTEXT);
    cd.clrBtnFace = GetSysColor(COLOR_BTNFACE);
    cd.clrBtnHighlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    cd.clrHighlightHotTrack = GetSysColor(COLOR_HIGHLIGHT);
    cd.nStringBkMode = TRANSPARENT;
    cd.nHLStringBkMode = OPAQUE;
    return SendNotify(NotifyTarget(hwnd), hwnd, &cd.nmcd.hdr, NM_CUSTOMDRAW);
}

UINT ItemState(const ToolbarButton& b, bool hot)
{
    UINT state = 0;
    if (b.state & TBSTATE_PRESSED)
        state |= CDIS_SELECTED;
    if (b.state & TBSTATE_CHECKED)
        state |= CDIS_CHECKED;
    if (!(b.state & TBSTATE_ENABLED))
        state |= CDIS_DISABLED;
    if (b.state & TBSTATE_INDETERMINATE)
        state |= CDIS_INDETERMINATE;
    if (hot)
        state |= CDIS_HOT;
    return state;
}

void DrawButton(HDC hdc, const ToolbarState& s, const ToolbarButton& b)
{
    const RECT& r = b.rect;
    if (IsSeparator(b)) {
        int x = (r.left + r.right) / 2;
        HGDIOBJ old = SelectObject(hdc, GetStockObject(BLACK_PEN));
        MoveToEx(hdc, x, r.top + 2, nullptr);
        LineTo(hdc, x, r.bottom - 2);
        SelectObject(hdc, old);
        return;
    }
    if (b.state & (TBSTATE_PRESSED | TBSTATE_CHECKED))
        FrameRect(hdc, &r, GetSysColorBrush(COLOR_BTNSHADOW));
    bool enabled = (b.state & TBSTATE_ENABLED) != 0;
    HIMAGELIST list = (!enabled && s.disabledImages) ? s.disabledImages : s.images;
    if (list && b.image >= 0)
        ImageList_Draw(list, b.image, hdc, r.left + (r.right - r.left - s.bitmap.cx) / 2, r.top + 3, ILD_TRANSPARENT);
    std::u16string text = s.maxTextRows > 0 ? ButtonText(s, b) : std::u16string();
    if (!text.empty()) {
        RECT area{r.left, r.top + 3 + s.bitmap.cy, r.right, r.bottom};
        SetTextColor(hdc, GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
        DrawTextW(hdc, text.c_str(), static_cast<int>(text.size()), &area, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
}

void Paint(HWND hwnd)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    if (!hdc)
        return;
    RECT client{};
    GetClientRect(hwnd, &client);
    LRESULT stage = CustomDraw(hwnd, hdc, CDDS_PREPAINT, client, 0, 0);
    if (!(stage & CDRF_SKIPDEFAULT)) {
        ToolbarState copy;
        ToolbarStates().With(hwnd, [&](ToolbarState& s) { copy = s; });
        HGDIOBJ oldFont = SelectControlFont(hwnd, hdc);
        SetBkMode(hdc, TRANSPARENT);
        for (size_t i = 0; i < copy.buttons.size(); ++i) {
            const ToolbarButton& b = copy.buttons[i];
            if (IsHidden(b))
                continue;
            LRESULT item = CDRF_DODEFAULT;
            UINT state = ItemState(b, false);
            if (stage & CDRF_NOTIFYITEMDRAW)
                item = CustomDraw(hwnd, hdc, CDDS_ITEMPREPAINT, b.rect, static_cast<DWORD_PTR>(b.command), state);
            if (!(item & CDRF_SKIPDEFAULT))
                DrawButton(hdc, copy, b);
            if (item & CDRF_NOTIFYPOSTPAINT)
                CustomDraw(hwnd, hdc, CDDS_ITEMPOSTPAINT, b.rect, static_cast<DWORD_PTR>(b.command), state);
        }
        SelectObject(hdc, oldFont);
        if (stage & CDRF_NOTIFYPOSTPAINT)
            CustomDraw(hwnd, hdc, CDDS_POSTPAINT, client, 0, 0);
    }
    EndPaint(hwnd, &ps);
}

LRESULT EraseBackground(HWND hwnd, HDC hdc)
{
    RECT client{};
    GetClientRect(hwnd, &client);
    DWORD style = Style(hwnd);
    LRESULT answer = CDRF_DODEFAULT;
    if (style & TBSTYLE_CUSTOMERASE)
        answer = CustomDraw(hwnd, hdc, CDDS_PREERASE, client, 0, 0);
    if (!(answer & CDRF_SKIPDEFAULT) && !(style & TBSTYLE_TRANSPARENT))
        FillRect(hdc, &client, GetSysColorBrush(COLOR_BTNFACE));
    if (answer & CDRF_NOTIFYPOSTERASE)
        CustomDraw(hwnd, hdc, CDDS_POSTERASE, client, 0, 0);
    return 1;
}

void RelayToTooltip(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND tooltip = nullptr;
    ToolbarStates().With(hwnd, [&](ToolbarState& s) { tooltip = s.tooltip; });
    if (!tooltip || !IsWindow(tooltip))
        return;
    MSG msg{hwnd, message, wParam, lParam, GetTickCount(), POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}};
    ClientToScreen(hwnd, &msg.pt);
    SendMessageW(tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

// A drop-down button reports itself instead of clicking; true when it should press as well.
bool DropDown(HWND hwnd, const ToolbarButton& b)
{
    NMTOOLBARW nm{};
    nm.iItem = b.command;
    nm.tbButton.iBitmap = b.image;
    nm.tbButton.idCommand = b.command;
    nm.tbButton.fsState = b.state;
    nm.tbButton.fsStyle = b.style;
    nm.tbButton.dwData = b.data;
    nm.tbButton.iString = b.stringField;
    nm.rcButton = b.rect;
    return SendNotify(NotifyTarget(hwnd), hwnd, &nm.hdr, TBN_DROPDOWN) == TBDDRET_TREATPRESSED;
}

void PressAt(HWND hwnd, LPARAM lParam)
{
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ToolbarButton hit;
    int index = -1;
    bool arrows = false;
    ToolbarStates().With(hwnd, [&](ToolbarState& s) {
        index = ButtonAt(s, point);
        if (index >= 0)
            hit = s.buttons[static_cast<size_t>(index)];
        arrows = (s.extendedStyle & TBSTYLE_EX_DRAWDDARROWS) != 0;
    });
    if (index < 0 || IsSeparator(hit) || !(hit.state & TBSTATE_ENABLED))
        return;
    bool onArrow = !arrows || point.x >= hit.rect.right - kDropDownArrowWidth;
    if ((hit.style & BTNS_DROPDOWN) && (onArrow || (hit.style & BTNS_WHOLEDROPDOWN)) && !DropDown(hwnd, hit))
        return;
    ToolbarStates().With(hwnd, [&](ToolbarState& s) {
        if (static_cast<size_t>(index) >= s.buttons.size())
            return;
        s.pressed = index;
        s.buttons[static_cast<size_t>(index)].state |= TBSTATE_PRESSED;
    });
    InvalidateRect(hwnd, nullptr, TRUE);
    MarkWindowChanged(hwnd, WindowChangeClassState);
}

void TrackPress(HWND hwnd, LPARAM lParam)
{
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    bool changed = false;
    ToolbarStates().With(hwnd, [&](ToolbarState& s) {
        if (s.pressed < 0 || static_cast<size_t>(s.pressed) >= s.buttons.size())
            return;
        ToolbarButton& b = s.buttons[static_cast<size_t>(s.pressed)];
        BYTE wanted = PtInRect(&b.rect, point) ? static_cast<BYTE>(b.state | TBSTATE_PRESSED) : static_cast<BYTE>(b.state & ~TBSTATE_PRESSED);
        changed = wanted != b.state;
        b.state = wanted;
    });
    if (changed) {
        InvalidateRect(hwnd, nullptr, TRUE);
        MarkWindowChanged(hwnd, WindowChangeClassState);
    }
}

// Ends a press; a release over the pressed button clicks it.
void Release(HWND hwnd, LPARAM lParam, bool cancelled)
{
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    int command = 0;
    bool click = false;
    HWND notify = nullptr;
    ToolbarStates().With(hwnd, [&](ToolbarState& s) {
        int index = std::exchange(s.pressed, -1);
        if (index < 0 || static_cast<size_t>(index) >= s.buttons.size())
            return;
        ToolbarButton& b = s.buttons[static_cast<size_t>(index)];
        b.state &= static_cast<BYTE>(~TBSTATE_PRESSED);
        click = !cancelled && PtInRect(&b.rect, point) && (b.state & TBSTATE_ENABLED);
        if (click && (b.style & BTNS_CHECK)) {
            bool group = (b.style & BTNS_GROUP) != 0;
            if (group) {
                // A check group: the clicked button is checked, the others of its run cleared.
                size_t first = static_cast<size_t>(index), last = static_cast<size_t>(index);
                while (first > 0 && (s.buttons[first - 1].style & BTNS_CHECKGROUP) == BTNS_CHECKGROUP)
                    --first;
                while (last + 1 < s.buttons.size() && (s.buttons[last + 1].style & BTNS_CHECKGROUP) == BTNS_CHECKGROUP)
                    ++last;
                for (size_t i = first; i <= last; ++i)
                    s.buttons[i].state &= static_cast<BYTE>(~TBSTATE_CHECKED);
                b.state |= TBSTATE_CHECKED;
            } else {
                b.state ^= TBSTATE_CHECKED;
            }
        }
        command = b.command;
        notify = s.notify;
    });
    InvalidateRect(hwnd, nullptr, TRUE);
    MarkWindowChanged(hwnd, WindowChangeClassState);
    if (click && notify)
        SendMessageW(notify, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(command), 0), reinterpret_cast<LPARAM>(hwnd));
}

void Create(HWND hwnd, const CREATESTRUCTW* cs)
{
    ToolbarStates().With(hwnd, [&](ToolbarState& s) { s.notify = cs ? cs->hwndParent : GetParent(hwnd); });
    if (Style(hwnd) & TBSTYLE_TOOLTIPS) {
        HWND tooltip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT,
                                       CW_USEDEFAULT, CW_USEDEFAULT, hwnd, nullptr, nullptr, nullptr);
        ToolbarStates().With(hwnd, [&](ToolbarState& s) {
            s.tooltip = tooltip;
            s.ownsTooltip = tooltip != nullptr;
        });
        if (tooltip) {
            NMTOOLTIPSCREATED created{};
            created.hwndToolTips = tooltip;
            SendNotify(NotifyTarget(hwnd), hwnd, &created.hdr, NM_TOOLTIPSCREATED);
        }
    }
    RelayoutToolbar(hwnd);
}

void Destroy(HWND hwnd)
{
    HWND tooltip = nullptr;
    ToolbarStates().With(hwnd, [&](ToolbarState& s) {
        if (s.ownsTooltip)
            tooltip = s.tooltip;
        s.tooltip = nullptr;
    });
    if (tooltip && IsWindow(tooltip))
        DestroyWindow(tooltip);
}

}  // namespace

WindowStateTable<ToolbarState>& ToolbarStates()
{
    static auto* table = new WindowStateTable<ToolbarState>();  // outlives threads ending at exit
    return *table;
}

void RelayoutToolbar(HWND hwnd)
{
    HDC dc = nullptr;
    TextMeasure measure = MeasureWithFont(hwnd, &dc);
    RECT client{};
    GetClientRect(hwnd, &client);
    DWORD style = Style(hwnd);
    ToolSync sync;
    ToolbarStates().With(hwnd, [&](ToolbarState& s) {
        LayOutToolbar(s, style, client.right, measure);
        sync.tooltip = s.tooltip;
        sync.remove = s.toolCommands;
        s.toolCommands.clear();
        for (const ToolbarButton& b : s.buttons) {
            if (IsSeparator(b) || IsHidden(b))
                continue;
            sync.add.emplace_back(b.command, b.rect);
            s.toolCommands.push_back(b.command);
        }
    });
    DeleteDC(dc);
    SyncTools(hwnd, sync);
    InvalidateRect(hwnd, nullptr, TRUE);
    MarkWindowChanged(hwnd, WindowChangeClassState);
}

LRESULT ToolbarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (HandleFontMessage(hwnd, message, wParam, lParam, &result)) {
        if (message == WM_SETFONT)
            RelayoutToolbar(hwnd);
        return result;
    }
    bool handled = false;
    result = HandleToolbarMessage(hwnd, message, wParam, lParam, &handled);
    if (handled)
        return result;
    if (message >= WM_MOUSEFIRST && message <= WM_MBUTTONUP)
        RelayToTooltip(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_NCCREATE:
        InitialiseSharedSlots(hwnd);
        ToolbarStates().Create(hwnd);
        break;
    case WM_CREATE: Create(hwnd, reinterpret_cast<const CREATESTRUCTW*>(lParam)); return 0;
    case WM_DESTROY: Destroy(hwnd); break;
    case WM_NCDESTROY: ToolbarStates().Erase(hwnd); break;
    case WM_SIZE:
    case WM_STYLECHANGED: RelayoutToolbar(hwnd); return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (Enabled(hwnd))
            PressAt(hwnd, lParam);
        return 0;
    case WM_MOUSEMOVE: TrackPress(hwnd, lParam); return 0;
    case WM_LBUTTONUP: Release(hwnd, lParam, false); return 0;
    case WM_CANCELMODE: Release(hwnd, 0, true); return 0;
    case WM_NOTIFY: {
        // The tooltip's questions go on to whoever receives the toolbar's notifications.
        auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
        HWND notify = NotifyTarget(hwnd);
        if (hdr && notify && notify != hwnd)
            return SendMessageW(notify, WM_NOTIFY, wParam, lParam);
        return 0;
    }
    case WM_GETDLGCODE: return 0;
    case WM_ERASEBKGND: return EraseBackground(hwnd, reinterpret_cast<HDC>(wParam));
    case WM_PAINT: Paint(hwnd); return 0;
    default: break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace tabrix::controls_detail

using namespace tabrix::controls_detail;

BOOL GetToolbarSnapshot(HWND toolbar, ToolbarSnapshot* snapshot)
{
    if (!snapshot)
        return FALSE;
    bool found = ToolbarStates().With(toolbar, [&](ToolbarState& s) {
        snapshot->buttons.clear();
        for (const ToolbarButton& b : s.buttons)
            snapshot->buttons.push_back(ToolbarButtonView{b.image, b.command, b.state, b.style, b.data, ButtonText(s, b), b.rect});
        snapshot->images = s.images;
        snapshot->hotImages = s.hotImages;
        snapshot->disabledImages = s.disabledImages;
        snapshot->extendedStyle = s.extendedStyle;
        snapshot->maxTextRows = s.maxTextRows;
        snapshot->rows = s.rows;
        snapshot->notify = s.notify;
        snapshot->tooltip = s.tooltip;
    });
    return found ? TRUE : FALSE;
}
