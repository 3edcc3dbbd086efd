#pragma once
// CQrnWinForm: the top-level window of the library, a layouter with a frame (caption, system
// menu, borders by borderStyle), an icon, keyboard navigation between its controls and ten form
// events. Created with a default size (the outer size of its design client size) and position
// (centred on the screen). Closing asks Closing, then QueryClose; either refuses with nonzero.
// Threads: as CQrnWinControl; events are raised on the form's thread.
#include "ui/CVWnd_WinForm.h"
#include "ui/GeometryRecords.h"
#include "ui/rg_ZuJianBuJuQi.h"

namespace rg_quarn_MFCJieMian_base {

class CQrnWinForm : public rg_ZuJianBuJuQi, public IWinFormEventListener {
    QRN_DECLARE_CONTROL_CLASS(CQrnWinForm)
public:
    CQrnWinForm();

    int32_t Create(WinCreateInfo& info) override { return CreateWithPattern(info); }
    void FillCreateInfo(WinCreateInfo& info) override;
    void AdjustCreateInfo(WinCreateInfo& info) override;
    // 1 in the library (pass the message on); 0 consumes it.
    virtual int32_t PreTranslateHook(MsgRecord&) { return 1; }

    CVWnd_WinForm* GetFormNative() const noexcept { return static_cast<CVWnd_WinForm*>(GetNative()); }
    // The window new top-level forms are placed relative to when they have no parent.
    static void SetApplicationMainWindow(HWND hwnd);
    static HWND GetApplicationMainWindow();

    // IContainerEventListener slots, shared by both listener paths.
    int32_t OnWindowMessage(MsgRecord& message) override { return HandleMessage(message); }
    void OnCreate() override { rg_ZuJianBuJuQi::OnCreate(); }
    void OnDestroy() override { rg_ZuJianBuJuQi::OnDestroy(); }
    void OnFinalDestroy() override { rg_ZuJianBuJuQi::OnFinalDestroy(); }
    void OnSize() override { rg_ZuJianBuJuQi::OnSize(); }
    void OnShow(bool shown) override { rg_ZuJianBuJuQi::OnShow(shown); }
    void OnMove() override { rg_ZuJianBuJuQi::OnMove(); }
    int32_t OnCommand(int32_t id) override { return Command.Raise(this, id); }
    // IWinFormEventListener slots.
    int32_t OnPreTranslate(MsgRecord& message) override { return PreTranslateHook(message) == 0 ? 1 : 0; }
    int32_t OnQueryClose() override { return QueryClose.Raise(this) == 0 ? 1 : 0; }
    int32_t OnClosing() override { return Closing.Raise(this) == 0 ? 1 : 0; }
    void OnFirstActivate() override { FirstActivate.Raise(this); }
    void OnActivate() override { Activate.Raise(this); }
    void OnDeactivate() override { Deactivate.Raise(this); }
    void OnTrayIcon(int32_t kind) override { TrayIcon.Raise(this, kind); }
    void OnMenuSelect(int32_t id) override { MenuSelect.Raise(this, id); }
    int32_t OnSizeLimits(MINMAXINFO* limits) override;
    void OnLastFormEvent() override { LastFormEvent.Raise(this); }

    // The form events, in their fixed order (Command replaces the container's for forms).
    EventBinding<int32_t> Command;
    EventBinding<int32_t> MenuSelect;
    EventBinding<> QueryClose;
    EventBinding<> Closing;
    EventBinding<> FirstActivate;
    EventBinding<> Activate;
    EventBinding<> Deactivate;
    EventBinding<int32_t> TrayIcon;
    EventBinding<rg_ChuangKouWeiZhiXianZhiXinXi*> SizeLimits;
    EventBinding<> LastFormEvent;

protected:
    IBaseEventListener* ListenerInterface() override { return static_cast<IWinFormEventListener*>(this); }
    bool CreatePlatformWindow(WinCreateInfo& info) override;

private:
    void ApplyFrameStyle(WinCreateInfo& info) const;
    void PlaceOnMonitor(WinCreateInfo& info) const;
    void ShowByStartState();
};

}  // namespace rg_quarn_MFCJieMian_base
