// CQrnObjectArray: an array of objects it owns, as 64-bit pointers in a byte buffer (growth step 256
// bytes); entries are never null. Removal, Reset and destruction Destroy the elements; copies hold
// Clones. It has no stream form. Indexes must lie within 0..count-1 (asserted; outside, reads give
// null and removals do nothing). An array is used by one thread at a time.
#pragma once

#include "runtime/CQrnMem.h"

#include <cstdint>
#include <memory>

class CQrnObjectArray : public CQrnObject {
    QRN_DECLARE_CLASS(CQrnObjectArray)
public:
    static constexpr int64_t kItemsStep = 256;

    CQrnObjectArray() noexcept : items_(kItemsStep) {}
    CQrnObjectArray(const CQrnObjectArray& other);
    CQrnObjectArray& operator=(const CQrnObjectArray& other);
    ~CQrnObjectArray() override;

    bool IsEqual(const CQrnObject& other) const override;
    bool CopyFrom(const CQrnObject& source) override;
    void Reset() override;
    // Each element's line is followed by its own dump, made with the same member limit.
    void GetDumpText(CWString& text, int32_t memberLimit) const override;

    int64_t GetCount() const noexcept { return items_.GetLength() / kEntrySize; }
    CQrnObject* GetAt(int64_t index) const noexcept;
    // Takes ownership; a null object is not stored.
    void Append(std::unique_ptr<CQrnObject> object);
    // Destroys the element and moves the later ones down.
    void RemoveAt(int64_t index);
    void RemoveAll();

    const CQrnMem& Buffer() const noexcept { return items_; }

private:
    static constexpr int64_t kEntrySize = 8;

    CQrnObject** Entries() const noexcept { return reinterpret_cast<CQrnObject**>(items_.GetData()); }
    void AppendClonesOf(const CQrnObjectArray& source);

    CQrnMem items_;
};
