// The two executables as a user runs them: exit statuses, the one line on standard output, the
// messages on standard error, and no workbook left behind when nothing could be written.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

struct CommandRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string Slurp(const fs::path& file)
{
    std::ifstream in(file);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Runs a shell command line with its standard output and error captured apart.
CommandRun Execute(const std::string& command, const fs::path& scratch)
{
    const fs::path out = scratch / "stdout.txt";
    const fs::path err = scratch / "stderr.txt";
    const std::string line = command + " >'" + out.string() + "' 2>'" + err.string() + "' </dev/null";
    CommandRun run;
    const int raw = std::system(line.c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = Slurp(out);
    run.err = Slurp(err);
    return run;
}

class BatchCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        scratch = fs::temp_directory_path() /
                  ("tabrix-batch-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(scratch);
        fs::create_directories(scratch);
    }
    void TearDown() override { fs::remove_all(scratch); }

    CommandRun Batch(const std::string& arguments) { return Execute(std::string("'") + TABRIX_BATCH + "' " + arguments, scratch); }

    fs::path scratch;
};

TEST_F(BatchCommandTest, TheSampleTreeBecomesAWorkbookAndOneLineSaysWhere)
{
    const fs::path workbook = scratch / "sample.xls";
    const CommandRun run = Batch(std::string("'") + TABRIX_SAMPLES + "' '" + workbook.string() + "'");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, workbook.string() + ": 15 rows, 1 sheet\n");
    EXPECT_EQ(run.err, "") << "no progress line when standard error is no terminal";
    const CommandRun read = Execute("/usr/bin/python3 -c \"import sys, xlrd; b = xlrd.open_workbook(sys.argv[1]); "
                             "s = b.sheet_by_index(0); print(b.sheet_names(), s.nrows, s.row_values(0))\" '" +
                                 workbook.string() + "'",
                             scratch);
    EXPECT_EQ(read.out, "['Sheet1'] 16 ['ID', '车牌号', '时间', '车牌颜色', '相机IP地址']\n") << read.err;
}

TEST_F(BatchCommandTest, ARelativeWorkbookPathIsTakenFromTheCurrentFolder)
{
    const CommandRun run = Execute("cd '" + scratch.string() + "' && '" + TABRIX_BATCH + "' '" + TABRIX_SAMPLES + "' out.xlsx",
                            scratch);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, (scratch / "out.xlsx").string() + ": 15 rows, 1 sheet\n");
    EXPECT_TRUE(fs::exists(scratch / "out.xlsx"));
}

TEST_F(BatchCommandTest, FailuresExitWithOneAndLeaveNoWorkbook)
{
    fs::create_directories(scratch / "empty");
    const struct {
        std::string directory;
        std::string workbook;
        std::string message;
    } cases[] = {
        {(scratch / "empty").string(), (scratch / "a.xls").string(), "目录为空，请重新选择正确的有图片的目录"},
        {(scratch / "missing").string(), (scratch / "b.xls").string(), "目录为空"},
        {TABRIX_SAMPLES, (scratch / "no-such-folder" / "c.xls").string(), "表格未能保存到：" + (scratch / "no-such-folder" / "c.xls").string()},
        {TABRIX_SAMPLES, scratch.string(), "表格未能保存到："},
    };
    for (const auto& c : cases) {
        const CommandRun run = Batch("'" + c.directory + "' '" + c.workbook + "'");
        EXPECT_EQ(run.status, 1) << c.directory << " -> " << c.workbook;
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find("错误提醒："), std::string::npos) << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
    size_t left = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(scratch))
        ++left;
    EXPECT_EQ(left, 3u) << "only empty/, stdout.txt and stderr.txt";
}

TEST_F(BatchCommandTest, WrongUsageExitsWithTwoAndHelpPrintsTheUsage)
{
    for (const char* arguments : {"", "only-one", "a b c", "'' x.xls"}) {
        const CommandRun run = Batch(arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_EQ(run.err.rfind("Usage: tabrix-batch DIRECTORY WORKBOOK", 0), 0u) << arguments;
        EXPECT_EQ(run.out, "");
    }
    const CommandRun help = Batch("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: tabrix-batch DIRECTORY WORKBOOK", 0), 0u);
}

TEST_F(BatchCommandTest, TheDesktopProgramWithoutADisplaySaysSoAndExitsWithOne)
{
    const CommandRun run = Execute(std::string("env -u DISPLAY -u WAYLAND_DISPLAY '") + TABRIX_DESKTOP + "'", scratch);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("no display"), std::string::npos);
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1);
}

TEST_F(BatchCommandTest, TheDesktopProgramWithAnUnreachableDisplaySaysSoAndExitsWithOne)
{
    const CommandRun run =
        Execute(std::string("env -u WAYLAND_DISPLAY DISPLAY=:59999 '") + TABRIX_DESKTOP + "'", scratch);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("display"), std::string::npos) << run.err;
}

}  // namespace
