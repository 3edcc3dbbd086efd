// The folder picker and the save dialog behind text-in, text-out calls. Both are modal on the
// calling thread, have no owner window and report a cancelled or failed dialog only through the
// empty result. Start folders with a drive letter become folders under the home directory
// (HomeFolders.h). The dialogs are the platform's dialog service's (platform/dialogs).
// Thread safety: any thread; each call shows its own dialog on the calling thread.
#pragma once

#include "runtime/CWString.h"

#include <cstdint>
#include <string>
#include <vector>

namespace rg_quarn_Tolvar {

// The chosen folder's full path, or the empty text when the picker was cancelled.
CWString BrowseForFolder(const CWString& initialFolder);

// The save dialog's options: explorer style, the folder must exist, the read-only box hidden, and a
// question before an existing file is replaced. A new file name is accepted (the dialog does not ask
// for an existing file, which could never save a new workbook).
uint32_t SaveDialogOptions();
// The filter argument as the dialog's list: "|" separates descriptions and patterns. A description
// left without a pattern gets one from its parentheses, "(*.xls;xlsx)" giving "*.xls;*.xlsx", so the
// list always matches what it describes. Empty for an empty filter.
std::vector<std::u16string> SaveFilterStrings(std::u16string_view filter);
// The file-name buffer's units (terminator included) for an initial name: 1040, or more when the
// name would not fit.
size_t SaveFileNameCapacity(size_t initialNameUnits);

// Shows the save dialog starting with fileName in initialDirectory. On confirmation the chosen full
// path replaces fileName and is returned; on cancel or failure fileName becomes empty and so does the
// result. Empty title, initial directory or default extension: the dialog's own default / none.
CWString ChooseSaveFile(const CWString& title, CWString& fileName, const CWString& filter,
                        const CWString& initialDirectory, const CWString& defaultExtension);

} // namespace rg_quarn_Tolvar
