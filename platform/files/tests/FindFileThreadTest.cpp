#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "TempTree.h"
#include "platform/files/SearchHandleTable.h"

namespace {

TEST(FindFileThreads, SearchesOnManyThreadsAtOnce) {
    TempTree tree;
    for (int i = 0; i < 300; ++i) tree.MakeFile("PlateImage_" + std::to_string(i) + ".jpg");
    for (int i = 0; i < 100; ++i) tree.MakeFile("other" + std::to_string(i));
    const std::u16string pattern = PatternOf(tree.Root(), u"PlateImage_*.jpg");
    const size_t openBefore = SearchHandleTable::Instance().OpenCount();
    std::atomic<int> wrongCounts{0};
    std::atomic<bool> stop{false};
    std::vector<std::thread> searchers;
    for (int t = 0; t < 4; ++t) {
        searchers.emplace_back([&] {
            for (int round = 0; round < 40; ++round) {
                if (ListAll(pattern).size() != 300) ++wrongCounts;
            }
        });
    }
    // A thread handing out made-up and stale handles must neither disturb the searches nor crash.
    std::thread meddler([&] {
        WIN32_FIND_DATAW data{};
        for (uintptr_t value = 1; !stop && value < 2000000; ++value) {
            FindNextFileW(reinterpret_cast<HANDLE>(value * 7919), &data);
            FindClose(reinterpret_cast<HANDLE>(value * 104729));
        }
    });
    for (std::thread& searcher : searchers) searcher.join();
    stop = true;
    meddler.join();
    EXPECT_EQ(wrongCounts, 0);
    EXPECT_EQ(SearchHandleTable::Instance().OpenCount(), openBefore);
}

TEST(FindFileThreads, HandleOpenedOnOneThreadIsUsedAndClosedOnAnother) {
    TempTree tree;
    for (int i = 0; i < 50; ++i) tree.MakeFile("f" + std::to_string(i));
    WIN32_FIND_DATAW data{};
    const HANDLE search = FindFirstFileW(PatternOf(tree.Root(), u"f*").c_str(), &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    int count = 1;
    DWORD endError = 0;
    BOOL closed = FALSE;
    std::thread other([&] {
        WIN32_FIND_DATAW more{};
        while (FindNextFileW(search, &more)) ++count;
        endError = GetLastError();
        closed = FindClose(search);
    });
    other.join();
    EXPECT_EQ(count, 50);
    EXPECT_EQ(endError, ERROR_NO_MORE_FILES);
    EXPECT_TRUE(closed);
}

}  // namespace
