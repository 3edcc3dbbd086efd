#include "ui/rg_GongJuTiao.h"

#include "platform/controls/ToolbarControl.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Paint.h"
#include "platform/window/Window.h"

namespace rg_quarn_MFCJieMian_KuoZhanZuJian {

QRN_IMPLEMENT_CONTROL_CLASS(rg_GongJuTiao, rg_quarn_MFCJieMian_base::CQrnWinControl,
                            "rg_quarn_MFCJieMian_KuoZhanZuJian::rg_GongJuTiao")

rg_GongJuTiao::rg_GongJuTiao() : CQrnWinControl(std::make_unique<CVWnd_ToolBar>()) {}

bool rg_GongJuTiao::CreatePlatformWindow(WinCreateInfo& info)
{
    CVWnd_ToolBar* native = GetToolBarNative();
    info.style = native->CreationStyle(info.style);
    if (!native->CreateToolbar(info.exStyle, info.text, info.style, info.x, info.y, info.width, info.height,
                               ParentWindowOf(info), static_cast<UINT_PTR>(static_cast<uint32_t>(info.id))))
        return false;
    native->BuildButtons();
    return true;
}

bool rg_GongJuTiao::SetItemSpec(const CWString& text)
{
    CVWnd_ToolBar* native = GetToolBarNative();
    if (!native)
        return false;
    native->itemSpec = text;
    if (native->GetSafeHwnd())
        return native->BuildButtons();
    return ParseToolbarItemSpec(text.View()).ignoredFields == 0;
}

void rg_GongJuTiao::SetImageList(HIMAGELIST list)
{
    if (CVWnd_ToolBar* native = GetToolBarNative())
        native->ReplaceImageList(&CVWnd_ToolBar::imageList, list);
}

void rg_GongJuTiao::SetHotImageList(HIMAGELIST list)
{
    if (CVWnd_ToolBar* native = GetToolBarNative())
        native->ReplaceImageList(&CVWnd_ToolBar::hotImageList, list);
}

void rg_GongJuTiao::SetDisabledImageList(HIMAGELIST list)
{
    if (CVWnd_ToolBar* native = GetToolBarNative())
        native->ReplaceImageList(&CVWnd_ToolBar::disabledImageList, list);
}

void rg_GongJuTiao::SetBackColor(uint32_t colour)
{
    CVWnd_ToolBar* native = GetToolBarNative();
    if (!native)
        return;
    native->backColor = colour;
    if (HWND hwnd = native->GetSafeHwnd())
        InvalidateRect(hwnd, nullptr, TRUE);
}

void rg_GongJuTiao::SetPlacement(int32_t placement)
{
    if (CVWnd_ToolBar* native = GetToolBarNative())
        native->placement = placement;
}

void rg_GongJuTiao::SetFlat(Toggle flat)
{
    if (CVWnd_ToolBar* native = GetToolBarNative())
        native->flat = flat == Toggle::On ? 1 : 0;
}

void rg_GongJuTiao::SetDivider(Toggle divider)
{
    if (CVWnd_ToolBar* native = GetToolBarNative())
        native->divider = divider == Toggle::On ? 1 : 0;
}

void rg_GongJuTiao::SetListStyle(Toggle list)
{
    if (CVWnd_ToolBar* native = GetToolBarNative())
        native->listStyle = list == Toggle::On ? 1 : 0;
}

void rg_GongJuTiao::SetWrapable(Toggle wrapable)
{
    if (CVWnd_ToolBar* native = GetToolBarNative())
        native->wrapable = wrapable == Toggle::On ? 1 : 0;
}

void rg_GongJuTiao::SetMaxTextRows(int32_t rows)
{
    CVWnd_ToolBar* native = GetToolBarNative();
    if (!native)
        return;
    native->maxTextRows = rows;
    if (HWND hwnd = native->GetSafeHwnd(); hwnd && rows > 0)
        SendMessageW(hwnd, TB_SETMAXTEXTROWS, static_cast<WPARAM>(rows), 0);
}

}  // namespace rg_quarn_MFCJieMian_KuoZhanZuJian
