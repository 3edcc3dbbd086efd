#include "runtime/CQrnEventObjectPointer.h"

#include <algorithm>
#include <vector>

namespace {
// The guards whose deliveries are running on this thread, innermost last.
thread_local std::vector<const CQrnEventObjectPointer*> t_runningDeliveries;
} // namespace

const CQrnClassInfo& CQrnEventObjectPointer::StaticClassInfo()
{
    static const CQrnClassInfo info = MakeClassInfo("CQrnEventObjectPointer", nullptr, &CRefObject::StaticClassInfo());
    return info;
}

CQrnObject* CQrnEventObjectPointer::Enter()
{
    std::lock_guard lock(stateLock_);
    if (teardownPending_)
        return nullptr;
    if (activeCount_ == 0) {
        if (busyHeld_)
            return nullptr;
        busyHeld_ = true;
    }
    if (!owner_) {
        // Teardown has finished; the busy lock stays taken for good.
        return nullptr;
    }
    ++activeCount_;
    t_runningDeliveries.push_back(this);
    return owner_;
}

void CQrnEventObjectPointer::Leave()
{
    std::lock_guard lock(stateLock_);
    auto it = std::find(t_runningDeliveries.rbegin(), t_runningDeliveries.rend(), this);
    if (it != t_runningDeliveries.rend())
        t_runningDeliveries.erase(std::next(it).base());
    if (--activeCount_ == 0) {
        if (!busyForGood_)
            busyHeld_ = false;
        busyReleased_.notify_all();
    }
}

int64_t CQrnEventObjectPointer::ActiveOnCallingThread() const
{
    return std::count(t_runningDeliveries.begin(), t_runningDeliveries.end(), this);
}

void CQrnEventObjectPointer::BeginOwnerTeardown()
{
    {
        std::unique_lock lock(stateLock_);
        teardownPending_ = true;
        busyReleased_.wait(lock, [this] { return !busyHeld_ || activeCount_ == ActiveOnCallingThread(); });
        busyHeld_ = true;
        busyForGood_ = true;
        owner_ = nullptr;
    }
    Release();
}

CQrnObject* CQrnEventObjectPointer::Owner() const
{
    std::lock_guard lock(stateLock_);
    return owner_;
}

int64_t CQrnEventObjectPointer::ActiveCount() const
{
    std::lock_guard lock(stateLock_);
    return activeCount_;
}
