// The record behind every event of every object: a handler, the owner's guard and a user value,
// behind a spin lock. Bind() and Raise() may be called from any thread; Raise() calls the handler
// with no lock held, through the guard's delivery protocol, so the owner's destruction waits for it.
#pragma once

#include "runtime/CQrnEventObjectPointer.h"

#include <atomic>
#include <cstdint>

class CQrnObject;

// The spin lock word of a binding: 1 = free, 0 = held.
class BindingSpinLock {
public:
    void Lock() noexcept;
    void Unlock() noexcept { word_.store(1, std::memory_order_release); }

private:
    std::atomic<int64_t> word_{1};
};

// Args are the event's own arguments after (owner, sender, user value).
template <class... Args>
class EventBinding {
public:
    using Handler = int32_t (*)(CQrnObject* owner, CQrnObject* sender, uint32_t userValue, Args...);

    EventBinding() = default;
    EventBinding(const EventBinding&) = delete;
    EventBinding& operator=(const EventBinding&) = delete;
    ~EventBinding() { Bind(nullptr, nullptr, 0); }

    // With a guard: stores handler and user value and takes a reference to the guard if it is a new
    // one. Without a guard: unbinds (user value still stored). A replaced guard is released after the
    // lock is given back.
    void Bind(Handler handler, CQrnEventObjectPointer* guard, uint32_t userValue)
    {
        CQrnEventObjectPointer* released = nullptr;
        lock_.Lock();
        userValue_ = userValue;
        if (guard) {
            handler_ = handler;
            if (guard != guard_) {
                guard->AddRef();
                released = guard_;
                guard_ = guard;
            }
        } else {
            handler_ = nullptr;
            released = guard_;
            guard_ = nullptr;
        }
        lock_.Unlock();
        if (released)
            released->Release();
    }

    // The handler's result, or 0 when the event is unbound, has no handler or its owner is gone.
    int32_t Raise(CQrnObject* sender, Args... args)
    {
        lock_.Lock();
        Handler handler = handler_;
        uint32_t userValue = userValue_;
        CQrnEventObjectPointer* guard = guard_;
        if (guard)
            guard->AddRef();
        lock_.Unlock();
        if (!guard)
            return 0;
        int32_t result = 0;
        if (handler) {
            result = guard->Deliver([&](CQrnObject* owner) {
                return handler(owner, sender, userValue, args...);
            });
        }
        guard->Release();
        return result;
    }

    bool IsBound() const noexcept
    {
        lock_.Lock();
        bool bound = guard_ != nullptr;
        lock_.Unlock();
        return bound;
    }

private:
    mutable BindingSpinLock lock_;
    Handler handler_ = nullptr;
    CQrnEventObjectPointer* guard_ = nullptr;
    uint32_t userValue_ = 0;
};
