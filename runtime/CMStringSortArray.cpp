#include "runtime/CMStringSortArray.h"

const CQrnClassInfo& CMStringSortArray::StaticClassInfo()
{
    static const CQrnClassInfo info = MakeClassInfo("CMStringSortArray", nullptr, nullptr);
    return info;
}

const CQrnClassInfo& CUniqueStringArray::StaticClassInfo()
{
    static const CQrnClassInfo info =
        MakeClassInfo("CUniqueStringArray", nullptr, &CMStringSortArray::StaticClassInfo());
    return info;
}

bool CMStringSortArray::IsKindOf(const CQrnClassInfo& info) const
{
    for (const CQrnClassInfo* own = GetClassInfo(); own; own = own->base) {
        if (own->Matches(info))
            return true;
    }
    return false;
}

int CMStringSortArray::Compare(const char16_t* a, const char16_t* b) const { return CompareUnits(a, b); }

int64_t CMStringSortArray::FindPlace(const char16_t* text, Placement& placement) const
{
    placement = Placement::Free;
    const int64_t n = strings_.GetCount();
    if (n == 0 || Compare(text, strings_.GetAt(0)) < 0)
        return 0;
    if (Compare(text, strings_.GetAt(n - 1)) > 0)
        return n;
    int64_t lo = 0;
    int64_t hi = n - 1;
    while (lo <= hi) {
        const int64_t mid = (lo + hi) / 2;
        const int r = Compare(text, strings_.GetAt(mid));
        if (r == 0) {
            placement = Placement::Repeat;
            return mid;
        }
        if (r > 0)
            lo = mid + 1;
        else
            hi = mid - 1;
    }
    return lo;
}

int64_t CMStringSortArray::Add(const char16_t* text)
{
    Placement placement;
    const int64_t index = FindPlace(text, placement);
    strings_.InsertAt(index, text);
    return index;
}

int64_t CUniqueStringArray::Add(const char16_t* text)
{
    Placement placement;
    const int64_t index = FindPlace(text, placement);
    if (placement == Placement::Repeat)
        return -1;
    Strings().InsertAt(index, text);
    return index;
}

int64_t CMStringSortArray::AddMany(std::initializer_list<const char16_t*> texts)
{
    int64_t first = -1;
    bool isFirst = true;
    for (const char16_t* text : texts) {
        const int64_t result = Add(text);
        if (isFirst)
            first = result;
        isFirst = false;
    }
    return first;
}
