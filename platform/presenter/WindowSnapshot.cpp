#include "platform/presenter/WindowSnapshot.h"

#include "platform/controls/ControlClasses.h"
#include "platform/controls/ProgressControl.h"
#include "platform/window/WinStyles.h"

#include <cstring>

LONG_PTR ExtraSlot(const WindowChangeView& view, int offset)
{
    LONG_PTR value = 0;
    if (offset >= 0 && view.extraBytes && static_cast<size_t>(offset) + sizeof(value) <= view.extraSize)
        std::memcpy(&value, view.extraBytes + offset, sizeof(value));
    return value;
}

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
    return shot;
}

bool WindowSnapshot::Visible() const { return (style & WS_VISIBLE) != 0; }
bool WindowSnapshot::Enabled() const { return (style & WS_DISABLED) == 0; }
