#pragma once
// rg_ZuJianBuJuQi: the component layouter, a child window ("QrnContainer") with its own background
// that hosts other controls at the absolute positions they were created with, passes the focus on
// to them and reports its life cycle through eight container events. The form derives from it.
// Threads: as CQrnWinControl; events are raised on the window's thread.
#include "ui/CQrnWinContainer.h"
#include "ui/CVWnd_Container.h"

namespace rg_quarn_MFCJieMian_base {

class rg_ZuJianBuJuQi : public CQrnWinContainer, public IContainerEventListener {
    QRN_DECLARE_CONTROL_CLASS(rg_ZuJianBuJuQi)
public:
    rg_ZuJianBuJuQi();

    int32_t Create(WinCreateInfo& info) override { return CreateWithPattern(info); }
    void FillCreateInfo(WinCreateInfo& info) override;

    CVWnd_Container* GetContainerNative() const noexcept { return static_cast<CVWnd_Container*>(GetNative()); }
    // Stored, then the window (if any) repaints; transparency takes its style at creation.
    void SetBackColor(uint32_t colour);
    void SetPictureMode(int32_t mode);
    void SetTransparent(bool transparent);
    // Takes over the bitmap.
    void SetPicture(HBITMAP picture);
    // Takes over a tooltip window: mouse messages are relayed to it; destroyed with the window.
    void SetTooltipControl(HWND tooltip);

    int32_t OnWindowMessage(MsgRecord& message) override { return HandleMessage(message); }
    void OnCreate() override;
    void OnDestroy() override { Destroying.Raise(this); }
    void OnFinalDestroy() override { Destroyed.Raise(this); }
    void OnSize() override { Resized.Raise(this); }
    void OnShow(bool shown) override { (shown ? Shown : Hidden).Raise(this); }
    void OnMove() override { Moved.Raise(this); }
    int32_t OnCommand(int32_t id) override { return Command.Raise(this, id); }

    // The container events, in their fixed order. Command: (identifier), nonzero = handled.
    EventBinding<> WindowCreated;
    EventBinding<> Destroying;
    EventBinding<> Destroyed;
    EventBinding<> Moved;
    EventBinding<> Resized;
    EventBinding<> Shown;
    EventBinding<> Hidden;
    EventBinding<int32_t> Command;

protected:
    explicit rg_ZuJianBuJuQi(std::unique_ptr<CVWnd_Container> native);
    IBaseEventListener* ListenerInterface() override { return static_cast<IContainerEventListener*>(this); }
    bool CreatePlatformWindow(WinCreateInfo& info) override;
    // Applies transparency to the record and registers the window class.
    void PrepareContainerStyle(WinCreateInfo& info);
    void Repaint() const;
};

}  // namespace rg_quarn_MFCJieMian_base
