#include "ui/CVWnd_Edit.h"

#include "platform/controls/EditControl.h"
#include "platform/controls/MessageBeep.h"
#include "platform/controls/Reflection.h"
#include "platform/controls/UpDownControl.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/window/Focus.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Paint.h"
#include "platform/window/WinMessages.h"
#include "platform/window/WinStyles.h"
#include "platform/window/Window.h"
#include "platform/window/WindowGeometry.h"
#include "runtime/NumberText.h"
#include "ui/BackgroundPainting.h"
#include "ui/EditInputTypes.h"

#include <algorithm>
#include <vector>

namespace {

constexpr UINT kExclamation = 0x30;  // MB_ICONEXCLAMATION

std::u16string TextOf(HWND hwnd)
{
    const int length = GetWindowTextLengthW(hwnd);
    std::vector<char16_t> buffer(static_cast<size_t>(std::max(length, 0)) + 1, 0);
    const int copied = GetWindowTextW(hwnd, buffer.data(), static_cast<int>(buffer.size()));
    return std::u16string(buffer.data(), static_cast<size_t>(std::max(copied, 0)));
}

RECT RectInParent(HWND hwnd, HWND parent)
{
    RECT r{};
    GetWindowRect(hwnd, &r);
    POINT corners[2] = {{r.left, r.top}, {r.right, r.bottom}};
    MapWindowPoints(nullptr, parent, corners, 2);
    return RECT{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

}  // namespace

CVWnd_Edit::CVWnd_Edit() : backBrush(CreateSolidBrush(backColor)) {}

CVWnd_Edit::~CVWnd_Edit()
{
    if (spin)
        CVWnd::ReleaseFromHolder(spin.release());
    if (backBrush)
        DeleteObject(backBrush);
}

IEditEventListener* CVWnd_Edit::EditListener() const
{
    return dynamic_cast<IEditEventListener*>(listener.load(std::memory_order_acquire));
}

void CVWnd_Edit::SetBackColor(uint32_t colour)
{
    backColor = colour;
    HBRUSH old = backBrush;
    backBrush = CreateSolidBrush(ResolveColour(colour, COLOR_WINDOW));
    if (old)
        DeleteObject(old);
    if (HWND hwnd = GetSafeHwnd())
        InvalidateRect(hwnd, nullptr, TRUE);
}

uint32_t CVWnd_Edit::EditStyle(uint32_t style) const
{
    if (multiLine) {
        style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
        if (scrollBars == 1 || scrollBars == 3)
            style |= ES_AUTOHSCROLL;
        if (scrollBars == 1 || scrollBars == 3)
            style |= WS_HSCROLL;
        if (scrollBars == 2 || scrollBars == 3)
            style |= WS_VSCROLL;
    } else {
        style |= ES_AUTOHSCROLL;
    }
    if (inputType == kEditReadOnly)
        style |= ES_READONLY;
    else if (inputType == kEditPassword)
        style |= ES_PASSWORD;
    return style;
}

void CVWnd_Edit::ConfigureCreated(uint32_t style, HWND parent, int32_t id)
{
    HWND hwnd = GetSafeHwnd();
    SendMessageW(hwnd, EM_LIMITTEXT, static_cast<WPARAM>(std::max(maxLength, 0)), 0);
    if (inputType == kEditPassword)
        SendMessageW(hwnd, EM_SETPASSWORDCHAR, static_cast<WPARAM>(passwordChar), 0);
    if (multiLine || spinMode == 0)
        return;
    auto arrows = std::make_unique<CEditSpin>();
    arrows->buddy = this;
    arrows->counts = spinMode == 1 ? 1 : 0;
    if (!arrows->CreateNativeWindow(0, CEditSpin::kClassName, u"", (style & (WS_DISABLED | WS_VISIBLE)) | WS_CHILD, 0, 0,
                                    CEditSpin::kWidth, 0, parent, static_cast<UINT_PTR>(static_cast<uint32_t>(id + 1000))))
        return;
    const WORD upper = static_cast<WORD>(std::max(spinMin, spinMax));
    const WORD lower = static_cast<WORD>(std::min(spinMin, spinMax));
    SendMessageW(arrows->GetSafeHwnd(), UDM_SETRANGE, 0, MAKELPARAM(upper, lower));
    spin = std::move(arrows);
    spin->Place();
}

ListenerStep CVWnd_Edit::ListenerStepFor(UINT message) const
{
    return (message == WM_SETFOCUS || message == WM_KILLFOCUS) ? ListenerStep::Skip : ListenerStep::Run;
}

void CVWnd_Edit::Normalise()
{
    HWND hwnd = GetSafeHwnd();
    const std::u16string current = TextOf(hwnd);
    const std::optional<std::u16string> normal = NormaliseEditText(inputType, current);
    if (!normal || *normal == current)
        return;
    const auto start = static_cast<WPARAM>(LOWORD(static_cast<uintptr_t>(SendMessageW(hwnd, EM_GETSEL, 0, 0))));
    SetWindowTextW(hwnd, normal->c_str());
    SendMessageW(hwnd, EM_SETSEL, start, static_cast<LPARAM>(start));
    SendMessageW(hwnd, EM_SCROLLCARET, 0, 0);
}

LRESULT CVWnd_Edit::OnReflectedCommand(WPARAM wParam)
{
    HWND hwnd = GetSafeHwnd();
    const WORD code = HIWORD(wParam);
    if (code != EN_CHANGE && code != EN_SETFOCUS && code != EN_KILLFOCUS)
        return 0;
    MarkReflectedMessageHandled(hwnd);
    if (code == EN_CHANGE) {
        if (!suppressChanged)
            if (IEditEventListener* l = EditListener())
                l->OnChanged();
        return 0;
    }
    if (code == EN_KILLFOCUS && inputType >= kEditByte && inputType <= kEditHexadecimal)
        Normalise();
    if (IEditEventListener* l = EditListener()) {
        MsgRecord record{hwnd, code == EN_SETFOCUS ? WM_SETFOCUS : WM_KILLFOCUS, 0, 0};
        l->OnWindowMessage(record);
    }
    return 0;
}

void CVWnd_Edit::OnFont(HFONT font)
{
    HWND hwnd = GetSafeHwnd();
    if (!font) {
        textHeight = 0;
        return;
    }
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen, &metrics);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    textHeight = metrics.tmHeight;
    RECT r{};
    GetWindowRect(hwnd, &r);
    const int needed = textHeight + 2 * GetSystemMetrics(SM_CYEDGE) + 2;
    if (r.bottom - r.top < needed)
        SetWindowPos(hwnd, nullptr, 0, 0, r.right - r.left, needed, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void CVWnd_Edit::CentreClient(RECT* client) const
{
    const int height = client->bottom - client->top;
    if (textHeight <= 0 || height <= textHeight)
        return;
    client->top += (height - textHeight) / 2;
    client->bottom = client->top + textHeight;
}

LRESULT CVWnd_Edit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND hwnd = GetSafeHwnd();
    LRESULT result = 0;
    switch (message) {
    case OCM_COMMAND: return OnReflectedCommand(wParam);
    case OCM_CTLCOLOREDIT:
    case OCM_CTLCOLORSTATIC: {
        MarkReflectedMessageHandled(hwnd);
        auto hdc = reinterpret_cast<HDC>(wParam);
        SetTextColor(hdc, ResolveColour(textColor, COLOR_WINDOWTEXT));
        SetBkColor(hdc, ResolveColour(backColor, COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(backBrush);
    }
    case WM_CHAR:
        if (!EditAcceptsCharacter(inputType, static_cast<char16_t>(wParam))) {
            MessageBeep(kExclamation);
            return 0;
        }
        break;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE && multiLine)
            return 0;
        break;
    case WM_SETFONT:
        result = Default(message, wParam, lParam);
        if (SingleLine())
            OnFont(reinterpret_cast<HFONT>(wParam));
        return result;
    case WM_NCCALCSIZE:
        result = Default(message, wParam, lParam);
        if (SingleLine())
            CentreClient(reinterpret_cast<RECT*>(lParam));
        return result;
    case WM_NCPAINT:
        if (SingleLine() && textHeight > 0) {
            RECT window{}, client{};
            GetWindowRect(hwnd, &window);
            GetClientRect(hwnd, &client);
            POINT origin{0, 0};
            ClientToScreen(hwnd, &origin);
            const int left = origin.x - window.left, top = origin.y - window.top;
            HDC dc = GetWindowDC(hwnd);
            RECT above{left, 0, left + client.right, top};
            RECT below{left, top + client.bottom, left + client.right, window.bottom - window.top};
            FillRect(dc, &above, backBrush);
            FillRect(dc, &below, backBrush);
            ReleaseDC(hwnd, dc);
        }
        break;
    case WM_NCHITTEST:
        if (SingleLine()) {
            POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            RECT window{}, client{};
            GetWindowRect(hwnd, &window);
            if (PtInRect(&window, p)) {
                ScreenToClient(hwnd, &p);
                GetClientRect(hwnd, &client);
                if (!PtInRect(&client, p))
                    return HTBORDER;
            }
        }
        break;
    case WM_SIZE:
    case WM_MOVE:
        result = Default(message, wParam, lParam);
        if (spin)
            spin->Place();
        return result;
    case WM_WINDOWPOSCHANGED:
        result = Default(message, wParam, lParam);
        if (spin && spin->GetSafeHwnd())
            SetWindowPos(spin->GetSafeHwnd(), hwnd, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        return result;
    case WM_ENABLE:
        result = Default(message, wParam, lParam);
        if (spin && spin->GetSafeHwnd())
            EnableWindow(spin->GetSafeHwnd(), wParam ? TRUE : FALSE);
        return result;
    case WM_SHOWWINDOW:
        result = Default(message, wParam, lParam);
        if (spin && spin->GetSafeHwnd())
            ShowWindow(spin->GetSafeHwnd(), wParam ? SW_SHOWNA : SW_HIDE);
        return result;
    case WM_DESTROY:
        if (spin && spin->GetSafeHwnd())
            DestroyWindow(spin->GetSafeHwnd());
        break;
    default: break;
    }
    return Default(message, wParam, lParam);
}

void CEditSpin::Place()
{
    HWND self = GetSafeHwnd();
    HWND edit = buddy ? buddy->GetSafeHwnd() : nullptr;
    if (!self || !edit)
        return;
    HWND parent = GetParent(edit);
    if (GetParent(self) != parent)
        SetParent(self, parent);
    const RECT r = RectInParent(edit, parent);
    SetWindowPos(self, nullptr, r.right, r.top, kWidth, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(edit, nullptr, TRUE);
}

void CEditSpin::Step(int delta)
{
    HWND self = GetSafeHwnd();
    HWND edit = buddy->GetSafeHwnd();
    const int64_t v = TextToInt64(TextOf(edit).c_str());
    int lo = 0, hi = 0;
    SendMessageW(self, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lo), reinterpret_cast<LPARAM>(&hi));
    int64_t next = 0;
    if (delta < 0)
        next = v - 1 < lo ? hi : std::min<int64_t>(v - 1, hi);
    else
        next = v + 1 > hi ? lo : (v + 1 < lo ? lo : v + 1);
    SetWindowTextW(edit, Int64ToText(next).GetText());
    if (!IsWindow(edit))
        return;
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, EM_SCROLLCARET, 0, 0);
    SetFocus(edit);
}

LRESULT CEditSpin::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == OCM_NOTIFY) {
        auto* change = reinterpret_cast<NMUPDOWN*>(lParam);
        if (!change || change->hdr.code != UDN_DELTAPOS)
            return 0;
        MarkReflectedMessageHandled(GetSafeHwnd());
        HWND edit = buddy ? buddy->GetSafeHwnd() : nullptr;
        if (edit && IsWindowEnabled(edit) && IsWindowVisible(edit)) {
            if (counts)
                Step(change->iDelta);
            else if (IEditEventListener* l = buddy->EditListener())
                l->OnSpin(change->iDelta < 0 ? -1 : 1);
        }
        return 1;  // the arrows never move a position of their own
    }
    return Default(message, wParam, lParam);
}
