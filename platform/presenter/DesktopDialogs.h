#pragma once
// The dialog service on the desktop. The folder picker and the save dialog are Qt's file dialogs,
// shown on the main thread (where Qt's widgets live) while the asking thread keeps running its own
// messages until the answer comes; a message box is the core's own box window of the asking thread
// (HeadlessMessageBox.h), which the presenter mirrors, so its timers (a countdown) and the messages
// sent to that thread run while it is open.
// The save dialog accepts new names, asks before it replaces a file when the caller asked for that
// (OFN_OVERWRITEPROMPT) and offers the caller's filters; the picker starts in the requested folder
// when it exists, else in the home folder.
// Thread safety: install on the main thread after the QApplication is made; the service may then
// be called from any thread (each caller waits for its own dialog). Dialogs need the main thread to
// run its loop.
#include "platform/dialogs/DialogService.h"

#include <QStringList>

#include <string>
#include <vector>

class DesktopDialogs final : public DialogService {
public:
    // Object names of the open file dialogs, for tools and tests that answer them.
    static constexpr const char* kFolderPickerName = "tabrix-folder-picker";
    static constexpr const char* kSaveDialogName = "tabrix-save-dialog";

    int ShowMessageBox(const MessageBoxRequest& request) override;
    PathAnswer PickFolder(const FolderRequest& request) override;
    PathAnswer ChooseSaveFile(const SaveFileRequest& request) override;
};

// The Qt name filters of a save request's description/pattern pairs: "表格文件(*.xls;xlsx)" with
// "*.xls;*.xlsx" becomes "表格文件 (*.xls *.xlsx)" (the description's own pattern list is replaced by
// the real one). A description without a pattern is dropped; no pair at all gives every file.
QStringList SaveNameFilters(const std::vector<std::u16string>& filterStrings);
