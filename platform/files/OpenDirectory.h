#pragma once
// Opens a directory given as a byte path of any length. Paths up to the system's limit open in one
// call; longer ones (a tree thousands of levels deep) are opened piece by piece relative to the
// previous piece, so depth alone never makes a directory unreachable. Symbolic links along the path
// are followed, as in any path lookup.
// Stateless; any thread.
#include <string>

#include "platform/files/FileTypes.h"

// A descriptor opened for reading (O_DIRECTORY, close-on-exec), or -1 with errno set.
int OpenDirectoryPath(const std::string& path);

// The last-error value that stands for a POSIX errno of a failed lookup or read.
DWORD LastErrorFromErrno(int error) noexcept;
