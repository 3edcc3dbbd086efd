#pragma once
// rg_label: a text with its own background and alignment, painted by its native window
// ("QrnLabel"); the private notify message raises Notify, whose answer is the message's result.
// Threads: as CQrnWinControl; SetControlText and the setters below may be called from any thread
// once the window exists (they send messages and invalidate).
#include "ui/CQrnWinControl.h"
#include "ui/CVWnd_Label.h"

namespace rg_quarn_MFCJieMian_base {

class rg_label : public CQrnWinControl, public ILabelEventListener {
    QRN_DECLARE_CONTROL_CLASS(rg_label)
public:
    rg_label();

    int32_t Create(WinCreateInfo& info) override { return CreateWithPattern(info); }
    CVWnd_Label* GetLabelNative() const noexcept { return static_cast<CVWnd_Label*>(GetNative()); }

    // Each stores the field, then the window (if any) repaints.
    void SetTextColor(uint32_t colour);
    void SetBackColor(uint32_t colour);
    void SetHorizontalAlign(int32_t align);
    void SetVerticalAlign(int32_t align);
    void SetWordWrap(bool wrap);
    void SetPictureMode(int32_t mode);
    void SetTransparent(bool transparent);
    // Takes over the bitmap.
    void SetPicture(HBITMAP picture);

    int32_t OnWindowMessage(MsgRecord& message) override { return HandleMessage(message); }
    int32_t OnNotify(WPARAM wParam, LPARAM lParam) override { return Notify.Raise(this, wParam, lParam); }

    EventBinding<WPARAM, LPARAM> Notify;

protected:
    IBaseEventListener* ListenerInterface() override { return static_cast<ILabelEventListener*>(this); }
    bool CreatePlatformWindow(WinCreateInfo& info) override;

private:
    template <class Field, class Value>
    void Store(Field CVWnd_Label::*field, Value value);
};

}  // namespace rg_quarn_MFCJieMian_base
