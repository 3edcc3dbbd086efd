#pragma once
// rg_process_bar: the progress bar over the platform progress control. Maximum and position are
// clamped to 0..0x7FFF; set before creation they are applied at creation, afterwards each setter
// sends one message. Threads: as CQrnWinControl; once the window exists the setters may be called
// from any thread (the import moves the bar from its worker).
#include "ui/CQrnWinControl.h"

class CVWnd_ProgressBar : public CVWnd {
public:
    static constexpr const char16_t* kClassName = u"msctls_progress32";

    int64_t minimum = 0;
    int64_t maximum = 100;
    int64_t position = 0;
};

namespace rg_quarn_MFCJieMian_base {

class rg_process_bar : public CQrnWinControl, public IBaseEventListener {
    QRN_DECLARE_CONTROL_CLASS(rg_process_bar)
public:
    rg_process_bar();

    int32_t Create(WinCreateInfo& info) override { return CreateWithPattern(info); }
    CVWnd_ProgressBar* GetProgressNative() const noexcept { return static_cast<CVWnd_ProgressBar*>(GetNative()); }

    void SetMaximum(int64_t maximum);
    void SetPosition(int64_t position);
    // The window's values when it exists, else the stored ones.
    int64_t GetMaximum() const;
    int64_t GetPosition() const;

    int32_t OnWindowMessage(MsgRecord& message) override { return HandleMessage(message); }

protected:
    IBaseEventListener* ListenerInterface() override { return static_cast<IBaseEventListener*>(this); }
    bool CreatePlatformWindow(WinCreateInfo& info) override;
};

}  // namespace rg_quarn_MFCJieMian_base
