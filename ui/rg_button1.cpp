#include "ui/rg_button1.h"

#include "platform/controls/ButtonControl.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Paint.h"
#include "platform/window/WinStyles.h"
#include "platform/window/Window.h"
#include "ui/CVWnd_WinForm.h"

namespace rg_quarn_MFCJieMian_base {

QRN_IMPLEMENT_CONTROL_CLASS(rg_AnNiuJiChuLei, CQrnWinControl, "rg_quarn_MFCJieMian_base::rg_AnNiuJiChuLei")
QRN_IMPLEMENT_CONTROL_CLASS(rg_button1, rg_AnNiuJiChuLei, "rg_quarn_MFCJieMian_base::rg_button1")

rg_AnNiuJiChuLei::rg_AnNiuJiChuLei() : rg_AnNiuJiChuLei(std::make_unique<CVWnd_Button>()) {}

rg_AnNiuJiChuLei::rg_AnNiuJiChuLei(std::unique_ptr<CVWnd> native) : CQrnWinControl(std::move(native))
{
    GetWndObject()->style |= WS_TABSTOP | BS_MULTILINE;
}

rg_button1::rg_button1() = default;

bool rg_button1::CreatePlatformWindow(WinCreateInfo& info)
{
    CVWnd_Button* native = GetButtonNative();
    if (!native->CreateNativeWindow(info.exStyle, CVWnd_Button::kClassName, info.text, info.style, info.x, info.y,
                                    info.width, info.height, ParentWindowOf(info),
                                    static_cast<UINT_PTR>(static_cast<uint32_t>(info.id))))
        return false;
    if ((info.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
        for (HWND w = GetParent(native->GetSafeHwnd()); w; w = GetParent(w)) {
            if (auto* form = dynamic_cast<CVWnd_WinForm*>(CVWnd::FromHandle(w))) {
                form->defaultButtonId = info.id;
                break;
            }
        }
    }
    return true;
}

void rg_button1::SetButtonKind(uint32_t kind)
{
    CMfcWndObject* holder = GetWndObject();
    if (!holder)
        return;
    if (HWND hwnd = holder->Hwnd())
        SendMessageW(hwnd, BM_SETSTYLE, (static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)) & ~BS_TYPEMASK) | (kind & BS_TYPEMASK), TRUE);
    else
        holder->style = (holder->style & ~BS_TYPEMASK) | (kind & BS_TYPEMASK);
}

void rg_button1::SetTextColor(uint32_t colour)
{
    if (CVWnd_Button* native = GetButtonNative()) {
        native->textColor = colour;
        if (HWND hwnd = native->GetSafeHwnd())
            InvalidateRect(hwnd, nullptr, TRUE);
    }
}

void rg_button1::SetBackColor(uint32_t colour)
{
    if (CVWnd_Button* native = GetButtonNative())
        native->SetBackColor(colour);
}

}  // namespace rg_quarn_MFCJieMian_base
