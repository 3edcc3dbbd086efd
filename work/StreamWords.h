// Little-endian words for the stream forms of this layer's records. A read that comes up short
// leaves the stream in its error state and the value untouched.
// Stateless; any thread (a stream itself is used by one thread at a time).
#pragma once

#include "runtime/CQrnStream.h"

#include <cstdint>

inline void WriteWord32(CQrnStream& stream, uint32_t value) { stream.WriteInt32(static_cast<int32_t>(value)); }

inline void WriteWord64(CQrnStream& stream, uint64_t value)
{
    uint8_t bytes[8];
    for (int i = 0; i < 8; ++i)
        bytes[i] = static_cast<uint8_t>(value >> (8 * i));
    stream.Write(bytes, 8);
}

inline bool ReadWord32(CQrnStream& stream, uint32_t& value)
{
    int32_t word = 0;
    if (!stream.ReadInt32(word))
        return false;
    value = static_cast<uint32_t>(word);
    return true;
}

inline bool ReadWord64(CQrnStream& stream, uint64_t& value)
{
    uint8_t bytes[8];
    if (!stream.Read(bytes, 8))
        return false;
    value = 0;
    for (int i = 0; i < 8; ++i)
        value |= static_cast<uint64_t>(bytes[i]) << (8 * i);
    return true;
}
