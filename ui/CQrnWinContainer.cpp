#include "ui/CQrnWinContainer.h"

#include "platform/window/WinStyles.h"
#include "platform/window/WindowGeometry.h"
#include "ui/DesignableClasses.h"

namespace rg_quarn_MFCJieMian_base {

QRN_IMPLEMENT_CONTROL_CLASS(CQrnWinContainer, CQrnWinControl, "rg_quarn_MFCJieMian_base::CQrnWinContainer")

void CQrnWinContainer::FillCreateInfo(WinCreateInfo& info)
{
    CQrnWinControl::FillCreateInfo(info);
    info.exStyle |= WS_EX_CONTROLPARENT;
}

void CQrnWinContainer::AdjustCreateInfo(WinCreateInfo& info)
{
    if (info.width == kDefaultCoordinate || info.height == kDefaultCoordinate) {
        const int32_t clientWidth = GetDesignClientWidth();
        const int32_t clientHeight = GetDesignClientHeight();
        const BOOL hasMenu = !info.parentNative && info.menu && info.menu->GetMenuHandle() ? TRUE : FALSE;
        RECT outer{0, 0, clientWidth, clientHeight};
        if (clientWidth > 0 && clientHeight > 0 && AdjustWindowRectEx(&outer, info.style, hasMenu, info.exStyle)) {
            info.width = outer.right - outer.left;
            info.height = outer.bottom - outer.top;
        } else {
            info.width = 0;
            info.height = 0;
        }
    }
    designOuterSize = DesignOuterSize{info.width, info.height};
}

}  // namespace rg_quarn_MFCJieMian_base
