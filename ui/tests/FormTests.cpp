// The form: frame style, default size and centring, start states, closing and activation events,
// the other form messages and pre-translation (Escape, dragging).
#include "UiTestSupport.h"

#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Regions.h"
#include "platform/window/Focus.h"
#include "platform/window/PresenterHook.h"
#include "platform/window/WindowClass.h"
#include "platform/window/WindowGeometry.h"
#include "ui/CQrnWinForm.h"
#include "ui/PreTranslate.h"
#include "ui/UiConstants.h"

namespace {

using rg_quarn_MFCJieMian_base::CQrnWinForm;
using rg_quarn_MFCJieMian_base::rg_ChuangKouWeiZhiXianZhiXinXi;
using ui_test::EventOwner;

// A form with the main window's design client size.
class DesignedForm : public CQrnWinForm {
public:
    int32_t GetDesignClientWidth() const override { return 562; }
    int32_t GetDesignClientHeight() const override { return 547; }
};

class FormTest : public ui_test::UiTest {
protected:
    void TearDown() override
    {
        form.reset();
        owner.reset();
        UiTest::TearDown();
    }
    // Creates the form at its default size and position (a top-level window).
    HWND CreateForm(WinCreateInfo info = WinCreateInfo())
    {
        EXPECT_EQ(form->Create(info), 1);
        record = info;
        return form->GetSafeHwnd();
    }
    void BindFormEvents()
    {
        owner->Bind(*form, form->Closing, "Closing");
        owner->Bind(*form, form->QueryClose, "QueryClose");
        owner->Bind(*form, form->FirstActivate, "FirstActivate");
        owner->Bind(*form, form->Activate, "Activate");
        owner->Bind(*form, form->Deactivate, "Deactivate");
        owner->Bind(*form, form->Destroying, "Destroying");
        owner->Bind(*form, form->Destroyed, "Destroyed");
        owner->Bind(*form, form->Command, "Command");
        owner->Bind(*form, form->MenuSelect, "MenuSelect");
        owner->Bind(*form, form->TrayIcon, "TrayIcon");
    }
    std::unique_ptr<CQrnWinForm> form = std::make_unique<DesignedForm>();
    std::unique_ptr<EventOwner> owner = std::make_unique<EventOwner>();
    WinCreateInfo record;
};

DWORD StyleOf(HWND hwnd) { return static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)); }

std::u16string TitleOf(HWND hwnd)
{
    char16_t text[64] = {};
    GetWindowTextW(hwnd, text, 64);
    return text;
}

TEST_F(FormTest, TheDefaultFormHasACaptionSystemMenuAndMinimiseBoxAndTheApplicationsName)
{
    HWND hwnd = CreateForm();
    const DWORD style = StyleOf(hwnd);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_TRUE(style & WS_CLIPCHILDREN);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_CHILD);
    EXPECT_TRUE(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_CONTROLPARENT);
    EXPECT_EQ(TitleOf(hwnd), u"Tabrix");
    EXPECT_EQ(GetWindowLongPtrW(hwnd, GWLP_USERDATA), kQrnWindowMark);
    char16_t className[32] = {};
    GetClassNameW(hwnd, className, 32);
    EXPECT_EQ(std::u16string(className), u"QrnWinForm");
}

TEST_F(FormTest, ItIsCreatedAtTheOuterSizeOfItsDesignClientSizeCentredOnTheScreen)
{
    form->SetControlText(CWString(u"kmw-Tabrix-20240821版"));
    HWND hwnd = CreateForm();
    RECT client{}, window{};
    GetClientRect(hwnd, &client);
    GetWindowRect(hwnd, &window);
    EXPECT_EQ(client.right, 562);
    EXPECT_EQ(client.bottom, 547);
    RECT outer{0, 0, 562, 547};
    AdjustWindowRectEx(&outer, record.style, FALSE, record.exStyle);
    const int w = outer.right - outer.left, h = outer.bottom - outer.top;
    EXPECT_EQ(form->designOuterSize.width, w);
    EXPECT_EQ(form->designOuterSize.height, h);
    EXPECT_EQ(window.right - window.left, w);
    EXPECT_EQ(window.left, (1920 - w) / 2);
    EXPECT_EQ(window.top, (1080 - h) / 2);
    EXPECT_EQ(TitleOf(hwnd), u"kmw-Tabrix-20240821版");

    SetDesktopSize(1280, 720);
    DesignedForm second;
    WinCreateInfo info;
    ASSERT_EQ(second.Create(info), 1);
    GetWindowRect(second.GetSafeHwnd(), &window);
    EXPECT_EQ(window.left, (1280 - w) / 2);
    EXPECT_EQ(window.top, (720 - h) / 2);
}

TEST_F(FormTest, CaptionBitsFollowTheTitleAndTheFrameFields)
{
    form->GetFormNative()->controlBox = 0;
    form->SetControlText(CWString(u"Tabrix"));
    HWND hwnd = CreateForm();
    EXPECT_EQ(StyleOf(hwnd) & WS_CAPTION, WS_DLGFRAME) << "no caption bar for the application's own name";
    EXPECT_FALSE(StyleOf(hwnd) & WS_SYSMENU);
    form->SetControlText(CWString(u"导出"));
    EXPECT_EQ(StyleOf(hwnd) & WS_CAPTION, WS_CAPTION);
    form->SetControlText(CWString(u""));
    EXPECT_EQ(StyleOf(hwnd) & WS_CAPTION, WS_DLGFRAME);

    const struct {
        int32_t border;
        DWORD style, exStyle;
    } frames[] = {{1, WS_THICKFRAME, 0}, {3, WS_THICKFRAME, WS_EX_TOOLWINDOW}, {4, 0, WS_EX_TOOLWINDOW},
                  {5, WS_THICKFRAME, WS_EX_CLIENTEDGE}, {6, 0, WS_EX_CLIENTEDGE}};
    for (const auto& f : frames) {
        CQrnWinForm framed;
        framed.GetFormNative()->borderStyle = f.border;
        framed.GetFormNative()->maximizeBox = 1;
        WinCreateInfo info;
        info.width = info.height = 100;
        ASSERT_EQ(framed.Create(info), 1);
        HWND w = framed.GetSafeHwnd();
        EXPECT_EQ(StyleOf(w) & WS_THICKFRAME, f.style) << f.border;
        EXPECT_EQ(GetWindowLongW(w, GWL_EXSTYLE) & (WS_EX_TOOLWINDOW | WS_EX_CLIENTEDGE), static_cast<LONG>(f.exStyle));
        EXPECT_TRUE(StyleOf(w) & WS_MAXIMIZEBOX);
    }
    CQrnWinForm bare;
    bare.GetFormNative()->borderStyle = 0;
    WinCreateInfo info;
    info.width = info.height = 100;
    ASSERT_EQ(bare.Create(info), 1);
    EXPECT_EQ(StyleOf(bare.GetSafeHwnd()) & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME), 0u);
}

TEST_F(FormTest, StartStatesShowTheWindowAndOutOfRangeStatesAreClamped)
{
    form->GetFormNative()->startState = 5;
    HWND hwnd = CreateForm();
    EXPECT_EQ(form->GetFormNative()->startState, 3);
    EXPECT_TRUE(IsZoomed(hwnd));

    CQrnWinForm centred;
    centred.GetFormNative()->startState = 1;
    WinCreateInfo info;
    info.x = 10;
    info.y = 20;
    info.width = 300;
    info.height = 200;
    ASSERT_EQ(centred.Create(info), 1);
    RECT r{};
    GetWindowRect(centred.GetSafeHwnd(), &r);
    EXPECT_EQ(r.left, (1920 - 300) / 2);
    EXPECT_EQ(r.top, (1080 - 200) / 2);

    CQrnWinForm minimised;
    minimised.GetFormNative()->startState = 2;
    ASSERT_EQ(minimised.Create(*std::make_unique<WinCreateInfo>(info)), 1);
    EXPECT_TRUE(IsIconic(minimised.GetSafeHwnd()));
}

TEST_F(FormTest, ClosingAsksClosingThenQueryCloseAndEitherMayRefuse)
{
    BindFormEvents();
    HWND hwnd = CreateForm();
    owner->Take();
    owner->answers["Closing"] = 1;
    SendMessageW(hwnd, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(hwnd));
    owner->answers = {{"QueryClose", 1}};
    SendMessageW(hwnd, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(hwnd));
    EXPECT_EQ(owner->Take(), (std::vector<std::string>{"Closing", "Closing", "QueryClose"}));
    EXPECT_EQ(SendMessageW(hwnd, WM_QUERYENDSESSION, 0, 0), 0) << "the session end asks QueryClose too";
    owner->answers.clear();
    EXPECT_EQ(SendMessageW(hwnd, WM_QUERYENDSESSION, 0, 0), 1);
    owner->Take();
    SendMessageW(hwnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(owner->Take(), (std::vector<std::string>{"Closing", "QueryClose", "Destroying", "Destroyed"}));
}

TEST_F(FormTest, AClosingHandlerThatDestroysTheFormEndsTheCloseSafely)
{
    BindFormEvents();
    HWND hwnd = CreateForm();
    owner->onEvent = [this](const std::string& e) {
        if (e == "Closing")
            form.reset();
    };
    SendMessageW(hwnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(owner->Take().back(), "Closing") << "nothing is asked of a form that is gone";
}

TEST_F(FormTest, FirstActivateComesOncePerWindowThenActivateAndDeactivate)
{
    BindFormEvents();
    HWND hwnd = CreateForm();
    EXPECT_EQ(owner->Take(), (std::vector<std::string>{"FirstActivate", "Activate"}));
    CQrnWinForm other;
    WinCreateInfo info;
    info.width = info.height = 100;
    ASSERT_EQ(other.Create(info), 1);
    SetActiveWindow(hwnd);
    EXPECT_EQ(owner->Take(), (std::vector<std::string>{"Deactivate", "Activate"}));
}

TEST_F(FormTest, EscapeClosesOnlyWhenTheFormSaysSo)
{
    BindFormEvents();
    HWND hwnd = CreateForm();
    owner->Take();
    MSG escape{hwnd, WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
    form->GetFormNative()->escapeCloses = 0;
    EXPECT_FALSE(PreTranslateLibraryMessage(&escape));
    ui_test::Pump();
    EXPECT_TRUE(owner->Take().empty());
    form->GetFormNative()->escapeCloses = 1;
    SetKeyDown(VK_SHIFT, true);
    EXPECT_FALSE(PreTranslateLibraryMessage(&escape)) << "Shift+Escape is not Escape";
    SetKeyDown(VK_SHIFT, false);
    EXPECT_TRUE(PreTranslateLibraryMessage(&escape));
    ui_test::Pump();
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(owner->Take().front(), "Closing");
}

TEST_F(FormTest, MenuSelectTrayAndMenuCommandsReachTheFormsOwnEvents)
{
    BindFormEvents();
    HWND hwnd = CreateForm();
    owner->Bind(*form, form->rg_ZuJianBuJuQi::Command, "ContainerCommand");
    owner->Take();
    SendMessageW(hwnd, WM_MENUSELECT, MAKEWPARAM(5, 0), 0);
    SendMessageW(hwnd, WM_MENUSELECT, MAKEWPARAM(6, 0x0010), 0);
    SendMessageW(hwnd, WM_MENUSELECT, MAKEWPARAM(7, 0x2000), 0);
    SendMessageW(hwnd, WM_MENUSELECT, MAKEWPARAM(8, 0xFFFF), 0);
    for (UINT mouse : {WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONUP, WM_CONTEXTMENU, WM_MOUSEMOVE})
        SendMessageW(hwnd, kQrnTrayCallback, 0, mouse);
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(40001, 1), 0);
    EXPECT_EQ(owner->Take(), (std::vector<std::string>{"MenuSelect 5", "MenuSelect 0", "MenuSelect 0", "MenuSelect 0",
                                                       "TrayIcon 1", "TrayIcon 2", "TrayIcon 3", "TrayIcon 3",
                                                       "Command 40001"}));
}

int32_t GrowLimits(CQrnObject*, CQrnObject*, uint32_t, rg_ChuangKouWeiZhiXianZhiXinXi* limits)
{
    EXPECT_EQ(limits->minTrackSize.width, 1) << "the form allows any size first";
    limits->minTrackSize.width = 400;
    limits->minTrackSize.height = 300;
    return 1;
}

TEST_F(FormTest, SizeLimitsMayChangeTheTrackingSize)
{
    form->GetFormNative()->borderStyle = 1;
    HWND hwnd = CreateForm();
    form->BindEvent(form->SizeLimits, &GrowLimits, owner->guard, 0);
    MoveWindow(hwnd, 0, 0, 100, 100, TRUE);
    RECT r{};
    GetWindowRect(hwnd, &r);
    EXPECT_EQ(r.right - r.left, 400);
    EXPECT_EQ(r.bottom - r.top, 300);
}

TEST_F(FormTest, ShapesGiveTheWindowItsRegion)
{
    form->GetFormNative()->shape = 2;
    WinCreateInfo info;
    info.width = 300;
    info.height = 200;
    HWND hwnd = CreateForm(info);
    HRGN probe = CreateRectRgn(0, 0, 1, 1);
    ASSERT_NE(GetWindowRgn(hwnd, probe), ERROR_REGION);
    RECT box{};
    SIZE corner{};
    EXPECT_EQ(GetRegionShape(probe, &box, &corner), RegionShape::RoundRectangle);
    EXPECT_EQ(corner.cx, 40);
    EXPECT_EQ(corner.cy, 40);
    form->GetFormNative()->shape = 1;
    MoveWindow(hwnd, 0, 0, 250, 100, TRUE);
    GetWindowRgn(hwnd, probe);
    EXPECT_EQ(GetRegionShape(probe, &box, &corner), RegionShape::Ellipse);
    EXPECT_EQ(box.right, 250);
    DeleteObject(probe);
}

TEST_F(FormTest, DraggingAnywhereTurnsABackgroundClickIntoACaptionDrag)
{
    HWND hwnd = CreateForm();
    form->GetFormNative()->dragAnywhere = 1;
    MSG click{hwnd, WM_LBUTTONDOWN, MK_LBUTTON, 0, 0, {0, 0}};
    EXPECT_TRUE(PreTranslateLibraryMessage(&click));
    MSG posted{};
    ASSERT_TRUE(PeekMessageW(&posted, hwnd, WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE));
    EXPECT_EQ(posted.wParam, static_cast<WPARAM>(HTCAPTION));
    form->GetFormNative()->dragAnywhere = 0;
    EXPECT_FALSE(PreTranslateLibraryMessage(&click));
}

TEST_F(FormTest, AFormInsideAChildWindowIsAChildAndATopLevelParentOwnsItAsAPopUp)
{
    rg_quarn_MFCJieMian_base::rg_ZuJianBuJuQi inner;
    ASSERT_EQ(inner.Create(*std::make_unique<WinCreateInfo>(ChildRecord(0, 0, 400, 300))), 1);
    WinCreateInfo info;
    info.parentNative = inner.GetNative();
    info.parentControl = &inner;
    info.x = info.y = 10;
    info.width = 200;
    info.height = 100;
    info.id = 31;
    HWND hwnd = CreateForm(info);
    EXPECT_TRUE(StyleOf(hwnd) & WS_CHILD);
    EXPECT_EQ(GetDlgCtrlID(hwnd), 31);
    EXPECT_EQ(GetParent(hwnd), inner.GetSafeHwnd());
    RECT r{};
    GetWindowRect(hwnd, &r);
    POINT corner{r.left, r.top};
    ScreenToClient(inner.GetSafeHwnd(), &corner);
    EXPECT_EQ(corner.x, 10) << "a child form keeps its coordinates";

    CQrnWinForm popup;
    WinCreateInfo popupInfo;
    popupInfo.parentNative = host->GetNative();  // the host is a top-level window
    popupInfo.width = popupInfo.height = 50;
    ASSERT_EQ(popup.Create(popupInfo), 1);
    EXPECT_TRUE(StyleOf(popup.GetSafeHwnd()) & WS_POPUP);
    EXPECT_FALSE(StyleOf(popup.GetSafeHwnd()) & WS_CHILD);
    EXPECT_EQ(GetParent(popup.GetSafeHwnd()), hostWindow) << "owned by it";
    GetWindowRect(popup.GetSafeHwnd(), &r);
    EXPECT_EQ(r.left, (1920 - 50) / 2) << "a pop-up is centred on the screen";
}

}  // namespace
