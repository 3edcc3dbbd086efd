#pragma once
// CVWnd_Button: the native window of push buttons, a subclassed platform "BUTTON". The button's
// BN_CLICKED comes back from its parent as a reflected command and raises the click; the reflected
// colour request answers the button's colours. Used on the window's thread.
#include "platform/gdi/GdiTypes.h"
#include "ui/CVWnd.h"

class CVWnd_Button : public CVWnd {
public:
    static constexpr const char16_t* kClassName = u"BUTTON";

    CVWnd_Button();
    ~CVWnd_Button() override;

    uint32_t textColor = 0;            // black
    uint32_t backColor = 0xFF000000u;  // COLOR_BTNFACE
    HBRUSH backBrush = nullptr;        // owned, solid brush of backColor

    // Stores the colour and makes the matching brush.
    void SetBackColor(uint32_t colour);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
