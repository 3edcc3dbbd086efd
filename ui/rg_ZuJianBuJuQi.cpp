#include "ui/rg_ZuJianBuJuQi.h"

#include "platform/window/Paint.h"
#include "platform/window/WinStyles.h"
#include "platform/window/Window.h"

namespace rg_quarn_MFCJieMian_base {

QRN_IMPLEMENT_CONTROL_CLASS(rg_ZuJianBuJuQi, CQrnWinContainer, "rg_quarn_MFCJieMian_base::rg_ZuJianBuJuQi")

rg_ZuJianBuJuQi::rg_ZuJianBuJuQi() : rg_ZuJianBuJuQi(std::make_unique<CVWnd_Container>()) {}

rg_ZuJianBuJuQi::rg_ZuJianBuJuQi(std::unique_ptr<CVWnd_Container> native) : CQrnWinContainer(std::move(native)) {}

void rg_ZuJianBuJuQi::FillCreateInfo(WinCreateInfo& info)
{
    CQrnWinContainer::FillCreateInfo(info);
    if (!HasListener())
        AttachListener();
}

void rg_ZuJianBuJuQi::PrepareContainerStyle(WinCreateInfo& info)
{
    info.style &= ~WS_TABSTOP;
    if (GetContainerNative()->transparent)
        info.exStyle |= WS_EX_TRANSPARENT;
}

bool rg_ZuJianBuJuQi::CreatePlatformWindow(WinCreateInfo& info)
{
    PrepareContainerStyle(info);
    CVWnd_Container* native = GetContainerNative();
    if (!CVWnd::RegisterLibraryClass(CVWnd_Container::kClassName)
        || !native->CreateNativeWindow(info.exStyle, CVWnd_Container::kClassName, info.text, info.style, info.x,
                                       info.y, info.width, info.height, ParentWindowOf(info),
                                       static_cast<UINT_PTR>(static_cast<uint32_t>(info.id))))
        return false;
    SetWindowLongPtrW(native->GetSafeHwnd(), GWLP_USERDATA, kQrnWindowMark);
    return true;
}

void rg_ZuJianBuJuQi::OnCreate()
{
    OnCreated();
    WindowCreated.Raise(this);
}

void rg_ZuJianBuJuQi::Repaint() const
{
    if (HWND hwnd = GetSafeHwnd())
        InvalidateRect(hwnd, nullptr, TRUE);
}

void rg_ZuJianBuJuQi::SetBackColor(uint32_t colour)
{
    if (CVWnd_Container* native = GetContainerNative()) {
        native->backColor = colour;
        Repaint();
    }
}

void rg_ZuJianBuJuQi::SetPictureMode(int32_t mode)
{
    if (CVWnd_Container* native = GetContainerNative()) {
        native->pictureMode = mode;
        Repaint();
    }
}

void rg_ZuJianBuJuQi::SetTransparent(bool transparent)
{
    if (CVWnd_Container* native = GetContainerNative()) {
        native->transparent = transparent ? 1 : 0;
        Repaint();
    }
}

void rg_ZuJianBuJuQi::SetPicture(HBITMAP picture)
{
    if (CVWnd_Container* native = GetContainerNative())
        native->SetPicture(picture);
}

void rg_ZuJianBuJuQi::SetTooltipControl(HWND tooltip)
{
    CVWnd_Container* native = GetContainerNative();
    if (!native)
        return;
    if (native->tooltipControl && native->tooltipControl != tooltip && IsWindow(native->tooltipControl))
        DestroyWindow(native->tooltipControl);
    native->tooltipControl = tooltip;
}

}  // namespace rg_quarn_MFCJieMian_base
