#pragma once
// rg_GongJuTiao: the toolbar control, a row of image buttons over CVWnd_ToolBar. The owner gives
// the item-description text (SetItemSpec, five line-feed separated fields per button: image
// index, state bits, style bits, text, tooltip) and the image list before creation; Create turns
// them into buttons. ItemClick and ItemDropDown name a button by its position in the row,
// separators counted.
// Threads: as CQrnWinControl; every operation here runs on the window's thread (they change the
// native object's fields, which its notifications read), and the events are raised there.
#include "ui/CQrnWinControl.h"
#include "ui/CVWnd_ToolBar.h"

namespace rg_quarn_MFCJieMian_KuoZhanZuJian {

class rg_GongJuTiao : public rg_quarn_MFCJieMian_base::CQrnWinControl, public IToolBarEventListener {
    QRN_DECLARE_CONTROL_CLASS(rg_GongJuTiao)
public:
    rg_GongJuTiao();

    int32_t Create(WinCreateInfo& info) override { return CreateWithPattern(info); }
    CVWnd_ToolBar* GetToolBarNative() const noexcept { return static_cast<CVWnd_ToolBar*>(GetNative()); }

    // Before creation the text is kept for Create; afterwards it replaces the buttons at once.
    // False when the text has fields after its last whole item (they are ignored) or, with a
    // window, when the toolbar refused the buttons.
    bool SetItemSpec(const CWString& text);
    // Each takes over the list and deletes the one it replaces; with a window the list is
    // installed and the toolbar repainted.
    void SetImageList(HIMAGELIST list);
    void SetHotImageList(HIMAGELIST list);
    void SetDisabledImageList(HIMAGELIST list);
    // Repaints when the window exists.
    void SetBackColor(uint32_t colour);
    // Applied at creation: 0 top, 1 bottom, 2 free.
    void SetPlacement(int32_t placement);
    enum class Toggle { Off, On };
    void SetFlat(Toggle flat);
    void SetDivider(Toggle divider);
    void SetListStyle(Toggle list);
    void SetWrapable(Toggle wrapable);
    // 0 leaves the platform's one row of text.
    void SetMaxTextRows(int32_t rows);

    int32_t OnWindowMessage(MsgRecord& message) override { return HandleMessage(message); }
    void OnItemClick(int32_t index) override { ItemClick.Raise(this, index); }
    void OnItemDropDown(int32_t index, int32_t screenX, int32_t screenY) override
    {
        ItemDropDown.Raise(this, index, screenX, screenY);
    }

    // (item index)
    EventBinding<int32_t> ItemClick;
    // (item index, screen x of the button's left edge, screen y of its bottom edge + 2)
    EventBinding<int32_t, int32_t, int32_t> ItemDropDown;

protected:
    IBaseEventListener* ListenerInterface() override { return static_cast<IToolBarEventListener*>(this); }
    bool CreatePlatformWindow(WinCreateInfo& info) override;
};

}  // namespace rg_quarn_MFCJieMian_KuoZhanZuJian
