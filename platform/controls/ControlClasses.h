#pragma once
// The standard control classes as window classes of the window core: "Button", "Edit", "Static",
// "msctls_progress32", "msctls_updown32", "ToolbarWindow32" and "tooltips_class32". They are
// registered together (RegisterStandardControlClasses, or the platform's InitCommonControlsEx)
// before the first control is created; registering again registers only what is missing.
// Every control keeps its font (WM_SETFONT / WM_GETFONT) and the colours its parent chose in the
// last WM_CTLCOLOR* answer in its extra bytes at the offsets below, where a presenter reads them;
// each class header lists its own further offsets.
// Thread safety: registration from any thread. A control is used on the thread that created it,
// like every window; messages from other threads are sent there by the core.
#include "platform/window/WinTypes.h"

inline constexpr const char16_t* WC_BUTTONW = u"Button";
inline constexpr const char16_t* WC_EDITW = u"Edit";
inline constexpr const char16_t* WC_STATICW = u"Static";
inline constexpr const char16_t* PROGRESS_CLASSW = u"msctls_progress32";
inline constexpr const char16_t* UPDOWN_CLASSW = u"msctls_updown32";
inline constexpr const char16_t* TOOLBARCLASSNAMEW = u"ToolbarWindow32";
inline constexpr const char16_t* TOOLTIPS_CLASSW = u"tooltips_class32";

struct INITCOMMONCONTROLSEX {
    DWORD dwSize;
    DWORD dwICC;
};
inline constexpr DWORD ICC_LISTVIEW_CLASSES = 0x00000001;
inline constexpr DWORD ICC_TREEVIEW_CLASSES = 0x00000002;
inline constexpr DWORD ICC_BAR_CLASSES = 0x00000004;
inline constexpr DWORD ICC_TAB_CLASSES = 0x00000008;
inline constexpr DWORD ICC_UPDOWN_CLASS = 0x00000010;
inline constexpr DWORD ICC_PROGRESS_CLASS = 0x00000020;
inline constexpr DWORD ICC_WIN95_CLASSES = 0x000000FF;
inline constexpr DWORD ICC_STANDARD_CLASSES = 0x00004000;

// TRUE when every class is registered (already, or now).
BOOL RegisterStandardControlClasses();
// Registers all our classes whatever the flags ask (a superset is harmless); FALSE for a bad size.
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init);
void InitCommonControls();

// Extra-byte offsets shared by every standard control (LONG_PTR slots).
inline constexpr int CONTROL_EXTRA_FONT = 0;        // HFONT from WM_SETFONT
inline constexpr int CONTROL_EXTRA_TEXTCOLOUR = 8;  // COLORREF, CLR_INVALID until the first paint
inline constexpr int CONTROL_EXTRA_BACKCOLOUR = 16; // COLORREF of the background brush
inline constexpr int CONTROL_EXTRA_FIRST_CLASS_SLOT = 24;

// A self-drawn class outside this set (the label) that wants the presenter to draw its text as it
// paints it keeps the three shared slots above (its colours resolved, never CLR_INVALID) and these.
inline constexpr int PAINTED_EXTRA_TEXTFORMAT = 24;   // the DrawTextW format it paints its text with
inline constexpr int PAINTED_EXTRA_TRANSPARENT = 32;  // non-zero: no background of its own
inline constexpr int PAINTED_EXTRA_BYTES = 40;
