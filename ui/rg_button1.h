#pragma once
// The push button: rg_AnNiuJiChuLei is the button base with the Click event and no window of its
// own; rg_button1 is the usable button over the platform "BUTTON". A default push button (kind 1,
// the low four bits of the style) becomes its form's default button when created.
// Threads: as CQrnWinControl; Click is raised on the window's thread.
#include "ui/CQrnWinControl.h"
#include "ui/CVWnd_Button.h"

namespace rg_quarn_MFCJieMian_base {

class rg_AnNiuJiChuLei : public CQrnWinControl, public IButtonEventListener {
    QRN_DECLARE_CONTROL_CLASS(rg_AnNiuJiChuLei)
public:
    rg_AnNiuJiChuLei();

    // The base creates nothing and has no listener.
    int32_t Create(WinCreateInfo&) override { return 0; }
    void AttachListener() override {}
    void DetachListener() override {}
    int32_t HasListener() const override { return 0; }

    int32_t OnWindowMessage(MsgRecord& message) override { return HandleMessage(message); }
    void OnClick() override { Click.Raise(this); }

    EventBinding<> Click;

protected:
    explicit rg_AnNiuJiChuLei(std::unique_ptr<CVWnd> native);
};

class rg_button1 : public rg_AnNiuJiChuLei {
    QRN_DECLARE_CONTROL_CLASS(rg_button1)
public:
    rg_button1();

    int32_t Create(WinCreateInfo& info) override { return CreateWithPattern(info); }
    void AttachListener() override { CQrnWinControl::AttachListener(); }
    void DetachListener() override { CQrnWinControl::DetachListener(); }
    int32_t HasListener() const override { return CQrnWinControl::HasListener(); }

    CVWnd_Button* GetButtonNative() const noexcept { return static_cast<CVWnd_Button*>(GetNative()); }
    // The button kind (low four bits of the style: 0 push button, 1 default push button).
    void SetButtonKind(uint32_t kind);
    void SetTextColor(uint32_t colour);
    void SetBackColor(uint32_t colour);

protected:
    IBaseEventListener* ListenerInterface() override { return static_cast<IButtonEventListener*>(this); }
    bool CreatePlatformWindow(WinCreateInfo& info) override;
};

}  // namespace rg_quarn_MFCJieMian_base
