#include "ui/CVWnd_ToolBar.h"

#include "platform/controls/CommonControls.h"
#include "platform/controls/Reflection.h"
#include "platform/controls/ToolbarControl.h"
#include "platform/controls/TooltipControl.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/ImageList.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Paint.h"
#include "platform/window/WinMessages.h"
#include "platform/window/WinStyles.h"
#include "platform/window/Window.h"
#include "platform/window/WindowGeometry.h"
#include "runtime/NumberText.h"
#include "ui/BackgroundPainting.h"

#include <algorithm>
#include <limits>

namespace {

int64_t FieldNumber(std::u16string_view field)
{
    // TextToInt64 reads up to a NUL; a field is a view into the middle of the text.
    const std::u16string copy(field);
    return TextToInt64(copy.c_str());
}

std::vector<std::u16string_view> SplitFields(std::u16string_view text)
{
    std::vector<std::u16string_view> fields;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find(u'\n', start);
        if (end == std::u16string_view::npos) {
            fields.push_back(text.substr(start));
            return fields;
        }
        fields.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return fields;
}

// What of a button's text fits the toolbar's string pool: up to a NUL, which would end it early,
// and at most what the toolbar keeps of one text, so later texts keep their indices.
std::u16string_view PoolText(std::u16string_view text)
{
    text = text.substr(0, text.find(u'\0'));
    return text.substr(0, std::min(text.size(), CVWnd_ToolBar::kLongestText));
}

// How much of a tooltip fits `room` units: a character of two units that would not fit whole is
// left out, since half of it shows as a broken character.
size_t TooltipUnitsShown(std::u16string_view tip, size_t room)
{
    if (tip.size() <= room)
        return tip.size();
    const bool splitsPair = room > 0 && tip[room - 1] >= 0xD800 && tip[room - 1] <= 0xDBFF && tip[room] >= 0xDC00
                            && tip[room] <= 0xDFFF;
    return splitsPair ? room - 1 : room;
}

}  // namespace

ToolbarItemSpec ParseToolbarItemSpec(std::u16string_view text)
{
    ToolbarItemSpec spec;
    const std::vector<std::u16string_view> fields = SplitFields(text);
    const size_t count = fields.size() / 5;
    spec.items.reserve(count);
    for (size_t k = 0; k < count; ++k) {
        const std::u16string_view* f = &fields[k * 5];
        ToolbarItem item;
        item.image = static_cast<int32_t>(std::clamp<int64_t>(FieldNumber(f[0]), std::numeric_limits<int32_t>::min(),
                                                              std::numeric_limits<int32_t>::max()));
        item.state = static_cast<uint8_t>(FieldNumber(f[1]) & 0xFF);
        item.style = static_cast<uint8_t>(FieldNumber(f[2]) & 0xFF);
        item.text = std::u16string(f[3]);
        item.tooltip = std::u16string(f[4]);
        spec.items.push_back(std::move(item));
    }
    spec.ignoredFields = static_cast<int32_t>(fields.size() - count * 5);
    return spec;
}

// --- the notification window ---

CVWnd_ToolBar* CToolBarNotifyWnd::Toolbar() const
{
    if (!toolbarHandle || !IsWindow(toolbarHandle))
        return nullptr;
    return dynamic_cast<CVWnd_ToolBar*>(CVWnd::FromHandle(toolbarHandle));
}

LRESULT CToolBarNotifyWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND: return Command(wParam, lParam);
    case WM_NOTIFY: return Notify(wParam, lParam);
    default: return Default(message, wParam, lParam);
    }
}

LRESULT CToolBarNotifyWnd::Command(WPARAM wParam, LPARAM lParam)
{
    CVWnd_ToolBar* toolbar = Toolbar();
    if (!toolbar || reinterpret_cast<HWND>(lParam) != toolbarHandle)
        return 0;
    const int32_t index = toolbar->IndexOfCommand(LOWORD(wParam));
    IToolBarEventListener* listener = toolbar->ToolBarListener();
    if (index < 0 || !listener)
        return 0;
    // The handler may destroy the toolbar and this window: nothing of either is touched after it.
    listener->OnItemClick(index);
    return 1;
}

LRESULT CToolBarNotifyWnd::Notify(WPARAM wParam, LPARAM lParam)
{
    auto* hdr = reinterpret_cast<NMHDR*>(lParam);
    if (!hdr)
        return 0;
    if (hdr->code == TTN_GETDISPINFOW) {
        CVWnd_ToolBar* toolbar = Toolbar();
        const char16_t* tip = toolbar ? toolbar->TooltipOf(static_cast<int32_t>(hdr->idFrom)) : nullptr;
        if (!tip)
            return 0;
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(hdr);
        const size_t n = TooltipUnitsShown(tip, sizeof info->szText / sizeof info->szText[0] - 1);
        const std::u16string_view text(tip);
        text.copy(info->szText, n);
        info->szText[n] = 0;
        info->lpszText = info->szText;
        return 1;
    }
    if (hdr->hwndFrom != toolbarHandle)
        return 0;
    if (hdr->code == TBN_DROPDOWN) {
        CVWnd_ToolBar* toolbar = Toolbar();
        if (!toolbar)
            return TBDDRET_NODEFAULT;
        const int command = reinterpret_cast<NMTOOLBARW*>(hdr)->iItem;
        const int32_t index = toolbar->IndexOfCommand(command);
        IToolBarEventListener* listener = toolbar->ToolBarListener();
        RECT r{};
        if (index < 0 || !listener
            || !SendMessageW(toolbarHandle, TB_GETRECT, static_cast<WPARAM>(command), reinterpret_cast<LPARAM>(&r)))
            return TBDDRET_NODEFAULT;
        POINT at{r.left, r.bottom + 2};
        ClientToScreen(toolbarHandle, &at);
        listener->OnItemDropDown(index, at.x, at.y);
        return TBDDRET_NODEFAULT;
    }
    if (hdr->code == NM_CUSTOMDRAW) {
        LRESULT result = CDRF_DODEFAULT;
        if (ReflectNotification(GetSafeHwnd(), WM_NOTIFY, wParam, lParam, &result))
            return result;
        return CDRF_DODEFAULT;
    }
    return 0;
}

// --- the toolbar ---

CVWnd_ToolBar::CVWnd_ToolBar() : notifyWindow_(new CToolBarNotifyWnd()) {}

CVWnd_ToolBar::~CVWnd_ToolBar()
{
    for (HIMAGELIST list : {imageList, hotImageList, disabledImageList})
        if (list)
            ImageList_Destroy(list);
}

DWORD CVWnd_ToolBar::CreationStyle(DWORD recordStyle) const
{
    DWORD style = recordStyle;
    if (placement == 1)
        style |= CCS_BOTTOM;
    else if (placement == 2)
        style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NOMOVEY;
    else
        style |= CCS_TOP;
    if (flat)
        style |= TBSTYLE_FLAT;
    if (listStyle)
        style |= TBSTYLE_LIST;
    if (!divider)
        style |= CCS_NODIVIDER;
    if (wrapable)
        style |= TBSTYLE_WRAPABLE;
    return style | TBSTYLE_TRANSPARENT | TBSTYLE_CUSTOMERASE | TBSTYLE_TOOLTIPS;
}

bool CVWnd_ToolBar::CreateToolbar(DWORD exStyle, const char16_t* text, DWORD style, int x, int y, int width,
                                  int height, HWND parent, UINT_PTR id)
{
    if (!CreateNativeWindow(exStyle, kClassName, text, style, x, y, width, height, parent, id))
        return false;
    HWND hwnd = GetSafeHwnd();
    SendMessageW(hwnd, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    const auto extended = static_cast<DWORD>(SendMessageW(hwnd, TB_GETEXTENDEDSTYLE, 0, 0));
    SendMessageW(hwnd, TB_SETEXTENDEDSTYLE, 0, static_cast<LPARAM>(extended | TBSTYLE_EX_DRAWDDARROWS));

    // Never visible; a child of the toolbar's parent so that it goes with it.
    CToolBarNotifyWnd& notify = *notifyWindow_;
    const DWORD notifyStyle = parent ? WS_CHILD : WS_POPUP;
    const UINT_PTR notifyId = parent ? static_cast<UINT_PTR>(-1) : 0;
    if (!RegisterLibraryClass(CToolBarNotifyWnd::kClassName)
        || !notify.CreateNativeWindow(0, CToolBarNotifyWnd::kClassName, u"", notifyStyle, 0, 0, 0, 0, parent, notifyId)) {
        DestroyWindow(hwnd);
        return false;
    }
    notify.toolbarHandle = hwnd;
    SendMessageW(hwnd, TB_SETPARENT, reinterpret_cast<WPARAM>(notify.GetSafeHwnd()), 0);

    if (maxTextRows > 0)
        SendMessageW(hwnd, TB_SETMAXTEXTROWS, static_cast<WPARAM>(maxTextRows), 0);
    if (imageList)
        SendMessageW(hwnd, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(imageList));
    if (hotImageList)
        SendMessageW(hwnd, TB_SETHOTIMAGELIST, 0, reinterpret_cast<LPARAM>(hotImageList));
    if (disabledImageList)
        SendMessageW(hwnd, TB_SETDISABLEDIMAGELIST, 0, reinterpret_cast<LPARAM>(disabledImageList));
    return true;
}

bool CVWnd_ToolBar::BuildButtons()
{
    HWND hwnd = GetSafeHwnd();
    if (!hwnd)
        return false;
    const ToolbarItemSpec spec = ParseToolbarItemSpec(itemSpec.View());
    itemSpec.Reset();

    // A new text replaces the buttons of the previous one.
    for (LRESULT n = SendMessageW(hwnd, TB_BUTTONCOUNT, 0, 0); n > 0; --n)
        if (!SendMessageW(hwnd, TB_DELETEBUTTON, static_cast<WPARAM>(n - 1), 0))
            break;
    commandIds.clear();
    tooltips.RemoveAll();
    nextCommandId = 1;

    std::vector<TBBUTTON> buttons;
    buttons.reserve(spec.items.size());
    std::u16string pool;
    INT_PTR texts = 0;
    for (const ToolbarItem& item : spec.items) {
        TBBUTTON b{};
        b.iBitmap = item.image;
        b.idCommand = nextCommandId++;
        b.fsState = item.state;
        b.fsStyle = item.style;
        b.dwData = 0;
        const std::u16string_view text = PoolText(item.text);
        if (text.empty() || (item.style & BTNS_SEP)) {
            b.iString = -1;
        } else {
            b.iString = texts++;
            pool.append(text);
            pool.push_back(u'\0');
        }
        buttons.push_back(b);
        commandIds.push_back(b.idCommand);
        tooltips.Append(item.tooltip.c_str());
    }
    if (texts > 0) {
        pool.push_back(u'\0');
        const LRESULT first = SendMessageW(hwnd, TB_ADDSTRINGW, 0, reinterpret_cast<LPARAM>(pool.c_str()));
        // A refused pool leaves the buttons without texts rather than pointing at other texts.
        for (TBBUTTON& b : buttons)
            if (b.iString != -1)
                b.iString = first < 0 ? -1 : b.iString + static_cast<INT_PTR>(first);
    }
    bool built = true;
    if (!buttons.empty()
        && !SendMessageW(hwnd, TB_ADDBUTTONSW, static_cast<WPARAM>(buttons.size()), reinterpret_cast<LPARAM>(buttons.data()))) {
        commandIds.clear();
        tooltips.RemoveAll();
        built = false;
    }
    return built && spec.ignoredFields == 0;
}

void CVWnd_ToolBar::ReplaceImageList(HIMAGELIST CVWnd_ToolBar::*slot, HIMAGELIST list)
{
    HIMAGELIST previous = this->*slot;
    this->*slot = list;
    if (HWND hwnd = GetSafeHwnd()) {
        const UINT message = slot == &CVWnd_ToolBar::imageList      ? TB_SETIMAGELIST
                             : slot == &CVWnd_ToolBar::hotImageList ? TB_SETHOTIMAGELIST
                                                                    : TB_SETDISABLEDIMAGELIST;
        SendMessageW(hwnd, message, 0, reinterpret_cast<LPARAM>(list));
        InvalidateRect(hwnd, nullptr, TRUE);
    }
    // Only once the window no longer uses it; giving the same list again keeps it.
    if (previous && previous != list)
        ImageList_Destroy(previous);
}

int32_t CVWnd_ToolBar::IndexOfCommand(int32_t command) const
{
    HWND hwnd = GetSafeHwnd();
    if (!hwnd)
        return -1;
    const LRESULT index = SendMessageW(hwnd, TB_COMMANDTOINDEX, static_cast<WPARAM>(command), 0);
    const LRESULT count = SendMessageW(hwnd, TB_BUTTONCOUNT, 0, 0);
    return index >= 0 && index < count ? static_cast<int32_t>(index) : -1;
}

const char16_t* CVWnd_ToolBar::TooltipOf(int32_t command) const
{
    const auto it = std::find(commandIds.begin(), commandIds.end(), command);
    if (it == commandIds.end())
        return nullptr;
    const auto k = static_cast<int64_t>(it - commandIds.begin());
    if (k >= tooltips.GetCount())
        return nullptr;
    // The array keeps an empty text as null.
    const char16_t* tip = tooltips.GetAt(k);
    return tip ? tip : u"";
}

IToolBarEventListener* CVWnd_ToolBar::ToolBarListener() const
{
    return dynamic_cast<IToolBarEventListener*>(listener.load(std::memory_order_acquire));
}

LRESULT CVWnd_ToolBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == OCM_NOTIFY) {
        auto* hdr = reinterpret_cast<NMHDR*>(lParam);
        if (hdr && hdr->code == NM_CUSTOMDRAW) {
            // The toolbar is transparent and erases through custom drawing: every stage gets the
            // background colour under it, then the platform draws the buttons.
            MarkReflectedMessageHandled(GetSafeHwnd());
            auto* draw = reinterpret_cast<NMCUSTOMDRAW*>(hdr);
            if (draw->hdc) {
                HBRUSH brush = CreateSolidBrush(ResolveColour(backColor, COLOR_BTNFACE));
                FillRect(draw->hdc, &draw->rc, brush);
                DeleteObject(brush);
            }
            return CDRF_DODEFAULT;
        }
    }
    return Default(message, wParam, lParam);
}

void CVWnd_ToolBar::PostNcDestroy()
{
    CToolBarNotifyWnd& notify = *notifyWindow_;
    notify.toolbarHandle = nullptr;
    if (HWND hwnd = notify.GetSafeHwnd())
        DestroyWindow(hwnd);
}
