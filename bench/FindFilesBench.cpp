// FindFiles "PlateImage_*.jpg" on a tree of plate snapshots against find(1) doing the same search
// (`find DIR -iname 'PlateImage_*.jpg'`) in the same run, with warm caches; prints the median wall
// times and their ratio (the aim: at most 2.0 times find's time).
//   find_files_bench [TREE]   TREE defaults to a fresh tree of 100,000 files in 100 folders made by
//                             scripts/make-tree (removed afterwards).
#include "platform/files/FileNameCodec.h"
#include "work/FindFiles.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRounds = 7;

double Milliseconds(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Runs find with its output sent to outputPath; returns the wall time or a negative value.
double TimeFind(const std::string& tree, const char* outputPath)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outputPath, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const char* argv[] = {"find", tree.c_str(), "-iname", "PlateImage_*.jpg", nullptr};
    const auto start = Clock::now();
    pid_t child = 0;
    const int spawned = posix_spawnp(&child, "find", &actions, nullptr, const_cast<char**>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;
    int status = 0;
    waitpid(child, &status, 0);
    const auto end = Clock::now();
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? Milliseconds(end - start) : -1;
}

long CountLines(const char* path)
{
    FILE* file = std::fopen(path, "r");
    if (!file)
        return -1;
    long lines = 0;
    for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file))
        lines += c == '\n';
    std::fclose(file);
    return lines;
}

int32_t RunFindFiles(const std::string& tree, double& milliseconds)
{
    const CWString directory(DecodeFileName(tree));
    const auto start = Clock::now();
    rg_quarn_base::rg_WenBenShuZuLei files, directories;
    const int32_t count = rg_quarn_Tolvar::FindFiles(directory, CWString(u"PlateImage_*.jpg"), files, directories);
    milliseconds = Milliseconds(Clock::now() - start);
    return count;
}

} // namespace

int main(int argc, char** argv)
{
    std::string tree;
    std::string scratch;
    if (argc > 1) {
        tree = argv[1];
    } else {
        char pattern[] = "/tmp/find-files-bench-XXXXXX";
        if (!mkdtemp(pattern))
            return 1;
        scratch = tree = pattern;
        const std::string command = std::string("python3 '") + TABRIX_SOURCE_DIR + "/scripts/make-tree' '" + tree +
                                    "' --files 100000 --folders 100";
        if (std::system(command.c_str()) != 0) {
            std::fprintf(stderr, "could not make the tree\n");
            return 1;
        }
    }
    const std::string listing = (scratch.empty() ? std::string("/tmp") : scratch) + "/find-output.txt";

    // Warm the caches and check that both searches agree.
    if (TimeFind(tree, listing.c_str()) < 0) {
        std::fprintf(stderr, "find failed\n");
        return 1;
    }
    const long findCount = CountLines(listing.c_str());
    double ignored = 0;
    const int32_t ourCount = RunFindFiles(tree, ignored);
    std::printf("tree %s: find lists %ld files, FindFiles %d\n", tree.c_str(), findCount, ourCount);

    std::vector<double> findTimes, ourTimes;
    for (int round = 0; round < kRounds; ++round) {
        findTimes.push_back(TimeFind(tree, "/dev/null"));
        double ours = 0;
        RunFindFiles(tree, ours);
        ourTimes.push_back(ours);
    }
    const double findMedian = Median(findTimes);
    const double ourMedian = Median(ourTimes);
    std::printf("find -iname:           %8.2f ms (median of %d)\n", findMedian, kRounds);
    std::printf("FindFiles:             %8.2f ms (median of %d)\n", ourMedian, kRounds);
    std::printf("ratio FindFiles/find:  %8.2f (aim: at most 2.00)\n", ourMedian / findMedian);

    std::remove(listing.c_str());
    if (!scratch.empty()) {
        const std::string command = "rm -rf '" + scratch + "'";
        if (std::system(command.c_str()) != 0)
            return 1;
    }
    return findCount == ourCount ? 0 : 1;
}
