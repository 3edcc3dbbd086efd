// The two record classes that mirror the platform's file-time and find-data structures, with their
// field names, order and stream layout (8 and 592 bytes, little-endian, nothing between fields).
// Plain values: used by one thread at a time.
#pragma once

#include "platform/files/FileTypes.h"
#include "runtime/CQrnObject.h"

#include <cstdint>

namespace rg_quarn_Tolvar {

class rg_FILETIME_n : public CQrnObject {
    QRN_DECLARE_CLASS(rg_FILETIME_n)
public:
    static constexpr int64_t kStreamBytes = 8;

    uint32_t dwLowDateTime = 0;
    uint32_t dwHighDateTime = 0;

    bool IsEqual(const CQrnObject& other) const override;
    bool CopyFrom(const CQrnObject& source) override;
    void Reset() override;
    void SaveToStream(CQrnStream& stream) const override;
    void LoadFromStream(CQrnStream& stream) override;

    bool HasSameWords(const rg_FILETIME_n& other) const noexcept;
    void Assign(const FILETIME& time) noexcept;
};

class rg_WIN32_FIND_DATAW_n : public CQrnObject {
    QRN_DECLARE_CLASS(rg_WIN32_FIND_DATAW_n)
public:
    static constexpr int64_t kStreamBytes = 592;
    static constexpr int kFileNameUnits = 260;
    static constexpr int kAlternateNameUnits = 14;

    uint32_t dwFileAttributes = 0;
    rg_FILETIME_n ftCreationTime;
    rg_FILETIME_n ftLastAccessTime;
    rg_FILETIME_n ftLastWriteTime;
    uint32_t nFileSizeHigh = 0;
    uint32_t nFileSizeLow = 0;
    uint32_t dwReserved0 = 0;
    uint32_t dwReserved1 = 0;
    char16_t cFileName[kFileNameUnits] = {};
    char16_t cAlternateFileName[kAlternateNameUnits] = {};

    // The names compare as whole arrays, including what follows their terminators.
    bool IsEqual(const CQrnObject& other) const override;
    bool CopyFrom(const CQrnObject& source) override;
    void Reset() override;
    void SaveToStream(CQrnStream& stream) const override;
    // A short read sets the stream's error state; the fields after it are not read.
    void LoadFromStream(CQrnStream& stream) override;

    // Copies every field of the platform record.
    void Assign(const WIN32_FIND_DATAW& data) noexcept;
};

} // namespace rg_quarn_Tolvar
