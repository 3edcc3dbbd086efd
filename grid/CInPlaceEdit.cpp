#include "grid/CInPlaceEdit.h"

#include "platform/window/Focus.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/WinStyles.h"
#include "platform/window/Window.h"
#include "platform/window/WindowClass.h"

#include <mutex>

namespace {
struct OpenParams {
    CInPlaceEdit* editor;
    bool attached = false;  // the window took the object (and deletes it with WM_NCDESTROY)
};
}  // namespace

LRESULT EditWindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* params = static_cast<OpenParams*>(create->lpCreateParams);
        params->attached = true;
        params->editor->hwnd_ = hwnd;
        auto* editor = params->editor;
        SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(editor));
    }
    CInPlaceEdit* editor = CInPlaceEdit::FromHandle(hwnd);
    if (!editor)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, 0, 0);
        LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
        delete editor;
        return result;
    }
    return editor->WindowProc(message, wParam, lParam);
}

void CInPlaceEdit::RegisterWindowClass()
{
    static std::once_flag once;
    std::call_once(once, [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = EditWindowProcedure;
        wc.cbWndExtra = sizeof(void*);
        wc.lpszClassName = kClassName;
        RegisterClassExW(&wc);
    });
}

CInPlaceEdit* CInPlaceEdit::FromHandle(HWND hwnd)
{
    WCHAR name[32];
    if (GetClassNameW(hwnd, name, 32) == 0 || std::u16string(name) != kClassName)
        return nullptr;
    return reinterpret_cast<CInPlaceEdit*>(GetWindowLongPtrW(hwnd, 0));
}

CInPlaceEdit* CInPlaceEdit::Open(HWND grid, const RECT& rect, const std::u16string& text, const Look& look,
                                 std::vector<std::u16string> listItems)
{
    RegisterWindowClass();
    auto* editor = new CInPlaceEdit(grid, look, std::move(listItems));
    OpenParams params{editor};
    HWND hwnd = CreateWindowExW(0, kClassName, text.c_str(), WS_CHILD | WS_VISIBLE | WS_BORDER, rect.left, rect.top,
                                rect.right - rect.left, rect.bottom - rect.top, grid, nullptr, nullptr, &params);
    if (!hwnd) {
        if (!params.attached)
            delete editor;
        return nullptr;
    }
    for (size_t i = 0; i < editor->items_.size(); ++i) {
        if (editor->items_[i] == text)
            editor->chosen_ = static_cast<int>(i);
    }
    if (look.font)
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(look.font), 0);
    SetFocus(hwnd);
    return editor;
}

void CInPlaceEdit::Choose(int index)
{
    if (index < 0 || index >= static_cast<int>(items_.size()))
        return;
    chosen_ = index;
    SetWindowTextW(hwnd_, items_[static_cast<size_t>(index)].c_str());
}

void CInPlaceEdit::Done(WPARAM key)
{
    if (done_)
        return;
    done_ = true;
    SendMessageW(grid_, GM_EDITDONE, key, 0);
}

LRESULT CInPlaceEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS | DLGC_WANTCHARS | DLGC_WANTARROWS;
    case WM_CHAR: {
        if (IsList())
            return 0;
        const auto unit = static_cast<char16_t>(wParam);
        std::u16string text(static_cast<size_t>(GetWindowTextLengthW(hwnd_)) + 1, u'\0');
        text.resize(static_cast<size_t>(GetWindowTextW(hwnd_, text.data(), static_cast<int>(text.size()))));
        if (unit == VK_BACK) {
            if (!text.empty())
                text.pop_back();
        } else if (unit >= 0x20) {
            text.push_back(unit);
        } else {
            return 0;
        }
        SetWindowTextW(hwnd_, text.c_str());
        return 0;
    }
    case WM_KEYDOWN:
        if (wParam == VK_RETURN || wParam == VK_TAB || wParam == VK_ESCAPE) {
            Done(wParam);
        } else if (IsList() && (wParam == VK_UP || wParam == VK_DOWN)) {
            Choose(chosen_ < 0 ? 0 : chosen_ + (wParam == VK_DOWN ? 1 : -1));
        }
        return 0;
    case GEM_SELECTITEM:
        Choose(static_cast<int>(wParam));
        return 0;
    case WM_KILLFOCUS:
        Done(0);
        return 0;
    case WM_SETFONT:
        look_.font = reinterpret_cast<HFONT>(wParam);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(look_.font);
    default:
        return DefWindowProcW(hwnd_, message, wParam, lParam);
    }
}
