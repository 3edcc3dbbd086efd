// tabrix-batch under LeakSanitizer, in the AddressSanitizer build only: the program ends through
// ExitProcess, which makes the leak check _exit would skip and ends with status 23 when it finds a
// leak. Each run must end with the status of its outcome and print no leak report: on the sample
// tree, on a generated tree of 100,000 snapshots, and on the ways a run ends without a workbook.
#include "bench/PlateTree.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

constexpr int kRunLimitSeconds = 280;
constexpr int64_t kLargeTreeFiles = 100000;

struct CommandRun {
    int status = -1;
    std::string out;
    std::string err;
    double seconds = 0;
};

std::string Slurp(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class BatchLeakTest : public ::testing::Test {
protected:
    void SetUp() override { scratch = bench::MakeScratchFolder("tabrix-leaks"); }
    void TearDown() override { EXPECT_TRUE(bench::RemoveTree(scratch)) << scratch; }

    // tabrix-batch with the leak check on, bounded in time (status 124 when it hung).
    CommandRun Batch(const std::string& directory, const std::string& workbook) const
    {
        const std::string out = scratch + "/batch.out";
        const std::string err = scratch + "/batch.err";
        const std::string line = "ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 timeout " +
                                 std::to_string(kRunLimitSeconds) + " '" + TABRIX_BATCH + "' '" + directory + "' '" +
                                 workbook + "' >'" + out + "' 2>'" + err + "' </dev/null";
        CommandRun run;
        const auto start = std::chrono::steady_clock::now();
        const int raw = std::system(line.c_str());
        run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        run.status = raw != -1 && WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        run.out = Slurp(out);
        run.err = Slurp(err);
        return run;
    }

    static void ExpectNoLeak(const CommandRun& run, int status)
    {
        EXPECT_EQ(run.status, status) << "23 is a leak, 124 a hang\n" << run.err;
        EXPECT_EQ(run.err.find("LeakSanitizer"), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find("AddressSanitizer"), std::string::npos) << run.err;
    }

    std::string scratch;
};

TEST_F(BatchLeakTest, TheSampleTreeAndTheRunsThatWriteNothing)
{
    const std::string empty = scratch + "/empty";
    ASSERT_TRUE(std::filesystem::create_directory(empty));
    const struct {
        std::string directory;
        std::string workbook;
        int status;
        std::string out;
    } cases[] = {
        {TABRIX_SAMPLES, scratch + "/samples.xls", 0, scratch + "/samples.xls: 15 rows, 1 sheet\n"},
        {TABRIX_SAMPLES, scratch + "/samples.xlsx", 0, scratch + "/samples.xlsx: 15 rows, 1 sheet\n"},
        {empty, scratch + "/empty.xls", 1, ""},
        {TABRIX_SAMPLES, scratch + "/no-such-folder/out.xls", 1, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.directory + " -> " + c.workbook);
        const CommandRun run = Batch(c.directory, c.workbook);
        ExpectNoLeak(run, c.status);
        EXPECT_EQ(run.out, c.out);
    }
}

TEST_F(BatchLeakTest, AHundredThousandFileTree)
{
    const bench::PlateTree tree = bench::MakePlateTree(scratch, kLargeTreeFiles, scratch + "/table.tsv");
    const std::string workbook = scratch + "/large.xls";
    const CommandRun run = Batch(tree.images, workbook);
    ExpectNoLeak(run, 0);
    EXPECT_EQ(run.out, workbook + ": " + std::to_string(tree.plates) + " rows, " +
                           std::to_string((tree.plates + 65534) / 65535) + " sheet" +
                           (tree.plates > 65535 ? "s" : "") + "\n");
    std::printf("%lld files, %lld rows: %.1f s\n", static_cast<long long>(tree.files),
                static_cast<long long>(tree.plates), run.seconds);
    RecordProperty("seconds", static_cast<int>(run.seconds));
}

}  // namespace
