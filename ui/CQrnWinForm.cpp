#include "ui/CQrnWinForm.h"

#include "platform/gdi/Cursors.h"
#include "platform/loader/Modules.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/WinMessages.h"
#include "platform/window/WinStyles.h"
#include "platform/window/Window.h"
#include "platform/window/WindowGeometry.h"

#include <algorithm>
#include <atomic>

namespace rg_quarn_MFCJieMian_base {

QRN_IMPLEMENT_CONTROL_CLASS(CQrnWinForm, rg_ZuJianBuJuQi, "rg_quarn_MFCJieMian_base::CQrnWinForm")

namespace {

std::atomic<HWND> g_mainWindow{nullptr};

// The rectangle of the monitor nearest to the window: this desktop has the one screen.
RECT MonitorRect(HWND)
{
    return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

bool IsChildForm(const WinCreateInfo& info) { return info.parentNative && !(info.style & WS_POPUP); }

}  // namespace

CQrnWinForm::CQrnWinForm() : rg_ZuJianBuJuQi(std::make_unique<CVWnd_WinForm>()) {}

void CQrnWinForm::SetApplicationMainWindow(HWND hwnd) { g_mainWindow.store(hwnd); }

HWND CQrnWinForm::GetApplicationMainWindow() { return g_mainWindow.load(); }

void CQrnWinForm::FillCreateInfo(WinCreateInfo& info)
{
    rg_ZuJianBuJuQi::FillCreateInfo(info);
    if (GetFormNative())
        ApplyFrameStyle(info);
}

void CQrnWinForm::ApplyFrameStyle(WinCreateInfo& info) const
{
    const CVWnd_WinForm& f = *GetFormNative();
    const bool emptyTitle = !info.text || !info.text[0];
    if (emptyTitle && f.controlBox)
        info.text = kApplicationName;
    const bool hasTitle = info.text && info.text[0];
    info.style |= WS_CLIPCHILDREN;
    if (f.borderStyle != 0) {
        if (hasTitle || f.controlBox)
            info.style |= WS_CAPTION;
        info.style |= WS_DLGFRAME;
        if (f.controlBox)
            info.style |= WS_SYSMENU | WS_BORDER;
    }
    switch (f.borderStyle) {
    case 1: info.style |= WS_THICKFRAME; break;
    case 3: info.style |= WS_THICKFRAME; info.exStyle |= WS_EX_TOOLWINDOW; break;
    case 4: info.exStyle |= WS_EX_TOOLWINDOW; break;
    case 5: info.style |= WS_THICKFRAME; info.exStyle |= WS_EX_CLIENTEDGE; break;
    case 6: info.exStyle |= WS_EX_CLIENTEDGE; break;
    default: break;
    }
    if (f.maximizeBox)
        info.style |= WS_MAXIMIZEBOX;
    if (f.minimizeBox)
        info.style |= WS_MINIMIZEBOX;
    if (f.startState == 2)
        info.style |= WS_MINIMIZE;
    else if (f.startState == 3)
        info.style |= WS_MAXIMIZE;
    // A form given a top-level parent becomes a pop-up it owns.
    if (HWND parent = ParentWindowOf(info)) {
        const auto parentStyle = static_cast<uint32_t>(GetWindowLongW(parent, GWL_STYLE));
        if (!(parentStyle & (WS_CHILD | WS_POPUP)))
            info.style = (info.style & ~(WS_POPUP | WS_CHILD)) | WS_POPUP;
    }
}

void CQrnWinForm::AdjustCreateInfo(WinCreateInfo& info)
{
    rg_ZuJianBuJuQi::AdjustCreateInfo(info);
    if (info.style & WS_CHILD)
        return;
    if (info.x == kDefaultCoordinate)
        info.x = (GetSystemMetrics(SM_CXSCREEN) - info.width) / 2;
    if (info.y == kDefaultCoordinate)
        info.y = (GetSystemMetrics(SM_CYSCREEN) - info.height) / 2;
}

void CQrnWinForm::PlaceOnMonitor(WinCreateInfo& info) const
{
    if (IsChildForm(info))
        return;
    HWND reference = info.parentNative ? ParentWindowOf(info) : GetApplicationMainWindow();
    const RECT monitor = MonitorRect(reference);
    if (GetFormNative()->startState == 1) {
        info.x = (monitor.left + monitor.right - info.width) / 2;
        info.y = (monitor.top + monitor.bottom - info.height) / 2;
    } else {
        info.x += monitor.left;
        info.y += monitor.top;
    }
}

bool CQrnWinForm::CreatePlatformWindow(WinCreateInfo& info)
{
    CVWnd_WinForm* f = GetFormNative();
    if (!f)
        return false;
    PlaceOnMonitor(info);
    PrepareContainerStyle(info);
    UINT_PTR idOrMenu = 0;
    if (IsChildForm(info)) {
        f->SetMenuObject(nullptr);
        idOrMenu = static_cast<UINT_PTR>(static_cast<uint32_t>(info.id));
    } else {
        f->SetMenuObject(info.menu ? info.menu->GetMenuObject() : nullptr);
        idOrMenu = reinterpret_cast<UINT_PTR>(f->menu ? f->menu->menu : nullptr);
    }
    const char16_t* windowClass = f->className.GetLength() >= 1 ? f->className.GetText() : CVWnd_WinForm::kClassName;
    if (!CVWnd::RegisterLibraryClass(windowClass)
        || !f->CreateNativeWindow(info.exStyle, windowClass, info.text, info.style, info.x, info.y, info.width,
                                  info.height, ParentWindowOf(info), idOrMenu))
        return false;
    HWND hwnd = f->GetSafeHwnd();
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, kQrnWindowMark);
    f->UpdateCaptionBits();
    if (!f->icon)
        f->icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(100));
    SendMessageW(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(f->icon));
    SendMessageW(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(f->icon));
    f->ApplyShape();
    if (info.font)
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(info.font), 1);
    if (f->topMost)
        SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ShowByStartState();
    return true;
}

void CQrnWinForm::ShowByStartState()
{
    CVWnd_WinForm* f = GetFormNative();
    HWND hwnd = f ? f->GetSafeHwnd() : nullptr;
    if (!hwnd)
        return;
    f->startState = std::clamp(f->startState, 0, 3);
    if (!IsWindowVisible(hwnd) || (GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD))
        return;
    switch (f->startState) {
    case 0: ShowWindow(hwnd, SW_SHOWNORMAL); break;
    case 2: ShowWindow(hwnd, SW_MINIMIZE); break;
    case 3: ShowWindow(hwnd, SW_MAXIMIZE); break;
    default: {
        if (IsIconic(hwnd) || IsZoomed(hwnd))
            ShowWindow(hwnd, SW_RESTORE);
        RECT r{};
        GetWindowRect(hwnd, &r);
        const RECT monitor = MonitorRect(hwnd);
        const int w = r.right - r.left, h = r.bottom - r.top;
        const int x = (monitor.left + monitor.right - w) / 2, y = (monitor.top + monitor.bottom - h) / 2;
        if (x != r.left || y != r.top)
            SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        break;
    }
    }
}

int32_t CQrnWinForm::OnSizeLimits(MINMAXINFO* limits)
{
    if (!limits)
        return 0;
    rg_ChuangKouWeiZhiXianZhiXinXi record;
    record.ReadFrom(*limits);
    const int32_t changed = SizeLimits.Raise(this, &record);
    if (changed)
        record.WriteTo(*limits);
    return changed;
}

}  // namespace rg_quarn_MFCJieMian_base
