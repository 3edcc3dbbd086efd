// The form's pre-translation of input messages: its hook, the tooltip relay, Escape, dragging by
// the background, edit-box shortcuts, Tab inside edit boxes, Enter and the dialog navigation.
#include "platform/window/Focus.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/WinMessages.h"
#include "platform/window/WinStyles.h"
#include "platform/window/Window.h"
#include "platform/window/WindowClass.h"
#include "ui/CVWnd_WinForm.h"
#include "ui/DialogNavigation.h"
#include "ui/KeyTranslation.h"
#include "ui/UiConstants.h"

namespace {

bool IsEditWindow(HWND hwnd)
{
    char16_t name[16] = {};
    GetClassNameW(hwnd, name, 16);
    const std::u16string_view n(name);
    return n.size() == 4 && (n[0] | 0x20) == u'e' && (n[1] | 0x20) == u'd' && (n[2] | 0x20) == u'i' && (n[3] | 0x20) == u't';
}

bool IsEditShortcut(int32_t k) { return k == 0x2041 || k == 0x2043 || k == 0x2056 || k == 0x2058; }

}  // namespace

int32_t CVWnd_WinForm::PreTranslate(const MSG* message)
{
    HWND hwnd = GetSafeHwnd();
    if (!message || !hwnd)
        return 0;
    if (IWinFormEventListener* l = FormListener()) {
        MsgRecord record{message->hwnd, message->message, message->wParam, message->lParam};
        if (l->OnPreTranslate(record) || !IsWindow(hwnd))
            return 1;
    }
    RelayToTooltip(message);

    int32_t k = 0;
    if (message->message == WM_KEYDOWN || message->message == WM_SYSKEYDOWN) {
        k = TranslateKey(message->wParam);
        if (k != 0 && message->hwnd && !IsWindowEnabled(message->hwnd))
            return 0;
        if (k == 27 && (escapeCloses || envelope)) {
            if (envelope)
                PostMessageW(envelope, kQrnEnvelopeRequest, 3, -1);
            else
                PostMessageW(hwnd, WM_CLOSE, 0, 0);
            return 1;
        }
    }
    if (dragAnywhere && message->message == WM_LBUTTONDOWN
        && (message->hwnd == hwnd || (SendMessageW(message->hwnd, WM_GETDLGCODE, 0, 0) & DLGC_STATIC))) {
        PostMessageW(envelope ? envelope : hwnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
        return 1;
    }
    if (k != 0) {
        if (IsEditShortcut(k) && IsEditWindow(message->hwnd))
            return 0;
        // This desktop has no accelerator tables: a menu's table is never translated here.
        if ((k == 9 || k == 0x8009) && IsEditWindow(message->hwnd)) {
            if (HWND next = NextTabItem(hwnd, message->hwnd, k == 9 ? TabDirection::Forward : TabDirection::Backward))
                SetFocus(next);
            return 1;
        }
        if (k == 13 && defaultButtonId == 0)
            return 0;
        // F1 opens a help file on the original desktop; there is no help viewer here.
    }
    if (message->message == WM_CHAR)
        return 0;
    enterPressed = k == 13 ? 1 : 0;
    return HandleDialogNavigation(hwnd, message) ? 1 : 0;
}
