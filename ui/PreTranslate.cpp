#include "ui/PreTranslate.h"

#include "platform/window/MessageQueue.h"
#include "platform/window/WinMessages.h"
#include "platform/window/WinStyles.h"
#include "platform/window/Window.h"
#include "ui/UiConstants.h"

namespace {

bool IsInput(UINT message)
{
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) || (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST);
}

}  // namespace

BOOL PreTranslateLibraryMessage(const MSG* message)
{
    if (!message || !message->hwnd || !IsInput(message->message))
        return FALSE;
    for (HWND w = message->hwnd; w && IsWindow(w);) {
        if (GetWindowLongPtrW(w, GWLP_USERDATA) == kQrnWindowMark
            && SendMessageW(w, kQrnPreTranslate, reinterpret_cast<WPARAM>(message), kQrnWindowMark) == kQrnWindowMark)
            return TRUE;
        if (!(GetWindowLongW(w, GWL_STYLE) & WS_CHILD))
            break;
        w = GetParent(w);
    }
    return FALSE;
}
