#pragma once
// The framework's folder picker: construct with the start folder, show modally, read the folder.
// The dialog is the installed dialog service's (DialogService.h).
// Thread safety: an object is used on one thread; several threads may each show their own.
#include "platform/window/WinTypes.h"

#include <string>

class CFolderPickerDialog {
public:
    // A null or empty folder lets the service choose where to start.
    explicit CFolderPickerDialog(LPCWSTR folder = nullptr, DWORD flags = 0, HWND parent = nullptr);

    // IDOK with the folder chosen, IDCANCEL when the user cancelled or the dialog failed.
    INT_PTR DoModal();
    // The chosen folder's full path; empty before a confirmed DoModal.
    const std::u16string& GetFolderPath() const { return folder_; }
    const std::u16string& GetPathName() const { return folder_; }
    const std::u16string& InitialFolder() const { return initial_; }

private:
    std::u16string initial_;
    std::u16string folder_;
    DWORD flags_;
    HWND parent_;
};
