#include "runtime/EventBinding.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

struct Owner : CQrnObject {
    Owner() : guard(new CQrnEventObjectPointer(this)) {}
    ~Owner() override { guard->BeginOwnerTeardown(); }
    CQrnEventObjectPointer* guard;
    int calls = 0;
};

int32_t AddArgument(CQrnObject* owner, CQrnObject*, uint32_t userValue, int32_t argument)
{
    ++static_cast<Owner*>(owner)->calls;
    return static_cast<int32_t>(userValue) + argument;
}

int32_t ReturnSeven(CQrnObject*, CQrnObject*, uint32_t, int32_t) { return 7; }

} // namespace

TEST(EventBinding, UnboundRaisesNothingBoundPassesUserValueAndArguments)
{
    EventBinding<int32_t> binding;
    Owner owner;
    EXPECT_EQ(binding.Raise(nullptr, 5), 0);
    binding.Bind(&AddArgument, owner.guard, 100);
    EXPECT_TRUE(binding.IsBound());
    EXPECT_EQ(binding.Raise(nullptr, 5), 105);
    EXPECT_EQ(owner.calls, 1);
}

TEST(EventBinding, RebindingKeepsOneGuardReferenceAndUnbindingDropsIt)
{
    Owner owner;
    const int64_t base = owner.guard->RefCount();
    {
        EventBinding<int32_t> binding;
        binding.Bind(&AddArgument, owner.guard, 1);
        binding.Bind(&ReturnSeven, owner.guard, 2);
        EXPECT_EQ(owner.guard->RefCount(), base + 1);
        EXPECT_EQ(binding.Raise(nullptr, 0), 7);
        binding.Bind(&AddArgument, nullptr, 3);
        EXPECT_FALSE(binding.IsBound());
        EXPECT_EQ(owner.guard->RefCount(), base);
        EXPECT_EQ(binding.Raise(nullptr, 0), 0);
        binding.Bind(&AddArgument, owner.guard, 4);
    }
    // The destroyed binding gave its reference back.
    EXPECT_EQ(owner.guard->RefCount(), base);
}

TEST(EventBinding, OwnerGoneMeansNoCallAndTheGuardOutlivesTheOwner)
{
    EventBinding<int32_t> binding;
    auto* owner = new Owner;
    binding.Bind(&AddArgument, owner->guard, 1);
    delete owner;
    EXPECT_EQ(binding.Raise(nullptr, 1), 0);
}

TEST(EventBinding, RaisesAndRebindsFromManyThreadsAtOnce)
{
    Owner first;
    Owner second;
    EventBinding<int32_t> binding;
    binding.Bind(&ReturnSeven, first.guard, 0);
    std::atomic<int> sevens{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 2000; ++i) {
                if (t == 0)
                    binding.Bind(&ReturnSeven, (i & 1) ? first.guard : second.guard, 0);
                else if (binding.Raise(nullptr, 0) == 7)
                    ++sevens;
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(sevens.load(), 3 * 2000);
}
