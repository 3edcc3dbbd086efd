#include "ui/rg_label.h"

#include "platform/controls/ControlClasses.h"
#include "platform/window/Paint.h"
#include "platform/window/WinStyles.h"

namespace rg_quarn_MFCJieMian_base {

QRN_IMPLEMENT_CONTROL_CLASS(rg_label, CQrnWinControl, "rg_quarn_MFCJieMian_base::rg_label")

rg_label::rg_label() : CQrnWinControl(std::make_unique<CVWnd_Label>())
{
    GetWndObject()->style &= ~WS_BORDER;
}

bool rg_label::CreatePlatformWindow(WinCreateInfo& info)
{
    CVWnd_Label* native = GetLabelNative();
    info.style &= ~WS_TABSTOP;
    if (native->transparent)
        info.exStyle |= WS_EX_TRANSPARENT;
    if (!CVWnd::RegisterLibraryClass(CVWnd_Label::kClassName, PAINTED_EXTRA_BYTES)
        || !native->CreateNativeWindow(info.exStyle, CVWnd_Label::kClassName, info.text, info.style, info.x, info.y,
                                       info.width, info.height, ParentWindowOf(info),
                                       static_cast<UINT_PTR>(static_cast<uint32_t>(info.id))))
        return false;
    native->Publish();
    return true;
}

template <class Field, class Value>
void rg_label::Store(Field CVWnd_Label::*field, Value value)
{
    CVWnd_Label* native = GetLabelNative();
    if (!native)
        return;
    native->*field = static_cast<Field>(value);
    native->Publish();
    if (HWND hwnd = native->GetSafeHwnd())
        InvalidateRect(hwnd, nullptr, TRUE);
}

void rg_label::SetTextColor(uint32_t colour) { Store(&CVWnd_Label::textColor, colour); }
void rg_label::SetBackColor(uint32_t colour) { Store(&CVWnd_Label::backColor, colour); }
void rg_label::SetHorizontalAlign(int32_t align) { Store(&CVWnd_Label::hAlign, align); }
void rg_label::SetVerticalAlign(int32_t align) { Store(&CVWnd_Label::vAlign, align); }
void rg_label::SetWordWrap(bool wrap) { Store(&CVWnd_Label::wordWrap, wrap ? 1 : 0); }
void rg_label::SetPictureMode(int32_t mode) { Store(&CVWnd_Label::pictureMode, mode); }
void rg_label::SetTransparent(bool transparent) { Store(&CVWnd_Label::transparent, transparent ? 1 : 0); }

void rg_label::SetPicture(HBITMAP picture)
{
    if (CVWnd_Label* native = GetLabelNative())
        native->SetPicture(picture);
}

}  // namespace rg_quarn_MFCJieMian_base
