// The toolbar's item-description text, read alone and then built into the buttons of a live
// toolbar. The reading: five fields make an item, the leftover count is fields % 5, texts and
// tooltips are the fields verbatim, and what the items print as a description reads back as the
// same items. The toolbar: one button per item with the item's image, state, style and command
// k + 1, the text the string pool keeps (up to a NUL, at most 4096 units), a tooltip per item, and
// the answer to a tooltip question fitting its 80-unit buffer without half a character.
#include "fuzz/FuzzText.h"
#include "platform/controls/ControlClasses.h"
#include "platform/controls/ToolbarControl.h"
#include "platform/controls/TooltipControl.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/PresenterHook.h"
#include "platform/window/WinMessages.h"
#include "platform/window/Window.h"
#include "runtime/NumberText.h"
#include "ui/rg_GongJuTiao.h"
#include "ui/rg_ZuJianBuJuQi.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using rg_quarn_MFCJieMian_base::rg_ZuJianBuJuQi;
using rg_quarn_MFCJieMian_KuoZhanZuJian::rg_GongJuTiao;

// The fields the other way round: every line feed ends a field, and a last field without one
// counts too.
std::vector<std::u16string_view> Fields(std::u16string_view text)
{
    std::vector<std::u16string_view> fields;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n') {
            fields.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    if (start < text.size())
        fields.push_back(text.substr(start));
    return fields;
}

bool SameItems(const std::vector<ToolbarItem>& a, const std::vector<ToolbarItem>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].image != b[i].image || a[i].state != b[i].state || a[i].style != b[i].style
            || a[i].text != b[i].text || a[i].tooltip != b[i].tooltip)
            return false;
    return true;
}

std::u16string Printed(const std::vector<ToolbarItem>& items)
{
    std::u16string text;
    for (const ToolbarItem& item : items) {
        for (int64_t number : {int64_t{item.image}, int64_t{item.state}, int64_t{item.style}}) {
            text += Int64ToText(number).View();
            text += u'\n';
        }
        text += item.text + u'\n' + item.tooltip + u'\n';
    }
    return text;
}

ToolbarItemSpec CheckReading(std::u16string_view text)
{
    ToolbarItemSpec spec = ParseToolbarItemSpec(text);
    const std::vector<std::u16string_view> fields = Fields(text);
    TABRIX_FUZZ_CHECK(spec.items.size() == fields.size() / 5);
    TABRIX_FUZZ_CHECK(spec.ignoredFields == static_cast<int32_t>(fields.size() % 5));
    for (size_t k = 0; k < spec.items.size(); ++k) {
        TABRIX_FUZZ_CHECK(spec.items[k].text == fields[k * 5 + 3]);
        TABRIX_FUZZ_CHECK(spec.items[k].tooltip == fields[k * 5 + 4]);
    }
    const ToolbarItemSpec again = ParseToolbarItemSpec(Printed(spec.items));
    TABRIX_FUZZ_CHECK(again.ignoredFields == 0 && SameItems(again.items, spec.items));
    return spec;
}

void Pump()
{
    MSG msg{};
    for (int n = 0; n < 1000 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++n) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// A host window, made once. Each input gets a toolbar of its own, removed again before it is ever
// painted: an input that ends with more allocations than it freed makes libFuzzer scan the heap
// for leaks, which costs twenty times the input. A kept toolbar would do that every time (its
// string pool only grows), and so would painting (the drawing layer keeps each window's drawing
// state until it next sweeps for windows that have gone).
class Stage {
public:
    Stage()
    {
        RegisterStandardControlClasses();
        SetDesktopSize(1920, 1080);
        WinCreateInfo info;
        info.width = 800;
        info.height = 600;
        TABRIX_FUZZ_CHECK(host_.Create(info) == 1);
    }

    std::unique_ptr<rg_GongJuTiao> NewToolbar()
    {
        auto toolbar = std::make_unique<rg_GongJuTiao>();
        WinCreateInfo info;
        info.parentNative = host_.GetNative();
        info.parentControl = &host_;
        info.width = 400;
        info.height = 56;
        info.id = 103;
        TABRIX_FUZZ_CHECK(toolbar->Create(info) == 1);
        return toolbar;
    }

private:
    rg_ZuJianBuJuQi host_;
};

void Remove(std::unique_ptr<rg_GongJuTiao> toolbar)
{
    DestroyWindow(toolbar->GetSafeHwnd());
    Pump();
}

std::u16string_view UpToNul(std::u16string_view text) { return text.substr(0, text.find(u'\0')); }

std::u16string_view PoolText(const ToolbarItem& item)
{
    if (item.style & BTNS_SEP)
        return {};
    return UpToNul(item.text).substr(0, CVWnd_ToolBar::kLongestText);
}

bool IsHigh(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLow(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// What the tooltip's 80-unit buffer shows of a tooltip: 79 units and the NUL, 78 where the 79th
// would be the first half of a surrogate pair.
std::u16string_view Shown(std::u16string_view tip)
{
    constexpr size_t kRoom = 79;
    if (tip.size() > kRoom && IsHigh(tip[kRoom - 1]) && IsLow(tip[kRoom]))
        return tip.substr(0, kRoom - 1);
    return tip.substr(0, kRoom);
}

std::optional<std::u16string> AskTooltip(HWND toolbar, HWND notify, int command)
{
    NMTTDISPINFOW info{};
    info.hdr.hwndFrom = reinterpret_cast<HWND>(SendMessageW(toolbar, TB_GETTOOLTIPS, 0, 0));
    info.hdr.idFrom = static_cast<UINT_PTR>(command);
    info.hdr.code = TTN_GETDISPINFOW;
    info.lpszText = info.szText;
    constexpr size_t kRoom = sizeof info.szText / sizeof info.szText[0];
    std::fill(info.szText, info.szText + kRoom, u'#');
    if (!SendMessageW(notify, WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info)))
        return std::nullopt;
    TABRIX_FUZZ_CHECK(info.lpszText == info.szText);
    const char16_t* end = std::find(info.szText, info.szText + kRoom, u'\0');
    TABRIX_FUZZ_CHECK(end != info.szText + kRoom);
    return std::u16string(info.szText, static_cast<size_t>(end - info.szText));
}

void CheckButtons(rg_GongJuTiao& toolbar, const ToolbarItemSpec& spec, const std::u16string& text)
{
    TABRIX_FUZZ_CHECK(toolbar.SetItemSpec(CWString(std::u16string_view(text))) == (spec.ignoredFields == 0));
    const HWND hwnd = toolbar.GetSafeHwnd();
    CVWnd_ToolBar& native = *toolbar.GetToolBarNative();
    TABRIX_FUZZ_CHECK(native.itemSpec.IsEmpty());
    ToolbarSnapshot snapshot;
    TABRIX_FUZZ_CHECK(GetToolbarSnapshot(hwnd, &snapshot));
    const size_t n = spec.items.size();
    TABRIX_FUZZ_CHECK(snapshot.buttons.size() == n);
    TABRIX_FUZZ_CHECK(native.commandIds.size() == n && native.tooltips.GetCount() == static_cast<int64_t>(n));
    for (size_t k = 0; k < n; ++k) {
        const ToolbarItem& item = spec.items[k];
        const ToolbarButtonView& button = snapshot.buttons[k];
        TABRIX_FUZZ_CHECK(button.image == item.image && button.state == item.state && button.style == item.style);
        TABRIX_FUZZ_CHECK(button.command == static_cast<int>(k + 1) && native.commandIds[k] == button.command);
        TABRIX_FUZZ_CHECK(button.text == PoolText(item));
        const char16_t* tip = native.TooltipOf(button.command);
        TABRIX_FUZZ_CHECK(tip && std::u16string_view(tip) == UpToNul(item.tooltip));
    }
    // The question for the last button and for a command no button has.
    const HWND notify = native.NotifyWindow().GetSafeHwnd();
    if (n > 0)
        TABRIX_FUZZ_CHECK(AskTooltip(hwnd, notify, static_cast<int>(n))
                          == Shown(UpToNul(spec.items.back().tooltip)));
    TABRIX_FUZZ_CHECK(!AskTooltip(hwnd, notify, static_cast<int>(n + 1)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Stage stage;
    const std::u16string text = tabrix_fuzz::TextOf(data, size);
    const ToolbarItemSpec spec = CheckReading(text);
    std::unique_ptr<rg_GongJuTiao> toolbar = stage.NewToolbar();
    CheckButtons(*toolbar, spec, text);
    Remove(std::move(toolbar));
    return 0;
}
