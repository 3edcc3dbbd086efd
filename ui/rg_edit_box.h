#pragma once
// rg_edit_box: a text box over the platform "EDIT", with input types (EditInputTypes.h) that
// filter typed characters and normalise the text on focus loss, optional spin arrows, and the
// events Changed (EN_CHANGE) and Spin (-1 down, 1 up, for arrows that do not count themselves).
// Its focus events come from the box's EN_SETFOCUS / EN_KILLFOCUS notifications.
// Threads: as CQrnWinControl.
#include "ui/CQrnWinControl.h"
#include "ui/CVWnd_Edit.h"

namespace rg_quarn_MFCJieMian_base {

class rg_edit_box : public CQrnWinControl, public IEditEventListener {
    QRN_DECLARE_CONTROL_CLASS(rg_edit_box)
public:
    rg_edit_box();

    int32_t Create(WinCreateInfo& info) override { return CreateWithPattern(info); }
    CVWnd_Edit* GetEditNative() const noexcept { return static_cast<CVWnd_Edit*>(GetNative()); }

    // Taken at creation.
    void SetInputType(int32_t inputType);
    void SetMultiLine(bool multiLine);
    void SetScrollBars(int32_t scrollBars);
    void SetMaxLength(int32_t maxLength);
    void SetPasswordChar(char16_t passwordChar);
    void SetSpin(int32_t mode, int32_t minimum, int32_t maximum);
    // While set, EN_CHANGE raises nothing.
    void SetSuppressChanged(bool suppress);
    void SetTextColor(uint32_t colour);
    void SetBackColor(uint32_t colour);

    int32_t OnWindowMessage(MsgRecord& message) override { return HandleMessage(message); }
    void OnChanged() override { Changed.Raise(this); }
    int32_t OnSpin(int32_t direction) override { return Spin.Raise(this, direction); }

    EventBinding<> Changed;
    EventBinding<int32_t> Spin;

protected:
    IBaseEventListener* ListenerInterface() override { return static_cast<IEditEventListener*>(this); }
    bool CreatePlatformWindow(WinCreateInfo& info) override;
};

}  // namespace rg_quarn_MFCJieMian_base
