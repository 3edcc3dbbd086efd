#pragma once
// The "ToolbarWindow32" class: a row of buttons with images from an image list and optional
// texts. A click (left button pressed and released over an enabled button) sends WM_COMMAND with
// the button's command identifier and BN_CLICKED, lParam the toolbar, to the notification window:
// the parent given at creation, or the one TB_SETPARENT names. A drop-down button sends
// TBN_DROPDOWN instead (with TBSTYLE_EX_DRAWDDARROWS only from its arrow part). Painting sends
// NM_CUSTOMDRAW (CDDS_PREERASE with TBSTYLE_CUSTOMERASE, CDDS_PREPAINT, item stages on request)
// with the client rectangle or the button's. With TBSTYLE_TOOLTIPS the toolbar makes a tooltip
// control with one tool per button (identifier = command identifier, text by callback) and passes
// it the mouse messages; the tooltip's TTN_GETDISPINFOW is forwarded to the notification window.
// Buttons are laid out from the left, wrapping with TBSTYLE_WRAPABLE; TB_AUTOSIZE fits the toolbar
// to its parent's width as the CCS_* styles say. TB_ADDBUTTONSA (0x414) is taken as TB_ADDBUTTONSW:
// texts are UTF-16 here.
// Thread safety: as every control (ControlClasses.h); GetToolbarSnapshot from any thread.
#include "platform/controls/ToolbarTypes.h"

inline constexpr UINT TB_ENABLEBUTTON = 0x0401;
inline constexpr UINT TB_CHECKBUTTON = 0x0402;
inline constexpr UINT TB_PRESSBUTTON = 0x0403;
inline constexpr UINT TB_HIDEBUTTON = 0x0404;
inline constexpr UINT TB_INDETERMINATE = 0x0405;
inline constexpr UINT TB_ISBUTTONENABLED = 0x0409;
inline constexpr UINT TB_ISBUTTONCHECKED = 0x040A;
inline constexpr UINT TB_ISBUTTONPRESSED = 0x040B;
inline constexpr UINT TB_ISBUTTONHIDDEN = 0x040C;
inline constexpr UINT TB_ISBUTTONINDETERMINATE = 0x040D;
inline constexpr UINT TB_SETSTATE = 0x0411;
inline constexpr UINT TB_GETSTATE = 0x0412;
inline constexpr UINT TB_ADDBUTTONSA = 0x0414;
inline constexpr UINT TB_INSERTBUTTONA = 0x0415;
inline constexpr UINT TB_DELETEBUTTON = 0x0416;
inline constexpr UINT TB_GETBUTTON = 0x0417;
inline constexpr UINT TB_BUTTONCOUNT = 0x0418;
inline constexpr UINT TB_COMMANDTOINDEX = 0x0419;
inline constexpr UINT TB_GETITEMRECT = 0x041D;
inline constexpr UINT TB_BUTTONSTRUCTSIZE = 0x041E;
inline constexpr UINT TB_SETBUTTONSIZE = 0x041F;
inline constexpr UINT TB_SETBITMAPSIZE = 0x0420;
inline constexpr UINT TB_AUTOSIZE = 0x0421;
inline constexpr UINT TB_GETTOOLTIPS = 0x0423;
inline constexpr UINT TB_SETTOOLTIPS = 0x0424;
inline constexpr UINT TB_SETPARENT = 0x0425;
inline constexpr UINT TB_GETROWS = 0x0428;
inline constexpr UINT TB_SETCMDID = 0x042A;
inline constexpr UINT TB_SETINDENT = 0x042F;
inline constexpr UINT TB_SETIMAGELIST = 0x0430;
inline constexpr UINT TB_GETIMAGELIST = 0x0431;
inline constexpr UINT TB_GETRECT = 0x0433;  // wParam: the command identifier
inline constexpr UINT TB_SETHOTIMAGELIST = 0x0434;
inline constexpr UINT TB_GETHOTIMAGELIST = 0x0435;
inline constexpr UINT TB_SETDISABLEDIMAGELIST = 0x0436;
inline constexpr UINT TB_GETDISABLEDIMAGELIST = 0x0437;
inline constexpr UINT TB_SETSTYLE = 0x0438;
inline constexpr UINT TB_GETSTYLE = 0x0439;
inline constexpr UINT TB_GETBUTTONSIZE = 0x043A;
inline constexpr UINT TB_SETMAXTEXTROWS = 0x043C;
inline constexpr UINT TB_GETTEXTROWS = 0x043D;
inline constexpr UINT TB_INSERTBUTTONW = 0x0443;
inline constexpr UINT TB_ADDBUTTONSW = 0x0444;
inline constexpr UINT TB_HITTEST = 0x0445;
inline constexpr UINT TB_GETBUTTONTEXTW = 0x044B;
inline constexpr UINT TB_ADDSTRINGW = 0x044D;
inline constexpr UINT TB_GETMAXSIZE = 0x0453;
inline constexpr UINT TB_SETEXTENDEDSTYLE = 0x0454;  // wParam: mask of bits to change, 0 for all
inline constexpr UINT TB_GETEXTENDEDSTYLE = 0x0455;

inline constexpr UINT TBN_FIRST = 0U - 700;
inline constexpr UINT TBN_DROPDOWN = TBN_FIRST - 10;
inline constexpr UINT TBN_HOTITEMCHANGE = TBN_FIRST - 13;

inline constexpr LRESULT TBDDRET_DEFAULT = 0;
inline constexpr LRESULT TBDDRET_NODEFAULT = 1;
inline constexpr LRESULT TBDDRET_TREATPRESSED = 2;

// Our own: what a presenter needs to show a toolbar; FALSE for a window that is no toolbar.
BOOL GetToolbarSnapshot(HWND toolbar, ToolbarSnapshot* snapshot);
