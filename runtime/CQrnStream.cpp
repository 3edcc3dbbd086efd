#include "runtime/CQrnStream.h"

#include <algorithm>
#include <cstring>

bool CQrnStream::Read(void* into, size_t count)
{
    if (!IsGood())
        return false;
    if (count == 0)
        return true;
    if (ReadSome(into, count) != count) {
        SetError(kReadError);
        return false;
    }
    return true;
}

bool CQrnStream::Write(const void* from, size_t count)
{
    if (!IsGood())
        return false;
    if (count == 0)
        return true;
    if (!WriteAll(from, count)) {
        SetError(kWriteError);
        return false;
    }
    return true;
}

bool CQrnStream::ReadInt32(int32_t& value)
{
    uint8_t b[4];
    if (!Read(b, 4))
        return false;
    value = static_cast<int32_t>(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24);
    return true;
}

bool CQrnStream::WriteInt32(int32_t value)
{
    const auto v = static_cast<uint32_t>(value);
    const uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
    return Write(b, 4);
}

size_t CQrnMemoryStream::ReadSome(void* into, size_t count)
{
    const size_t available = bytes_.size() - readPos_;
    const size_t n = std::min(count, available);
    if (n)
        std::memcpy(into, bytes_.data() + readPos_, n);
    readPos_ += n;
    return n;
}

bool CQrnMemoryStream::WriteAll(const void* from, size_t count)
{
    if (count > writeLimit_ - std::min(writeLimit_, bytes_.size()))
        return false;
    const auto* p = static_cast<const uint8_t*>(from);
    bytes_.insert(bytes_.end(), p, p + count);
    return true;
}
