#pragma once
// CVWnd_Label: the native window of labels ("QrnLabel"), which paints itself: background colour
// or none, background picture, then the text aligned as hAlign / vAlign / wordWrap say, in the
// label's own copy of the font it was given. Answers WM_GETDLGCODE with DLGC_STATIC; the private
// notify message goes to the label's listener. What it paints with (font, resolved colours, text
// format, transparency) is also kept in the window's extra bytes (PAINTED_EXTRA_*), where the
// desktop presenter reads it. Used on the window's thread; Publish from any thread.
#include "platform/gdi/GdiTypes.h"
#include "ui/BackgroundPainting.h"
#include "ui/CVWnd.h"

class CVWnd_Label : public CVWnd {
public:
    static constexpr const char16_t* kClassName = u"QrnLabel";

    CVWnd_Label() = default;
    ~CVWnd_Label() override;

    uint32_t textColor = 0xFF000000u;  // COLOR_WINDOWTEXT
    uint32_t backColor = 0xFF000000u;  // COLOR_BTNFACE
    int32_t hAlign = 0;                // 0 left, 1 centre, 2 right
    int32_t vAlign = 1;                // 0 top, 1 centre, 2 bottom
    int32_t wordWrap = 0;
    int32_t pictureMode = 0;
    int32_t transparent = 0;
    HFONT font = nullptr;              // the label's own copy
    HBITMAP picture = nullptr;         // owned

    // The DrawTextW format of the alignment fields.
    UINT TextFormat() const;
    void SetPicture(HBITMAP newPicture);
    // Copies the fields the presenter shows into the window's extra bytes and marks them changed;
    // after every change of those fields. Nothing without a window.
    void Publish();

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    LRESULT Paint();
    void TakeFont(HFONT given, bool redraw);
};
