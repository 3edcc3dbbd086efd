#pragma once
// CQrnWinControl: the base of every control. A control owns a counted reference to its holder
// (CMfcWndObject), which keeps the properties while no native window exists and owns the native
// window object; Create turns the stored properties into a window, after which the same property
// operations act on the window. Events are EventBinding records filled by the owner (BindEvent);
// the native window reports to the control's listener interface, and HandleMessage raises the
// standard events. Copies share one holder and one window; bindings are never copied.
// Threads: create, bind and destroy on the window's thread. Once the window exists, the property
// operations may also be called from other threads: they only send messages to the window.
#include "runtime/CRefObject.h"
#include "runtime/CWString.h"
#include "runtime/EventBinding.h"
#include "runtime/TextArrays.h"
#include "ui/CMfcWndObject.h"
#include "ui/ControlClass.h"
#include "ui/ControlRecords.h"

#include <memory>

namespace rg_quarn_MFCJieMian_base {

class CQrnWinControl : public CQrnRefObject {
    QRN_DECLARE_CONTROL_CLASS(CQrnWinControl)
public:
    CQrnWinControl();
    CQrnWinControl(const CQrnWinControl&) = delete;
    CQrnWinControl& operator=(const CQrnWinControl&) = delete;
    ~CQrnWinControl() override;

    bool IsEqual(const CQrnObject& other) const override;
    bool CopyFrom(const CQrnObject& source) override;
    void Reset() override;
    void LoadFromStream(CQrnStream& stream) override;
    void SaveToStream(CQrnStream& stream) const override;
    void OnBeforeAssign() override { DetachListener(); }

    // 1 on success, 0 on failure (also when the window exists already). The base creates nothing.
    virtual int32_t Create(WinCreateInfo& info);
    virtual void FillCreateInfo(WinCreateInfo& info);
    virtual void AdjustCreateInfo(WinCreateInfo&) {}
    virtual void AfterCreate(CVWnd* native, WinCreateInfo& info);
    // Nonzero: consumed. Raises WindowMessage, then the standard event of the message.
    virtual int32_t HandleMessage(MsgRecord& message);
    virtual void AttachListener();
    virtual void DetachListener();
    virtual int32_t HasListener() const;

    CWString GetControlText() const;
    void SetControlText(const CWString& text);
    // A font description text (FontDescription.h).
    void SetFont(const char16_t* description);
    void SetVisible(bool visible);
    void SetEnabled(bool enabled);
    void SetMouseCursor(HCURSOR cursor);

    template <class... Args>
    void BindEvent(EventBinding<Args...>& binding, typename EventBinding<Args...>::Handler handler,
                   CQrnEventObjectPointer* guard, uint32_t userValue)
    {
        binding.Bind(handler, guard, userValue);
        AttachListener();
    }

    // The holder; null only after Reset.
    CMfcWndObject* GetWndObject() const noexcept { return static_cast<CMfcWndObject*>(Holder()); }
    CVWnd* GetNative() const noexcept { return GetWndObject() ? GetWndObject()->native : nullptr; }
    HWND GetSafeHwnd() const noexcept { return GetWndObject() ? GetWndObject()->Hwnd() : nullptr; }
    bool NativeExists() const noexcept { return GetSafeHwnd() != nullptr; }

    CWString extraText;

    // The standard events, in their fixed order. Mouse: (x, y, modifiers); wheel: (notches,
    // modifiers); keys: (key, modifiers); CharInput: the character, answer < 0 swallows it and
    // > 0 replaces it; WindowMessage: every message, nonzero consumes it; Created: (parent
    // control, identifier).
    EventBinding<int32_t, int32_t, int32_t> LeftButtonDown;
    EventBinding<int32_t, int32_t, int32_t> LeftButtonUp;
    EventBinding<int32_t, int32_t, int32_t> LeftButtonDoubleClick;
    EventBinding<int32_t, int32_t, int32_t> RightButtonDown;
    EventBinding<int32_t, int32_t, int32_t> RightButtonUp;
    EventBinding<int32_t, int32_t, int32_t> MiddleButtonDown;
    EventBinding<int32_t, int32_t, int32_t> MiddleButtonUp;
    EventBinding<int32_t, int32_t, int32_t> MouseMove;
    EventBinding<int32_t, int32_t> MouseWheel;
    EventBinding<int32_t, int32_t> KeyDown;
    EventBinding<int32_t, int32_t> KeyUp;
    EventBinding<> FocusGained;
    EventBinding<> FocusLost;
    EventBinding<uint16_t> CharInput;
    EventBinding<HWND, UINT, WPARAM, LPARAM, MsgRecord*> WindowMessage;
    EventBinding<CQrnObject*, int32_t> Created;
    EventBinding<rg_quarn_base::rg_WenBenShuZuLei*> FilesDropped;

protected:
    // A control of a derived class with its own native object.
    explicit CQrnWinControl(std::unique_ptr<CVWnd> native);
    // This control's listener sub-object (null for classes without one).
    virtual IBaseEventListener* ListenerInterface() { return nullptr; }
    // The creation pattern: userInt, the exists test, FillCreateInfo, AdjustCreateInfo, the
    // class's CreatePlatformWindow, then AfterCreate.
    int32_t CreateWithPattern(WinCreateInfo& info);
    virtual bool CreatePlatformWindow(WinCreateInfo&) { return false; }
    // Changes the window's style bits; Frame::Changed recalculates the frame.
    enum class Frame { Same, Changed };
    void ModifyStyle(DWORD remove, DWORD add, Frame frame);

private:
    int32_t HandleMouse(MsgRecord& message);
    void RaiseFilesDropped(WPARAM drop);

    IBaseEventListener* attached_ = nullptr;  // what AttachListener stored, for DetachListener
};

}  // namespace rg_quarn_MFCJieMian_base
