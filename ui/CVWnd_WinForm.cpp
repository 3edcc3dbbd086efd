#include "ui/CVWnd_WinForm.h"

#include "platform/controls/ButtonControl.h"
#include "platform/gdi/Cursors.h"
#include "platform/gdi/Regions.h"
#include "platform/loader/Modules.h"
#include "platform/window/Focus.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/WinMessages.h"
#include "platform/window/WinStyles.h"
#include "platform/window/Window.h"
#include "platform/window/WindowClass.h"
#include "platform/window/WindowGeometry.h"
#include "ui/UiConstants.h"

#include <algorithm>
#include <vector>

namespace {

constexpr LRESULT kHasDefaultId = 0x534B0000;  // DC_HASDEFID in the high word
constexpr WORD kMenuPopup = 0x0010;            // MF_POPUP
constexpr WORD kMenuSystem = 0x2000;           // MF_SYSMENU

std::u16string ClassNameOf(HWND hwnd)
{
    char16_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return std::u16string(name);
}

bool SameClassName(HWND hwnd, std::u16string_view wanted)
{
    std::u16string name = ClassNameOf(hwnd);
    if (name.size() != wanted.size())
        return false;
    for (size_t i = 0; i < name.size(); ++i) {
        auto fold = [](char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c; };
        if (fold(name[i]) != fold(wanted[i]))
            return false;
    }
    return true;
}

HWND FindUsableDescendant(HWND parent, int id)
{
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetDlgCtrlID(child) == id && IsWindowVisible(child) && IsWindowEnabled(child))
            return child;
        if (HWND inner = FindUsableDescendant(child, id))
            return inner;
    }
    return nullptr;
}

CWString WindowTextOf(HWND hwnd)
{
    int length = GetWindowTextLengthW(hwnd);
    std::vector<char16_t> buffer(static_cast<size_t>(std::max(length, 0)) + 1, 0);
    int copied = GetWindowTextW(hwnd, buffer.data(), static_cast<int>(buffer.size()));
    return CWString(std::u16string_view(buffer.data(), static_cast<size_t>(std::max(copied, 0))));
}

}  // namespace

CVWnd_WinForm::CVWnd_WinForm() : icon(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(100))) {}

CVWnd_WinForm::~CVWnd_WinForm()
{
    SetMenuObject(nullptr);
    if (trayIcon)
        DestroyIcon(trayIcon);
}

IWinFormEventListener* CVWnd_WinForm::FormListener() const
{
    return dynamic_cast<IWinFormEventListener*>(listener.load(std::memory_order_acquire));
}

void CVWnd_WinForm::SetMenuObject(CRefQrnMenu* newMenu)
{
    if (newMenu)
        newMenu->AddRef();
    CRefQrnMenu* old = menu;
    menu = newMenu;
    if (old)
        old->Release();
}

uint32_t CVWnd_WinForm::WantedCaptionBits(const CWString& title) const
{
    if (borderStyle == 0)
        return 0;
    uint32_t wanted = WS_DLGFRAME;
    if (controlBox)
        wanted |= WS_CAPTION | WS_SYSMENU;
    else if (!title.IsEmpty() && title.View() != kApplicationName)
        wanted |= WS_CAPTION;
    if (maximizeBox)
        wanted |= WS_MAXIMIZEBOX;
    if (minimizeBox)
        wanted |= WS_MINIMIZEBOX;
    return wanted & kCaptionMask;
}

void CVWnd_WinForm::UpdateCaptionBits()
{
    HWND hwnd = GetSafeHwnd();
    if (!hwnd)
        return;
    const auto style = static_cast<uint32_t>(GetWindowLongW(hwnd, GWL_STYLE));
    const uint32_t wanted = WantedCaptionBits(WindowTextOf(hwnd));
    if ((style & kCaptionMask) == wanted)
        return;
    SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>((style & ~kCaptionMask) | wanted));
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void CVWnd_WinForm::ApplyShape()
{
    shape = std::clamp(shape, 0, 2);
    HWND hwnd = GetSafeHwnd();
    if (!hwnd)
        return;
    RECT r{};
    GetWindowRect(hwnd, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    HRGN region = nullptr;
    if (shape == 1) {
        region = CreateEllipticRgn(0, 0, w, h);
    } else if (shape == 2) {
        const int corner = std::min(w / 5, h / 5);
        region = CreateRoundRectRgn(0, 0, w, h, corner, corner);
    }
    SetWindowRgn(hwnd, region, TRUE);
}

LRESULT CVWnd_WinForm::OnClose()
{
    HWND hwnd = GetSafeHwnd();
    IWinFormEventListener* l = FormListener();
    if (l && !l->OnClosing())
        return 0;
    if (!IsWindow(hwnd))
        return 0;
    if ((l = FormListener()) && !l->OnQueryClose())
        return 0;
    if (!IsWindow(hwnd))
        return 0;
    return Default(WM_CLOSE, 0, 0);
}

void CVWnd_WinForm::OnActivateMessage(WPARAM wParam)
{
    HWND hwnd = GetSafeHwnd();
    IWinFormEventListener* l = FormListener();
    if (!l || inActivate)
        return;
    inActivate = 1;
    if (LOWORD(wParam) != WA_INACTIVE) {
        if (!activatedOnce) {
            activatedOnce = 1;
            l->OnFirstActivate();
        }
        if (IsWindow(hwnd) && (l = FormListener()))
            l->OnActivate();
    } else {
        l->OnDeactivate();
    }
    inActivate = 0;
}

void CVWnd_WinForm::OnDestroyMessage()
{
    // The notification area is not there on this desktop: the tray icon only has to go.
    if (trayIcon) {
        DestroyIcon(trayIcon);
        trayIcon = nullptr;
    }
    activatedOnce = 0;
    helpShown = 0;
    if (envelope && IsWindow(envelope))
        PostMessageW(envelope, kQrnEnvelopeRequest, 1, 0);
    if (IContainerEventListener* l = ContainerListener())
        l->OnDestroy();
    DestroyTooltip();
}

LRESULT CVWnd_WinForm::OnMinMaxInfo(MINMAXINFO* info)
{
    LRESULT result = Default(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(info));
    if (!info || envelope)
        return result;
    info->ptMinTrackSize = POINT{1, 1};
    if (IWinFormEventListener* l = FormListener())
        l->OnSizeLimits(info);
    return result;
}

LRESULT CVWnd_WinForm::OnGetDefaultId()
{
    HWND hwnd = GetSafeHwnd();
    if (defaultButtonId != 0 && FindUsableDescendant(hwnd, defaultButtonId))
        return kHasDefaultId | (defaultButtonId & 0xFFFF);
    return Default(WM_USER, 0, 0);
}

LRESULT CVWnd_WinForm::OnCommandMessage(WPARAM wParam, LPARAM lParam)
{
    if (lParam != 0) {
        auto control = reinterpret_cast<HWND>(lParam);
        const DWORD kind = static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE)) & BS_TYPEMASK;
        if (enterPressed && SameClassName(control, u"BUTTON") && kind != BS_DEFPUSHBUTTON)
            return 1;
    } else if (IWinFormEventListener* l = FormListener()) {
        return l->OnCommand(LOWORD(wParam)) != 0 ? 0 : Default(WM_COMMAND, wParam, lParam);
    }
    return CVWnd_Container::OnCommandMessage(wParam, lParam);
}

LRESULT CVWnd_WinForm::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    switch (message) {
    case WM_CLOSE:
        if (envelope)
            return PostMessageW(envelope, kQrnEnvelopeRequest, 1, 0), 0;
        return OnClose();
    case WM_QUERYENDSESSION:
        result = Default(message, wParam, lParam);
        if (!result || envelope)
            return result;
        if (IWinFormEventListener* l = FormListener())
            return l->OnQueryClose();
        return 1;
    case WM_ACTIVATE:
        result = Default(message, wParam, lParam);
        OnActivateMessage(wParam);
        return result;
    case WM_DESTROY:
        OnDestroyMessage();
        return Default(message, wParam, lParam);
    case WM_SETTEXT:
        if (envelope && IsWindow(envelope))
            SendMessageW(envelope, kQrnEnvelopeRequest, 4, lParam);
        result = Default(message, wParam, lParam);
        UpdateCaptionBits();
        return result;
    case WM_SIZE:
        result = CVWnd_Container::WindowProc(message, wParam, lParam);
        if (shape != 0)
            ApplyShape();
        return result;
    case WM_SHOWWINDOW:
        if (lParam != 0)  // caused by the parent
            return Default(message, wParam, lParam);
        if (envelope && IsWindow(envelope))
            SendMessageW(envelope, kQrnEnvelopeRequest, 2, wParam);
        return CVWnd_Container::WindowProc(message, wParam, lParam);
    case WM_MENUSELECT: {
        const WORD flags = HIWORD(wParam);
        const bool none = flags == 0xFFFF || (flags & kMenuPopup) || (flags & kMenuSystem);
        if (IWinFormEventListener* l = FormListener())
            l->OnMenuSelect(none ? 0 : LOWORD(wParam));
        return Default(message, wParam, lParam);
    }
    case WM_GETMINMAXINFO: return OnMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
    case WM_NCACTIVATE:
        if (!wParam && keepCaptionActive && !envelope)
            return Default(message, TRUE, lParam);
        return Default(message, wParam, lParam);
    case WM_USER: return OnGetDefaultId();  // DM_GETDEFID
    case WM_SYSCOMMAND:
        if (!movable && (wParam & 0xFFF0) == SC_MOVE)
            return 0;  // the system menu has no move item
        return Default(message, wParam, lParam);
    default: break;
    }
    if (message == kQrnTrayCallback) {
        IWinFormEventListener* l = FormListener();
        const auto mouse = static_cast<UINT>(lParam);
        const int32_t kind = (mouse == WM_CONTEXTMENU || mouse == WM_RBUTTONUP) ? 3
                           : mouse == WM_LBUTTONUP                             ? 1
                           : mouse == WM_LBUTTONDBLCLK                         ? 2
                                                                               : 0;
        if (l && kind)
            l->OnTrayIcon(kind);
        return 0;
    }
    if (message == kQrnPreTranslate && lParam == kQrnWindowMark)
        return PreTranslate(reinterpret_cast<const MSG*>(wParam)) ? kQrnWindowMark : 0;
    return CVWnd_Container::WindowProc(message, wParam, lParam);
}
