#include "runtime/CQrnClassInfo.h"

#include <cstring>

uint32_t ClassNameHash(std::string_view name) noexcept
{
    uint32_t h = 0;
    for (char c : name)
        h = h * 5u + static_cast<uint32_t>(static_cast<int32_t>(static_cast<signed char>(c)));
    return (h | 1u) & 0x7FFFFFFFu;
}

CQrnClassInfo MakeClassInfo(const char* name, CQrnObject* (*create)(), const CQrnClassInfo* base) noexcept
{
    const size_t length = std::strlen(name);
    return CQrnClassInfo{create, name, static_cast<int64_t>(length), ClassNameHash({name, length}), base};
}

bool CQrnClassInfo::Matches(const CQrnClassInfo& other) const noexcept
{
    if (this == &other)
        return true;
    return hash == other.hash && nameLength == other.nameLength
        && std::memcmp(name, other.name, static_cast<size_t>(nameLength)) == 0;
}
