#pragma once
// The service behind the standard dialogs: message boxes, the folder picker and the save dialog.
// MessageBoxW, CFolderPickerDialog and GetSaveFileNameW turn their arguments into the requests
// below and ask the installed service; headlessly that is a ScriptedDialogs (ScriptedDialogs.h),
// and a desktop presenter installs one that shows real dialogs.
// Thread safety: SetDialogService and CurrentDialogService from any thread; a service is called on
// the thread that shows the dialog (any thread) and must be safe for calls from several threads.
// A service replaced while one of its dialogs is open stays alive until that dialog returns.
#include "platform/window/WinTypes.h"

#include <memory>
#include <string>
#include <vector>

struct MessageBoxRequest {
    HWND owner = nullptr;
    std::u16string text;
    std::u16string caption;
    UINT type = 0;             // MB_* bits: buttons, icon, default button, modality
    WORD language = 0;
    DWORD timeoutMs = 0xFFFFFFFF;  // MESSAGE_BOX_NO_TIMEOUT unless MessageBoxTimeoutW gave one
    DWORD threadId = 0;        // the thread that shows the box

    UINT Buttons() const { return type & 0x0F; }
    UINT Icon() const { return type & 0xF0; }
    bool HasTimeout() const { return timeoutMs != 0xFFFFFFFF; }
};

struct FolderRequest {
    HWND owner = nullptr;
    std::u16string initialFolder;  // empty: the service's own choice
    DWORD flags = 0;
    DWORD threadId = 0;
};

struct SaveFileRequest {
    HWND owner = nullptr;
    std::u16string title;             // empty: the service's default title
    std::u16string fileName;          // the name the dialog starts with
    size_t fileCapacity = 0;          // units the caller's buffer holds, terminator included
    std::vector<std::u16string> filterStrings;  // description, pattern, description, ... as given
    DWORD filterIndex = 0;            // 1-based; 0 selects the first pair
    std::u16string initialDirectory;  // empty: none
    std::u16string defaultExtension;  // empty: none
    DWORD flags = 0;                  // OFN_* bits
    DWORD threadId = 0;
};

enum class DialogOutcome { Confirmed, Cancelled, Failed };

struct PathAnswer {
    DialogOutcome outcome = DialogOutcome::Cancelled;
    std::u16string path;  // the full path when confirmed
};

class DialogService {
public:
    virtual ~DialogService() = default;
    // Shows the box modally on the calling thread; the answer is a button id or MB_TIMEDOUT.
    virtual int ShowMessageBox(const MessageBoxRequest& request) = 0;
    virtual PathAnswer PickFolder(const FolderRequest& request) = 0;
    // The path as the user confirmed it; GetSaveFileNameW applies the default extension.
    virtual PathAnswer ChooseSaveFile(const SaveFileRequest& request) = 0;
};

// Installs the service (null brings back the process's default scripted service) and returns the
// one it replaced.
std::shared_ptr<DialogService> SetDialogService(std::shared_ptr<DialogService> service);
// The installed service; never null.
std::shared_ptr<DialogService> CurrentDialogService();
