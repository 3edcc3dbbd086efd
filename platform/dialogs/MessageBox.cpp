// MessageBoxW and MessageBoxTimeoutW over the dialog service.
#include "platform/dialogs/MessageBox.h"

#include "platform/dialogs/DialogService.h"
#include "platform/window/Window.h"

#include <array>
#include <span>

std::span<const int> MessageBoxButtons(UINT type)
{
    static constexpr std::array<int, 1> ok{IDOK};
    static constexpr std::array<int, 2> okCancel{IDOK, IDCANCEL};
    static constexpr std::array<int, 3> abortRetryIgnore{IDABORT, IDRETRY, IDIGNORE};
    static constexpr std::array<int, 3> yesNoCancel{IDYES, IDNO, IDCANCEL};
    static constexpr std::array<int, 2> yesNo{IDYES, IDNO};
    static constexpr std::array<int, 2> retryCancel{IDRETRY, IDCANCEL};
    static constexpr std::array<int, 3> cancelTryContinue{IDCANCEL, IDTRYAGAIN, IDCONTINUE};
    switch (type & MB_TYPEMASK) {
    case MB_OK: return ok;
    case MB_OKCANCEL: return okCancel;
    case MB_ABORTRETRYIGNORE: return abortRetryIgnore;
    case MB_YESNOCANCEL: return yesNoCancel;
    case MB_YESNO: return yesNo;
    case MB_RETRYCANCEL: return retryCancel;
    case MB_CANCELTRYCONTINUE: return cancelTryContinue;
    default: return {};
    }
}

const char16_t* MessageBoxButtonLabel(int answer)
{
    switch (answer) {
    case IDOK: return u"确定";
    case IDCANCEL: return u"取消";
    case IDABORT: return u"中止";
    case IDRETRY: return u"重试";
    case IDIGNORE: return u"忽略";
    case IDYES: return u"是";
    case IDNO: return u"否";
    case IDCLOSE: return u"关闭";
    case IDHELP: return u"帮助";
    case IDTRYAGAIN: return u"重试";
    case IDCONTINUE: return u"继续";
    default: return u"";
    }
}

namespace {

int Show(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type, WORD language, DWORD milliseconds)
{
    if ((owner && !IsWindow(owner)) || MessageBoxButtons(type).empty()) {
        SetLastError(owner && !IsWindow(owner) ? ERROR_INVALID_WINDOW_HANDLE : ERROR_INVALID_PARAMETER);
        return 0;
    }
    MessageBoxRequest request;
    request.owner = owner;
    request.text = text ? text : u"";
    // The platform's own caption for a box without one.
    request.caption = caption ? caption : u"错误";
    request.type = type;
    request.language = language;
    request.timeoutMs = milliseconds;
    request.threadId = GetCurrentThreadId();
    return CurrentDialogService()->ShowMessageBox(request);
}

}  // namespace

int DefaultMessageBoxAnswer(UINT type)
{
    std::span<const int> buttons = MessageBoxButtons(type);
    if (buttons.empty())
        return 0;
    size_t index = (type & MB_DEFMASK) >> 8;
    return buttons[index < buttons.size() ? index : 0];
}

int CloseMessageBoxAnswer(UINT type)
{
    if ((type & MB_TYPEMASK) == MB_OK)
        return IDOK;
    return IsMessageBoxAnswer(type, IDCANCEL) ? IDCANCEL : 0;
}

bool IsMessageBoxAnswer(UINT type, int answer)
{
    for (int button : MessageBoxButtons(type))
        if (button == answer)
            return true;
    return false;
}

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type)
{
    return Show(owner, text, caption, type, 0, MESSAGE_BOX_NO_TIMEOUT);
}

int MessageBoxTimeoutW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type, WORD language,
                       DWORD milliseconds)
{
    return Show(owner, text, caption, type, language, milliseconds);
}
