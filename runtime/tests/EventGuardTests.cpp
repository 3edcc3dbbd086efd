#include "runtime/CQrnEventObjectPointer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

struct Owner : CQrnObject {
    Owner() : guard(new CQrnEventObjectPointer(this)) {}
    ~Owner() override { guard->BeginOwnerTeardown(); }
    CQrnEventObjectPointer* guard;
};

} // namespace

TEST(EventGuard, TeardownWaitsForADeliveryOnAnotherThread)
{
    auto* owner = new Owner();
    CQrnEventObjectPointer* guard = owner->guard;
    guard->AddRef(); // the binding's reference
    std::atomic<bool> inHandler{false}, handlerDone{false};
    std::thread worker([&] {
        guard->Deliver([&](CQrnObject*) {
            inHandler = true;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            handlerDone = true;
            return 7;
        });
    });
    while (!inHandler)
        std::this_thread::yield();
    delete owner;
    EXPECT_TRUE(handlerDone);
    worker.join();
    int calls = 0;
    EXPECT_EQ(guard->Deliver([&](CQrnObject*) { ++calls; return 1; }), 0);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(guard->Release(), 1);
}

TEST(EventGuard, HandlerMayDestroyItsOwner)
{
    auto* owner = new Owner();
    CQrnEventObjectPointer* guard = owner->guard;
    guard->AddRef();
    const int32_t result = guard->Deliver([&](CQrnObject* o) {
        delete o; // teardown on the delivering thread must not wait for itself
        return 5;
    });
    EXPECT_EQ(result, 5);
    EXPECT_EQ(guard->Deliver([](CQrnObject*) { return 1; }), 0);
    EXPECT_EQ(guard->Release(), 1);
}

TEST(EventGuard, ConcurrentDeliveriesAllRunAndBalance)
{
    auto* owner = new Owner();
    CQrnEventObjectPointer* guard = owner->guard;
    std::atomic<int> calls{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        guard->AddRef();
        threads.emplace_back([&] {
            for (int i = 0; i < 2000; ++i)
                guard->Deliver([&](CQrnObject* o) { EXPECT_EQ(o, owner); ++calls; return 0; });
            guard->Release();
        });
    }
    for (auto& t : threads)
        t.join();
    EXPECT_EQ(calls, 8000);
    EXPECT_EQ(guard->ActiveCount(), 0);
    delete owner;
}
