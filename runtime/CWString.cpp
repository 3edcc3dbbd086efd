#include "runtime/CWString.h"

#include "runtime/CQrnStream.h"
#include "runtime/Unicode.h"

#include <cstring>

namespace {

const char16_t kSharedEmpty[1] = {0};

int64_t UnitCount(const char16_t* text) noexcept { return static_cast<int64_t>(Utf16Length(text)); }

char16_t FoldAscii(char16_t unit) noexcept { return (unit >= u'a' && unit <= u'z') ? char16_t(unit - 0x20) : unit; }

bool UnitsMatch(const char16_t* at, const char16_t* pattern, int64_t length, TextCase textCase) noexcept
{
    if (textCase == TextCase::Exact)
        return std::memcmp(at, pattern, static_cast<size_t>(length) * 2) == 0;
    for (int64_t i = 0; i < length; ++i) {
        if (FoldAscii(at[i]) != FoldAscii(pattern[i]))
            return false;
    }
    return true;
}

} // namespace

QRN_IMPLEMENT_CLASS(CWString, CQrnObject, "CWString")
QRN_IMPLEMENT_CLASS(CWConstString, CWString, "CWConstString")

CWConstString::CWConstString(const char16_t* literal) noexcept { Borrow(literal); }

void CWString::Borrow(const char16_t* literal) noexcept
{
    buffer_.SetLength(0);
    constText_ = literal;
}

CWString::CWString(const char16_t* text) : buffer_(kGrowthStep) { AppendUnits(text, UnitCount(text)); }

CWString::CWString(int32_t value) : buffer_(kGrowthStep) { SetFormat(u"%d", value); }

CWString::CWString(const char* utf8) : buffer_(kGrowthStep)
{
    const std::u16string units = Utf8ToUtf16(utf8 ? std::string_view(utf8) : std::string_view());
    AppendUnits(units.data(), static_cast<int64_t>(units.size()));
}

CWString::CWString(std::u16string_view units) : buffer_(kGrowthStep)
{
    AppendUnits(units.data(), static_cast<int64_t>(units.size()));
}

CWString::CWString(const CWString& other) : CQrnObject(other), constText_(other.constText_), buffer_(kGrowthStep)
{
    buffer_.AppendBytes(other.buffer_.GetData(), other.buffer_.GetLength());
}

CWString& CWString::operator=(const CWString& other)
{
    if (this != &other) {
        CopyHeader(other);
        AssignContent(other);
    }
    return *this;
}

void CWString::AssignContent(const CWString& other)
{
    if (this == &other)
        return;
    constText_ = other.constText_;
    buffer_.SetLength(0);
    buffer_.AppendBytes(other.buffer_.GetData(), other.buffer_.GetLength());
}

bool CWString::IsEqual(const CQrnObject& other) const
{
    return CQrnObject::IsEqual(other) && !IsDifferent(static_cast<const CWString&>(other));
}

bool CWString::CopyFrom(const CQrnObject& source)
{
    if (!BeginCopyFrom(source))
        return false;
    *this = static_cast<const CWString&>(source);
    return true;
}

void CWString::Reset()
{
    OnBeforeAssign();
    ClearHeader();
    DropToEmpty();
}

void CWString::DropToEmpty()
{
    constText_ = nullptr;
    buffer_.SetLength(0);
}

void CWString::GetDumpText(CWString& text, int32_t) const { text.AssignContent(*this); }

void CWString::SaveToStream(CQrnStream& stream) const
{
    const int64_t units = GetLength();
    const int64_t bytes = units ? (units + 1) * 2 : 0;
    if (stream.WriteInt32(static_cast<int32_t>(bytes)))
        stream.Write(GetText(), static_cast<size_t>(bytes));
}

void CWString::LoadFromStream(CQrnStream& stream)
{
    DropToEmpty();
    int32_t bytes = 0;
    if (!stream.ReadInt32(bytes))
        return;
    if (bytes < 0) {
        stream.SetError(CQrnStream::kReadError);
        return;
    }
    if (bytes == 0)
        return;
    uint8_t* data = buffer_.SetLength(bytes);
    if (!stream.Read(data, static_cast<size_t>(bytes))) {
        DropToEmpty();
        return;
    }
    // A text must end in its NUL unit; anything else is unreadable data, not a text.
    char16_t last = 1;
    if (bytes >= 2)
        std::memcpy(&last, data + bytes - 2, 2);
    if (bytes % 2 != 0 || last != 0) {
        stream.SetError(CQrnStream::kReadError);
        DropToEmpty();
    }
}

const char16_t* CWString::GetText() const noexcept
{
    if (constText_)
        return constText_;
    if (buffer_.GetLength() == 0)
        return kSharedEmpty;
    return reinterpret_cast<const char16_t*>(buffer_.GetData());
}

int64_t CWString::GetLength() const noexcept
{
    if (constText_)
        return UnitCount(constText_);
    const int64_t bytes = buffer_.GetLength();
    return bytes ? bytes / 2 - 1 : 0;
}

bool CWString::IsEmpty() const noexcept
{
    if (constText_)
        return constText_[0] == 0;
    return buffer_.GetLength() < 3;
}

bool CWString::IsDifferent(const CWString& other) const noexcept
{
    const char16_t* a = GetText();
    const char16_t* b = other.GetText();
    if (a == b)
        return false;
    for (;; ++a, ++b) {
        if (*a != *b)
            return true;
        if (*a == 0)
            return false;
    }
}

CQrnMem& CWString::MakeOwnCopy()
{
    if (constText_) {
        const char16_t* borrowed = constText_;
        constText_ = nullptr;
        buffer_.SetLength(0);
        buffer_.AppendBytes(borrowed, (UnitCount(borrowed) + 1) * 2);
    }
    return buffer_;
}

void CWString::AppendUnits(const char16_t* units, int64_t count)
{
    if (!units || count <= 0)
        return;
    MakeOwnCopy();
    int64_t keep = buffer_.GetLength();
    if (keep >= 2) {
        char16_t last;
        std::memcpy(&last, buffer_.GetData() + keep - 2, 2);
        if (last == 0)
            keep -= 2;
    }
    // One length change for the dropped NUL, the new units and the new NUL.
    uint8_t* data = buffer_.SetLength(keep + (count + 1) * 2);
    std::memcpy(data + keep, units, static_cast<size_t>(count) * 2);
    std::memset(data + keep + count * 2, 0, 2);
}

void CWString::Append(const char16_t* text) { AppendUnits(text, UnitCount(text)); }

void CWString::Append(const CWString& text)
{
    if (&text == this) {
        const CWString copy(text);
        Append(copy);
        return;
    }
    AppendUnits(text.GetText(), text.GetLength());
}

void CWString::AppendChar(char16_t unit)
{
    if (unit)
        AppendUnits(&unit, 1);
}

void CWString::AppendFloat(float value)
{
    if (value >= -0.000001f && value <= 0.000001f)
        Append(u"0");
    else
        AppendFormat(u"%.8G", static_cast<double>(value));
}

void CWString::AppendDouble(double value)
{
    if (value >= -0.000001 && value <= 0.000001)
        Append(u"0");
    else
        AppendFormat(u"%.15G", value);
}

bool CWString::PointsIntoStorage(std::span<const FormatArg> args) const noexcept
{
    const auto* begin = reinterpret_cast<const char16_t*>(buffer_.GetData());
    const auto* end = begin + buffer_.GetLength() / 2;
    for (const FormatArg& arg : args) {
        if (arg.GetKind() == FormatArg::Kind::Text && begin && arg.AsText() >= begin && arg.AsText() < end)
            return true;
    }
    return false;
}

void CWString::AppendFormatted(const char16_t* format, std::span<const FormatArg> args)
{
    if (PointsIntoStorage(args)) {
        // Growing the storage would move the argument; format from a copy instead.
        CWString formatted;
        formatted.SetFormatted(format, args);
        Append(formatted);
        return;
    }
    const int64_t units = FormatUnits(nullptr, format, args);
    if (units <= 0)
        return;
    MakeOwnCopy();
    int64_t keep = buffer_.GetLength();
    if (keep >= 2)
        keep -= 2;
    uint8_t* data = buffer_.SetLength(keep + (units + 1) * 2);
    auto* out = reinterpret_cast<char16_t*>(data + keep);
    FormatUnits(out, format, args);
    out[units] = 0;
}

void CWString::SetFormatted(const char16_t* format, std::span<const FormatArg> args)
{
    if (PointsIntoStorage(args)) {
        CWString formatted;
        formatted.SetFormatted(format, args);
        AssignContent(formatted);
        return;
    }
    const int64_t units = FormatUnits(nullptr, format, args);
    constText_ = nullptr;
    if (units <= 0) {
        buffer_.SetLength(0);
        return;
    }
    auto* out = reinterpret_cast<char16_t*>(buffer_.SetLength((units + 1) * 2));
    FormatUnits(out, format, args);
    out[units] = 0;
}

void CWString::SetChars(const char16_t* units, int64_t count)
{
    DropToEmpty();
    if (count <= 0)
        return;
    uint8_t* data = buffer_.SetLength((count + 1) * 2);
    if (units)
        std::memcpy(data, units, static_cast<size_t>(count) * 2);
    else
        std::memset(data, 0, static_cast<size_t>(count) * 2);
    std::memset(data + count * 2, 0, 2);
}

CWString CWString::Left(int64_t count) const
{
    if (count <= 0)
        return CWString();
    if (count >= GetLength())
        return *this;
    CWString result;
    result.SetChars(GetText(), count);
    return result;
}

CWString CWString::Right(int64_t count) const
{
    const int64_t length = GetLength();
    if (count <= 0)
        return CWString();
    if (count >= length)
        return *this;
    CWString result;
    result.SetChars(GetText() + (length - count), count);
    return result;
}

CWString CWString::Middle(int64_t start, int64_t count) const
{
    const int64_t length = GetLength();
    auto clamp = [length](int64_t v) { return v < 0 ? 0 : (v > length ? length : v); };
    const int64_t begin = clamp(start);
    // The end comes from the unclamped start; saturate instead of overflowing.
    const int64_t rawEnd = (count > 0 && start > INT64_MAX - count) ? INT64_MAX
                         : (count < 0 && start < INT64_MIN - count) ? INT64_MIN : start + count;
    const int64_t end = clamp(rawEnd);
    CWString result;
    if (end > begin)
        result.SetChars(GetText() + begin, end - begin);
    return result;
}

int64_t CWString::Find(const char16_t* pattern, int64_t start, TextCase textCase, SearchFrom from) const noexcept
{
    const int64_t length = GetLength();
    if (length < start)
        return -1;
    int64_t regionBegin = 0;
    int64_t regionEnd = length;
    if (from == SearchFrom::Start) {
        if (start < 0)
            start = 0;
        regionBegin = start;
    } else if (start < 0) {
        start = length;
    } else {
        regionEnd = start;
    }
    const int64_t patternLength = UnitCount(pattern);
    if (patternLength == 0)
        return start;
    if (regionEnd - regionBegin < patternLength)
        return -1;
    const char16_t* text = GetText();
    // The first unit is tested on its own before the rest of the pattern.
    const char16_t first = textCase == TextCase::Ignore ? FoldAscii(pattern[0]) : pattern[0];
    auto matchesAt = [&](int64_t i) {
        const char16_t unit = textCase == TextCase::Ignore ? FoldAscii(text[i]) : text[i];
        return unit == first && UnitsMatch(text + i + 1, pattern + 1, patternLength - 1, textCase);
    };
    if (from == SearchFrom::Start) {
        for (int64_t i = regionBegin; i + patternLength <= regionEnd; ++i) {
            if (matchesAt(i))
                return i;
        }
    } else {
        for (int64_t i = regionEnd - patternLength; i >= regionBegin; --i) {
            if (matchesAt(i))
                return i;
        }
    }
    return -1;
}

CWString TextBetween(const CWString& source, const CWString& startMarker, const CWString& endMarker)
{
    int64_t startAt = 0;
    if (!startMarker.IsEmpty()) {
        if (source.IsEmpty())
            return CWString();
        startAt = source.Find(startMarker.GetText(), 0, TextCase::Ignore);
        if (startAt < 0)
            return CWString();
    }
    const int64_t p = startAt + startMarker.GetLength();
    const int64_t e = source.Find(endMarker.GetText(), p, TextCase::Ignore);
    if (e < 0)
        return CWString();
    return source.Middle(p, e - p);
}

CWString TextAfterLast(const CWString& source, const CWString& marker)
{
    if (marker.IsEmpty() || source.IsEmpty())
        return CWString();
    const int64_t i = source.Find(marker.GetText(), -1, TextCase::Ignore, SearchFrom::End);
    if (i < 0)
        return CWString();
    return source.Right(source.GetLength() - marker.GetLength() - i);
}

CWString Concat(const CWString& a, const CWString& b)
{
    if (a.IsEmpty())
        return b;
    if (b.IsEmpty())
        return a;
    CWString result;
    result.SetChars(nullptr, a.GetLength() + b.GetLength());
    auto* out = const_cast<char16_t*>(result.GetText());
    std::memcpy(out, a.GetText(), static_cast<size_t>(a.GetLength()) * 2);
    std::memcpy(out + a.GetLength(), b.GetText(), static_cast<size_t>(b.GetLength()) * 2);
    return result;
}

CWString ConcatLiteral(const CWString& a, const char16_t* literal)
{
    if (!literal || !*literal)
        return a;
    CWString result(a);
    result.Append(literal);
    return result;
}
