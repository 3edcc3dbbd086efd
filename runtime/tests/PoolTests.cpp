#include "runtime/CPoolMem.h"
#include "runtime/CQrnClassInfo.h"

#include <gtest/gtest.h>

TEST(Pool, SmallRequestsComeFromThePoolLargeOnesFromTheHeap)
{
    CPoolMem& pool = CPoolMem::Process();
    void* exact = pool.Alloc(256);
    void* large = pool.Alloc(257);
    EXPECT_TRUE(pool.Owns(exact));
    EXPECT_FALSE(pool.Owns(large));
    pool.Free(exact);
    pool.Free(large);
    pool.Free(nullptr);
}

TEST(Pool, LastFreedBlockIsHandedOutFirst)
{
    CPoolMem& pool = CPoolMem::Process();
    void* a = pool.Alloc(16);
    void* b = pool.Alloc(16);
    pool.Free(a);
    EXPECT_EQ(pool.Alloc(8), a);
    pool.Free(a);
    pool.Free(b);
}

TEST(Pool, ReallocKeepsSmallBlocksAndMovesLargeOnesToTheHeap)
{
    CPoolMem& pool = CPoolMem::Process();
    auto* p = static_cast<unsigned char*>(pool.Alloc(100));
    for (int i = 0; i < 100; ++i)
        p[i] = static_cast<unsigned char>(i);
    EXPECT_EQ(pool.Realloc(p, 200), p);
    EXPECT_EQ(pool.Realloc(p, 256), p);
    auto* moved = static_cast<unsigned char*>(pool.Realloc(p, 300));
    EXPECT_FALSE(pool.Owns(moved));
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(moved[i], i);
    EXPECT_EQ(pool.Alloc(10), p);
    pool.Free(p);
    pool.Free(moved);
}

TEST(Pool, ExhaustedPoolFallsBackToTheHeap)
{
    CPoolMem& pool = CPoolMem::Process();
    std::vector<void*> taken;
    while (pool.FreeBlockCount() > 0)
        taken.push_back(pool.Alloc(32));
    void* extra = pool.Alloc(32);
    EXPECT_FALSE(pool.Owns(extra));
    pool.Free(taken.back());
    EXPECT_EQ(pool.Alloc(32), taken.back());
    for (void* p : taken)
        pool.Free(p);
    pool.Free(extra);
}

TEST(PoolDeathTest, FailedHeapAllocationEndsWithStatus255)
{
    EXPECT_EXIT(CPoolMem::Process().Alloc(size_t(1) << 62), testing::ExitedWithCode(255), "");
}

TEST(ClassInfo, NameHashAndRecordMatching)
{
    EXPECT_EQ(ClassNameHash("abc"), 3015u);
    EXPECT_EQ(ClassNameHash("CWString"), 6943153u);
    EXPECT_EQ(ClassNameHash("a"), 97u);
    EXPECT_EQ(ClassNameHash("\xC3\xA9"), 2147483257u);
    const CQrnClassInfo a = MakeClassInfo("rg_quarn_app::rg_startup_class", nullptr, nullptr);
    const CQrnClassInfo b = MakeClassInfo("rg_quarn_app::rg_startup_class", nullptr, nullptr);
    CQrnClassInfo forged = MakeClassInfo("rg_quarn_app::rg_startup_clasz", nullptr, nullptr);
    forged.hash = a.hash;
    EXPECT_TRUE(a.Matches(b));
    EXPECT_FALSE(a.Matches(forged));
}
