// Registration of the standard control classes.
#include "platform/controls/ControlClasses.h"

#include "platform/controls/ButtonControl.h"
#include "platform/controls/ControlProcs.h"
#include "platform/controls/EditControl.h"
#include "platform/controls/ProgressControl.h"
#include "platform/controls/StaticControl.h"
#include "platform/controls/TooltipControl.h"
#include "platform/controls/UpDownControl.h"
#include "platform/gdi/Cursors.h"
#include "platform/window/WinStyles.h"
#include "platform/window/WindowClass.h"

#include <mutex>

using namespace tabrix::controls_detail;

namespace {

struct ClassDescription {
    const char16_t* name;
    WNDPROC proc;
    int extraBytes;
    UINT style;
    LPCWSTR cursor;
};

constexpr UINT kControlStyle = CS_GLOBALCLASS | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
constexpr int kToolbarExtraBytes = CONTROL_EXTRA_FIRST_CLASS_SLOT;

std::mutex g_registerMutex;

bool Register(const ClassDescription& d)
{
    WNDCLASSEXW existing{};
    if (GetClassInfoExW(nullptr, d.name, &existing))
        return true;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = d.style;
    wc.lpfnWndProc = d.proc;
    wc.cbWndExtra = d.extraBytes;
    wc.hCursor = LoadCursorW(nullptr, d.cursor);
    wc.lpszClassName = d.name;
    return RegisterClassExW(&wc) != 0;
}

}  // namespace

BOOL RegisterStandardControlClasses()
{
    const ClassDescription classes[] = {
        {WC_BUTTONW, ButtonProc, BUTTON_EXTRA_BYTES, kControlStyle | CS_PARENTDC, IDC_ARROW},
        {WC_EDITW, EditProc, EDIT_EXTRA_BYTES, kControlStyle | CS_PARENTDC, IDC_IBEAM},
        {WC_STATICW, StaticProc, STATIC_EXTRA_BYTES, kControlStyle | CS_PARENTDC, IDC_ARROW},
        {PROGRESS_CLASSW, ProgressProc, PROGRESS_EXTRA_BYTES, kControlStyle, IDC_ARROW},
        {UPDOWN_CLASSW, UpDownProc, UPDOWN_EXTRA_BYTES, kControlStyle, IDC_ARROW},
        {TOOLBARCLASSNAMEW, ToolbarProc, kToolbarExtraBytes, kControlStyle, IDC_ARROW},
        {TOOLTIPS_CLASSW, TooltipProc, TOOLTIP_EXTRA_BYTES, kControlStyle | CS_SAVEBITS, IDC_ARROW},
    };
    std::lock_guard guard(g_registerMutex);
    bool all = true;
    for (const ClassDescription& d : classes)
        all = Register(d) && all;
    return all ? TRUE : FALSE;
}

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init)
{
    if (!init || init->dwSize != sizeof(INITCOMMONCONTROLSEX))
        return FALSE;
    return RegisterStandardControlClasses();
}

void InitCommonControls() { RegisterStandardControlClasses(); }
