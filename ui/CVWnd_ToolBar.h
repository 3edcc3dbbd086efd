#pragma once
// CVWnd_ToolBar: the native window of toolbars, a subclassed platform "ToolbarWindow32". Its
// buttons come from the item-description text (five fields per button, ParseToolbarItemSpec),
// built when the window is created; button k gets command identifier k + 1. The platform toolbar
// sends its clicks, drop-downs, tooltip questions and custom drawing to a hidden notification
// window (CToolBarNotifyWnd, a sibling of the toolbar made its TB_SETPARENT target), which turns
// them into calls on the toolbar's listener and answers the tooltips from the stored texts.
// The native object owns the three image lists and the notification window.
// Threads: used on the window's thread; ParseToolbarItemSpec from any thread.
#include "platform/gdi/GdiTypes.h"
#include "runtime/CWString.h"
#include "runtime/TextArrays.h"
#include "ui/CVWnd.h"
#include "ui/UiConstants.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// One button of an item-description text.
struct ToolbarItem {
    int32_t image = 0;  // -1 for none
    uint8_t state = 0;  // TBSTATE_* bits
    uint8_t style = 0;  // BTNS_* bits
    std::u16string text;
    std::u16string tooltip;
};

struct ToolbarItemSpec {
    std::vector<ToolbarItem> items;
    // Fields after the last complete item; they describe no button and are ignored.
    int32_t ignoredFields = 0;
};

// Fields are separated by U+000A and taken verbatim; a final line feed adds no field. Numbers read
// as TextToInt64 does (unreadable text is 0), the image clamped to 32 bits, state and style cut to
// their low byte.
ToolbarItemSpec ParseToolbarItemSpec(std::u16string_view text);

class CVWnd_ToolBar;

class CToolBarNotifyWnd : public CVWnd {
public:
    static constexpr const char16_t* kClassName = u"QrnToolBarNotifyWnd";

    HWND toolbarHandle = nullptr;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // The toolbar's native object while toolbarHandle is a live window of it.
    CVWnd_ToolBar* Toolbar() const;
    LRESULT Command(WPARAM wParam, LPARAM lParam);
    LRESULT Notify(WPARAM wParam, LPARAM lParam);
};

class CVWnd_ToolBar : public CVWnd {
public:
    static constexpr const char16_t* kClassName = u"ToolbarWindow32";
    // The platform toolbar keeps at most this many units of one pooled text.
    static constexpr size_t kLongestText = 4096;

    CVWnd_ToolBar();
    ~CVWnd_ToolBar() override;

    CToolBarNotifyWnd& NotifyWindow() noexcept { return *notifyWindow_; }

    int32_t nextCommandId = 1;
    uint32_t backColor = kSystemColour;  // COLOR_BTNFACE
    int32_t placement = 0;               // 0 top, 1 bottom, 2 free
    int32_t flat = 1;
    int32_t divider = 1;
    int32_t listStyle = 0;               // texts to the right of the images
    int32_t wrapable = 1;
    int32_t maxTextRows = 0;             // 0 leaves the platform's one row
    HIMAGELIST imageList = nullptr;      // the three lists are owned
    HIMAGELIST hotImageList = nullptr;
    HIMAGELIST disabledImageList = nullptr;
    CWString itemSpec;
    std::vector<int32_t> commandIds;           // per item, in item order
    rg_quarn_base::rg_WenBenShuZuLei tooltips;  // per item, in item order

    // The record's style with the toolbar's own bits.
    DWORD CreationStyle(DWORD recordStyle) const;
    // The toolbar window, then its notification window, extended style, text rows and image lists;
    // false (nothing left behind) when either window cannot be made.
    bool CreateToolbar(DWORD exStyle, const char16_t* text, DWORD style, int x, int y, int width, int height,
                       HWND parent, UINT_PTR id);
    // Replaces the buttons by those of itemSpec and empties it; false when fields were left over
    // or the toolbar refused the buttons (then it has none).
    bool BuildButtons();
    // Takes over list, deletes the one it replaces and installs it in the window if there is one.
    void ReplaceImageList(HIMAGELIST CVWnd_ToolBar::*slot, HIMAGELIST list);
    // The position of the button with that command, -1 when there is none.
    int32_t IndexOfCommand(int32_t command) const;
    // The tooltip of the item with that command identifier, null when there is none.
    const char16_t* TooltipOf(int32_t command) const;
    IToolBarEventListener* ToolBarListener() const;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;

private:
    struct ReleaseNative {
        void operator()(CVWnd* native) const { CVWnd::ReleaseFromHolder(native); }
    };
    // Apart from this object: a notification may still run in it when the toolbar goes.
    std::unique_ptr<CToolBarNotifyWnd, ReleaseNative> notifyWindow_;
};
