#include "runtime/CMStringArray.h"

#include "runtime/CQrnStream.h"
#include "runtime/CWString.h"
#include "runtime/QuotedText.h"
#include "runtime/Unicode.h"

#include <cassert>
#include <cstring>

namespace {

// A count read from a stream is only a claim: element texts are read in pieces of at most this many
// bytes at first, so a forged count fails at the stream's end instead of reserving gigabytes.
constexpr int64_t kFirstReadBytes = 64 * 1024;

bool IsTrimmed(char16_t unit) noexcept { return unit <= 0x0020 || unit == 0x3000; }

bool IsDelimiter(char16_t unit, const char16_t* delimiters) noexcept
{
    for (const char16_t* d = delimiters; d && *d; ++d) {
        if (*d == unit)
            return true;
    }
    return false;
}

} // namespace

int CompareUnits(const char16_t* a, const char16_t* b) noexcept
{
    static const char16_t empty = 0;
    const char16_t* x = a ? a : &empty;
    const char16_t* y = b ? b : &empty;
    for (;; ++x, ++y) {
        if (*x != *y)
            return *x < *y ? -1 : 1;
        if (*x == 0)
            return 0;
    }
}

const CQrnClassInfo& CMStringArray::StaticClassInfo()
{
    static const CQrnClassInfo info = MakeClassInfo("CMStringArray", nullptr, nullptr);
    return info;
}

bool CMStringArray::IsKindOf(const CQrnClassInfo& info) const
{
    for (const CQrnClassInfo* own = GetClassInfo(); own; own = own->base) {
        if (own->Matches(info))
            return true;
    }
    return false;
}

CMStringArray::CMStringArray(const CMStringArray& other) : CQrnCommonBaseWithMemManager(other), items_(kItemsStep)
{
    AppendCopies(other);
}

CMStringArray& CMStringArray::operator=(const CMStringArray& other)
{
    if (this != &other) {
        RemoveAll();
        AppendCopies(other);
    }
    return *this;
}

CMStringArray::~CMStringArray() { RemoveAll(); }

const char16_t* CMStringArray::GetAt(int64_t index) const noexcept
{
    assert(index >= 0 && index < GetCount());
    if (index < 0 || index >= GetCount())
        return nullptr;
    return Entries()[index];
}

char16_t* CMStringArray::CopyUnits(const char16_t* units, int64_t count)
{
    if (!units || count <= 0)
        return nullptr;
    auto* copy = static_cast<char16_t*>(AllocMem((count + 1) * 2));
    std::memcpy(copy, units, static_cast<size_t>(count) * 2);
    copy[count] = 0;
    return copy;
}

void CMStringArray::InsertEntry(int64_t index, char16_t* entry)
{
    assert(index >= 0);
    if (index < 0)
        index = 0;
    const int64_t count = GetCount();
    if (index >= count) {
        items_.AppendBytes(&entry, kEntrySize);
        return;
    }
    items_.Replace(index * kEntrySize, 0, &entry, kEntrySize);
}

void CMStringArray::InsertAt(int64_t index, const char16_t* text)
{
    const int64_t units = text ? static_cast<int64_t>(Utf16Length(text)) : 0;
    InsertEntry(index, CopyUnits(text, units));
}

void CMStringArray::AppendCopies(const CMStringArray& other)
{
    if (&other == this)
        return;
    const int64_t count = other.GetCount();
    for (int64_t i = 0; i < count; ++i)
        InsertAt(GetCount(), other.Entries()[i]);
}

void CMStringArray::RemoveAll()
{
    const int64_t count = GetCount();
    char16_t** entries = Entries();
    for (int64_t i = 0; i < count; ++i)
        FreeMem(entries[i]);
    items_.SetLength(0);
}

int64_t CMStringArray::Split(const char16_t* text, const char16_t* delimiters, SplitTrim trim)
{
    RemoveAll();
    if (!text || !*text)
        return 0;
    const char16_t* piece = text;
    for (;;) {
        const char16_t* end = piece;
        while (*end && !IsDelimiter(*end, delimiters))
            ++end;
        const char16_t* first = piece;
        const char16_t* last = end;
        if (trim == SplitTrim::Yes) {
            while (first < last && IsTrimmed(*first))
                ++first;
            while (last > first && IsTrimmed(last[-1]))
                --last;
        }
        InsertEntry(GetCount(), CopyUnits(first, last - first));
        if (!*end)
            break;
        piece = end + 1;
        if (!*piece) {
            InsertEntry(GetCount(), nullptr);
            break;
        }
    }
    return GetCount();
}

bool CMStringArray::HasSameTexts(const CMStringArray& other) const noexcept
{
    if (&other == this)
        return true;
    const int64_t count = GetCount();
    if (count != other.GetCount())
        return false;
    for (int64_t i = 0; i < count; ++i) {
        if (CompareUnits(Entries()[i], other.Entries()[i]) != 0)
            return false;
    }
    return true;
}

void CMStringArray::SaveToStream(CQrnStream& stream) const
{
    const int64_t count = GetCount();
    if (!stream.WriteInt32(static_cast<int32_t>(count)))
        return;
    for (int64_t i = 0; i < count && stream.IsGood(); ++i) {
        const char16_t* entry = Entries()[i];
        const int64_t units = entry ? static_cast<int64_t>(Utf16Length(entry)) : 0;
        const int64_t bytes = units ? (units + 1) * 2 : 0;
        if (stream.WriteInt32(static_cast<int32_t>(bytes)))
            stream.Write(entry, static_cast<size_t>(bytes));
    }
}

bool CMStringArray::ReadElement(CQrnStream& stream, char16_t*& entry)
{
    entry = nullptr;
    int32_t bytes = 0;
    if (!stream.ReadInt32(bytes))
        return false;
    if (bytes == 0)
        return true;
    if (bytes < 2 || bytes % 2 != 0) {
        stream.SetError(CQrnStream::kReadError);
        return false;
    }
    // The piece read grows geometrically: a true long text costs a few reallocations, a forged length
    // no more memory than the stream really holds.
    int64_t held = bytes < kFirstReadBytes ? bytes : kFirstReadBytes;
    auto* data = static_cast<uint8_t*>(AllocMem(held));
    int64_t read = 0;
    while (stream.Read(data + read, static_cast<size_t>(held - read))) {
        read = held;
        if (read == bytes)
            break;
        held = bytes - held < held ? bytes : held * 2;
        data = static_cast<uint8_t*>(ReallocMem(data, held));
    }
    if (read != bytes) {
        FreeMem(data);
        return false;
    }
    // One text: its only NUL is the last unit.
    const auto* units = reinterpret_cast<const char16_t*>(data);
    const int64_t length = bytes / 2 - 1;
    if (units[length] != 0 || static_cast<int64_t>(Utf16Length(units)) != length) {
        FreeMem(data);
        stream.SetError(CQrnStream::kReadError);
        return false;
    }
    if (length == 0) {
        FreeMem(data);
        return true;
    }
    entry = reinterpret_cast<char16_t*>(data);
    return true;
}

void CMStringArray::LoadFromStream(CQrnStream& stream)
{
    RemoveAll();
    int32_t count = 0;
    if (!stream.ReadInt32(count))
        return;
    if (count < 0) {
        stream.SetError(CQrnStream::kReadError);
        return;
    }
    for (int32_t i = 0; i < count; ++i) {
        char16_t* entry = nullptr;
        if (!ReadElement(stream, entry))
            return;
        InsertEntry(GetCount(), entry);
    }
}

void CMStringArray::GetDumpText(CWString& text, int32_t memberLimit) const
{
    const int64_t shown = AppendArrayDumpHeader(text, GetCount(), memberLimit);
    for (int64_t i = 0; i < shown; ++i) {
        text.AppendFormat(u"\r\n%d. ", static_cast<int32_t>(i + 1));
        AppendQuotedText(text, Entries()[i]);
    }
}
