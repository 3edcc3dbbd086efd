// CWString: the one text type, UTF-16 units with a terminating NUL. A text is empty, borrowed (it
// points at a literal it does not own, as CWConstString makes it) or owned (its units live in a byte
// buffer growing by 254 bytes, so texts of up to 125 units fit one pool block). Positions and lengths
// count units. A text is used by one thread at a time; texts handed to another thread are copied.
#pragma once

#include "runtime/CQrnMem.h"
#include "runtime/TextFormat.h"

#include <cstdint>
#include <string_view>

enum class TextCase { Exact, Ignore };   // Ignore folds only ASCII a-z
enum class SearchFrom { Start, End };

class CWString : public CQrnObject {
    QRN_DECLARE_CLASS(CWString)
public:
    static constexpr int64_t kGrowthStep = 254;

    CWString() noexcept : buffer_(kGrowthStep) {}
    CWString(const char16_t* text);
    explicit CWString(int32_t value);
    // UTF-8 text, such as a class name.
    explicit CWString(const char* utf8);
    explicit CWString(std::u16string_view units);
    CWString(const CWString& other);
    CWString& operator=(const CWString& other);
    ~CWString() override = default;

    bool IsEqual(const CQrnObject& other) const override;
    bool CopyFrom(const CQrnObject& source) override;
    void Reset() override;
    void GetDumpText(CWString& text, int32_t memberLimit) const override;
    void SaveToStream(CQrnStream& stream) const override;
    void LoadFromStream(CQrnStream& stream) override;

    // Never null: an empty text reads as the one shared empty literal.
    const char16_t* GetText() const noexcept;
    int64_t GetLength() const noexcept;
    bool IsEmpty() const noexcept;
    bool IsBorrowed() const noexcept { return constText_ != nullptr; }
    bool IsDifferent(const CWString& other) const noexcept;
    std::u16string_view View() const noexcept { return {GetText(), static_cast<size_t>(GetLength())}; }
    // Bytes of storage held by an owned text (0 for empty and borrowed texts).
    int64_t StorageBytes() const noexcept { return buffer_.GetCapacity(); }

    CQrnMem& MakeOwnCopy();
    void Append(const char16_t* text);
    void Append(const CWString& text);
    void AppendUnits(const char16_t* units, int64_t count);
    void AppendChar(char16_t unit);
    void AppendFloat(float value);
    void AppendDouble(double value);
    template <class... Args>
    void AppendFormat(const char16_t* format, const Args&... args)
    {
        const FormatArg list[] = {FormatArg(args)..., FormatArg(0)};
        AppendFormatted(format, std::span<const FormatArg>(list, sizeof...(Args)));
    }
    template <class... Args>
    void SetFormat(const char16_t* format, const Args&... args)
    {
        const FormatArg list[] = {FormatArg(args)..., FormatArg(0)};
        SetFormatted(format, std::span<const FormatArg>(list, sizeof...(Args)));
    }
    void AppendFormatted(const char16_t* format, std::span<const FormatArg> args);
    void SetFormatted(const char16_t* format, std::span<const FormatArg> args);
    void SetChars(const char16_t* units, int64_t count);

    CWString Left(int64_t count) const;
    CWString Right(int64_t count) const;
    CWString Middle(int64_t start, int64_t count) const;
    int64_t Find(const char16_t* pattern, int64_t start, TextCase textCase = TextCase::Exact,
                 SearchFrom from = SearchFrom::Start) const noexcept;

    bool operator==(const CWString& other) const noexcept { return !IsDifferent(other); }

protected:
    // Points the text at a literal it does not own.
    void Borrow(const char16_t* literal) noexcept;

private:
    void DropToEmpty();
    bool PointsIntoStorage(std::span<const FormatArg> args) const noexcept;
    void AssignContent(const CWString& other);

    const char16_t* constText_ = nullptr;
    CQrnMem buffer_;
};

// A text that borrows a literal; literals live for the whole process.
class CWConstString : public CWString {
    QRN_DECLARE_CLASS(CWConstString)
public:
    CWConstString() = default;
    explicit CWConstString(const char16_t* literal) noexcept;
};

// The units after the first start marker (ASCII case ignored) up to the first end marker after it.
CWString TextBetween(const CWString& source, const CWString& startMarker, const CWString& endMarker);
// The units after the last occurrence of the marker (ASCII case ignored).
CWString TextAfterLast(const CWString& source, const CWString& marker);
CWString Concat(const CWString& a, const CWString& b);
CWString ConcatLiteral(const CWString& a, const char16_t* literal);

// Formats into a caller's array, which must have room; returns the units written (a NUL follows),
// or -1 with an empty result when the format fails.
template <class... Args>
int64_t FormatToUnits(char16_t* out, const char16_t* format, const Args&... args)
{
    const FormatArg list[] = {FormatArg(args)..., FormatArg(0)};
    const int64_t n = FormatUnits(out, format, std::span<const FormatArg>(list, sizeof...(Args)));
    out[n < 0 ? 0 : n] = 0;
    return n;
}
