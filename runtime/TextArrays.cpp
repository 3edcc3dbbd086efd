#include "runtime/TextArrays.h"

#include "runtime/CQrnStream.h"
#include "runtime/CWString.h"

#include <cassert>

namespace rg_quarn_base {

QRN_IMPLEMENT_CLASS(rg_WenBenShuZuLei, rg_KuoZhanDuiXiangLei, "rg_quarn_base::rg_WenBenShuZuLei")
QRN_IMPLEMENT_CLASS(rg_WenBenPaiXuShuZuLei, rg_KuoZhanDuiXiangLei, "rg_quarn_base::rg_WenBenPaiXuShuZuLei")
QRN_IMPLEMENT_CLASS(rg_WenBenDuYouShuZuLei, rg_WenBenPaiXuShuZuLei, "rg_quarn_base::rg_WenBenDuYouShuZuLei")

// ---- rg_WenBenShuZuLei ----

rg_WenBenShuZuLei& rg_WenBenShuZuLei::operator=(const rg_WenBenShuZuLei& other)
{
    if (this != &other) {
        CopyHeader(other);
        strings_ = other.strings_;
    }
    return *this;
}

bool rg_WenBenShuZuLei::IsEqual(const CQrnObject& other) const
{
    if (!CQrnObject::IsEqual(other))
        return false;
    return strings_.HasSameTexts(static_cast<const rg_WenBenShuZuLei&>(other).strings_);
}

bool rg_WenBenShuZuLei::CopyFrom(const CQrnObject& source)
{
    if (!BeginCopyFrom(source))
        return false;
    *this = static_cast<const rg_WenBenShuZuLei&>(source);
    return true;
}

void rg_WenBenShuZuLei::Reset()
{
    OnBeforeAssign();
    ClearHeader();
    strings_.RemoveAll();
}

void rg_WenBenShuZuLei::GetDumpText(CWString& text, int32_t memberLimit) const
{
    strings_.GetDumpText(text, memberLimit);
}

void rg_WenBenShuZuLei::LoadFromStream(CQrnStream& stream) { strings_.LoadFromStream(stream); }

void rg_WenBenShuZuLei::SaveToStream(CQrnStream& stream) const { strings_.SaveToStream(stream); }

// ---- rg_WenBenPaiXuShuZuLei ----

namespace {

std::unique_ptr<CMStringSortArray> MakeSorted() { return std::make_unique<CMStringSortArray>(); }
std::unique_ptr<CMStringSortArray> MakeUnique() { return std::make_unique<CUniqueStringArray>(); }

} // namespace

CMStringSortArray* rg_WenBenPaiXuShuZuLei::InnerOr(std::unique_ptr<CMStringSortArray> (*make)())
{
    if (!inner_)
        inner_ = make();
    return inner_.get();
}

CMStringSortArray* rg_WenBenPaiXuShuZuLei::GetInnerArray() { return InnerOr(MakeSorted); }

rg_WenBenPaiXuShuZuLei::rg_WenBenPaiXuShuZuLei(const rg_WenBenPaiXuShuZuLei& other) : rg_KuoZhanDuiXiangLei(other)
{
    AssignElements(other);
}

rg_WenBenPaiXuShuZuLei& rg_WenBenPaiXuShuZuLei::operator=(const rg_WenBenPaiXuShuZuLei& other)
{
    if (this != &other) {
        CopyHeader(other);
        AssignElements(other);
    }
    return *this;
}

void rg_WenBenPaiXuShuZuLei::AssignElements(const rg_WenBenPaiXuShuZuLei& source)
{
    if (&source == this)
        return;
    if (source.GetCount() == 0) {
        inner_.reset();
        return;
    }
    CMStringArray& own = GetInnerArray()->Strings();
    own.RemoveAll();
    own.AppendCopies(source.inner_->Strings());
}

const char16_t* rg_WenBenPaiXuShuZuLei::GetAt(int64_t index) const noexcept
{
    assert(inner_ != nullptr);
    return inner_ ? inner_->Strings().GetAt(index) : nullptr;
}

void rg_WenBenPaiXuShuZuLei::RemoveAll()
{
    if (inner_)
        inner_->Strings().RemoveAll();
}

bool rg_WenBenPaiXuShuZuLei::IsEqual(const CQrnObject& other) const
{
    if (!CQrnObject::IsEqual(other))
        return false;
    const auto& o = static_cast<const rg_WenBenPaiXuShuZuLei&>(other);
    if (&o == this)
        return true;
    const int64_t count = GetCount();
    if (count != o.GetCount())
        return false;
    for (int64_t i = 0; i < count; ++i) {
        if (inner_->Compare(inner_->Strings().GetAt(i), o.inner_->Strings().GetAt(i)) != 0)
            return false;
    }
    return true;
}

bool rg_WenBenPaiXuShuZuLei::CopyFrom(const CQrnObject& source)
{
    if (!BeginCopyFrom(source))
        return false;
    CopyHeader(source);
    AssignElements(static_cast<const rg_WenBenPaiXuShuZuLei&>(source));
    return true;
}

void rg_WenBenPaiXuShuZuLei::Reset()
{
    OnBeforeAssign();
    ClearHeader();
    inner_.reset();
}

void rg_WenBenPaiXuShuZuLei::GetDumpText(CWString& text, int32_t memberLimit) const
{
    // The inner storage is made by the dump itself, as GetInnerArray would; only the mutable
    // pointer changes.
    const_cast<rg_WenBenPaiXuShuZuLei*>(this)->GetInnerArray()->Strings().GetDumpText(text, memberLimit);
}

void rg_WenBenPaiXuShuZuLei::LoadFromStream(CQrnStream& stream)
{
    // Stream order is kept as it is: a saved sorted array is already in order.
    GetInnerArray()->Strings().LoadFromStream(stream);
}

void rg_WenBenPaiXuShuZuLei::SaveToStream(CQrnStream& stream) const
{
    if (inner_)
        inner_->Strings().SaveToStream(stream);
    else
        CMStringArray().SaveToStream(stream);
}

// ---- rg_WenBenDuYouShuZuLei ----

CMStringSortArray* rg_WenBenDuYouShuZuLei::GetInnerArray() { return InnerOr(MakeUnique); }

rg_WenBenDuYouShuZuLei::rg_WenBenDuYouShuZuLei(const rg_WenBenDuYouShuZuLei& other)
    : rg_WenBenPaiXuShuZuLei(other, HeaderOnly{})
{
    AssignElements(other);
}

rg_WenBenDuYouShuZuLei& rg_WenBenDuYouShuZuLei::operator=(const rg_WenBenDuYouShuZuLei& other)
{
    rg_WenBenPaiXuShuZuLei::operator=(other);
    return *this;
}

} // namespace rg_quarn_base
