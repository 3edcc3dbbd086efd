// The folder picker over the dialog service.
#include "platform/dialogs/FolderPicker.h"

#include "platform/dialogs/DialogService.h"
#include "platform/dialogs/MessageBox.h"
#include "platform/window/Window.h"

CFolderPickerDialog::CFolderPickerDialog(LPCWSTR folder, DWORD flags, HWND parent)
    : initial_(folder ? folder : u""), flags_(flags), parent_(parent)
{
}

INT_PTR CFolderPickerDialog::DoModal()
{
    folder_.clear();
    if (parent_ && !IsWindow(parent_))
        return IDCANCEL;
    FolderRequest request;
    request.owner = parent_;
    request.initialFolder = initial_;
    request.flags = flags_;
    request.threadId = GetCurrentThreadId();
    PathAnswer answer = CurrentDialogService()->PickFolder(request);
    if (answer.outcome != DialogOutcome::Confirmed || answer.path.empty())
        return IDCANCEL;
    folder_ = std::move(answer.path);
    return IDOK;
}
