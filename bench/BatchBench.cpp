// tabrix-batch DIRECTORY WORKBOOK on generated snapshot trees (10,000, 100,000 and 1,000,000 empty
// files, 30% of them repeating an earlier plate) against Debian's python3-xlwt writing the same
// table (one row per plate, the grid export's format, 65,536 rows a sheet) in the same run. Prints
// per size both wall times, xlwt's writing alone and the ratios; then how the batch's time grows
// from 100,000 to 1,000,000 files and its peak memory there (aims: batch at most xlwt's writing
// alone at 100,000; growth at most 12; peak at most 1.5 GB). Timings are reported, never enforced:
// the exit status is nonzero only when a run failed or wrote the wrong number of rows.
//   batch_bench [--sizes N,N,...]   default 10000,100000,1000000; trees under $TMPDIR or /tmp,
//                                   removed after each size
// Making a million files on a slow disk takes minutes: TMPDIR=/dev/shm keeps the trees in memory
// (the whole default run then takes about three minutes on two cores); --sizes 10000,100000 leaves
// out the million.
#include "bench/PlateTree.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

struct ChildRun {
    bool ok = false;
    double seconds = 0;
    long peakKiB = 0;
    std::string output;
};

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs argv with standard output and error to files; its wall time, peak resident set and output.
ChildRun Run(const std::vector<std::string>& args, const std::string& outPath, const std::string& errPath)
{
    ChildRun run;
    std::vector<char*> argv;
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    const auto start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out < 0 || err < 0 || dup2(out, STDOUT_FILENO) < 0 || dup2(err, STDERR_FILENO) < 0)
            _exit(126);
        execv(argv[0], argv.data());
        _exit(127);
    }
    if (child < 0)
        return run;
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child)
        return run;
    run.seconds = Seconds(Clock::now() - start);
    run.peakKiB = usage.ru_maxrss;
    run.output = ReadFile(outPath);
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (!run.ok)
        std::fprintf(stderr, "%s: status %d\n%s", args[0].c_str(), status, ReadFile(errPath).c_str());
    return run;
}

struct SizeResult {
    double batch = 0;
    double xlwt = 0;
    double xlwtWriting = 0;
    long batchPeakKiB = 0;
    long xlwtPeakKiB = 0;
};

std::vector<long> ParseSizes(const char* text)
{
    std::vector<long> sizes;
    std::stringstream list(text);
    std::string item;
    while (std::getline(list, item, ','))
        if (const long size = std::atol(item.c_str()); size > 0)
            sizes.push_back(size);
    return sizes;
}

bool RunSize(long files, SizeResult& result)
{
    const std::string root = bench::MakeScratchFolder("tabrix-batch-bench");
    const std::string table = root + "/table.tsv";
    bool ok = false;
    try {
        const auto made = Clock::now();
        const bench::PlateTree tree = bench::MakePlateTree(root, files, table);
        std::printf("%ld files: tree of %ld plates in %d folders made in %.1f s\n", files,
                    static_cast<long>(tree.plates), tree.folders, Seconds(Clock::now() - made));
        std::fflush(stdout);

        const ChildRun batch = Run({TABRIX_BATCH_EXE, tree.images, root + "/batch.xls"}, root + "/batch.out",
                                   root + "/batch.err");
        const ChildRun xlwt = Run({"/usr/bin/python3", TABRIX_XLWT_PEER, root + "/xlwt.xls", table},
                                  root + "/xlwt.out", root + "/xlwt.err");
        // tabrix-batch reports "WORKBOOK: N rows, M sheets".
        const size_t colon = batch.output.rfind(": ");
        const long rows = colon == std::string::npos ? -1 : std::atol(batch.output.c_str() + colon + 2);
        const size_t writing = xlwt.output.find("writing ");
        if (!batch.ok || !xlwt.ok) {
            std::printf("  a run failed (batch %d, xlwt %d)\n", batch.ok, xlwt.ok);
        } else if (rows != tree.plates) {
            std::printf("  tabrix-batch wrote %ld rows, the tree has %ld plates: %s", rows,
                        static_cast<long>(tree.plates), batch.output.c_str());
        } else {
            result.batch = batch.seconds;
            result.xlwt = xlwt.seconds;
            result.xlwtWriting = writing == std::string::npos ? xlwt.seconds : std::atof(xlwt.output.c_str() + writing + 8);
            result.batchPeakKiB = batch.peakKiB;
            result.xlwtPeakKiB = xlwt.peakKiB;
            ok = true;
        }
    } catch (const std::exception& error) {
        std::printf("  %s\n", error.what());
    }
    if (!bench::RemoveTree(root)) {
        std::printf("  could not remove %s\n", root.c_str());
        ok = false;
    }
    return ok;
}

const char* Verdict(bool met) { return met ? "met" : "missed"; }

}  // namespace

int main(int argc, char** argv)
{
    std::vector<long> sizes{10000, 100000, 1000000};
    if (argc == 3 && std::strcmp(argv[1], "--sizes") == 0) {
        sizes = ParseSizes(argv[2]);
    } else if (argc != 1) {
        std::fprintf(stderr, "usage: batch_bench [--sizes N,N,...]\n");
        return 2;
    }
    if (sizes.empty()) {
        std::fprintf(stderr, "batch_bench: no size given\n");
        return 2;
    }

    std::map<long, SizeResult> results;
    bool allOk = true;
    for (const long files : sizes) {
        SizeResult result;
        if (!RunSize(files, result)) {
            allOk = false;
            continue;
        }
        results[files] = result;
        std::printf("  tabrix-batch %8.3f s  peak %7ld KiB\n", result.batch, result.batchPeakKiB);
        std::printf("  xlwt         %8.3f s  peak %7ld KiB  (writing alone %.3f s)\n", result.xlwt,
                    result.xlwtPeakKiB, result.xlwtWriting);
        std::printf("  ratio batch/xlwt %.3f, batch/xlwt writing alone %.3f\n", result.batch / result.xlwt,
                    result.batch / result.xlwtWriting);
        std::fflush(stdout);
    }

    std::printf("summary\n");
    if (const auto at = results.find(100000); at != results.end())
        std::printf("  100,000 files: batch %.3f s vs xlwt writing alone %.3f s: ratio %.3f (aim <= 1): %s\n",
                    at->second.batch, at->second.xlwtWriting, at->second.batch / at->second.xlwtWriting,
                    Verdict(at->second.batch <= at->second.xlwtWriting));
    const auto small = results.find(100000);
    const auto large = results.find(1000000);
    if (small != results.end() && large != results.end()) {
        const double growth = large->second.batch / small->second.batch;
        std::printf("  batch time(1,000,000)/time(100,000): %.2f (aim <= 12): %s\n", growth, Verdict(growth <= 12));
    }
    if (large != results.end()) {
        const double gib = static_cast<double>(large->second.batchPeakKiB) / (1024.0 * 1024.0);
        std::printf("  batch peak memory at 1,000,000 files: %ld KiB = %.3f GiB (aim <= 1.5 GB): %s\n",
                    large->second.batchPeakKiB, gib, Verdict(large->second.batchPeakKiB * 1024.0 <= 1.5e9));
    }
    return allOk ? 0 : 1;
}
