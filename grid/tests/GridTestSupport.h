#pragma once
// Helpers for the grid tests: a parent window, a pump that runs what is queued, mouse and key
// messages at cell positions, and a grid component that records what it reports.
#include "grid/CGridCtrl.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/WinStyles.h"
#include "platform/window/Window.h"
#include "platform/window/WindowClass.h"

#include <string>
#include <vector>

namespace grid_test {

inline HWND MakeParent()
{
    static bool registered = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = DefWindowProcW;
        wc.lpszClassName = u"GridTestParent";
        return RegisterClassExW(&wc) != 0;
    }();
    (void)registered;
    return CreateWindowExW(0, u"GridTestParent", u"parent", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 800, 600, nullptr,
                           nullptr, nullptr, nullptr);
}

// Runs every queued message; a bounded number of rounds, so a message that keeps reposting itself
// fails the test instead of hanging it.
inline int Pump(int limit = 10000)
{
    MSG msg;
    int count = 0;
    while (count < limit && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        ++count;
    }
    return count;
}

// The centre of a cell of a grid that is not scrolled, with columns of width w and rows of height h.
inline LPARAM At(int row, int col, int w = 60, int h = 24)
{
    return MAKELPARAM(static_cast<WORD>(col * w + w / 2), static_cast<WORD>(row * h + h / 2));
}

inline void Click(HWND hwnd, LPARAM where)
{
    SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, where);
    SendMessageW(hwnd, WM_LBUTTONUP, 0, where);
}

inline void Type(HWND hwnd, const std::u16string& text)
{
    for (char16_t unit : text)
        SendMessageW(hwnd, WM_CHAR, unit, 0);
}

inline void Key(HWND hwnd, UINT key)
{
    SendMessageW(hwnd, WM_KEYDOWN, key, 0);
    SendMessageW(hwnd, WM_KEYUP, key, 0);
}

class RecordingGrid : public CGridCtrl {
public:
    std::vector<std::string> events;
    bool allowEdit = true;
    bool destroyInBeforeEdit = false;

protected:
    void Note(const char* name, int a = -1, int b = -1)
    {
        events.push_back(std::string(name) + (a >= 0 ? " " + std::to_string(a) : "") + (b >= 0 ? "," + std::to_string(b) : ""));
    }
    bool OnBeforeEdit(int row, int col) override
    {
        Note("BeforeEdit", row, col);
        if (destroyInBeforeEdit)
            DestroyWindow(GetSafeHwnd());
        return allowEdit;
    }
    void OnEditStarted(int row, int col) override { Note("EditStarted", row, col); }
    void OnEditEnded(int row, int col) override { Note("EditEnded", row, col); }
    void OnFocusCellChanged() override { Note("FocusCellChanged"); }
    void OnColumnResized(int col) override { Note("ColumnResized", col); }
    void OnRowResized(int row) override { Note("RowResized", row); }
    void OnCellClicked(int row, int col) override { Note("CellClicked", row, col); }
    void OnFixedCellClicked(int row, int col) override { Note("FixedCellClicked", row, col); }
    void OnCellDoubleClicked(int row, int col) override { Note("CellDoubleClicked", row, col); }
    void OnCellListSelected(int row, int col, std::u16string_view item) override
    {
        Note("CellListSelected", row, col);
        listItem = std::u16string(item);
    }

public:
    std::u16string listItem;
};

}  // namespace grid_test
