// The toolbar control: the item-description text, the buttons it builds in the platform toolbar,
// clicks and drop-downs by mouse raising the item events by position, tooltips answered by the
// notification window, image lists, the creation style and the custom-drawn background.
#include "UiTestSupport.h"

#include "platform/controls/Reflection.h"
#include "platform/controls/ToolbarControl.h"
#include "platform/controls/TooltipControl.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/DrawingBackend.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/gdi/SystemColors.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/ImageList.h"
#include "platform/window/Paint.h"
#include "platform/window/PresenterHook.h"
#include "platform/window/WindowClass.h"
#include "platform/window/WindowGeometry.h"
#include "ui/rg_GongJuTiao.h"

namespace {

using rg_quarn_MFCJieMian_KuoZhanZuJian::rg_GongJuTiao;
using ui_test::EventOwner;

constexpr const char16_t* kMainWindowSpec = u"0\n4\n0\n导入数据\n导入数据\n-1\n4\n1\n\n\n1\n4\n0\n表格比对\n表格比对";

struct ParseCase {
    const char16_t* text;
    int32_t ignored;
    // image, state, style, text, tooltip of each item
    std::vector<ToolbarItem> items;
};

bool SameItem(const ToolbarItem& a, const ToolbarItem& b)
{
    return a.image == b.image && a.state == b.state && a.style == b.style && a.text == b.text && a.tooltip == b.tooltip;
}

TEST(ToolbarItemSpec, FieldsMakeItemsOfFiveAndLeftoversAreReported)
{
    const ParseCase cases[] = {
        {kMainWindowSpec, 0,
         {{0, 4, 0, u"导入数据", u"导入数据"}, {-1, 4, 1, u"", u""}, {1, 4, 0, u"表格比对", u"表格比对"}}},
        {u"", 0, {}},
        {u"1\n4\n0\nA", 4, {}},                                  // four fields: no item
        {u"1\n4\n0\nA\ntip\n2\n4", 2, {{1, 4, 0, u"A", u"tip"}}},  // seven fields: one item
        {u"1\n4\n0\nA\ntip\n", 0, {{1, 4, 0, u"A", u"tip"}}},    // a final line feed adds no field
        {u"1\n4\n0\nA\n\n", 0, {{1, 4, 0, u"A", u""}}},          // ... but the one before it counts
        {u"\n\n\n\n\n", 0, {{0, 0, 0, u"", u""}}},                 // five empty fields
        {u"  -3\n260\n0x8\n a \n\r", 0, {{-3, 4, 0, u" a ", u"\r"}}},  // verbatim texts, low bytes, no hex
        {u"pic\nen\nsep\nX\nY", 0, {{0, 0, 0, u"X", u"Y"}}},     // no digits: 0
        {u"99999999999\n-1\n+9x\n\n\n", 0, {{2147483647, 0xFF, 9, u"", u""}}},
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(ui_test::Utf8(c.text));
        const ToolbarItemSpec spec = ParseToolbarItemSpec(c.text);
        EXPECT_EQ(spec.ignoredFields, c.ignored);
        ASSERT_EQ(spec.items.size(), c.items.size());
        for (size_t i = 0; i < c.items.size(); ++i)
            EXPECT_TRUE(SameItem(spec.items[i], c.items[i])) << "item " << i;
    }
}

TEST(ToolbarItemSpec, TheCreationStyleFollowsTheFields)
{
    CVWnd_ToolBar native;
    const DWORD always = TBSTYLE_TRANSPARENT | TBSTYLE_CUSTOMERASE | TBSTYLE_TOOLTIPS;
    EXPECT_EQ(native.CreationStyle(WS_CHILD), WS_CHILD | CCS_TOP | TBSTYLE_FLAT | TBSTYLE_WRAPABLE | always);
    native.placement = 1;
    native.flat = 0;
    native.listStyle = 1;
    EXPECT_EQ(native.CreationStyle(0), CCS_BOTTOM | TBSTYLE_LIST | TBSTYLE_WRAPABLE | always);
    native.placement = 2;
    native.divider = 0;
    native.wrapable = 0;
    EXPECT_EQ(native.CreationStyle(0), 14u | CCS_NODIVIDER | TBSTYLE_LIST | always);
}

// The main window's toolbar on a host window.
class ToolbarControlTest : public ui_test::UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        images = MakeImages();
        toolbar.SetControlText(CWString(u"工具条1"));
        toolbar.SetImageList(images);
        EXPECT_TRUE(toolbar.SetItemSpec(CWString(kMainWindowSpec)));
        ASSERT_EQ(toolbar.Create(*std::make_unique<WinCreateInfo>(ChildRecord(2, 0, 128, 56, 103))), 1);
        hwnd = toolbar.GetSafeHwnd();
        owner.Bind(toolbar, toolbar.ItemClick, "ItemClick");
        owner.Bind(toolbar, toolbar.ItemDropDown, "ItemDropDown");
        ui_test::Pump();
    }
    // Four 32 x 32 images from a 128 x 32 strip, magenta transparent.
    static HIMAGELIST MakeImages()
    {
        HIMAGELIST list = ImageList_Create(32, 32, ILC_COLOR32 | ILC_MASK, 4, 4);
        HBITMAP strip = CreateBitmapFromPixels(PixelBitmap(128, 32, PixelFromColour(0xFF00FF)));
        EXPECT_EQ(ImageList_AddMasked(list, strip, 0xFF00FF), 0);
        DeleteObject(strip);
        return list;
    }
    ToolbarSnapshot Snapshot()
    {
        ToolbarSnapshot s;
        EXPECT_TRUE(GetToolbarSnapshot(hwnd, &s));
        return s;
    }
    RECT ButtonRect(int index)
    {
        RECT r{};
        EXPECT_TRUE(SendMessageW(hwnd, TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r)));
        return r;
    }
    void ClickAt(int x, int y)
    {
        PostInputMessage(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        PostInputMessage(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        ui_test::Pump();
    }
    void ClickButton(int index)
    {
        RECT r = ButtonRect(index);
        ClickAt((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    HWND NotifyWindow() { return toolbar.GetToolBarNative()->NotifyWindow().GetSafeHwnd(); }
    std::vector<TBBUTTON> Buttons()
    {
        std::vector<TBBUTTON> out(static_cast<size_t>(SendMessageW(hwnd, TB_BUTTONCOUNT, 0, 0)));
        for (size_t i = 0; i < out.size(); ++i)
            EXPECT_TRUE(SendMessageW(hwnd, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&out[i])));
        return out;
    }
    // Asks the notification window for a tooltip as the toolbar's tooltip does.
    LRESULT AskTooltip(UINT_PTR command, std::u16string* text)
    {
        NMTTDISPINFOW info{};
        info.hdr.hwndFrom = reinterpret_cast<HWND>(SendMessageW(hwnd, TB_GETTOOLTIPS, 0, 0));
        info.hdr.idFrom = command;
        info.hdr.code = TTN_GETDISPINFOW;
        info.lpszText = info.szText;
        const LRESULT answer = SendMessageW(NotifyWindow(), WM_NOTIFY, command, reinterpret_cast<LPARAM>(&info));
        *text = info.lpszText == info.szText ? std::u16string(info.szText) : u"(moved)";
        return answer;
    }

    rg_GongJuTiao toolbar;
    HIMAGELIST images = nullptr;
    HWND hwnd = nullptr;
    EventOwner owner;
};

TEST_F(ToolbarControlTest, TheMainWindowsTextBuildsTwoButtonsAroundASeparator)
{
    char16_t className[32] = {};
    GetClassNameW(hwnd, className, 32);
    EXPECT_EQ(std::u16string(className), u"ToolbarWindow32");
    EXPECT_EQ(ui_test::Utf8(toolbar.GetControlText().View()), "工具条1");
    EXPECT_EQ(GetDlgCtrlID(hwnd), 103);
    const auto style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
    EXPECT_EQ(style & 0xFFFF, CCS_TOP | TBSTYLE_FLAT | TBSTYLE_WRAPABLE | 0xA100);

    const std::vector<TBBUTTON> buttons = Buttons();
    ASSERT_EQ(buttons.size(), 3u);
    const int imageIndex[] = {0, -1, 1};
    const BYTE styles[] = {BTNS_BUTTON, BTNS_SEP, BTNS_BUTTON};
    const INT_PTR texts[] = {0, -1, 1};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(buttons[i].iBitmap, imageIndex[i]) << i;
        EXPECT_EQ(buttons[i].idCommand, static_cast<int>(i + 1)) << i;
        EXPECT_EQ(buttons[i].fsState & TBSTATE_ENABLED, TBSTATE_ENABLED) << i;
        EXPECT_EQ(buttons[i].fsStyle, styles[i]) << i;
        EXPECT_EQ(buttons[i].iString, texts[i]) << i;
    }
    const ToolbarSnapshot s = Snapshot();
    EXPECT_EQ(ui_test::Utf8(s.buttons[0].text), "导入数据");
    EXPECT_EQ(ui_test::Utf8(s.buttons[2].text), "表格比对");
    EXPECT_EQ(s.images, images);
    EXPECT_TRUE(s.extendedStyle & TBSTYLE_EX_DRAWDDARROWS);

    // The notification window: hidden, beside the toolbar, its notification target.
    CVWnd_ToolBar* native = toolbar.GetToolBarNative();
    EXPECT_EQ(s.notify, NotifyWindow());
    GetClassNameW(s.notify, className, 32);
    EXPECT_EQ(std::u16string(className), u"QrnToolBarNotifyWnd");
    EXPECT_FALSE(IsWindowVisible(s.notify));
    EXPECT_EQ(GetParent(s.notify), hostWindow);
    EXPECT_EQ(native->NotifyWindow().toolbarHandle, hwnd);

    EXPECT_EQ(native->commandIds, (std::vector<int32_t>{1, 2, 3}));
    ASSERT_EQ(native->tooltips.GetCount(), 3);
    EXPECT_EQ(ui_test::Utf8(native->tooltips.GetAt(0)), "导入数据");
    EXPECT_TRUE(native->itemSpec.IsEmpty()) << "the text is read once";
    EXPECT_EQ(native->nextCommandId, 4);
    EXPECT_EQ(toolbar.Create(*std::make_unique<WinCreateInfo>(ChildRecord(2, 0, 128, 56, 103))), 0);
}

TEST_F(ToolbarControlTest, ClicksRaiseItemClickWithThePositionSeparatorsCounted)
{
    ClickButton(2);
    ClickButton(0);
    EXPECT_EQ(owner.Take(), (std::vector<std::string>{"ItemClick 2", "ItemClick 0"}));

    ClickButton(1);  // the separator
    RECT r = ButtonRect(0);
    PostInputMessage(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.left + 2, r.top + 2));
    PostInputMessage(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(500, 500));  // released elsewhere
    ui_test::Pump();
    SendMessageW(hwnd, TB_ENABLEBUTTON, 3, 0);
    ClickButton(2);
    EXPECT_TRUE(owner.Take().empty());

    // Commands the toolbar does not know, or from another window, are not the toolbar's.
    EXPECT_EQ(SendMessageW(NotifyWindow(), WM_COMMAND, 9, reinterpret_cast<LPARAM>(hwnd)), 0);
    EXPECT_EQ(SendMessageW(NotifyWindow(), WM_COMMAND, 1, reinterpret_cast<LPARAM>(hostWindow)), 0);
    EXPECT_EQ(SendMessageW(NotifyWindow(), WM_COMMAND, 1, reinterpret_cast<LPARAM>(hwnd)), 1);
    EXPECT_EQ(owner.Take(), (std::vector<std::string>{"ItemClick 0"}));
}

TEST_F(ToolbarControlTest, AClickHandlerMayDestroyTheToolbar)
{
    owner.onEvent = [&](const std::string&) { toolbar.Reset(); };
    ClickButton(2);
    EXPECT_EQ(owner.Take(), (std::vector<std::string>{"ItemClick 2"}));
    EXPECT_FALSE(IsWindow(hwnd));
    ui_test::Pump();
}

TEST_F(ToolbarControlTest, TooltipsComeFromTheItemTexts)
{
    auto tooltip = reinterpret_cast<HWND>(SendMessageW(hwnd, TB_GETTOOLTIPS, 0, 0));
    ASSERT_NE(tooltip, nullptr);
    SendMessageW(tooltip, TTM_SETDELAYTIME, TTDT_INITIAL, 10);
    RECT r = ButtonRect(2);
    PostInputMessage(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(r.left + 3, r.top + 3));
    ASSERT_TRUE(ui_test::PumpUntil([&] { return IsWindowVisible(tooltip) != FALSE; }, 3000));
    WCHAR shown[32] = {};
    InternalGetWindowText(tooltip, shown, 32);
    EXPECT_EQ(ui_test::Utf8(shown), "表格比对");

    std::u16string text;
    EXPECT_EQ(AskTooltip(1, &text), 1);
    EXPECT_EQ(ui_test::Utf8(text), "导入数据");
    EXPECT_EQ(AskTooltip(2, &text), 1);
    EXPECT_EQ(text, u"");
    text = u"untouched";
    EXPECT_EQ(AskTooltip(4, &text), 0);
}

TEST_F(ToolbarControlTest, ALongTooltipIsCutToTheNotificationsBuffer)
{
    const std::u16string tip79(79, u'x');
    EXPECT_TRUE(toolbar.SetItemSpec(CWString(u"0\n4\n0\nA\n" + tip79 + u"y\n0\n4\n1\nX\nseparator tip")));
    std::u16string text;
    EXPECT_EQ(AskTooltip(1, &text), 1);
    EXPECT_EQ(text, tip79);
    // A separator never carries a text, but its tooltip is kept.
    const std::vector<TBBUTTON> buttons = Buttons();
    ASSERT_EQ(buttons.size(), 2u);
    EXPECT_EQ(buttons[1].iString, -1);
    EXPECT_EQ(AskTooltip(2, &text), 1);
    EXPECT_EQ(text, u"separator tip");

    // A character of two units that would end past the buffer is left out whole; one that ends
    // in its last unit is kept.
    const std::u16string pair = u"\U0001F600";
    EXPECT_TRUE(toolbar.SetItemSpec(CWString(u"0\n4\n0\nA\n" + std::u16string(78, u'x') + pair + u"\n0\n4\n0\nB\n"
                                             + std::u16string(77, u'x') + pair + u"y")));
    EXPECT_EQ(AskTooltip(1, &text), 1);
    EXPECT_EQ(text, std::u16string(78, u'x'));
    EXPECT_EQ(AskTooltip(2, &text), 1);
    EXPECT_EQ(text, std::u16string(77, u'x') + pair);
}

TEST_F(ToolbarControlTest, ANewTextAfterCreationReplacesTheButtons)
{
    EXPECT_TRUE(toolbar.SetItemSpec(CWString(u"3\n4\n0\n新\n新的")));
    std::vector<TBBUTTON> buttons = Buttons();
    ASSERT_EQ(buttons.size(), 1u);
    EXPECT_EQ(buttons[0].idCommand, 1);
    EXPECT_EQ(buttons[0].iString, 2) << "after the two texts already in the toolbar's pool";
    EXPECT_EQ(ui_test::Utf8(Snapshot().buttons[0].text), "新");
    EXPECT_EQ(toolbar.GetToolBarNative()->commandIds, std::vector<int32_t>{1});
    ClickButton(0);
    EXPECT_EQ(owner.Take(), (std::vector<std::string>{"ItemClick 0"}));

    // Malformed texts: what makes no whole item is reported and ignored.
    EXPECT_FALSE(toolbar.SetItemSpec(CWString(u"0\n4\n0\nA")));
    EXPECT_TRUE(Buttons().empty());
    EXPECT_TRUE(toolbar.GetToolBarNative()->commandIds.empty());
    EXPECT_TRUE(toolbar.GetToolBarNative()->itemSpec.IsEmpty());
    EXPECT_FALSE(toolbar.SetItemSpec(CWString(u"a\nb\nc\nd\ne\nf")));
    ASSERT_EQ(Buttons().size(), 1u);
    EXPECT_EQ(Buttons()[0].fsState, 0) << "a state that is no number leaves the button disabled";
    ClickButton(0);
    EXPECT_TRUE(owner.Take().empty());
}

TEST_F(ToolbarControlTest, AnImageListIsInstalledAndTheOneItReplacesDeleted)
{
    int cx = 0, cy = 0;
    HIMAGELIST replacement = ImageList_Create(16, 16, ILC_COLOR32, 1, 1);
    toolbar.SetImageList(replacement);
    EXPECT_EQ(Snapshot().images, replacement);
    EXPECT_EQ(SendMessageW(hwnd, TB_GETIMAGELIST, 0, 0), reinterpret_cast<LRESULT>(replacement));
    EXPECT_FALSE(ImageList_GetIconSize(images, &cx, &cy)) << "the previous list is deleted";
    toolbar.SetImageList(replacement);
    EXPECT_TRUE(ImageList_GetIconSize(replacement, &cx, &cy)) << "the same list again is kept";

    HIMAGELIST hot = ImageList_Create(16, 16, ILC_COLOR32, 1, 1);
    toolbar.SetHotImageList(hot);
    EXPECT_EQ(Snapshot().hotImages, hot);
    toolbar.Reset();
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_FALSE(ImageList_GetIconSize(replacement, &cx, &cy)) << "the lists go with the toolbar";
    EXPECT_FALSE(ImageList_GetIconSize(hot, &cx, &cy));
}

TEST(ToolbarBeforeCreation, ListsAndStylesAreKeptForCreate)
{
    rg_GongJuTiao toolbar;
    HIMAGELIST first = ImageList_Create(16, 16, ILC_COLOR32, 1, 1);
    HIMAGELIST second = ImageList_Create(16, 16, ILC_COLOR32, 1, 1);
    toolbar.SetImageList(first);
    toolbar.SetImageList(second);
    int cx = 0, cy = 0;
    EXPECT_FALSE(ImageList_GetIconSize(first, &cx, &cy));
    EXPECT_EQ(toolbar.GetToolBarNative()->imageList, second);
    EXPECT_FALSE(toolbar.SetItemSpec(CWString(u"1\n2\n3"))) << "fields left over are reported at once";
    EXPECT_EQ(toolbar.GetToolBarNative()->itemSpec.View(), u"1\n2\n3") << "and still kept";
}

TEST_F(ToolbarControlTest, RemovingTheToolbarTakesItsNotificationWindow)
{
    HWND notify = NotifyWindow();
    ASSERT_TRUE(IsWindow(notify));
    DestroyWindow(hwnd);
    EXPECT_FALSE(IsWindow(notify));
    EXPECT_EQ(toolbar.GetToolBarNative()->NotifyWindow().toolbarHandle, nullptr);
}

class ToolbarDropDownTest : public ui_test::UiTest {
protected:
    rg_GongJuTiao toolbar;
    EventOwner owner;
};

TEST_F(ToolbarDropDownTest, TheArrowOfADropDownButtonRaisesItemDropDownBelowTheButton)
{
    toolbar.SetItemSpec(CWString(u"0\n4\n0\nA\na\n1\n4\n8\nMenu\nmenu"));
    toolbar.SetPlacement(2);
    ASSERT_EQ(toolbar.Create(*std::make_unique<WinCreateInfo>(ChildRecord(40, 30, 300, 40, 7))), 1);
    HWND hwnd = toolbar.GetSafeHwnd();
    owner.Bind(toolbar, toolbar.ItemDropDown, "ItemDropDown");
    owner.Bind(toolbar, toolbar.ItemClick, "ItemClick");
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)) & 0xF, 14u);
    RECT r{};
    ASSERT_TRUE(SendMessageW(hwnd, TB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r)));
    POINT expected{r.left, r.bottom + 2};
    ClientToScreen(hwnd, &expected);
    PostInputMessage(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.right - 3, r.top + 3));
    PostInputMessage(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(r.right - 3, r.top + 3));
    ui_test::Pump();
    EXPECT_EQ(owner.Take(), (std::vector<std::string>{"ItemDropDown 1 " + std::to_string(expected.x) + " " +
                                                      std::to_string(expected.y)}));
}

// Records the fills made on one window.
class FillRecorder : public DrawingBackend {
public:
    explicit FillRecorder(HWND window) : window_(window) {}
    void FillRect(const DrawingTarget& target, const RECT& rect, COLORREF colour) override
    {
        if (target.window == window_)
            fills.emplace_back(rect, colour);
    }
    std::vector<std::pair<RECT, COLORREF>> fills;

private:
    HWND window_;
};

TEST_F(ToolbarControlTest, TheBackgroundIsPaintedInTheBackColourUnderTheButtons)
{
    auto recorder = std::make_shared<FillRecorder>(hwnd);
    SetDrawingBackend(recorder);
    toolbar.SetBackColor(0x00336699);
    UpdateWindow(hwnd);
    toolbar.SetBackColor(kSystemColour);
    UpdateWindow(hwnd);
    SetDrawingBackend(nullptr);
    RECT client{};
    GetClientRect(hwnd, &client);
    ASSERT_FALSE(recorder->fills.empty());
    // The erase and the paint stage each fill the whole client area first.
    std::vector<COLORREF> wholeFills;
    for (const auto& [rect, colour] : recorder->fills)
        if (EqualRect(&rect, &client))
            wholeFills.push_back(colour);
    EXPECT_EQ(wholeFills, (std::vector<COLORREF>{0x00336699, 0x00336699, GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNFACE)}));
}

}  // namespace
