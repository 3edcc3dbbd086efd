#pragma once
// CInPlaceEdit: the editor a grid opens over a cell, a child window of class "QrnGridEdit". It takes
// typed characters (Backspace removes the last one) or, over a list column, steps through the
// column's items with Up and Down. Return, Tab and Escape, or losing the focus, end the edit: the
// editor sends GM_EDITDONE (wParam the key, 0 for a focus loss) to its grid, which reads the text and
// destroys the editor. Created, used and destroyed on the grid's window thread; the window owns the
// object (it is deleted with WM_NCDESTROY).
#include "grid/GridTypes.h"

#include <string>
#include <vector>

// Chooses an item of a list editor: wParam the item's index.
inline constexpr UINT GEM_SELECTITEM = WM_USER + 0x0110;

class CInPlaceEdit {
public:
    static constexpr const char16_t* kClassName = u"QrnGridEdit";

    struct Look {
        COLORREF textColour = 0;
        COLORREF backColour = 0xFFFFFF;
        HFONT font = nullptr;
    };

    // Creates the editor window over rect of the grid; null when the window system refuses.
    static CInPlaceEdit* Open(HWND grid, const RECT& rect, const std::u16string& text, const Look& look,
                              std::vector<std::u16string> listItems);
    static void RegisterWindowClass();
    static CInPlaceEdit* FromHandle(HWND hwnd);

    HWND GetSafeHwnd() const noexcept { return hwnd_; }
    const Look& GetLook() const noexcept { return look_; }
    // The item chosen in a list editor, -1 while none is.
    int GetChosenItem() const noexcept { return chosen_; }
    bool IsList() const noexcept { return !items_.empty(); }

private:
    friend LRESULT EditWindowProcedure(HWND, UINT, WPARAM, LPARAM);
    CInPlaceEdit(HWND grid, Look look, std::vector<std::u16string> items)
        : grid_(grid), look_(look), items_(std::move(items)) {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    void Choose(int index);
    void Done(WPARAM key);

    HWND hwnd_ = nullptr;
    HWND grid_;
    Look look_;
    std::vector<std::u16string> items_;
    int chosen_ = -1;
    bool done_ = false;
};
