#pragma once
// The "Edit" class: a single- or multi-line text box whose text is the window text. Typed
// characters arrive as WM_CHAR (so a filter in front of the class sees them first); each change
// by the user or by EM_REPLACESEL / EM_UNDO / WM_CLEAR / WM_CUT / WM_PASTE sends EN_UPDATE and then
// EN_CHANGE to the parent as WM_COMMAND; WM_SETTEXT sends them too for single-line boxes only.
// EN_SETFOCUS and EN_KILLFOCUS follow the focus. EM_LIMITTEXT limits what the user types or
// pastes (32,767 units by default, 0 for the largest); a refused insertion sends EN_MAXTEXT.
// ES_READONLY refuses the user's changes only (with a beep), ES_NUMBER every typed non-digit.
// Positions count UTF-16 units; lines of a multi-line box end at "\r\n". One level of undo.
// Copy, cut and paste use a text clipboard of the process. Painting asks the parent for colours
// with WM_CTLCOLOREDIT (WM_CTLCOLORSTATIC when read-only or disabled).
// Thread safety: as every control (ControlClasses.h); the clipboard from any thread.
#include "platform/controls/ControlClasses.h"

#include <string>

inline constexpr DWORD ES_LEFT = 0x0000;
inline constexpr DWORD ES_CENTER = 0x0001;
inline constexpr DWORD ES_RIGHT = 0x0002;
inline constexpr DWORD ES_MULTILINE = 0x0004;
inline constexpr DWORD ES_UPPERCASE = 0x0008;
inline constexpr DWORD ES_LOWERCASE = 0x0010;
inline constexpr DWORD ES_PASSWORD = 0x0020;
inline constexpr DWORD ES_AUTOVSCROLL = 0x0040;
inline constexpr DWORD ES_AUTOHSCROLL = 0x0080;
inline constexpr DWORD ES_NOHIDESEL = 0x0100;
inline constexpr DWORD ES_OEMCONVERT = 0x0400;
inline constexpr DWORD ES_READONLY = 0x0800;
inline constexpr DWORD ES_WANTRETURN = 0x1000;
inline constexpr DWORD ES_NUMBER = 0x2000;

inline constexpr UINT EM_GETSEL = 0x00B0;
inline constexpr UINT EM_SETSEL = 0x00B1;
inline constexpr UINT EM_GETRECT = 0x00B2;
inline constexpr UINT EM_SCROLLCARET = 0x00B7;
inline constexpr UINT EM_GETMODIFY = 0x00B8;
inline constexpr UINT EM_SETMODIFY = 0x00B9;
inline constexpr UINT EM_GETLINECOUNT = 0x00BA;
inline constexpr UINT EM_LINEINDEX = 0x00BB;
inline constexpr UINT EM_LINELENGTH = 0x00C1;
inline constexpr UINT EM_REPLACESEL = 0x00C2;
inline constexpr UINT EM_GETLINE = 0x00C4;
inline constexpr UINT EM_LIMITTEXT = 0x00C5;
inline constexpr UINT EM_SETLIMITTEXT = EM_LIMITTEXT;
inline constexpr UINT EM_CANUNDO = 0x00C6;
inline constexpr UINT EM_UNDO = 0x00C7;
inline constexpr UINT EM_LINEFROMCHAR = 0x00C9;
inline constexpr UINT EM_SETPASSWORDCHAR = 0x00CC;
inline constexpr UINT EM_EMPTYUNDOBUFFER = 0x00CD;
inline constexpr UINT EM_GETFIRSTVISIBLELINE = 0x00CE;
inline constexpr UINT EM_SETREADONLY = 0x00CF;
inline constexpr UINT EM_GETPASSWORDCHAR = 0x00D2;
inline constexpr UINT EM_GETLIMITTEXT = 0x00D5;
inline constexpr UINT EM_POSFROMCHAR = 0x00D6;

inline constexpr WORD EN_SETFOCUS = 0x0100;
inline constexpr WORD EN_KILLFOCUS = 0x0200;
inline constexpr WORD EN_CHANGE = 0x0300;
inline constexpr WORD EN_UPDATE = 0x0400;
inline constexpr WORD EN_ERRSPACE = 0x0500;
inline constexpr WORD EN_MAXTEXT = 0x0501;

// Extra bytes of an edit box, after the shared ones (LONG_PTR slots).
inline constexpr int EDIT_EXTRA_ANCHOR = CONTROL_EXTRA_FIRST_CLASS_SLOT;      // selection start as set
inline constexpr int EDIT_EXTRA_CARET = CONTROL_EXTRA_FIRST_CLASS_SLOT + 8;   // selection end, the caret
inline constexpr int EDIT_EXTRA_LIMIT = CONTROL_EXTRA_FIRST_CLASS_SLOT + 16;
inline constexpr int EDIT_EXTRA_PASSWORDCHAR = CONTROL_EXTRA_FIRST_CLASS_SLOT + 24;
inline constexpr int EDIT_EXTRA_MODIFIED = CONTROL_EXTRA_FIRST_CLASS_SLOT + 32;
inline constexpr int EDIT_EXTRA_BYTES = CONTROL_EXTRA_FIRST_CLASS_SLOT + 40;

// The process's text clipboard that copy, cut and paste use; a presenter may mirror the desktop's.
void SetClipboardText(const std::u16string& text);
std::u16string GetClipboardText();
