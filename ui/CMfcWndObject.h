#pragma once
// CMfcWndObject: the native-window holder a control shares with its copies. It keeps the control's
// text, style, extended style, cursor and font while no native window exists, and owns the native
// window object. The last reference destroys the window (on the window's own thread) and frees
// the object and the font. Fields are used on the owner's thread; the count is atomic.
#include "platform/gdi/GdiTypes.h"
#include "platform/window/WinStyles.h"
#include "runtime/CRefObject.h"
#include "runtime/CWString.h"
#include "ui/CVWnd.h"

#include <cstdint>
#include <memory>

class CMfcWndObject final : public CRefObject {
public:
    static constexpr uint32_t kInitialStyle = WS_VISIBLE | WS_CLIPSIBLINGS;  // 0x14000000

    explicit CMfcWndObject(std::unique_ptr<CVWnd> nativeObject) noexcept : native(nativeObject.release()) {}
    ~CMfcWndObject() override;
    void OnFinalRelease() override;

    static const CQrnClassInfo& StaticClassInfo();
    const CQrnClassInfo* GetClassInfo() const override { return &StaticClassInfo(); }

    // The native window exists: the native object is there and has a window.
    bool NativeExists() const noexcept { return native && native->GetSafeHwnd(); }
    HWND Hwnd() const noexcept { return native ? native->GetSafeHwnd() : nullptr; }

    CWString text;
    uint32_t style = kInitialStyle;
    uint32_t exStyle = 0;
    HCURSOR cursor = nullptr;
    HFONT font = nullptr;        // owned
    CVWnd* native = nullptr;     // owned, unless nativeDeletesItself
    int64_t nativeDeletesItself = 0;
};
