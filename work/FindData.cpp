#include "work/FindData.h"

#include "work/StreamWords.h"

#include <algorithm>
#include <cstring>

namespace rg_quarn_Tolvar {

QRN_IMPLEMENT_CLASS(rg_FILETIME_n, CQrnObject, "rg_quarn_Tolvar::rg_FILETIME_n")
QRN_IMPLEMENT_CLASS(rg_WIN32_FIND_DATAW_n, CQrnObject, "rg_quarn_Tolvar::rg_WIN32_FIND_DATAW_n")

// ---- rg_FILETIME_n ----

bool rg_FILETIME_n::HasSameWords(const rg_FILETIME_n& other) const noexcept
{
    return dwLowDateTime == other.dwLowDateTime && dwHighDateTime == other.dwHighDateTime;
}

bool rg_FILETIME_n::IsEqual(const CQrnObject& other) const
{
    return CQrnObject::IsEqual(other) && HasSameWords(static_cast<const rg_FILETIME_n&>(other));
}

bool rg_FILETIME_n::CopyFrom(const CQrnObject& source)
{
    if (!BeginCopyFrom(source))
        return false;
    *this = static_cast<const rg_FILETIME_n&>(source);
    return true;
}

void rg_FILETIME_n::Reset()
{
    CQrnObject::Reset();
    dwLowDateTime = 0;
    dwHighDateTime = 0;
}

void rg_FILETIME_n::SaveToStream(CQrnStream& stream) const
{
    WriteWord32(stream, dwLowDateTime);
    WriteWord32(stream, dwHighDateTime);
}

void rg_FILETIME_n::LoadFromStream(CQrnStream& stream)
{
    if (ReadWord32(stream, dwLowDateTime))
        ReadWord32(stream, dwHighDateTime);
}

void rg_FILETIME_n::Assign(const FILETIME& time) noexcept
{
    dwLowDateTime = time.dwLowDateTime;
    dwHighDateTime = time.dwHighDateTime;
}

// ---- rg_WIN32_FIND_DATAW_n ----

bool rg_WIN32_FIND_DATAW_n::IsEqual(const CQrnObject& other) const
{
    if (!CQrnObject::IsEqual(other))
        return false;
    const auto& o = static_cast<const rg_WIN32_FIND_DATAW_n&>(other);
    return dwFileAttributes == o.dwFileAttributes && ftCreationTime.HasSameWords(o.ftCreationTime) &&
           ftLastAccessTime.HasSameWords(o.ftLastAccessTime) && ftLastWriteTime.HasSameWords(o.ftLastWriteTime) &&
           nFileSizeHigh == o.nFileSizeHigh && nFileSizeLow == o.nFileSizeLow && dwReserved0 == o.dwReserved0 &&
           dwReserved1 == o.dwReserved1 && std::memcmp(cFileName, o.cFileName, sizeof cFileName) == 0 &&
           std::memcmp(cAlternateFileName, o.cAlternateFileName, sizeof cAlternateFileName) == 0;
}

bool rg_WIN32_FIND_DATAW_n::CopyFrom(const CQrnObject& source)
{
    if (!BeginCopyFrom(source))
        return false;
    *this = static_cast<const rg_WIN32_FIND_DATAW_n&>(source);
    return true;
}

void rg_WIN32_FIND_DATAW_n::Reset()
{
    CQrnObject::Reset();
    dwFileAttributes = 0;
    ftCreationTime.Reset();
    ftLastAccessTime.Reset();
    ftLastWriteTime.Reset();
    nFileSizeHigh = nFileSizeLow = dwReserved0 = dwReserved1 = 0;
    std::fill(std::begin(cFileName), std::end(cFileName), u'\0');
    std::fill(std::begin(cAlternateFileName), std::end(cAlternateFileName), u'\0');
}

namespace {

void WriteUnits(CQrnStream& stream, const char16_t* units, int count)
{
    uint8_t bytes[2 * 260];
    for (int i = 0; i < count; ++i) {
        bytes[2 * i] = static_cast<uint8_t>(units[i]);
        bytes[2 * i + 1] = static_cast<uint8_t>(units[i] >> 8);
    }
    stream.Write(bytes, static_cast<size_t>(2 * count));
}

bool ReadUnits(CQrnStream& stream, char16_t* units, int count)
{
    uint8_t bytes[2 * 260];
    if (!stream.Read(bytes, static_cast<size_t>(2 * count)))
        return false;
    for (int i = 0; i < count; ++i)
        units[i] = static_cast<char16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
    return true;
}

} // namespace

void rg_WIN32_FIND_DATAW_n::SaveToStream(CQrnStream& stream) const
{
    WriteWord32(stream, dwFileAttributes);
    ftCreationTime.SaveToStream(stream);
    ftLastAccessTime.SaveToStream(stream);
    ftLastWriteTime.SaveToStream(stream);
    for (uint32_t word : {nFileSizeHigh, nFileSizeLow, dwReserved0, dwReserved1})
        WriteWord32(stream, word);
    WriteUnits(stream, cFileName, kFileNameUnits);
    WriteUnits(stream, cAlternateFileName, kAlternateNameUnits);
}

void rg_WIN32_FIND_DATAW_n::LoadFromStream(CQrnStream& stream)
{
    if (!ReadWord32(stream, dwFileAttributes))
        return;
    for (rg_FILETIME_n* time : {&ftCreationTime, &ftLastAccessTime, &ftLastWriteTime}) {
        time->LoadFromStream(stream);
        if (!stream.IsGood())
            return;
    }
    for (uint32_t* word : {&nFileSizeHigh, &nFileSizeLow, &dwReserved0, &dwReserved1}) {
        if (!ReadWord32(stream, *word))
            return;
    }
    if (ReadUnits(stream, cFileName, kFileNameUnits))
        ReadUnits(stream, cAlternateFileName, kAlternateNameUnits);
}

void rg_WIN32_FIND_DATAW_n::Assign(const WIN32_FIND_DATAW& data) noexcept
{
    dwFileAttributes = data.dwFileAttributes;
    ftCreationTime.Assign(data.ftCreationTime);
    ftLastAccessTime.Assign(data.ftLastAccessTime);
    ftLastWriteTime.Assign(data.ftLastWriteTime);
    nFileSizeHigh = data.nFileSizeHigh;
    nFileSizeLow = data.nFileSizeLow;
    dwReserved0 = data.dwReserved0;
    dwReserved1 = data.dwReserved1;
    std::copy(std::begin(data.cFileName), std::end(data.cFileName), cFileName);
    std::copy(std::begin(data.cAlternateFileName), std::end(data.cAlternateFileName), cAlternateFileName);
}

} // namespace rg_quarn_Tolvar
