// CQrnMem: the growable byte buffer behind every text and array. Storage grows and shrinks by the
// step rule (capacity is the next multiple of the step strictly above the length, and moves only when
// the length passes it or falls more than a step below it); an emptied buffer gives its storage back.
// A buffer is used by one thread at a time.
#pragma once

#include "runtime/CQrnObject.h"

#include <cstdint>
#include <initializer_list>

class CQrnMem : public CQrnObject {
    QRN_DECLARE_CLASS(CQrnMem)
public:
    static constexpr int64_t kDefaultStep = 64;

    CQrnMem() = default;
    explicit CQrnMem(int64_t step) noexcept : step_(step) {}
    CQrnMem(const CQrnMem& other);
    CQrnMem& operator=(const CQrnMem& other);
    ~CQrnMem() override;

    bool IsEqual(const CQrnObject& other) const override;
    bool CopyFrom(const CQrnObject& source) override;
    void Reset() override;
    // memberLimit is a byte limit here: 0 means 1024, negative means everything.
    void GetDumpText(CWString& text, int32_t memberLimit) const override;
    void LoadFromStream(CQrnStream& stream) override;
    void SaveToStream(CQrnStream& stream) const override;

    uint8_t* GetData() const noexcept { return length_ ? data_ : nullptr; }
    int64_t GetLength() const noexcept { return length_; }
    int64_t GetCapacity() const noexcept { return capacity_; }
    int64_t GetStep() const noexcept { return step_; }
    void SetStep(int64_t step) noexcept { step_ = step; }

    // New bytes are not initialised; returns the data (null for 0).
    uint8_t* SetLength(int64_t length);
    // Null source appends zeros.
    void AppendBytes(const void* source, int64_t count);
    void AppendByteList(std::initializer_list<uint8_t> bytes);
    void AppendUnit(char16_t unit);
    // With its NUL; a null or empty text appends one NUL unit.
    void AppendText(const char16_t* text);
    void AppendTextNoNul(const char16_t* text);
    // Copies other's flags, tag and bytes; the step stays.
    void Assign(const CQrnMem& other);
    // Negative offset removes count bytes from the end.
    void Remove(int64_t offset, int64_t count);
    // Replaces count bytes at offset by newCount bytes of source (zeros when null).
    void Replace(int64_t offset, int64_t count, const void* source, int64_t newCount);

private:
    int64_t EffectiveStep() const noexcept { return step_ > 0 ? step_ : kDefaultStep; }
    // Returns the old length; the new bytes start there.
    int64_t Grow(int64_t count);

    uint8_t* data_ = nullptr;
    int64_t capacity_ = 0;
    int64_t length_ = 0;
    int64_t step_ = kDefaultStep;
};
