#include "ui/CVWnd_Label.h"

#include "platform/controls/ControlClasses.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/window/Paint.h"
#include "platform/window/PresenterHook.h"
#include "platform/window/WinMessages.h"
#include "platform/window/Window.h"
#include "ui/CVWnd_Container.h"
#include "ui/UiConstants.h"

#include <vector>

CVWnd_Label::~CVWnd_Label()
{
    if (font)
        DeleteObject(font);
    if (picture)
        DeleteObject(picture);
}

UINT CVWnd_Label::TextFormat() const
{
    UINT format = DT_NOCLIP;
    format |= hAlign == 1 ? DT_CENTER : hAlign == 2 ? DT_RIGHT : DT_LEFT;
    if (wordWrap)
        format |= DT_WORDBREAK | DT_VCENTER;
    else if (vAlign == 1)
        format |= DT_SINGLELINE | DT_VCENTER;
    else if (vAlign == 2)
        format |= DT_SINGLELINE | DT_BOTTOM;
    else
        format |= DT_SINGLELINE;
    return format;
}

void CVWnd_Label::SetPicture(HBITMAP newPicture)
{
    if (picture && picture != newPicture)
        DeleteObject(picture);
    picture = newPicture;
    if (HWND hwnd = GetSafeHwnd())
        InvalidateRect(hwnd, nullptr, TRUE);
}

void CVWnd_Label::Publish()
{
    HWND hwnd = GetSafeHwnd();
    if (!hwnd)
        return;
    SetWindowLongPtrW(hwnd, CONTROL_EXTRA_FONT, reinterpret_cast<LONG_PTR>(font));
    SetWindowLongPtrW(hwnd, CONTROL_EXTRA_TEXTCOLOUR, static_cast<LONG_PTR>(ResolveColour(textColor, COLOR_WINDOWTEXT)));
    SetWindowLongPtrW(hwnd, CONTROL_EXTRA_BACKCOLOUR, static_cast<LONG_PTR>(ResolveColour(backColor, COLOR_BTNFACE)));
    SetWindowLongPtrW(hwnd, PAINTED_EXTRA_TEXTFORMAT, static_cast<LONG_PTR>(TextFormat()));
    SetWindowLongPtrW(hwnd, PAINTED_EXTRA_TRANSPARENT, transparent);
    MarkWindowChanged(hwnd, WindowChangeFont | WindowChangeClassState);
}

void CVWnd_Label::TakeFont(HFONT given, bool redraw)
{
    HFONT copy = nullptr;
    LOGFONTW description{};
    if (given && GetObjectW(given, sizeof description, &description))
        copy = CreateFontIndirectW(&description);
    // The old copy goes only once the window no longer names it, so a presenter never reads a
    // font handle that is being deleted.
    HFONT previous = font;
    font = copy;
    Publish();
    if (previous)
        DeleteObject(previous);
    HWND hwnd = GetSafeHwnd();
    if (!redraw)
        return;
    if (transparent)
        RepaintUnderTransparentWindow(hwnd);
    InvalidateRect(hwnd, nullptr, TRUE);
}

LRESULT CVWnd_Label::Paint()
{
    HWND hwnd = GetSafeHwnd();
    PAINTSTRUCT ps{};
    HDC hdc = BeginPaint(hwnd, &ps);
    RECT client{}, area{};
    if (PaintArea(hwnd, hdc, &client, &area)) {
        PaintBackground(hdc, client, area, BackgroundStyle{backColor, transparent != 0, picture, pictureMode});
        const int length = GetWindowTextLengthW(hwnd);
        if (length > 0) {
            std::vector<char16_t> text(static_cast<size_t>(length) + 1, 0);
            GetWindowTextW(hwnd, text.data(), length + 1);
            HGDIOBJ old = SelectObject(hdc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
            SetBkMode(hdc, TRANSPARENT);
            SetTextColor(hdc, ResolveColour(textColor, COLOR_WINDOWTEXT));
            DrawTextW(hdc, text.data(), -1, &client, TextFormat());
            SelectObject(hdc, old);
        }
    }
    EndPaint(hwnd, &ps);
    return 0;
}

LRESULT CVWnd_Label::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: return Paint();
    case WM_ERASEBKGND: return 1;  // the paint fills the background
    case WM_GETDLGCODE: return DLGC_STATIC;
    case WM_SETFONT: TakeFont(reinterpret_cast<HFONT>(wParam), LOWORD(static_cast<uintptr_t>(lParam)) != 0); return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(font);
    default: break;
    }
    if (message == kQrnLabelNotify) {
        auto* l = dynamic_cast<ILabelEventListener*>(listener.load(std::memory_order_acquire));
        return l ? l->OnNotify(wParam, lParam) : 0;
    }
    return Default(message, wParam, lParam);
}
