#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <set>

#include "TempTree.h"
#include "platform/files/FileNameCodec.h"

namespace {

bool IsDotOrDotDot(const std::u16string& name) { return name == u"." || name == u".."; }

std::set<std::string> EncodedNames(const std::vector<FoundEntry>& entries) {
    std::set<std::string> names;
    for (const FoundEntry& entry : entries) {
        if (IsDotOrDotDot(entry.name)) continue;
        const std::optional<std::string> bytes = EncodeFileName(entry.name);
        EXPECT_TRUE(bytes.has_value());
        if (bytes) names.insert(*bytes);
    }
    return names;
}

class HostileTreeTest : public ::testing::Test {
protected:
    TempTree tree;
};

TEST_F(HostileTreeTest, DirectoryNamedWithInvalidUtf8IsSearched) {
    const std::string badName = "camera\xFF\xFE\x80" "\xE4\xB8";  // stray bytes and a cut sequence
    tree.MakeDirectory(badName);
    tree.MakeFile(badName + "/PlateImage_A1_blue_20240821101010.jpg");
    const auto top = ListAll(PatternOf(tree.Root(), u"*"));
    const auto directory = std::find_if(top.begin(), top.end(), [](const FoundEntry& e) { return !IsDotOrDotDot(e.name); });
    ASSERT_NE(directory, top.end());
    EXPECT_EQ(directory->data.dwFileAttributes, FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(FileNameToDisplayUtf8(directory->name), "camera\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
    // The decoded name, as a caller would join it into a path, leads back to the directory.
    const std::u16string inner = PatternOf(tree.Root(), directory->name + u"/PlateImage_*.jpg");
    const auto files = ListAll(inner);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].name, u"PlateImage_A1_blue_20240821101010.jpg");
}

TEST_F(HostileTreeTest, NamesWithEveryByteValue) {
    std::set<std::string> made;
    for (int value = 1; value <= 0xFF; ++value) {
        if (value == '/') continue;
        const std::string name = "x" + std::string(1, static_cast<char>(value)) + "y";
        tree.MakeFile(name);
        made.insert(name);
    }
    const auto all = ListAll(PatternOf(tree.Root(), u"*"));
    EXPECT_EQ(EncodedNames(all), made);
    // Each byte is one unit, so "?" stands for any of them.
    EXPECT_EQ(EncodedNames(ListAll(PatternOf(tree.Root(), u"x?y"))), made);
    for (const FoundEntry& entry : all) {
        if (IsDotOrDotDot(entry.name)) continue;
        EXPECT_EQ(entry.data.dwFileAttributes, FILE_ATTRIBUTE_ARCHIVE) << FileNameToDisplayUtf8(entry.name);
    }
}

TEST_F(HostileTreeTest, LongestNamesAreKeptWhole) {
    std::string emoji;
    for (int i = 0; i < 63; ++i) emoji += "\xF0\x9F\x98\x80";
    std::string chinese;
    for (int i = 0; i < 85; ++i) chinese += "\xE4\xB8\xAD";
    const std::set<std::string> made = {std::string(255, 'a'), std::string(255, '\xFF'), chinese, emoji + "abc"};
    for (const std::string& name : made) {
        ASSERT_EQ(name.size(), 255u);
        tree.MakeFile(name);
    }
    const auto all = ListAll(PatternOf(tree.Root(), u"*"));
    EXPECT_EQ(EncodedNames(all), made);
    for (const FoundEntry& entry : all) {
        if (IsDotOrDotDot(entry.name)) continue;
        EXPECT_EQ(entry.name, DecodeFileName(*EncodeFileName(entry.name)));
        EXPECT_LT(entry.name.size(), size_t{MAX_PATH});
    }
}

TEST_F(HostileTreeTest, DirectoryDeeperThanAPathCanName) {
    const std::string level(200, 'd');
    std::string relative;
    int fd = open(tree.Root().c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(fd, 0);
    for (int depth = 0; depth < 30; ++depth) {  // about 6,000 bytes, beyond PATH_MAX
        ASSERT_EQ(mkdirat(fd, level.c_str(), 0755), 0);
        const int next = openat(fd, level.c_str(), O_RDONLY | O_DIRECTORY);
        close(fd);
        ASSERT_GE(next, 0);
        fd = next;
        relative += (relative.empty() ? "" : "/") + level;
    }
    const int file = openat(fd, "PlateImage_deep.jpg", O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(file, 0);
    close(file);
    close(fd);
    const std::u16string pattern = PatternOf(tree.Path(relative), u"PlateImage_*.jpg");
    ASSERT_GT(pattern.size(), 4096u);
    const auto found = ListAll(pattern);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].name, u"PlateImage_deep.jpg");
    WIN32_FIND_DATAW data{};
    EXPECT_EQ(FindFirstFileW(PatternOf(tree.Path(relative), u"missing/*").c_str(), &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST_F(HostileTreeTest, EntriesVanishingWhileListedAreLeftOut) {
    tree.MakeDirectory("d");
    for (int i = 0; i < 300; ++i) tree.MakeFile("d/f" + std::to_string(i));
    WIN32_FIND_DATAW data{};
    const HANDLE search = FindFirstFileW(PatternOf(tree.Path("d"), u"f*").c_str(), &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    for (int i = 0; i < 300; ++i) ASSERT_EQ(unlink(tree.Path("d/f" + std::to_string(i)).c_str()), 0);
    int listedAfterRemoval = 0;
    while (FindNextFileW(search, &data) && listedAfterRemoval < 1000) ++listedAfterRemoval;
    EXPECT_EQ(listedAfterRemoval, 0);
    EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
    EXPECT_TRUE(FindClose(search));
}

TEST_F(HostileTreeTest, DirectoryRemovedOrFilledWhileSearched) {
    tree.MakeDirectory("gone");
    tree.MakeDirectory("growing");
    for (int i = 0; i < 2000; ++i) tree.MakeFile("gone/f" + std::to_string(i));
    for (int i = 0; i < 2000; ++i) tree.MakeFile("growing/f" + std::to_string(i));
    WIN32_FIND_DATAW data{};
    const HANDLE gone = FindFirstFileW(PatternOf(tree.Path("gone"), u"*").c_str(), &data);
    const HANDLE growing = FindFirstFileW(PatternOf(tree.Path("growing"), u"*").c_str(), &data);
    ASSERT_NE(gone, INVALID_HANDLE_VALUE);
    ASSERT_NE(growing, INVALID_HANDLE_VALUE);
    ASSERT_EQ(std::system(("rm -rf '" + tree.Path("gone") + "'").c_str()), 0);
    int steps = 0;
    while (FindNextFileW(gone, &data) && steps < 10000) ++steps;
    EXPECT_LT(steps, 10000);
    EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
    int added = 0;
    while (FindNextFileW(growing, &data) && steps < 100000) {
        ++steps;
        if (added < 2000) tree.MakeFile("growing/new" + std::to_string(added++));
    }
    EXPECT_LT(steps, 100000);
    EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
    EXPECT_TRUE(FindClose(gone));
    EXPECT_TRUE(FindClose(growing));
}

// Runs check in a child process as the unprivileged user "nobody" when the tests run as root, whom
// permissions do not stop; otherwise in this process. The check reports failures by its exit status.
int RunWithoutPrivileges(int (*check)(const std::string&), const std::string& root) {
    if (geteuid() != 0) return check(root);
    const pid_t child = fork();
    if (child == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0) _exit(100);
        _exit(check(root));
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) return 101;
    return WEXITSTATUS(status);
}

int CheckUnreadableDirectories(const std::string& root) {
    WIN32_FIND_DATAW data{};
    if (FindFirstFileW(PatternOf(root + "/locked", u"*").c_str(), &data) != INVALID_HANDLE_VALUE) return 1;
    if (GetLastError() != ERROR_ACCESS_DENIED) return 2;
    // Readable but not searchable: names are listed, their details cannot be looked up.
    const auto listed = ListAll(PatternOf(root + "/listonly", u"*"));
    bool sawFile = false, sawDirectory = false;
    for (const FoundEntry& entry : listed) {
        if (entry.name == u"file") sawFile = entry.data.dwFileAttributes == FILE_ATTRIBUTE_ARCHIVE;
        if (entry.name == u"dir") sawDirectory = entry.data.dwFileAttributes == FILE_ATTRIBUTE_DIRECTORY;
        if (entry.name == u"file" && entry.data.ftLastWriteTime.dwHighDateTime != 0) return 3;
    }
    if (!sawFile) return 4;
    if (!sawDirectory) return 5;
    return 0;
}

TEST_F(HostileTreeTest, UnreadableDirectoriesFailWithAccessDenied) {
    ASSERT_EQ(chmod(tree.Root().c_str(), 0755), 0);
    tree.MakeDirectory("locked");
    tree.MakeFile("locked/secret.jpg");
    tree.MakeDirectory("listonly");
    tree.MakeFile("listonly/file");
    tree.MakeDirectory("listonly/dir");
    ASSERT_EQ(chmod(tree.Path("locked").c_str(), 0), 0);
    ASSERT_EQ(chmod(tree.Path("listonly").c_str(), 0444), 0);
    EXPECT_EQ(RunWithoutPrivileges(CheckUnreadableDirectories, tree.Root()), 0);
}

TEST_F(HostileTreeTest, HundredThousandEntriesInOneDirectory) {
    constexpr int kCount = 100000;
    tree.MakeDirectory("big");
    const int fd = open(tree.Path("big").c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(fd, 0);
    char name[64];
    for (int i = 0; i < kCount; ++i) {
        std::snprintf(name, sizeof name, i % 2 ? "PlateImage_%d_blue_20240821101010.jpg" : "other_%d.txt", i);
        const int file = openat(fd, name, O_WRONLY | O_CREAT, 0644);
        ASSERT_GE(file, 0);
        close(file);
    }
    close(fd);
    const auto start = std::chrono::steady_clock::now();
    const auto all = ListAll(PatternOf(tree.Path("big"), u"*"));
    const auto matching = ListAll(PatternOf(tree.Path("big"), u"plateimage_*.JPG"));
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(all.size(), size_t{kCount} + 2);
    EXPECT_EQ(matching.size(), size_t{kCount} / 2);
    std::printf("listed %d entries twice in %.3f s\n", kCount, seconds);
    EXPECT_LT(seconds, 60.0);
}

}  // namespace
