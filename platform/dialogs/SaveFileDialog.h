#pragma once
// The save-file dialog GetSaveFileNameW with the platform's request structure, flags and extended
// errors. The dialog itself is the installed dialog service's (DialogService.h). Our dialogs never
// change the current directory, so OFN_NOCHANGEDIR is what always happens.
// Thread safety: any thread; CommDlgExtendedError reports the calling thread's last dialog.
#include "platform/window/WinTypes.h"

inline constexpr DWORD OFN_READONLY = 0x00000001;
inline constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
inline constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
inline constexpr DWORD OFN_NOCHANGEDIR = 0x00000008;
inline constexpr DWORD OFN_SHOWHELP = 0x00000010;
inline constexpr DWORD OFN_ENABLEHOOK = 0x00000020;
inline constexpr DWORD OFN_NOVALIDATE = 0x00000100;
inline constexpr DWORD OFN_ALLOWMULTISELECT = 0x00000200;
inline constexpr DWORD OFN_EXTENSIONDIFFERENT = 0x00000400;
inline constexpr DWORD OFN_PATHMUSTEXIST = 0x00000800;
inline constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;
inline constexpr DWORD OFN_CREATEPROMPT = 0x00002000;
inline constexpr DWORD OFN_NOREADONLYRETURN = 0x00008000;
inline constexpr DWORD OFN_NOTESTFILECREATE = 0x00010000;
inline constexpr DWORD OFN_EXPLORER = 0x00080000;
inline constexpr DWORD OFN_NODEREFERENCELINKS = 0x00100000;
inline constexpr DWORD OFN_LONGNAMES = 0x00200000;
inline constexpr DWORD OFN_DONTADDTORECENT = 0x02000000;
inline constexpr DWORD OFN_FORCESHOWHIDDEN = 0x10000000;

// CommDlgExtendedError codes.
inline constexpr DWORD CDERR_STRUCTSIZE = 0x0001;
inline constexpr DWORD CDERR_INITIALIZATION = 0x0002;
inline constexpr DWORD CDERR_DIALOGFAILURE = 0xFFFF;
inline constexpr DWORD FNERR_INVALIDFILENAME = 0x3002;
inline constexpr DWORD FNERR_BUFFERTOOSMALL = 0x3003;

using LPOFNHOOKPROC = UINT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

struct OPENFILENAMEW {
    DWORD lStructSize;
    HWND hwndOwner;
    HINSTANCE hInstance;
    LPCWSTR lpstrFilter;        // NUL-separated description/pattern strings, ended by an empty one
    LPWSTR lpstrCustomFilter;
    DWORD nMaxCustFilter;
    DWORD nFilterIndex;
    LPWSTR lpstrFile;           // in: the initial name; out: the chosen full path
    DWORD nMaxFile;             // units of lpstrFile, terminator included
    LPWSTR lpstrFileTitle;      // out: the chosen name without its folder (optional)
    DWORD nMaxFileTitle;
    LPCWSTR lpstrInitialDir;
    LPCWSTR lpstrTitle;
    DWORD Flags;
    WORD nFileOffset;           // out: where the name starts in lpstrFile
    WORD nFileExtension;        // out: where the extension starts (the terminator when none)
    LPCWSTR lpstrDefExt;        // appended (after a dot) to a name typed without an extension
    LPARAM lCustData;
    LPOFNHOOKPROC lpfnHook;
    LPCWSTR lpTemplateName;
    void* pvReserved;
    DWORD dwReserved;
    DWORD FlagsEx;
};

// TRUE with lpstrFile holding the chosen path. FALSE when the user cancelled
// (CommDlgExtendedError 0) or the dialog failed: a bad structure (CDERR_STRUCTSIZE,
// CDERR_INITIALIZATION), a service failure (CDERR_DIALOGFAILURE), a path too long for lpstrFile
// (FNERR_BUFFERTOOSMALL; lpstrFile's first unit then holds the units needed) or an empty path
// (FNERR_INVALIDFILENAME). Apart from that one unit, lpstrFile keeps what it held on failure.
BOOL GetSaveFileNameW(OPENFILENAMEW* request);
DWORD CommDlgExtendedError();
