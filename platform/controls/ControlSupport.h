#pragma once
// Pieces every standard control uses: extra-byte slots, notifications to the parent, the font
// messages, the WM_CTLCOLOR* question, and a table of per-window state for the classes whose state
// does not fit extra bytes. Internal to platform/controls.
// Thread safety: a control's procedure runs on its window's thread; WindowStateTable is locked, and
// With() runs its function under that lock, so the function must not send messages or call back.
#include "platform/gdi/GdiTypes.h"
#include "platform/window/WinTypes.h"

#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

namespace tabrix::controls_detail {

LONG_PTR Slot(HWND hwnd, int offset);
// Writes the slot only when the value changes, so a presenter is not woken for nothing.
void SetSlot(HWND hwnd, int offset, LONG_PTR value);
// The shared slots' first values (colours unknown until the first paint).
void InitialiseSharedSlots(HWND hwnd);

DWORD StyleOf(HWND hwnd);
// The window's stored text, read without sending messages through the window's procedure.
std::u16string StoredText(HWND hwnd);
// Stores the text as default processing of WM_SETTEXT does, without calling the procedure again.
void StoreText(HWND hwnd, const std::u16string& text);
// True when the window is enabled itself (a control's own WS_DISABLED bit is clear).
bool Enabled(HWND hwnd);
// WM_COMMAND (identifier, code) with lParam = hwnd to the window's parent; 0 without a parent.
LRESULT NotifyParentCommand(HWND hwnd, WORD code);
// WM_NOTIFY to target with hdr->hwndFrom and hdr->idFrom filled from `from`.
LRESULT SendNotify(HWND target, HWND from, NMHDR* hdr, UINT code);

// WM_SETFONT / WM_GETFONT on the shared slot; true when the message was one of them.
bool HandleFontMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
// Selects the control's font (DEFAULT_GUI_FONT when none) into hdc; returns what was selected.
HGDIOBJ SelectControlFont(HWND hwnd, HDC hdc);

struct PaintColours {
    HBRUSH brush = nullptr;
    COLORREF text = 0;
    COLORREF back = 0;
};
// Prepares hdc with the system colours, asks the parent with the WM_CTLCOLOR* message and keeps the
// answer (a null answer means the system colours) in the shared slots.
PaintColours AskParentColours(HWND hwnd, HDC hdc, UINT message, int backIndex, int textIndex);

// The point of a mouse message's lParam lies in the client area.
bool PointInClient(HWND hwnd, LPARAM lParam);

template <typename T>
class WindowStateTable {
public:
    void Create(HWND hwnd)
    {
        std::lock_guard guard(mutex_);
        states_[hwnd] = std::make_unique<T>();
    }
    void Erase(HWND hwnd)
    {
        std::lock_guard guard(mutex_);
        states_.erase(hwnd);
    }
    // Runs f on the window's state; false when the window has none.
    template <typename F>
    bool With(HWND hwnd, F&& f)
    {
        std::lock_guard guard(mutex_);
        auto it = states_.find(hwnd);
        if (it == states_.end())
            return false;
        f(*it->second);
        return true;
    }

private:
    std::mutex mutex_;
    std::unordered_map<HWND, std::unique_ptr<T>> states_;
};

}  // namespace tabrix::controls_detail
