// Start folders given the original desktop's way, with a drive letter ("D:\" or
// "D:\IISPublish\site\Upload\Images"), mean nothing on Linux: they become the same folder
// structure under the user's home directory when that exists, else the home directory itself.
// Other texts pass unchanged.
// Reads the environment and the file system only; any thread.
#pragma once

#include "runtime/CWString.h"

// The home directory ($HOME, else the password database), losslessly decoded; empty when unknown.
CWString HomeDirectory();
// path unchanged unless it starts with a drive letter and ":" (then "\" or "/" or nothing).
CWString LocalFolderFor(const CWString& path);
