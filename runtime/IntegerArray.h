// rg_quarn_base::rg_ZhengShuShuZuLei: the integer array, 32-bit signed integers in a byte buffer
// (4 bytes each, little-endian, growth step 128 bytes). Copies are byte copies; the stream form is
// the byte-buffer form. Indexes must lie within 0..count-1 (asserted; outside, reads give 0 and
// writes and removals do nothing). An array is used by one thread at a time.
#pragma once

#include "runtime/CQrnMem.h"

#include <cstdint>

namespace rg_quarn_base {

class rg_ZhengShuShuZuLei : public rg_KuoZhanDuiXiangLei {
    QRN_DECLARE_CLASS(rg_ZhengShuShuZuLei)
public:
    static constexpr int64_t kItemsStep = 128;

    rg_ZhengShuShuZuLei() noexcept : items_(kItemsStep) {}
    rg_ZhengShuShuZuLei(const rg_ZhengShuShuZuLei& other);
    rg_ZhengShuShuZuLei& operator=(const rg_ZhengShuShuZuLei& other);
    ~rg_ZhengShuShuZuLei() override = default;

    bool IsEqual(const CQrnObject& other) const override;
    bool CopyFrom(const CQrnObject& source) override;
    void Reset() override;
    void GetDumpText(CWString& text, int32_t memberLimit) const override;
    // A byte count that is not a whole number of integers is unreadable (read error, array empty).
    void LoadFromStream(CQrnStream& stream) override;
    void SaveToStream(CQrnStream& stream) const override;

    int64_t GetCount() const noexcept { return items_.GetLength() / kItemSize; }
    int32_t GetAt(int64_t index) const noexcept;
    void SetAt(int64_t index, int32_t value) noexcept;
    void Append(int32_t value);
    void RemoveAt(int64_t index);
    void RemoveAll() { items_.SetLength(0); }

    const CQrnMem& Buffer() const noexcept { return items_; }

private:
    static constexpr int64_t kItemSize = 4;

    bool InRange(int64_t index) const noexcept { return index >= 0 && index < GetCount(); }

    CQrnMem items_;
};

} // namespace rg_quarn_base
