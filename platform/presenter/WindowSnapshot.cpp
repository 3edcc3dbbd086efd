#include "platform/presenter/WindowSnapshot.h"

#include "platform/controls/ControlClasses.h"
#include "platform/controls/ProgressControl.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/window/WinStyles.h"

#include <cstring>

LONG_PTR ExtraSlot(const WindowChangeView& view, int offset)
{
    LONG_PTR value = 0;
    if (offset >= 0 && view.extraBytes && static_cast<size_t>(offset) + sizeof(value) <= view.extraSize)
        std::memcpy(&value, view.extraBytes + offset, sizeof(value));
    return value;
}

namespace {

// The class names whose first extra slot is their font (CONTROL_EXTRA_FONT); other classes keep
// their own data there.
bool KeepsFontSlot(const std::u16string& className)
{
    return className == WC_BUTTONW || className == WC_EDITW || className == WC_STATICW || className == PROGRESS_CLASSW
           || className == UPDOWN_CLASSW || className == kLabelClassName;
}

// Drawing objects may be read under the core's lock; a handle deleted meanwhile reads as none.
FontSnapshot FontOf(const WindowChangeView& view)
{
    FontSnapshot font;
    const auto handle = reinterpret_cast<HGDIOBJ>(ExtraSlot(view, CONTROL_EXTRA_FONT));
    LOGFONTW description{};
    if (!handle || GetObjectType(handle) != OBJ_FONT || GetObjectW(handle, sizeof description, &description) == 0)
        return font;
    font.set = true;
    const char16_t* face = description.lfFaceName;
    size_t length = 0;
    while (length < LF_FACESIZE && face[length])
        ++length;
    font.face.assign(face, length);
    font.height = description.lfHeight;
    font.weight = description.lfWeight;
    font.italic = description.lfItalic != 0;
    font.underline = description.lfUnderline != 0;
    font.strikeOut = description.lfStrikeOut != 0;
    return font;
}

TextLookSnapshot LookOf(const WindowChangeView& view)
{
    TextLookSnapshot look;
    if (view.extraSize < static_cast<size_t>(PAINTED_EXTRA_BYTES))
        return look;
    look.known = true;
    look.format = static_cast<UINT>(ExtraSlot(view, PAINTED_EXTRA_TEXTFORMAT));
    look.text = static_cast<COLORREF>(ExtraSlot(view, CONTROL_EXTRA_TEXTCOLOUR));
    look.back = static_cast<COLORREF>(ExtraSlot(view, CONTROL_EXTRA_BACKCOLOUR));
    look.transparent = ExtraSlot(view, PAINTED_EXTRA_TRANSPARENT) != 0;
    return look;
}

}  // namespace

WindowSnapshot WindowSnapshot::From(const WindowChangeView& view)
{
    WindowSnapshot shot;
    shot.hwnd = view.hwnd;
    shot.changes = view.changes;
    if (shot.Destroyed())
        return shot;
    shot.className = *view.className;
    shot.text = *view.text;
    shot.style = view.style;
    shot.exStyle = view.exStyle;
    shot.rect = view.rect;
    shot.clientRect = view.clientRect;
    shot.parent = view.parent;
    shot.id = view.id;
    shot.threadId = view.threadId;
    if (shot.className == PROGRESS_CLASSW) {
        shot.progress.low = ExtraSlot(view, PROGRESS_EXTRA_LOW);
        shot.progress.high = ExtraSlot(view, PROGRESS_EXTRA_HIGH);
        shot.progress.position = ExtraSlot(view, PROGRESS_EXTRA_POS);
        shot.progress.marquee = ExtraSlot(view, PROGRESS_EXTRA_MARQUEE) != 0;
    }
    if (KeepsFontSlot(shot.className))
        shot.font = FontOf(view);
    if (shot.className == kLabelClassName)
        shot.look = LookOf(view);
    return shot;
}

bool WindowSnapshot::Visible() const { return (style & WS_VISIBLE) != 0; }
bool WindowSnapshot::Enabled() const { return (style & WS_DISABLED) == 0; }
