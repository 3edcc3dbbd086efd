// The ways the application object ends the process, and the trap under a debugger.
#include "ApplicationTestSupport.h"

#include "app/CQrnMFCApp.h"
#include "app/TopLevelTrap.h"
#include "runtime/CQrnException.h"

#include <gtest/gtest.h>

#include <sys/ptrace.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace app_test;

namespace {

void ThrowFromRunProgram()
{
    SetDialogService(std::make_shared<PrintingDialogs>());
    TheJournal().run = []() -> int32_t { throw CQrnException(7, CWString(u"x")); };
    CQrnMFCApp app(&TestWindowProgram::StaticClassInfo);
    app.InitInstance();
}

TEST(ApplicationExitDeathTest, EscapedExceptionShowsOneBoxAndExitsWithMinusOne)
{
    EXPECT_EXIT(ThrowFromRunProgram(), ::testing::ExitedWithCode(255),
                "^box \\[运行时异常\\] \\[俘获到异常,代码值为: 7, 描述为: x\\] type 16 owner \\(nil\\)\n$");
}

void StartWrongKind()
{
    SetDialogService(std::make_shared<PrintingDialogs>());
    CQrnMFCApp app(&CWString::StaticClassInfo);
    app.InitInstance();
}

TEST(ApplicationExitDeathTest, StartUpObjectOfTheWrongKindExitsWithMinusOneSilently)
{
    EXPECT_EXIT(StartWrongKind(), ::testing::ExitedWithCode(255), "^$");
}

TEST(ApplicationDebugger, WithADebuggerTheExceptionIsNotCaught)
{
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) != 0)
            _exit(2);
        auto dialogs = std::make_shared<ScriptedDialogs>();
        SetDialogService(dialogs);
        TestWindowProgram program;
        TheJournal().run = []() -> int32_t { throw CQrnException(7, CWString(u"x")); };
        try {
            RunAndReportFaults(program);
        } catch (const CQrnException& reached) {
            _exit(reached.code == 7 && dialogs->MessageBoxes().empty() ? 0 : 3);
        }
        _exit(1);  // the trap caught it
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 2)
        GTEST_SKIP() << "ptrace is not permitted in this environment";
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

} // namespace
