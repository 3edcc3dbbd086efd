// The guard between an object that raises events (its owner) and everything that may deliver an
// event to it later. Dispatchers on any thread call Deliver(); the owner calls BeginOwnerTeardown()
// first thing in its destructor: it waits for deliveries running on other threads (not for one on its
// own thread, such as a handler that destroys its owner), and afterwards no handler is called. No lock
// of the guard is held while a handler runs, so handlers may rebind events or destroy their owner.
#pragma once

#include "runtime/CRefObject.h"

#include <condition_variable>
#include <mutex>

class CQrnEventObjectPointer final : public CRefObject {
public:
    // The owner holds the first reference; each binding that may call back takes one of its own.
    explicit CQrnEventObjectPointer(CQrnObject* owner) noexcept : owner_(owner) {}

    static const CQrnClassInfo& StaticClassInfo();
    const CQrnClassInfo* GetClassInfo() const override { return &StaticClassInfo(); }

    // Calls handler(owner) unless the owner is gone or going; returns its result, else 0.
    template <class Handler>
    int32_t Deliver(Handler&& handler);

    // Waits for deliveries on other threads, makes every later delivery a no-op, and drops the
    // owner's reference. Call once, from the owner's destructor.
    void BeginOwnerTeardown();

    CQrnObject* Owner() const;
    int64_t ActiveCount() const;

private:
    // Steps 1 to 4 of a delivery: returns the owner when the handler may run, else null.
    CQrnObject* Enter();
    void Leave();
    int64_t ActiveOnCallingThread() const;

    mutable std::recursive_mutex stateLock_;
    // busyLock: held from the start of the first running delivery to the end of the last one, and
    // for good once teardown has begun. Its state is guarded by stateLock_, so whichever thread ends
    // the last delivery can give it back.
    bool busyHeld_ = false;
    bool busyForGood_ = false;
    bool teardownPending_ = false;
    std::condition_variable_any busyReleased_;
    int64_t activeCount_ = 0;
    CQrnObject* owner_;
};

template <class Handler>
int32_t CQrnEventObjectPointer::Deliver(Handler&& handler)
{
    AddRef();
    CQrnObject* owner = Enter();
    if (!owner) {
        Release();
        return 0;
    }
    struct LeaveOnExit {
        CQrnEventObjectPointer* guard;
        ~LeaveOnExit() { guard->Leave(); guard->Release(); }
    } leave{this};
    return handler(owner);
}
