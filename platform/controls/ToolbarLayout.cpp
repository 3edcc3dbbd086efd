// Toolbar layout.
#include "platform/controls/CommonControls.h"
#include "platform/controls/ToolbarState.h"

#include <algorithm>

namespace tabrix::controls_detail {

namespace {
constexpr int kPaddingX = 8;
constexpr int kPaddingY = 7;
constexpr int kSeparatorWidth = 8;
constexpr int kListGap = 4;
// A separator's width is its record's image field, any int. Capped at what a screen could show,
// the running positions of the most buttons a toolbar takes stay far from int overflow.
constexpr int kWidestSeparator = 32767;
}  // namespace

std::u16string ButtonText(const ToolbarState& state, const ToolbarButton& button)
{
    if (button.ownText)
        return button.text;
    if (button.stringField >= 0 && static_cast<size_t>(button.stringField) < state.strings.size())
        return state.strings[static_cast<size_t>(button.stringField)];
    return {};
}

bool IsSeparator(const ToolbarButton& button) { return (button.style & BTNS_SEP) != 0; }
bool IsHidden(const ToolbarButton& button) { return (button.state & TBSTATE_HIDDEN) != 0; }

int TopMargin(DWORD style) { return (style & CCS_NODIVIDER) ? 0 : 2; }

void LayOutToolbar(ToolbarState& state, DWORD style, int clientWidth, const TextMeasure& measure)
{
    bool list = (style & TBSTYLE_LIST) != 0;
    bool showText = state.maxTextRows > 0;
    std::vector<int> widths(state.buttons.size(), 0);
    int widest = 0;
    for (size_t i = 0; i < state.buttons.size(); ++i) {
        const ToolbarButton& b = state.buttons[i];
        if (!showText || IsSeparator(b))
            continue;
        std::u16string text = ButtonText(state, b);
        widths[i] = text.empty() ? 0 : measure.width(text);
        widest = std::max(widest, widths[i]);
    }
    bool anyText = widest > 0;
    SIZE size = state.explicitButton;
    if (size.cx <= 0 || size.cy <= 0) {
        if (list) {
            size.cx = state.bitmap.cx + (anyText ? widest + kListGap : 0) + kPaddingX;
            size.cy = std::max<LONG>(state.bitmap.cy, anyText ? measure.lineHeight : 0) + kPaddingY;
        } else {
            size.cx = std::max<LONG>(state.bitmap.cx, widest) + kPaddingX;
            size.cy = state.bitmap.cy + (anyText ? measure.lineHeight : 0) + kPaddingY;
        }
    }
    state.button = size;
    bool wrapable = (style & TBSTYLE_WRAPABLE) != 0;
    bool arrows = (state.extendedStyle & TBSTYLE_EX_DRAWDDARROWS) != 0;
    int top = TopMargin(style);
    int x = state.indent, y = top, rows = 1;
    for (size_t i = 0; i < state.buttons.size(); ++i) {
        ToolbarButton& b = state.buttons[i];
        if (IsHidden(b)) {
            b.rect = RECT{};
            continue;
        }
        int w = size.cx;
        if (IsSeparator(b))
            w = b.image > 0 ? std::min(b.image, kWidestSeparator) : kSeparatorWidth;
        else if ((b.style & BTNS_AUTOSIZE) && state.explicitButton.cx <= 0)
            w = (list ? state.bitmap.cx + (widths[i] ? widths[i] + kListGap : 0) : std::max<int>(state.bitmap.cx, widths[i])) + kPaddingX;
        if (!IsSeparator(b) && (b.style & BTNS_DROPDOWN) && arrows)
            w += kDropDownArrowWidth;
        if (wrapable && x > state.indent && x + w > clientWidth) {
            x = state.indent;
            y += size.cy;
            ++rows;
        }
        b.rect = RECT{x, y, x + w, y + size.cy};
        x += w;
        if ((b.state & TBSTATE_WRAP) && i + 1 < state.buttons.size()) {
            x = state.indent;
            y += size.cy;
            ++rows;
        }
    }
    state.rows = rows;
}

int ToolbarHeight(const ToolbarState& state, DWORD style) { return TopMargin(style) + state.rows * state.button.cy; }

int ButtonAt(const ToolbarState& state, POINT point)
{
    for (size_t i = 0; i < state.buttons.size(); ++i) {
        const RECT& r = state.buttons[i].rect;
        if (!IsHidden(state.buttons[i]) && point.x >= r.left && point.x < r.right && point.y >= r.top && point.y < r.bottom)
            return static_cast<int>(i);
    }
    return -1;
}

}  // namespace tabrix::controls_detail
