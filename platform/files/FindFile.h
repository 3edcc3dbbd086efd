#pragma once
// The original platform's directory search over POSIX. A pattern is a directory, "/", and a last
// component with "*" and "?" matched against entry names (ASCII letters without case). Every entry
// the file system lists is offered, "." and ".." included, in its own order; names beginning with "."
// are hidden (except "." and ".."). Failures return INVALID_HANDLE_VALUE or FALSE and set the
// calling thread's last error (ERROR_PATH_NOT_FOUND, ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED,
// ERROR_NO_MORE_FILES, ERROR_INVALID_HANDLE, ...), read with GetLastError().
// Thread safety: any thread may open, use and close searches; one handle is used by one thread at a
// time (a handle closed by another thread while in use stays valid until that call returns).
#include "platform/files/FileTypes.h"
#include "platform/files/LastError.h"

HANDLE FindFirstFileW(LPCWSTR pattern, WIN32_FIND_DATAW* data);
// infoLevel FindExInfoStandard or FindExInfoBasic (alike here); searchOp FindExSearchNameMatch or
// FindExSearchLimitToDirectories, which leaves out everything but directories and links to them
// without examining other entries; flags FIND_FIRST_EX_CASE_SENSITIVE, FIND_FIRST_EX_LARGE_FETCH, and
// our TABRIX_FIND_LISTING_ONLY: names and attributes (directory, hidden, link) only, with times and
// sizes left 0, which spares a lookup per entry in a large tree.
HANDLE FindFirstFileExW(LPCWSTR pattern, FINDEX_INFO_LEVELS infoLevel, LPVOID data, FINDEX_SEARCH_OPS searchOp,
                        LPVOID searchFilter, DWORD flags);
BOOL FindNextFileW(HANDLE search, WIN32_FIND_DATAW* data);
BOOL FindClose(HANDLE search);
