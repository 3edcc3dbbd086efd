#pragma once
// CVWnd_Edit: the native window of edit boxes, a subclassed platform "EDIT". It filters typed
// characters by the input type, normalises the text when the box loses the focus, centres a
// single line vertically in a taller box, raises Changed for EN_CHANGE and the focus events from
// EN_SETFOCUS / EN_KILLFOCUS (its own focus messages never reach the listener), and owns the
// optional spin arrows (CEditSpin). Used on the window's thread.
#include "platform/gdi/GdiTypes.h"
#include "ui/CVWnd.h"

#include <memory>

class CVWnd_Edit;

// The spin arrows of an edit box: a subclassed platform up-down control beside the box. A
// counting spin steps the box's number within its range (wrapping round); otherwise each arrow
// raises the box's Spin event.
class CEditSpin : public CVWnd {
public:
    static constexpr const char16_t* kClassName = u"msctls_updown32";
    static constexpr int kWidth = 18;

    CVWnd_Edit* buddy = nullptr;
    int32_t counts = 0;

    // Makes it a child of the box's parent, at the box's right edge and as high as the box.
    void Place();

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Step(int delta);
};

class CVWnd_Edit : public CVWnd {
public:
    static constexpr const char16_t* kClassName = u"EDIT";

    CVWnd_Edit();
    ~CVWnd_Edit() override;

    uint32_t textColor = 0;
    uint32_t backColor = 0xFFFFFF;
    int32_t maxLength = 0;
    int32_t multiLine = 0;
    int32_t scrollBars = 0;    // multi-line only: 1 horizontal, 2 vertical, 3 both
    int32_t inputType = 0;     // EditInputTypes.h
    int32_t passwordChar = 42;
    int32_t spinMode = 0;      // 0 none; 1 the arrows count; other: they raise Spin
    int32_t spinMin = 0;
    int32_t spinMax = 100;
    HBRUSH backBrush = nullptr;  // owned, solid brush of backColor
    std::unique_ptr<CEditSpin> spin;
    int32_t textHeight = 0;
    int32_t suppressChanged = 0;

    void SetBackColor(uint32_t colour);
    // The style bits of the box's fields.
    uint32_t EditStyle(uint32_t style) const;
    // After the window exists: the limit, the password character and the spin arrows.
    void ConfigureCreated(uint32_t style, HWND parent, int32_t id);
    IEditEventListener* EditListener() const;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    ListenerStep ListenerStepFor(UINT message) const override;

private:
    LRESULT OnReflectedCommand(WPARAM wParam);
    void Normalise();
    void OnFont(HFONT font);
    void CentreClient(RECT* client) const;
    bool SingleLine() const { return !multiLine; }
};
