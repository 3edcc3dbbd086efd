// CMStringSortArray: a CMStringArray kept in ascending order under Compare (unsigned units, no case
// folding); Add inserts a copy where a binary search places it, so repeats are kept.
// CUniqueStringArray: the same without repeats; its Add refuses an equal element with -1.
// Both are allocated with class-level new and deleted through the virtual destructor (slot after
// Compare). An array is used by one thread at a time.
#pragma once

#include "runtime/CMStringArray.h"

#include <cstdint>
#include <initializer_list>

class CMStringSortArray : public CQrnCommonBaseWithMemManager {
public:
    static const CQrnClassInfo& StaticClassInfo();
    virtual const CQrnClassInfo* GetClassInfo() const { return &StaticClassInfo(); }
    virtual bool IsKindOf(const CQrnClassInfo& info) const;
    // Inserts a copy of text at its sorted place and returns that index.
    virtual int64_t Add(const char16_t* text);
    // -1, 0 or 1; null is the empty text.
    virtual int Compare(const char16_t* a, const char16_t* b) const;
    virtual ~CMStringSortArray() = default;

    CMStringSortArray() = default;
    CMStringSortArray(const CMStringSortArray&) = default;
    CMStringSortArray& operator=(const CMStringSortArray&) = default;

    // Add for each text in order; the result of the first Add (-1 when the list is empty).
    int64_t AddMany(std::initializer_list<const char16_t*> texts);

    // The stored texts; callers that insert through it are responsible for the order.
    CMStringArray& Strings() noexcept { return strings_; }
    const CMStringArray& Strings() const noexcept { return strings_; }

protected:
    enum class Placement { Free, Repeat };
    // The insertion index of text; Repeat when the binary search met an equal element there.
    int64_t FindPlace(const char16_t* text, Placement& placement) const;

private:
    CMStringArray strings_;
};

class CUniqueStringArray : public CMStringSortArray {
public:
    static const CQrnClassInfo& StaticClassInfo();
    const CQrnClassInfo* GetClassInfo() const override { return &StaticClassInfo(); }
    // As the sorted Add, but -1 and nothing inserted when an equal element is present.
    int64_t Add(const char16_t* text) override;
};
