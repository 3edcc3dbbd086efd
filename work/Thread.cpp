#include "work/Thread.h"

#include "work/StreamWords.h"

namespace rg_quarn_Tolvar {

QRN_IMPLEMENT_CLASS(rg_XianChengLei_n, CQrnObject, "rg_quarn_Tolvar::rg_XianChengLei_n")

rg_XianChengLei_n::rg_XianChengLei_n() : routine_(std::make_shared<Routine>()) {}

rg_XianChengLei_n::rg_XianChengLei_n(const rg_XianChengLei_n& other)
    : CQrnObject(other),
      threadId_(other.threadId_),
      threadParam_(other.threadParam_),
      threadHandle_(other.threadHandle_),
      routine_(std::make_shared<Routine>())
{
}

rg_XianChengLei_n& rg_XianChengLei_n::operator=(const rg_XianChengLei_n& other)
{
    if (this != &other) {
        CopyHeader(other);
        threadId_ = other.threadId_;
        threadParam_ = other.threadParam_;
        threadHandle_ = other.threadHandle_;
    }
    return *this;
}

rg_XianChengLei_n::~rg_XianChengLei_n()
{
    threadId_ = 0;
    threadParam_ = 0;
    threadHandle_ = 0;
    // A thread that has not read the binding yet then finds it unbound and ends with 0.
    routine_->binding.Bind(nullptr, nullptr, 0);
}

bool rg_XianChengLei_n::IsEqual(const CQrnObject& other) const
{
    if (!CQrnObject::IsEqual(other))
        return false;
    const auto& o = static_cast<const rg_XianChengLei_n&>(other);
    return threadId_ == o.threadId_ && threadParam_ == o.threadParam_ && threadHandle_ == o.threadHandle_;
}

bool rg_XianChengLei_n::CopyFrom(const CQrnObject& source)
{
    if (!BeginCopyFrom(source))
        return false;
    *this = static_cast<const rg_XianChengLei_n&>(source);
    return true;
}

void rg_XianChengLei_n::Reset()
{
    CQrnObject::Reset();
    threadId_ = 0;
    threadParam_ = 0;
    threadHandle_ = 0;
}

void rg_XianChengLei_n::SaveToStream(CQrnStream& stream) const
{
    WriteWord32(stream, threadId_);
    WriteWord64(stream, static_cast<uint64_t>(threadParam_));
    WriteWord64(stream, threadHandle_);
}

void rg_XianChengLei_n::LoadFromStream(CQrnStream& stream)
{
    uint64_t param = 0;
    if (!ReadWord32(stream, threadId_) || !ReadWord64(stream, param))
        return;
    threadParam_ = static_cast<int64_t>(param);
    ReadWord64(stream, threadHandle_);
}

void rg_XianChengLei_n::StartThread(int64_t param)
{
    threadParam_ = param;
    const bool nullObject = IsNullObject();
    std::shared_ptr<Routine> routine = routine_;
    CQrnObject* sender = this;
    thread_ = PlatformThread::Start([routine, sender, param, nullObject]() -> int32_t {
        if (nullObject)
            return 0;
        return routine->binding.Raise(sender, param);
    });
    threadId_ = thread_ ? thread_->Id() : 0;
    threadHandle_ = thread_ ? thread_->Handle() : 0;
}

} // namespace rg_quarn_Tolvar
