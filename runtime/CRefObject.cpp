#include "runtime/CRefObject.h"

#include <cstring>

const CQrnClassInfo& CRefObject::StaticClassInfo()
{
    static const CQrnClassInfo info = MakeClassInfo("CRefObject", nullptr, nullptr);
    return info;
}

bool CRefObject::IsKindOf(const CQrnClassInfo& info) const
{
    const CQrnClassInfo& own = StaticClassInfo();
    return own.hash == info.hash && own.nameLength == info.nameLength
        && std::memcmp(own.name, info.name, static_cast<size_t>(own.nameLength)) == 0;
}

int CRefObject::Release()
{
    if (refCount_.fetch_sub(1, std::memory_order_acq_rel) != 1)
        return 0;
    OnFinalRelease();
    delete this;
    return 1;
}

QRN_IMPLEMENT_CLASS(CQrnRefObject, CQrnObject, "CQrnRefObject")

CQrnRefObject::CQrnRefObject(const CQrnRefObject& other) : CQrnObject(other), holder_(other.holder_)
{
    if (holder_)
        holder_->AddRef();
}

CQrnRefObject& CQrnRefObject::operator=(const CQrnRefObject& other)
{
    CopyHeader(other);
    ShareHolder(other.holder_);
    return *this;
}

CQrnRefObject::~CQrnRefObject()
{
    if (holder_)
        holder_->Release();
}

void CQrnRefObject::ShareHolder(CRefObject* holder) noexcept
{
    if (holder)
        holder->AddRef();
    ReplaceHolder(holder);
}

void CQrnRefObject::ReplaceHolder(CRefObject* adopted) noexcept
{
    CRefObject* old = holder_;
    holder_ = adopted;
    if (old)
        old->Release();
}

bool CQrnRefObject::IsEqual(const CQrnObject& other) const
{
    return CQrnObject::IsEqual(other) && static_cast<const CQrnRefObject&>(other).holder_ == holder_;
}

bool CQrnRefObject::CopyFrom(const CQrnObject& source)
{
    if (!BeginCopyFrom(source))
        return false;
    CopyHeader(source);
    ShareHolder(static_cast<const CQrnRefObject&>(source).holder_);
    return true;
}

void CQrnRefObject::Reset()
{
    OnBeforeAssign();
    ClearHeader();
    ReplaceHolder(nullptr);
}
