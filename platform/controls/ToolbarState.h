#pragma once
// The state of one toolbar window and its layout. Internal to platform/controls.
// Thread safety: a toolbar's state lives in a locked table (ControlSupport.h); the window's own
// thread changes it, GetToolbarSnapshot reads it from any thread.
#include "platform/controls/ControlSupport.h"
#include "platform/controls/ToolbarTypes.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tabrix::controls_detail {

struct ToolbarButton {
    int image = 0;
    int command = 0;
    BYTE state = 0;
    BYTE style = 0;
    DWORD_PTR data = 0;
    INT_PTR stringField = -1;  // as given: a pool index, a text pointer or -1
    bool ownText = false;      // the text came as a pointer and is kept here
    std::u16string text;
    RECT rect{};
};

struct ToolbarState {
    std::vector<ToolbarButton> buttons;
    std::vector<std::u16string> strings;  // TB_ADDSTRINGW's pool
    HWND notify = nullptr;
    size_t structSize = sizeof(TBBUTTON);
    DWORD extendedStyle = 0;
    HIMAGELIST images = nullptr;
    HIMAGELIST hotImages = nullptr;
    HIMAGELIST disabledImages = nullptr;
    SIZE bitmap{16, 15};
    SIZE explicitButton{0, 0};  // TB_SETBUTTONSIZE; zero when the size follows the contents
    SIZE button{24, 22};        // the size the last layout used
    int maxTextRows = 1;
    int indent = 0;
    int rows = 1;
    HWND tooltip = nullptr;
    bool ownsTooltip = false;
    std::vector<int> toolCommands;  // tools registered with the tooltip
    int pressed = -1;               // button index pressed with the mouse
};

// The text a button shows (pool texts are looked up when asked, as on the original desktop).
std::u16string ButtonText(const ToolbarState& state, const ToolbarButton& button);
bool IsSeparator(const ToolbarButton& button);
bool IsHidden(const ToolbarButton& button);

inline constexpr int kDropDownArrowWidth = 14;

struct TextMeasure {
    std::function<int(std::u16string_view)> width;
    int lineHeight = 0;
};
// Places every button from the left (wrapping with TBSTYLE_WRAPABLE at the client width) and sets
// state.button and state.rows.
void LayOutToolbar(ToolbarState& state, DWORD style, int clientWidth, const TextMeasure& measure);
// The toolbar's height for its rows (with the divider line unless CCS_NODIVIDER).
int ToolbarHeight(const ToolbarState& state, DWORD style);
int TopMargin(DWORD style);
// The index of the button at a point, -1 for none (separators included).
int ButtonAt(const ToolbarState& state, POINT point);

// The table of every toolbar's state.
WindowStateTable<ToolbarState>& ToolbarStates();
// Measures the texts with the toolbar's font, lays the buttons out, moves the tooltip's tools and
// repaints; the presenter is told.
void RelayoutToolbar(HWND toolbar);
// The TB_* messages; *handled false for any other message.
LRESULT HandleToolbarMessage(HWND toolbar, UINT message, WPARAM wParam, LPARAM lParam, bool* handled);

}  // namespace tabrix::controls_detail
