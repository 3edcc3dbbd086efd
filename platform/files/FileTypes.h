#pragma once
// The original desktop's basic types, constants and find-data structure that the directory search
// uses, with their original names and values. The aliases repeat the window core's exactly (a
// repeated alias of the same type is legal), and every structure or macro sits behind its own guard,
// so both headers can be included together and later merged.
// Thread safety: plain types and constants; usable from any thread.
#include <cstdint>

using DWORD = uint32_t;
using BOOL = int32_t;
using WCHAR = char16_t;
using LPCWSTR = const char16_t*;
using LPVOID = void*;
using HANDLE = void*;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif
#ifndef MAX_PATH
#define MAX_PATH 260
#endif
#ifndef INVALID_HANDLE_VALUE
#define INVALID_HANDLE_VALUE (reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1)))
#endif

// Attribute bits of a find-data record.
inline constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x1;
inline constexpr DWORD FILE_ATTRIBUTE_HIDDEN = 0x2;
inline constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
inline constexpr DWORD FILE_ATTRIBUTE_ARCHIVE = 0x20;
inline constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;
inline constexpr DWORD FILE_ATTRIBUTE_REPARSE_POINT = 0x400;
// Reparse tag the original platform puts into dwReserved0 of a symbolic link.
inline constexpr DWORD IO_REPARSE_TAG_SYMLINK = 0xA000000C;

// Last-error values the search reports. The first four are the window core's too: whichever header
// comes first defines them, once both put them behind this guard.
#ifndef TABRIX_COMMON_ERROR_CODES_DEFINED
#define TABRIX_COMMON_ERROR_CODES_DEFINED
inline constexpr DWORD ERROR_SUCCESS = 0;
inline constexpr DWORD ERROR_ACCESS_DENIED = 5;
inline constexpr DWORD ERROR_NOT_ENOUGH_MEMORY = 8;
inline constexpr DWORD ERROR_INVALID_PARAMETER = 87;
#endif
inline constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
inline constexpr DWORD ERROR_PATH_NOT_FOUND = 3;
inline constexpr DWORD ERROR_TOO_MANY_OPEN_FILES = 4;
inline constexpr DWORD ERROR_INVALID_HANDLE = 6;
inline constexpr DWORD ERROR_NO_MORE_FILES = 18;
inline constexpr DWORD ERROR_GEN_FAILURE = 31;
inline constexpr DWORD ERROR_INVALID_NAME = 123;
inline constexpr DWORD ERROR_FILENAME_EXCED_RANGE = 206;
inline constexpr DWORD ERROR_DIRECTORY = 267;

#ifndef TABRIX_FILETIME_DEFINED
#define TABRIX_FILETIME_DEFINED
// 100-nanosecond intervals since 1 January 1601 (UTC), split in two halves.
struct FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
};
#endif

#ifndef TABRIX_WIN32_FIND_DATAW_DEFINED
#define TABRIX_WIN32_FIND_DATAW_DEFINED
// One directory entry. cFileName keeps the original MAX_PATH units: a Linux entry name has at most
// 255 bytes, which decode to at most 255 units, so every name fits whole with its terminator and is
// never cut. cAlternateFileName (the 8.3 name) stays empty: Linux has none.
struct WIN32_FIND_DATAW {
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    DWORD dwReserved0;
    DWORD dwReserved1;
    WCHAR cFileName[MAX_PATH];
    WCHAR cAlternateFileName[14];
};
using LPWIN32_FIND_DATAW = WIN32_FIND_DATAW*;
#endif

#ifndef TABRIX_FINDEX_DEFINED
#define TABRIX_FINDEX_DEFINED
enum FINDEX_INFO_LEVELS { FindExInfoStandard = 0, FindExInfoBasic = 1 };
enum FINDEX_SEARCH_OPS { FindExSearchNameMatch = 0, FindExSearchLimitToDirectories = 1 };
inline constexpr DWORD FIND_FIRST_EX_CASE_SENSITIVE = 0x1;
inline constexpr DWORD FIND_FIRST_EX_LARGE_FETCH = 0x2;
// Not of the original platform: fill names and attributes only (see FindFirstFileExW).
inline constexpr DWORD TABRIX_FIND_LISTING_ONLY = 0x10000;
#endif
