#include "ui/rg_process_bar.h"

#include "platform/controls/ProgressControl.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/WinStyles.h"
#include "platform/window/Window.h"

#include <algorithm>

namespace rg_quarn_MFCJieMian_base {

QRN_IMPLEMENT_CONTROL_CLASS(rg_process_bar, CQrnWinControl, "rg_quarn_MFCJieMian_base::rg_process_bar")

namespace {

int64_t ClampProgress(int64_t n) { return n < 0 ? 0 : (n >= 0x8000 ? 0x7FFF : n); }

}  // namespace

rg_process_bar::rg_process_bar() : CQrnWinControl(std::make_unique<CVWnd_ProgressBar>()) {}

bool rg_process_bar::CreatePlatformWindow(WinCreateInfo& info)
{
    CVWnd_ProgressBar* native = GetProgressNative();
    if (!native->CreateNativeWindow(0, CVWnd_ProgressBar::kClassName, info.text, info.style, info.x, info.y,
                                    info.width, info.height, ParentWindowOf(info),
                                    static_cast<UINT_PTR>(static_cast<uint32_t>(info.id))))
        return false;
    HWND hwnd = native->GetSafeHwnd();
    SetWindowLongW(hwnd, GWL_EXSTYLE, static_cast<LONG>(info.exStyle));
    const int64_t low = std::min(native->minimum, native->maximum);
    const int64_t high = std::max(native->minimum, native->maximum);
    SendMessageW(hwnd, PBM_SETRANGE, 0, MAKELPARAM(static_cast<WORD>(low), static_cast<WORD>(high)));
    SendMessageW(hwnd, PBM_SETPOS, static_cast<WPARAM>(std::clamp(native->position, low, high)), 0);
    return true;
}

void rg_process_bar::SetMaximum(int64_t maximum)
{
    CVWnd_ProgressBar* native = GetProgressNative();
    if (!native)
        return;
    const int64_t v = ClampProgress(maximum);
    if (HWND hwnd = native->GetSafeHwnd()) {
        PBRANGE range{};
        SendMessageW(hwnd, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
        SendMessageW(hwnd, PBM_SETRANGE32, static_cast<WPARAM>(range.iLow), static_cast<LPARAM>(v));
    } else {
        native->maximum = v;
    }
}

void rg_process_bar::SetPosition(int64_t position)
{
    CVWnd_ProgressBar* native = GetProgressNative();
    if (!native)
        return;
    const int64_t v = ClampProgress(position);
    if (HWND hwnd = native->GetSafeHwnd())
        SendMessageW(hwnd, PBM_SETPOS, static_cast<WPARAM>(v), 0);
    else
        native->position = v;
}

int64_t rg_process_bar::GetMaximum() const
{
    CVWnd_ProgressBar* native = GetProgressNative();
    if (!native)
        return 0;
    if (HWND hwnd = native->GetSafeHwnd())
        return SendMessageW(hwnd, PBM_GETRANGE, FALSE, 0);
    return native->maximum;
}

int64_t rg_process_bar::GetPosition() const
{
    CVWnd_ProgressBar* native = GetProgressNative();
    if (!native)
        return 0;
    if (HWND hwnd = native->GetSafeHwnd())
        return SendMessageW(hwnd, PBM_GETPOS, 0, 0);
    return native->position;
}

}  // namespace rg_quarn_MFCJieMian_base
