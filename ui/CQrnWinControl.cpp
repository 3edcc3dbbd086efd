#include "ui/CQrnWinControl.h"

#include "platform/gdi/Cursors.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/window/Paint.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/WinMessages.h"
#include "platform/window/Window.h"
#include "platform/window/WindowGeometry.h"
#include "ui/DropFiles.h"
#include "ui/FontDescription.h"
#include "ui/KeyTranslation.h"
#include "ui/rg_ZuJianBuJuQi.h"

#include <vector>

HWND ParentWindowOf(const WinCreateInfo& info)
{
    return info.parentNative ? info.parentNative->GetSafeHwnd() : nullptr;
}

namespace rg_quarn_MFCJieMian_base {

QRN_IMPLEMENT_CONTROL_CLASS(CQrnWinControl, CQrnRefObject, "rg_quarn_MFCJieMian_base::CQrnWinControl")

CQrnWinControl::CQrnWinControl() : CQrnWinControl(std::make_unique<CVWnd>()) {}

CQrnWinControl::CQrnWinControl(std::unique_ptr<CVWnd> native)
    : CQrnRefObject(new CMfcWndObject(std::move(native)))
{
}

CQrnWinControl::~CQrnWinControl()
{
    // The window may outlive this control through a copy: it must not call back into it.
    DetachListener();
}

bool CQrnWinControl::IsEqual(const CQrnObject& other) const
{
    return CQrnRefObject::IsEqual(other) && static_cast<const CQrnWinControl&>(other).extraText == extraText;
}

bool CQrnWinControl::CopyFrom(const CQrnObject& source)
{
    if (!CQrnRefObject::CopyFrom(source))
        return false;
    extraText.Reset();
    extraText.CopyFrom(static_cast<const CQrnWinControl&>(source).extraText);
    return true;
}

void CQrnWinControl::Reset()
{
    CQrnRefObject::Reset();
    extraText.Reset();
}

void CQrnWinControl::LoadFromStream(CQrnStream& stream) { extraText.LoadFromStream(stream); }

void CQrnWinControl::SaveToStream(CQrnStream& stream) const { extraText.SaveToStream(stream); }

int32_t CQrnWinControl::Create(WinCreateInfo&) { return 0; }

int32_t CQrnWinControl::CreateWithPattern(WinCreateInfo& info)
{
    CVWnd* native = GetNative();
    if (!native)
        return 0;
    native->userInt = info.userInt;
    if (native->GetSafeHwnd())
        return 0;
    FillCreateInfo(info);
    AdjustCreateInfo(info);
    if (!CreatePlatformWindow(info))
        return 0;
    if (native->GetSafeHwnd())
        AfterCreate(native, info);
    return 1;
}

void CQrnWinControl::FillCreateInfo(WinCreateInfo& info)
{
    CMfcWndObject* holder = GetWndObject();
    if (!holder)
        return;
    info.text = holder->text.GetText();
    info.style = holder->style;
    info.exStyle = holder->exStyle;
    if (info.parentNative && !(info.style & WS_POPUP))
        info.style |= WS_CHILD;
    else
        info.style &= ~WS_CHILD;
    if (!holder->font) {
        LOGFONTW font = DefaultControlLogFont();
        holder->font = CreateFontIndirectW(&font);
    }
    info.font = holder->font;
}

void CQrnWinControl::AfterCreate(CVWnd* native, WinCreateInfo& info)
{
    HWND hwnd = native->GetSafeHwnd();
    if (info.font)
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(info.font), 1);
    if (!(info.style & WS_TABSTOP)
        && (SendMessageW(hwnd, WM_GETDLGCODE, 0, 0) & (DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTALLKEYS | DLGC_WANTCHARS)))
        ModifyStyle(0, WS_TABSTOP, Frame::Same);
    if (!(info.style & WS_BORDER) && (static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)) & WS_BORDER))
        ModifyStyle(WS_BORDER, 0, Frame::Changed);
    if (info.parentControl && info.parentControl->NativeExists())
        Created.Raise(this, info.parentControl, info.id);
}

void CQrnWinControl::ModifyStyle(DWORD remove, DWORD add, Frame frame)
{
    HWND hwnd = GetSafeHwnd();
    if (!hwnd)
        return;
    DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
    DWORD changed = (style & ~remove) | add;
    if (changed == style)
        return;
    SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>(changed));
    UINT flags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
    if (frame == Frame::Changed)
        flags |= SWP_FRAMECHANGED;
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, flags);
}

void CQrnWinControl::AttachListener()
{
    CVWnd* native = GetNative();
    IBaseEventListener* listener = ListenerInterface();
    if (!native || !listener)
        return;
    native->listener.store(listener, std::memory_order_release);
    attached_ = listener;
}

void CQrnWinControl::DetachListener()
{
    CVWnd* native = GetNative();
    if (!native || !attached_)
        return;
    IBaseEventListener* expected = attached_;
    native->listener.compare_exchange_strong(expected, nullptr, std::memory_order_acq_rel);
    attached_ = nullptr;
}

int32_t CQrnWinControl::HasListener() const
{
    CVWnd* native = GetNative();
    return native && native->listener.load(std::memory_order_acquire) ? 1 : 0;
}

CWString CQrnWinControl::GetControlText() const
{
    CMfcWndObject* holder = GetWndObject();
    if (!holder)
        return CWString();
    HWND hwnd = holder->Hwnd();
    if (!hwnd)
        return holder->text;
    int length = GetWindowTextLengthW(hwnd);
    std::vector<char16_t> buffer(static_cast<size_t>(length > 0 ? length : 0) + 1, 0);
    int copied = GetWindowTextW(hwnd, buffer.data(), static_cast<int>(buffer.size()));
    return CWString(std::u16string_view(buffer.data(), static_cast<size_t>(copied > 0 ? copied : 0)));
}

void CQrnWinControl::SetControlText(const CWString& text)
{
    CMfcWndObject* holder = GetWndObject();
    if (!holder)
        return;
    HWND hwnd = holder->Hwnd();
    if (!hwnd) {
        holder->text = text;
        return;
    }
    SetWindowTextW(hwnd, text.GetText());
    if (!IsKindOf(rg_ZuJianBuJuQi::StaticClassInfo()))
        InvalidateRect(hwnd, nullptr, TRUE);
}

void CQrnWinControl::SetFont(const char16_t* description)
{
    CMfcWndObject* holder = GetWndObject();
    if (!holder)
        return;
    LOGFONTW description_font = ParseFontDescription(description);
    HFONT font = CreateFontIndirectW(&description_font);
    HFONT previous = holder->font;
    holder->font = font;
    if (HWND hwnd = holder->Hwnd())
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), 1);
    if (previous)
        DeleteObject(previous);
}

void CQrnWinControl::SetVisible(bool visible)
{
    CMfcWndObject* holder = GetWndObject();
    if (!holder)
        return;
    if (HWND hwnd = holder->Hwnd())
        ShowWindow(hwnd, visible ? SW_SHOW : SW_HIDE);
    else if (visible)
        holder->style |= WS_VISIBLE;
    else
        holder->style &= ~WS_VISIBLE;
}

void CQrnWinControl::SetEnabled(bool enabled)
{
    CMfcWndObject* holder = GetWndObject();
    if (!holder)
        return;
    if (HWND hwnd = holder->Hwnd())
        EnableWindow(hwnd, enabled ? TRUE : FALSE);
    else if (enabled)
        holder->style &= ~WS_DISABLED;
    else
        holder->style |= WS_DISABLED;
}

void CQrnWinControl::SetMouseCursor(HCURSOR cursor)
{
    if (CMfcWndObject* holder = GetWndObject())
        holder->cursor = cursor;
}

int32_t CQrnWinControl::HandleMessage(MsgRecord& m)
{
    if (WindowMessage.Raise(this, m.hwnd, m.message, m.wParam, m.lParam, &m) != 0)
        return 1;
    switch (m.message) {
    case WM_SETFOCUS: return FocusGained.Raise(this) != 0 ? 1 : 0;
    case WM_KILLFOCUS: return FocusLost.Raise(this) != 0 ? 1 : 0;
    case WM_SETCURSOR: {
        CMfcWndObject* holder = GetWndObject();
        if (!holder || !holder->cursor)
            return 0;
        ::SetCursor(holder->cursor);
        return 1;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        const int32_t k = TranslateKey(m.wParam);
        const int32_t key = k & static_cast<int32_t>(0xFFFF1FFF);
        const int32_t modifiers = k & kModifierMask;
        auto& binding = (m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN) ? KeyDown : KeyUp;
        return binding.Raise(this, key, modifiers) != 0 ? 1 : 0;
    }
    case WM_CHAR: {
        const int32_t r = CharInput.Raise(this, static_cast<uint16_t>(m.wParam & 0xFFFF));
        if (r < 0)
            return 1;
        if (r > 0)
            m.wParam = static_cast<WPARAM>(r);
        return 0;
    }
    case WM_MOUSEWHEEL: {
        const int32_t delta = static_cast<int16_t>(HIWORD(m.wParam));
        return MouseWheel.Raise(this, delta / 120, MouseModifiers(LOWORD(m.wParam))) != 0 ? 1 : 0;
    }
    case WM_DROPFILES: RaiseFilesDropped(m.wParam); return 0;
    default: return HandleMouse(m);
    }
}

int32_t CQrnWinControl::HandleMouse(MsgRecord& m)
{
    EventBinding<int32_t, int32_t, int32_t>* binding = nullptr;
    switch (m.message) {
    case WM_MOUSEMOVE: binding = &MouseMove; break;
    case WM_LBUTTONDOWN: binding = &LeftButtonDown; break;
    case WM_LBUTTONUP: binding = &LeftButtonUp; break;
    case WM_LBUTTONDBLCLK: binding = &LeftButtonDoubleClick; break;
    case WM_RBUTTONDOWN: binding = &RightButtonDown; break;
    case WM_RBUTTONUP: binding = &RightButtonUp; break;
    case WM_MBUTTONDOWN: binding = &MiddleButtonDown; break;
    case WM_MBUTTONUP: binding = &MiddleButtonUp; break;
    default: return 0;
    }
    return binding->Raise(this, GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam), MouseModifiers(m.wParam)) != 0 ? 1 : 0;
}

void CQrnWinControl::RaiseFilesDropped(WPARAM wParam)
{
    auto drop = reinterpret_cast<HDROP>(wParam);
    rg_quarn_base::rg_WenBenShuZuLei paths;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFFu, nullptr, 0);
    std::vector<char16_t> buffer;
    for (UINT i = 0; i < count; ++i) {
        // Paths are read whole, however long.
        buffer.assign(static_cast<size_t>(DragQueryFileW(drop, i, nullptr, 0)) + 1, 0);
        DragQueryFileW(drop, i, buffer.data(), static_cast<UINT>(buffer.size()));
        paths.Append(buffer.data());
    }
    DragFinish(drop);
    if (paths.GetCount() > 0)
        FilesDropped.Raise(this, &paths);
}

}  // namespace rg_quarn_MFCJieMian_base
