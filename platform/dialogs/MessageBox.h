#pragma once
// Message boxes: MessageBoxW and the self-closing MessageBoxTimeoutW, with the platform's type bits
// and answer codes. Both hand the box to the installed dialog service (DialogService.h), which shows
// it on the calling thread and returns when it has closed; headlessly that is the scripted service.
// Thread safety: any thread may show a box; the box belongs to the calling thread.
#include "platform/window/WinTypes.h"

#include <span>

// Buttons.
inline constexpr UINT MB_OK = 0x00000000;
inline constexpr UINT MB_OKCANCEL = 0x00000001;
inline constexpr UINT MB_ABORTRETRYIGNORE = 0x00000002;
inline constexpr UINT MB_YESNOCANCEL = 0x00000003;
inline constexpr UINT MB_YESNO = 0x00000004;
inline constexpr UINT MB_RETRYCANCEL = 0x00000005;
inline constexpr UINT MB_CANCELTRYCONTINUE = 0x00000006;
inline constexpr UINT MB_TYPEMASK = 0x0000000F;
// Icons.
inline constexpr UINT MB_ICONHAND = 0x00000010;
inline constexpr UINT MB_ICONERROR = MB_ICONHAND;
inline constexpr UINT MB_ICONSTOP = MB_ICONHAND;
inline constexpr UINT MB_ICONQUESTION = 0x00000020;
inline constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
inline constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
inline constexpr UINT MB_ICONASTERISK = 0x00000040;
inline constexpr UINT MB_ICONINFORMATION = MB_ICONASTERISK;
inline constexpr UINT MB_ICONMASK = 0x000000F0;
// Default button.
inline constexpr UINT MB_DEFBUTTON1 = 0x00000000;
inline constexpr UINT MB_DEFBUTTON2 = 0x00000100;
inline constexpr UINT MB_DEFBUTTON3 = 0x00000200;
inline constexpr UINT MB_DEFBUTTON4 = 0x00000300;
inline constexpr UINT MB_DEFMASK = 0x00000F00;
// Modality and placement (recorded; headlessly every box is modal to its thread).
inline constexpr UINT MB_APPLMODAL = 0x00000000;
inline constexpr UINT MB_SYSTEMMODAL = 0x00001000;
inline constexpr UINT MB_TASKMODAL = 0x00002000;
inline constexpr UINT MB_SETFOREGROUND = 0x00010000;
inline constexpr UINT MB_TOPMOST = 0x00040000;

// Answers.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;
inline constexpr int IDCLOSE = 8;
inline constexpr int IDHELP = 9;
inline constexpr int IDTRYAGAIN = 10;
inline constexpr int IDCONTINUE = 11;
// What MessageBoxTimeoutW returns when the box closed by itself.
inline constexpr int MB_TIMEDOUT = 32000;
// The identifier of a message box's text control (the static id -1 as a 16-bit value).
inline constexpr int MESSAGE_BOX_TEXT_ID = 0xFFFF;
// MessageBoxTimeoutW's milliseconds for "never closes by itself".
inline constexpr DWORD MESSAGE_BOX_NO_TIMEOUT = 0xFFFFFFFF;

// The button answer of a box's type (the default button, as Enter would choose it), the answer
// closing the box gives (IDCANCEL or IDOK for boxes that have one, 0 when it cannot be closed), and
// whether answer is one of the type's buttons.
int DefaultMessageBoxAnswer(UINT type);
int CloseMessageBoxAnswer(UINT type);
bool IsMessageBoxAnswer(UINT type, int answer);
// The buttons of a type, left to right (empty for a type the platform does not know), and the label
// a box shows on the button of an answer.
std::span<const int> MessageBoxButtons(UINT type);
const char16_t* MessageBoxButtonLabel(int answer);

// The button pressed; 0 when the box could not be shown (an unknown owner window).
int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
// As MessageBoxW; the box closes by itself after the milliseconds (MESSAGE_BOX_NO_TIMEOUT: never)
// and then answers MB_TIMEDOUT. The language is recorded only.
int MessageBoxTimeoutW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type, WORD language,
                       DWORD milliseconds);
