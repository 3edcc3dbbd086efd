// The text array classes of the language. rg_WenBenShuZuLei embeds a CMStringArray.
// rg_WenBenPaiXuShuZuLei (sorted) and rg_WenBenDuYouShuZuLei (unique) own an inner sorted storage that
// does not exist until first needed: GetInnerArray (a new virtual after the object protocol) makes it,
// as a CMStringSortArray respectively a CUniqueStringArray. Copies are deep; the sorted classes copy the
// source's order as it is. An array is used by one thread at a time.
#pragma once

#include "runtime/CMStringSortArray.h"
#include "runtime/CQrnObject.h"

#include <cstdint>
#include <initializer_list>
#include <memory>

namespace rg_quarn_base {

class rg_WenBenShuZuLei : public rg_KuoZhanDuiXiangLei {
    QRN_DECLARE_CLASS(rg_WenBenShuZuLei)
public:
    rg_WenBenShuZuLei() = default;
    rg_WenBenShuZuLei(const rg_WenBenShuZuLei& other) = default;
    rg_WenBenShuZuLei& operator=(const rg_WenBenShuZuLei& other);
    ~rg_WenBenShuZuLei() override = default;

    bool IsEqual(const CQrnObject& other) const override;
    bool CopyFrom(const CQrnObject& source) override;
    void Reset() override;
    void GetDumpText(CWString& text, int32_t memberLimit) const override;
    void LoadFromStream(CQrnStream& stream) override;
    void SaveToStream(CQrnStream& stream) const override;

    int64_t GetCount() const noexcept { return strings_.GetCount(); }
    const char16_t* GetAt(int64_t index) const noexcept { return strings_.GetAt(index); }
    void InsertAt(int64_t index, const char16_t* text) { strings_.InsertAt(index, text); }
    void Append(const char16_t* text) { strings_.Append(text); }
    void AppendCopies(const CMStringArray& other) { strings_.AppendCopies(other); }
    void RemoveAll() { strings_.RemoveAll(); }

    CMStringArray& Strings() noexcept { return strings_; }
    const CMStringArray& Strings() const noexcept { return strings_; }

private:
    CMStringArray strings_;
};

class rg_WenBenPaiXuShuZuLei : public rg_KuoZhanDuiXiangLei {
    QRN_DECLARE_CLASS(rg_WenBenPaiXuShuZuLei)
public:
    // Makes the inner storage on first call.
    virtual CMStringSortArray* GetInnerArray();

    rg_WenBenPaiXuShuZuLei() = default;
    rg_WenBenPaiXuShuZuLei(const rg_WenBenPaiXuShuZuLei& other);
    rg_WenBenPaiXuShuZuLei& operator=(const rg_WenBenPaiXuShuZuLei& other);
    ~rg_WenBenPaiXuShuZuLei() override = default;

    bool IsEqual(const CQrnObject& other) const override;
    bool CopyFrom(const CQrnObject& source) override;
    void Reset() override;
    void GetDumpText(CWString& text, int32_t memberLimit) const override;
    void LoadFromStream(CQrnStream& stream) override;
    void SaveToStream(CQrnStream& stream) const override;

    bool HasInnerArray() const noexcept { return inner_ != nullptr; }
    // Reading never makes the inner storage; without one the array is empty.
    int64_t GetCount() const noexcept { return inner_ ? inner_->Strings().GetCount() : 0; }
    const char16_t* GetAt(int64_t index) const noexcept;
    // Sorted insertion; the unique array returns -1 for a repeat.
    int64_t Add(const char16_t* text) { return GetInnerArray()->Add(text); }
    int64_t AddMany(std::initializer_list<const char16_t*> texts) { return GetInnerArray()->AddMany(texts); }
    // Storage operations; inserting out of order is the caller's choice.
    void InsertAt(int64_t index, const char16_t* text) { GetInnerArray()->Strings().InsertAt(index, text); }
    void AppendCopies(const CMStringArray& other) { GetInnerArray()->Strings().AppendCopies(other); }
    void RemoveAll();

protected:
    struct HeaderOnly {};
    // For subclasses' copy constructors, which copy the elements once their own GetInnerArray is in
    // place.
    rg_WenBenPaiXuShuZuLei(const rg_WenBenPaiXuShuZuLei& other, HeaderOnly) : rg_KuoZhanDuiXiangLei(other) {}
    // Copies source's elements in source's order; an empty source leaves no inner storage.
    void AssignElements(const rg_WenBenPaiXuShuZuLei& source);
    // For GetInnerArray overrides: the current storage, or the given one when there is none.
    CMStringSortArray* InnerOr(std::unique_ptr<CMStringSortArray> (*make)());

private:
    // Mutable so that a dump, which makes the storage, can stay a const operation.
    mutable std::unique_ptr<CMStringSortArray> inner_;
};

class rg_WenBenDuYouShuZuLei : public rg_WenBenPaiXuShuZuLei {
    QRN_DECLARE_CLASS(rg_WenBenDuYouShuZuLei)
public:
    // Makes a CUniqueStringArray on first call.
    CMStringSortArray* GetInnerArray() override;

    rg_WenBenDuYouShuZuLei() = default;
    rg_WenBenDuYouShuZuLei(const rg_WenBenDuYouShuZuLei& other);
    rg_WenBenDuYouShuZuLei& operator=(const rg_WenBenDuYouShuZuLei& other);
    ~rg_WenBenDuYouShuZuLei() override = default;
};

} // namespace rg_quarn_base
