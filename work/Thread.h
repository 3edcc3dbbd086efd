// rg_XianChengLei_n: the library's thread object. StartThread starts one platform thread that raises
// the ThreadRoutine event (handler(owner, this thread object, user value, threadParam)); the handler's
// result is the thread's exit code. The object and its thread are not tied together: destroying the
// object neither waits for nor ends the thread, and the thread never touches the object after its
// handler has begun (the routine binding is shared with the running thread).
// Thread safety: ThreadRoutine() may be bound on any thread, also while a thread starts; StartThread
// and the field accessors belong to one starting thread at a time; LastThread() from any thread.
#pragma once

#include "runtime/CQrnObject.h"
#include "runtime/EventBinding.h"
#include "work/PlatformThread.h"

#include <cstdint>
#include <memory>

namespace rg_quarn_Tolvar {

class rg_XianChengLei_n : public CQrnObject {
    QRN_DECLARE_CLASS(rg_XianChengLei_n)
public:
    using RoutineBinding = EventBinding<int64_t>;

    rg_XianChengLei_n();
    // Copies the three fields; the copy's routine binding starts unbound.
    rg_XianChengLei_n(const rg_XianChengLei_n& other);
    rg_XianChengLei_n& operator=(const rg_XianChengLei_n& other);
    ~rg_XianChengLei_n() override;

    bool IsEqual(const CQrnObject& other) const override;
    bool CopyFrom(const CQrnObject& source) override;
    void Reset() override;
    // threadId (4 bytes), threadParam (8), threadHandle (8), little-endian.
    void SaveToStream(CQrnStream& stream) const override;
    void LoadFromStream(CQrnStream& stream) override;

    // Stores param and starts a thread at once. A handle stored earlier is simply overwritten; no
    // guard against a second start while a thread still runs. When the system refuses a thread, the
    // id and handle become 0 and no routine runs.
    void StartThread(int64_t param);

    RoutineBinding& ThreadRoutine() noexcept { return routine_->binding; }

    uint32_t GetThreadId() const noexcept { return threadId_; }
    int64_t GetThreadParam() const noexcept { return threadParam_; }
    uint64_t GetThreadHandle() const noexcept { return threadHandle_; }
    // The thread this object started last (to wait for it or read its exit code); null before the
    // first start, after a refused start, and in copies.
    std::shared_ptr<PlatformThread> LastThread() const noexcept { return thread_; }

private:
    struct Routine {
        RoutineBinding binding;
    };

    uint32_t threadId_ = 0;
    int64_t threadParam_ = 0;
    uint64_t threadHandle_ = 0;
    std::shared_ptr<Routine> routine_;
    std::shared_ptr<PlatformThread> thread_;
};

} // namespace rg_quarn_Tolvar
