// The program classes, the top-level trap and the application object's hooks.
#include "ApplicationTestSupport.h"

#include "app/CQrnMFCApp.h"
#include "app/TopLevelTrap.h"
#include "platform/dialogs/MessageBox.h"
#include "platform/framework/IdleTasks.h"
#include "platform/loader/BuiltinModules.h"
#include "platform/loader/ImportTable.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/WinMessages.h"
#include "platform/window/WinStyles.h"
#include "platform/window/Window.h"
#include "platform/window/WindowClass.h"
#include "runtime/CQrnException.h"
#include "runtime/ValueClasses.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

using namespace app_test;

namespace {

// Library windows mark themselves and answer the private request for their children.
std::vector<MSG*> g_requests;

LRESULT LibraryProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kLibraryPreTranslateMessage && lParam == kLibraryWindowMark) {
        g_requests.push_back(reinterpret_cast<MSG*>(wParam));
        return kLibraryWindowMark;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

class ApplicationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TheJournal() = Journal{};
        static bool registered = [] {
            WNDCLASSEXW wc{};
            wc.cbSize = sizeof(wc);
            wc.lpfnWndProc = LibraryProc;
            wc.lpszClassName = u"AppTestLibraryWindow";
            return RegisterClassExW(&wc) != 0;
        }();
        ASSERT_TRUE(registered);
        dialogs_ = std::make_shared<ScriptedDialogs>();
        previous_ = SetDialogService(dialogs_);
    }
    void TearDown() override
    {
        SetDialogService(previous_);
        TheJournal() = Journal{};
        currentUserApp = nullptr;  // programs made on a test's stack leave it pointing there
    }
    std::shared_ptr<ScriptedDialogs> dialogs_;
    std::shared_ptr<DialogService> previous_;
};

TEST_F(ApplicationTest, ProgramClassesAndTheirRecords)
{
    EXPECT_STREQ(CQrnUserApp::StaticClassInfo().name, "CQrnUserApp");
    EXPECT_STREQ(rg_quarn_base::rg_ChengXuLei::StaticClassInfo().name, "rg_quarn_base::rg_ChengXuLei");
    EXPECT_STREQ(rg_quarn_base::rg_ChuangKouChengXuLei::StaticClassInfo().name,
                 "rg_quarn_base::rg_ChuangKouChengXuLei");
    rg_quarn_base::rg_ChuangKouChengXuLei window;
    EXPECT_EQ(currentUserApp, &window);
    EXPECT_TRUE(window.IsKindOf(CQrnUserApp::StaticClassInfo()));
    EXPECT_TRUE(window.IsKindOf(rg_quarn_base::rg_ChengXuLei::StaticClassInfo()));
    EXPECT_EQ(window.PreTranslateMessageHook(nullptr, WM_KEYDOWN, 0, 0, nullptr), 1);
    EXPECT_EQ(window.IdleHook(100), 0);
    {
        CQrnUserApp plain;
        EXPECT_EQ(currentUserApp, &plain);  // every construction takes the pointer
        EXPECT_EQ(plain.GetValueClassTable(), nullptr);
    }
    currentUserApp = nullptr;

    const CQrnClassInfo* const* table = window.GetValueClassTable();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table, rg_quarn_base::rg_ChengXuLei().GetValueClassTable());  // built once
    currentUserApp = nullptr;
    const char* names[] = {"rg_ZiJieLei", "rg_DuanZhengShuLei", "rg_ZiFuLei", "rg_ZhengShuLei",
                           "rg_BianZhengShuLei", "rg_ChangZhengShuLei", "rg_ChanJingDuXiaoShuLei",
                           "rg_XiaoShuLei", "rg_LuoJiXingLei"};
    for (int i = 0; i < CQrnUserApp::kValueClassCount; ++i)
        EXPECT_EQ(std::string(table[i]->name), std::string("rg_quarn_base::") + names[i]) << i;
}

// The box the trap showed, as one text: caption, text and type.
struct Box {
    std::u16string caption;
    std::u16string text;
    UINT type;
    bool operator==(const Box&) const = default;
};

std::vector<Box> Boxes(const ScriptedDialogs& dialogs)
{
    std::vector<Box> boxes;
    for (const MessageBoxRecord& record : dialogs.MessageBoxes()) {
        EXPECT_EQ(record.request.owner, nullptr);
        boxes.push_back(Box{record.request.caption, record.request.text, record.request.type});
    }
    return boxes;
}

TEST_F(ApplicationTest, TrapReportsEachKindOfEscapedExceptionOnce)
{
    TestWindowProgram program;
    TheJournal().run = [] () -> int32_t { throw CQrnException(7, CWString(u"x")); };
    EXPECT_EQ(RunAndReportFaults(program), std::nullopt);
    TheJournal().run = [] () -> int32_t { throw std::runtime_error("not ours"); };
    EXPECT_EQ(RunAndReportFaults(program), std::nullopt);
    TheJournal().run = [] { return 5; };
    EXPECT_EQ(RunAndReportFaults(program), 5);
    EXPECT_EQ(Boxes(*dialogs_), (std::vector<Box>{
                                    {u"运行时异常", u"俘获到异常,代码值为: 7, 描述为: x", MB_ICONERROR},
                                    {u"运行时异常", u"程序在运行时抛出了未被管理的异常", MB_ICONERROR},
                                }));
}

TEST_F(ApplicationTest, MissingImportLibraryReachesTheTrapWithTheLoaderText)
{
    ScopedBuiltinModule missing(u"Kernel32.dll", std::nullopt);
    TestWindowProgram program;
    TheJournal().run = [] { return ResolveProgramImports(); };
    EXPECT_EQ(RunAndReportFaults(program), std::nullopt);
    EXPECT_EQ(Boxes(*dialogs_),
              (std::vector<Box>{{u"运行时异常",
                                 u"俘获到异常,代码值为: -1, 描述为: 载入运行时所需要的外部动态链接库文件\"Kernel32.dll\"失败!",
                                 MB_ICONERROR}}));
}

class PreTranslationTest : public ApplicationTest {
protected:
    void SetUp() override
    {
        ApplicationTest::SetUp();
        g_requests.clear();
        marked_ = Make(WS_OVERLAPPED, nullptr);
        SetWindowLongPtrW(marked_, GWLP_USERDATA, kLibraryWindowMark);
        child_ = Make(WS_CHILD, marked_);
        grandchild_ = Make(WS_CHILD, child_);
        popup_ = Make(WS_POPUP, marked_);  // owned by the marked window, not its child
        plain_ = Make(WS_OVERLAPPED, nullptr);
        plainChild_ = Make(WS_CHILD, plain_);
    }
    void TearDown() override
    {
        DestroyWindow(marked_);
        DestroyWindow(plain_);
        ApplicationTest::TearDown();
    }
    static HWND Make(DWORD style, HWND parent)
    {
        return CreateWindowExW(0, u"AppTestLibraryWindow", u"", style, 0, 0, 50, 50, parent, nullptr, nullptr,
                               nullptr);
    }
    static BOOL Offer(CQrnMFCApp& app, HWND hwnd, UINT message)
    {
        MSG msg{hwnd, message, 0, 0, 0, {0, 0}};
        return app.PreTranslateMessage(&msg);
    }
    HWND marked_ = nullptr, child_ = nullptr, grandchild_ = nullptr, popup_ = nullptr, plain_ = nullptr,
         plainChild_ = nullptr;
};

TEST_F(PreTranslationTest, LibraryWindowsUpTheChildChainTakeKeyboardAndMouseMessages)
{
    CQrnMFCApp app(&TestWindowProgram::StaticClassInfo);
    struct Case {
        HWND window;
        UINT message;
        BOOL consumed;
    };
    const Case cases[] = {
        {grandchild_, WM_KEYDOWN, TRUE},  // two steps up
        {child_, 0x0109, TRUE},
        {child_, WM_MOUSEMOVE, TRUE},
        {child_, 0x020E, TRUE},
        {child_, 0x020F, FALSE},     // beyond the mouse range: never offered
        {child_, WM_USER, FALSE},
        {popup_, WM_KEYDOWN, FALSE}, // the walk stops at a window that is not a child
        {plainChild_, WM_KEYDOWN, FALSE},
        {marked_, WM_LBUTTONDOWN, TRUE},
    };
    size_t expectedRequests = 0;
    for (const Case& c : cases) {
        EXPECT_EQ(Offer(app, c.window, c.message), c.consumed) << std::hex << c.message;
        expectedRequests += c.consumed ? 1 : 0;
    }
    EXPECT_EQ(g_requests.size(), expectedRequests);
}

TEST_F(PreTranslationTest, WindowProgramHookComesFirst)
{
    CQrnMFCApp app(&TestWindowProgram::StaticClassInfo);
    TestWindowProgram program;
    app.windowProgram = &program;
    TheJournal().consumeMessage = WM_USER + 5;
    EXPECT_TRUE(Offer(app, plain_, WM_USER + 5));
    EXPECT_FALSE(Offer(app, plain_, WM_USER + 6));
    EXPECT_TRUE(g_requests.empty());
    app.windowProgram = nullptr;
}

TEST_F(ApplicationTest, StartIdleAndExitHooksOfAWindowProgram)
{
    CQrnMFCApp app(&TestWindowProgram::StaticClassInfo);
    HWND main = nullptr;
    TheJournal().run = [&] {
        main = CreateWindowExW(0, u"AppTestLibraryWindow", u"main", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                               nullptr, nullptr);
        AfxGetApp()->SetMainWindow(main);
        return 1;
    };
    ASSERT_TRUE(app.InitInstance());
    ASSERT_NE(app.windowProgram, nullptr);
    EXPECT_EQ(static_cast<CQrnUserApp*>(app.windowProgram), currentUserApp);

    std::vector<int32_t> taskCounts;
    PostIdleTask([&](int32_t n) {
        taskCounts.push_back(n);
        return true;
    });
    // The framework's own idle work takes the first two calls; the program's hook ends the period.
    EXPECT_TRUE(app.OnIdle(0));
    EXPECT_TRUE(app.OnIdle(1));
    EXPECT_TRUE(taskCounts.empty());
    EXPECT_FALSE(app.OnIdle(2));
    EXPECT_EQ(taskCounts, std::vector<int32_t>{2});
    ASSERT_EQ(TheJournal().idleMilliseconds.size(), 1u);
    EXPECT_LT(TheJournal().idleMilliseconds[0], 10000u);

    EXPECT_EQ(app.ExitInstance(), 0);
    EXPECT_EQ(TheJournal().events, (std::vector<std::string>{"run", "exit hook", "destroyed"}));
    EXPECT_EQ(currentUserApp, nullptr);
    EXPECT_EQ(app.windowProgram, nullptr);
    EXPECT_EQ(PendingIdleTaskCount(), 0u);  // discarded
    DestroyWindow(main);
}

TEST_F(ApplicationTest, StartFailsWithoutAResultOrWithoutAMainWindow)
{
    {
        CQrnMFCApp app(&TestWindowProgram::StaticClassInfo);
        TheJournal().run = [] { return 0; };
        EXPECT_FALSE(app.InitInstance());
        app.ExitInstance();
    }
    {
        CQrnMFCApp app(&TestPlainProgram::StaticClassInfo);
        TheJournal().run = [] { return 1; };  // no main window was made
        EXPECT_FALSE(app.InitInstance());
        EXPECT_EQ(app.windowProgram, nullptr);  // not a window program
        EXPECT_NE(currentUserApp, nullptr);
        EXPECT_TRUE(app.OnIdle(0));  // the framework's own idle decides
        EXPECT_FALSE(app.OnIdle(1));
        app.ExitInstance();
        EXPECT_EQ(currentUserApp, nullptr);
    }
}

TEST_F(ApplicationTest, QrnMainRunsTheLoopUntilQuit)
{
    CQrnMFCApp app(&TestWindowProgram::StaticClassInfo);
    HWND main = nullptr;
    TheJournal().run = [&] {
        ResolveProgramImports();
        main = CreateWindowExW(0, u"AppTestLibraryWindow", u"main", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                               nullptr, nullptr);
        AfxGetApp()->SetMainWindow(main);
        PostQuitMessage(0);
        return 1;
    };
    EXPECT_EQ(QrnMain(), 0);
    EXPECT_EQ(TheJournal().events, (std::vector<std::string>{"run", "exit hook", "destroyed"}));
    EXPECT_TRUE(dialogs_->MessageBoxes().empty());
    DestroyWindow(main);
}

} // namespace
