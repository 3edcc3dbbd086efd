#include "runtime/CPoolMem.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

TEST(PoolThreads, ConcurrentAllocAndFreeKeepBlocksDistinct)
{
    CPoolMem& pool = CPoolMem::Process();
    const int64_t before = pool.FreeBlockCount();
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&pool, t] {
            std::vector<unsigned char*> mine;
            for (int round = 0; round < 200; ++round) {
                for (int i = 0; i < 20; ++i) {
                    auto* p = static_cast<unsigned char*>(pool.Alloc(64));
                    p[0] = static_cast<unsigned char>(t);
                    mine.push_back(p);
                }
                for (unsigned char* p : mine) {
                    EXPECT_EQ(p[0], t); // another thread would have overwritten a shared block
                    pool.Free(p);
                }
                mine.clear();
            }
        });
    }
    for (auto& th : threads)
        th.join();
    EXPECT_EQ(pool.FreeBlockCount(), before);
}
