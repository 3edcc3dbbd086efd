#include "ui/CMfcWndObject.h"

#include "platform/gdi/GdiObjects.h"
#include "platform/window/Window.h"

const CQrnClassInfo& CMfcWndObject::StaticClassInfo()
{
    static const CQrnClassInfo info = MakeClassInfo("CMfcWndObject", nullptr, &CRefObject::StaticClassInfo());
    return info;
}

void CMfcWndObject::OnFinalRelease()
{
    if (!native)
        return;
    if (nativeDeletesItself) {
        if (HWND hwnd = native->GetSafeHwnd())
            DestroyWindow(hwnd);
        native = nullptr;
        return;
    }
    CVWnd::ReleaseFromHolder(native);
    native = nullptr;
}

CMfcWndObject::~CMfcWndObject()
{
    if (font)
        DeleteObject(font);
    if (native)
        CVWnd::ReleaseFromHolder(native);
}
