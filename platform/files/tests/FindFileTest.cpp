#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <map>

#include "TempTree.h"
#include "platform/files/FileNameCodec.h"

namespace {

std::map<std::u16string, WIN32_FIND_DATAW> ByName(const std::vector<FoundEntry>& entries) {
    std::map<std::u16string, WIN32_FIND_DATAW> byName;
    for (const FoundEntry& entry : entries) byName.emplace(entry.name, entry.data);
    return byName;
}

std::vector<std::u16string> SortedNames(const std::vector<FoundEntry>& entries) {
    std::vector<std::u16string> names;
    for (const FoundEntry& entry : entries) names.push_back(entry.name);
    std::sort(names.begin(), names.end());
    return names;
}

uint64_t Ticks(const FILETIME& time) { return (uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime; }

class FindFileTest : public ::testing::Test {
protected:
    TempTree tree;
    std::u16string Pattern(const std::u16string& last) const { return PatternOf(tree.Root(), last); }
};

TEST_F(FindFileTest, AttributesOfFilesDirectoriesHiddenEntriesAndLinks) {
    tree.MakeFile("plain.txt", "hello");
    tree.MakeFile(".hidden.jpg");
    tree.MakeFile("readonly.txt");
    chmod(tree.Path("readonly.txt").c_str(), 0444);
    tree.MakeDirectory("sub");
    tree.MakeDirectory(".hiddendir");
    tree.MakeLink("sub", "linkToDir");
    tree.MakeLink("plain.txt", "linkToFile");
    tree.MakeLink("nowhere", "dangling");
    const auto found = ByName(ListAll(Pattern(u"*")));
    ASSERT_EQ(found.size(), 10u);
    const std::pair<std::u16string, DWORD> expected[] = {
        {u".", FILE_ATTRIBUTE_DIRECTORY},
        {u"..", FILE_ATTRIBUTE_DIRECTORY},
        {u"plain.txt", FILE_ATTRIBUTE_ARCHIVE},
        {u".hidden.jpg", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN},
        {u"readonly.txt", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY},
        {u"sub", FILE_ATTRIBUTE_DIRECTORY},
        {u".hiddendir", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN},
        {u"linkToDir", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT},
        {u"linkToFile", FILE_ATTRIBUTE_REPARSE_POINT},
        {u"dangling", FILE_ATTRIBUTE_REPARSE_POINT},
    };
    for (const auto& [name, attributes] : expected) {
        ASSERT_TRUE(found.count(name)) << FileNameToDisplayUtf8(name);
        EXPECT_EQ(found.at(name).dwFileAttributes, attributes) << FileNameToDisplayUtf8(name);
    }
    EXPECT_EQ(found.at(u"plain.txt").nFileSizeLow, 5u);
    EXPECT_EQ(found.at(u"linkToFile").nFileSizeLow, 0u);
    EXPECT_EQ(found.at(u"linkToDir").dwReserved0, IO_REPARSE_TAG_SYMLINK);
    EXPECT_EQ(found.at(u"plain.txt").cAlternateFileName[0], u'\0');
}

TEST_F(FindFileTest, TimesAreFileTimesAndSizesSplitInHalves) {
    tree.MakeFile("big.bin");
    ASSERT_EQ(truncate(tree.Path("big.bin").c_str(), (int64_t{5} << 30) + 7), 0);  // sparse, costs no space
    // 2024-08-21 10:00:00.1234567 UTC, read back to the 100-nanosecond tick.
    const timespec times[2] = {{1724234400, 123456700}, {1724234400, 123456700}};
    ASSERT_EQ(utimensat(AT_FDCWD, tree.Path("big.bin").c_str(), times, 0), 0);
    const auto found = ListAll(Pattern(u"big.bin"));
    ASSERT_EQ(found.size(), 1u);
    const WIN32_FIND_DATAW& data = found[0].data;
    EXPECT_EQ(data.nFileSizeHigh, 1u);
    EXPECT_EQ(data.nFileSizeLow, (1u << 30) + 7);
    const uint64_t expected = 1724234400ull * 10000000 + 1234567 + 116444736000000000ull;
    EXPECT_EQ(Ticks(data.ftLastWriteTime), expected);
    EXPECT_EQ(Ticks(data.ftLastAccessTime), expected);
    EXPECT_GT(Ticks(data.ftCreationTime), 116444736000000000ull);
}

TEST_F(FindFileTest, PatternSelectsEntriesIgnoringAsciiCase) {
    for (const char* name : {"A.JPG", "b.jpg", "c.jpeg", "PlateImage_1.jpg", "plateimage_2.JPG", "PlateImage.jpg", "x.jpg.txt"}) {
        tree.MakeFile(name);
    }
    EXPECT_EQ(SortedNames(ListAll(Pattern(u"*.jpg"))),
              (std::vector<std::u16string>{u"A.JPG", u"PlateImage.jpg", u"PlateImage_1.jpg", u"b.jpg", u"plateimage_2.JPG"}));
    EXPECT_EQ(SortedNames(ListAll(Pattern(u"PlateImage_*.jpg"))),
              (std::vector<std::u16string>{u"PlateImage_1.jpg", u"plateimage_2.JPG"}));
    EXPECT_EQ(SortedNames(ListAll(Pattern(u"?.jpg"))), (std::vector<std::u16string>{u"A.JPG", u"b.jpg"}));
    EXPECT_EQ(ListAll(Pattern(u"*.*")).size(), 9u);  // with "." and ".."
    WIN32_FIND_DATAW data{};
    const HANDLE exact = FindFirstFileExW(Pattern(u"*.jpg").c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                          nullptr, FIND_FIRST_EX_CASE_SENSITIVE);
    ASSERT_NE(exact, INVALID_HANDLE_VALUE);
    std::vector<std::u16string> names{data.cFileName};
    while (FindNextFileW(exact, &data)) names.emplace_back(data.cFileName);
    FindClose(exact);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::u16string>{u"PlateImage.jpg", u"PlateImage_1.jpg", u"b.jpg"}));
}

TEST_F(FindFileTest, LimitToDirectoriesLeavesOutEverythingElse) {
    tree.MakeFile("file");
    tree.MakeDirectory("dir");
    tree.MakeLink("dir", "dirLink");
    tree.MakeLink("file", "fileLink");
    WIN32_FIND_DATAW data{};
    const HANDLE search = FindFirstFileExW(Pattern(u"*").c_str(), FindExInfoStandard, &data,
                                           FindExSearchLimitToDirectories, nullptr, 0);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    std::vector<std::u16string> names{data.cFileName};
    while (FindNextFileW(search, &data)) names.emplace_back(data.cFileName);
    FindClose(search);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::u16string>{u".", u"..", u"dir", u"dirLink"}));
}

TEST_F(FindFileTest, ListingOnlyGivesTheSameNamesAndKindsWithoutTimes) {
    tree.MakeFile("file.jpg", "data");
    tree.MakeFile(".hidden");
    tree.MakeDirectory("dir");
    tree.MakeLink("dir", "dirLink");
    tree.MakeLink("file.jpg", "fileLink");
    const auto full = ByName(ListAll(Pattern(u"*")));
    WIN32_FIND_DATAW data{};
    const HANDLE search = FindFirstFileExW(Pattern(u"*").c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                           nullptr, TABRIX_FIND_LISTING_ONLY);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    std::map<std::u16string, WIN32_FIND_DATAW> quick;
    do quick.emplace(data.cFileName, data);
    while (FindNextFileW(search, &data));
    FindClose(search);
    ASSERT_EQ(quick.size(), full.size());
    for (const auto& [name, entry] : full) {
        ASSERT_TRUE(quick.count(name));
        EXPECT_EQ(quick.at(name).dwFileAttributes, entry.dwFileAttributes) << FileNameToDisplayUtf8(name);
    }
    EXPECT_EQ(quick.at(u"file.jpg").nFileSizeLow, 0u);
    EXPECT_EQ(Ticks(quick.at(u"file.jpg").ftLastWriteTime), 0u);
}

TEST_F(FindFileTest, FailuresSetTheLastError) {
    tree.MakeFile("file.txt");
    tree.MakeDirectory("empty");
    WIN32_FIND_DATAW data{};
    const std::pair<std::u16string, DWORD> cases[] = {
        {Pattern(u"missing/*"), ERROR_PATH_NOT_FOUND},
        {Pattern(u"missing/deeper/*.jpg"), ERROR_PATH_NOT_FOUND},
        {Pattern(u"file.txt/*"), ERROR_PATH_NOT_FOUND},
        {Pattern(u"*.jpg"), ERROR_FILE_NOT_FOUND},
        {Pattern(u"empty/PlateImage_*.jpg"), ERROR_FILE_NOT_FOUND},
        {Pattern(u"empty/"), ERROR_FILE_NOT_FOUND},
        {u"", ERROR_PATH_NOT_FOUND},
        {Pattern(u"") + char16_t{0xD800} + u"/*", ERROR_INVALID_NAME},
    };
    for (const auto& [pattern, error] : cases) {
        SetLastError(0);
        EXPECT_EQ(FindFirstFileW(pattern.c_str(), &data), INVALID_HANDLE_VALUE) << FileNameToDisplayUtf8(pattern);
        EXPECT_EQ(GetLastError(), error) << FileNameToDisplayUtf8(pattern);
    }
    EXPECT_EQ(FindFirstFileW(nullptr, &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(FindFirstFileW(Pattern(u"*").c_str(), nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(FindFirstFileExW(Pattern(u"*").c_str(), FindExInfoStandard, &data, FINDEX_SEARCH_OPS(2), nullptr, 0),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST_F(FindFileTest, EndOfSearchAndHandleMisuse) {
    tree.MakeFile("only.jpg");
    WIN32_FIND_DATAW data{};
    const HANDLE search = FindFirstFileW(Pattern(u"*.jpg").c_str(), &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_EQ(std::u16string(data.cFileName), u"only.jpg");
    for (int again = 0; again < 2; ++again) {
        EXPECT_FALSE(FindNextFileW(search, &data));
        EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
    }
    EXPECT_TRUE(FindClose(search));
    EXPECT_FALSE(FindClose(search));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(FindNextFileW(search, &data));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(FindClose(INVALID_HANDLE_VALUE));
    EXPECT_FALSE(FindNextFileW(nullptr, &data));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST_F(FindFileTest, PathsRelativeToTheCurrentDirectoryAndTheRoot) {
    tree.MakeFile("here.jpg");
    tree.MakeDirectory("sub");
    tree.MakeFile("sub/there.jpg");
    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(chdir(tree.Root().c_str()), 0);
    const auto here = ListAll(u"*.jpg");
    const auto there = ListAll(u"sub/*.jpg");
    const auto dotted = ListAll(u"./sub/../*.jpg");
    ASSERT_EQ(chdir(previous), 0);
    ASSERT_EQ(here.size(), 1u);
    EXPECT_EQ(here[0].name, u"here.jpg");
    ASSERT_EQ(there.size(), 1u);
    EXPECT_EQ(there[0].name, u"there.jpg");
    EXPECT_EQ(dotted.size(), 1u);
    EXPECT_FALSE(ByName(ListAll(u"/*")).empty());
}

}  // namespace
