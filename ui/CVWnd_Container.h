#pragma once
// CVWnd_Container: the native window of layouters ("QrnContainer") and the base of the form's. It
// paints its background, passes the focus on to the first child that takes keyboard input,
// answers WM_GETDLGCODE with DLGC_STATIC, relays mouse messages to its tooltip control, reflects
// its children's notifications to them, and reports its life cycle to the container listener
// after the platform's own processing. Used on the window's thread.
#include "platform/gdi/GdiTypes.h"
#include "ui/BackgroundPainting.h"
#include "ui/CVWnd.h"

class CVWnd_Container : public CVWnd {
public:
    static constexpr const char16_t* kClassName = u"QrnContainer";

    CVWnd_Container() = default;
    ~CVWnd_Container() override;

    uint32_t backColor = 0xFF000000u;  // COLOR_BTNFACE
    int32_t pictureMode = 0;
    int32_t transparent = 0;
    HBITMAP picture = nullptr;   // owned
    HWND tooltipControl = nullptr;  // owned: destroyed with the container's window

    // Takes over the picture (the previous one is deleted) and repaints.
    void SetPicture(HBITMAP newPicture);
    // The style and picture for painting.
    BackgroundStyle Background() const;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;
    IContainerEventListener* ContainerListener() const;
    // WM_COMMAND: a menu or accelerator command goes to the listener, a control's to the control.
    virtual LRESULT OnCommandMessage(WPARAM wParam, LPARAM lParam);
    // Reflection of notifications; true with *result when the child handled it.
    bool ReflectNotifications(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    void RelayToTooltip(const MSG* message);
    void DestroyTooltip();
    LRESULT PaintContainer();

private:
    void ForwardFocus();
};

// Repaints what lies under a transparent child window: its area in the top-level ancestor, and
// every visible window there that overlaps it (children first, topmost first), then the window
// itself without erasing.
void RepaintUnderTransparentWindow(HWND hwnd);

// The focus target inside a window: the first descendant (z-order, depth first, through visible and
// enabled windows) that wants keyboard input, else the first with WS_TABSTOP, else the first child
// (only that one when the window itself is hidden or disabled). Null when it has no children.
HWND FindFocusTarget(HWND container);
