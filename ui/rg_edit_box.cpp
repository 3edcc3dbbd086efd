#include "ui/rg_edit_box.h"

#include "platform/window/Paint.h"
#include "platform/window/WinStyles.h"

namespace rg_quarn_MFCJieMian_base {

QRN_IMPLEMENT_CONTROL_CLASS(rg_edit_box, CQrnWinControl, "rg_quarn_MFCJieMian_base::rg_edit_box")

rg_edit_box::rg_edit_box() : CQrnWinControl(std::make_unique<CVWnd_Edit>())
{
    GetWndObject()->style |= WS_TABSTOP;
    GetWndObject()->exStyle |= WS_EX_CLIENTEDGE;
}

bool rg_edit_box::CreatePlatformWindow(WinCreateInfo& info)
{
    CVWnd_Edit* native = GetEditNative();
    info.style = native->EditStyle(info.style);
    HWND parent = ParentWindowOf(info);
    if (!native->CreateNativeWindow(info.exStyle, CVWnd_Edit::kClassName, info.text, info.style, info.x, info.y,
                                    info.width, info.height, parent, static_cast<UINT_PTR>(static_cast<uint32_t>(info.id))))
        return false;
    native->ConfigureCreated(info.style, parent, info.id);
    return true;
}

void rg_edit_box::SetInputType(int32_t inputType)
{
    if (CVWnd_Edit* n = GetEditNative())
        n->inputType = inputType;
}

void rg_edit_box::SetMultiLine(bool multiLine)
{
    if (CVWnd_Edit* n = GetEditNative())
        n->multiLine = multiLine ? 1 : 0;
}

void rg_edit_box::SetScrollBars(int32_t scrollBars)
{
    if (CVWnd_Edit* n = GetEditNative())
        n->scrollBars = scrollBars;
}

void rg_edit_box::SetMaxLength(int32_t maxLength)
{
    if (CVWnd_Edit* n = GetEditNative())
        n->maxLength = maxLength;
}

void rg_edit_box::SetPasswordChar(char16_t passwordChar)
{
    if (CVWnd_Edit* n = GetEditNative())
        n->passwordChar = passwordChar;
}

void rg_edit_box::SetSpin(int32_t mode, int32_t minimum, int32_t maximum)
{
    if (CVWnd_Edit* n = GetEditNative()) {
        n->spinMode = mode;
        n->spinMin = minimum;
        n->spinMax = maximum;
    }
}

void rg_edit_box::SetSuppressChanged(bool suppress)
{
    if (CVWnd_Edit* n = GetEditNative())
        n->suppressChanged = suppress ? 1 : 0;
}

void rg_edit_box::SetTextColor(uint32_t colour)
{
    if (CVWnd_Edit* n = GetEditNative()) {
        n->textColor = colour;
        if (HWND hwnd = n->GetSafeHwnd())
            InvalidateRect(hwnd, nullptr, TRUE);
    }
}

void rg_edit_box::SetBackColor(uint32_t colour)
{
    if (CVWnd_Edit* n = GetEditNative())
        n->SetBackColor(colour);
}

}  // namespace rg_quarn_MFCJieMian_base
