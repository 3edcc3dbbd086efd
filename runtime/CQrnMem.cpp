#include "runtime/CQrnMem.h"

#include "runtime/CQrnStream.h"
#include "runtime/CWString.h"

#include <cstring>

QRN_IMPLEMENT_CLASS(CQrnMem, CQrnObject, "CQrnMem")

CQrnMem::CQrnMem(const CQrnMem& other) : CQrnObject(other), step_(other.step_)
{
    AppendBytes(other.GetData(), other.length_);
}

CQrnMem& CQrnMem::operator=(const CQrnMem& other)
{
    if (this != &other)
        Assign(other);
    return *this;
}

CQrnMem::~CQrnMem() { FreeMem(data_); }

bool CQrnMem::IsEqual(const CQrnObject& other) const
{
    if (!CQrnObject::IsEqual(other))
        return false;
    const auto& o = static_cast<const CQrnMem&>(other);
    return length_ == o.length_ && (length_ == 0 || std::memcmp(data_, o.data_, static_cast<size_t>(length_)) == 0);
}

bool CQrnMem::CopyFrom(const CQrnObject& source)
{
    if (!BeginCopyFrom(source))
        return false;
    if (&source != this)
        Assign(static_cast<const CQrnMem&>(source));
    return true;
}

void CQrnMem::Reset()
{
    OnBeforeAssign();
    ClearHeader();
    SetLength(0);
}

uint8_t* CQrnMem::SetLength(int64_t n)
{
    if (n == length_)
        return GetData();
    if (n <= 0) {
        FreeMem(data_);
        data_ = nullptr;
        capacity_ = length_ = 0;
        return nullptr;
    }
    const int64_t s = EffectiveStep();
    const int64_t wanted = s + n - n % s;
    if (!data_) {
        data_ = static_cast<uint8_t*>(AllocMem(wanted));
        capacity_ = wanted;
    } else if (capacity_ < n || capacity_ - n > s) {
        data_ = static_cast<uint8_t*>(ReallocMem(data_, wanted));
        capacity_ = wanted;
    }
    length_ = n;
    return data_;
}

int64_t CQrnMem::Grow(int64_t count)
{
    const int64_t old = length_;
    if (data_ && old + count <= capacity_)
        length_ = old + count;
    else
        SetLength(old + count);
    return old;
}

void CQrnMem::AppendBytes(const void* source, int64_t count)
{
    if (count <= 0)
        return;
    const int64_t at = Grow(count);
    if (source)
        std::memcpy(data_ + at, source, static_cast<size_t>(count));
    else
        std::memset(data_ + at, 0, static_cast<size_t>(count));
}

void CQrnMem::AppendByteList(std::initializer_list<uint8_t> bytes)
{
    AppendBytes(bytes.begin(), static_cast<int64_t>(bytes.size()));
}

void CQrnMem::AppendUnit(char16_t unit) { AppendBytes(&unit, 2); }

void CQrnMem::AppendText(const char16_t* text)
{
    const size_t units = text ? std::char_traits<char16_t>::length(text) : 0;
    if (units == 0) {
        AppendUnit(0);
        return;
    }
    AppendBytes(text, static_cast<int64_t>((units + 1) * 2));
}

void CQrnMem::AppendTextNoNul(const char16_t* text)
{
    const size_t units = text ? std::char_traits<char16_t>::length(text) : 0;
    AppendBytes(text, static_cast<int64_t>(units * 2));
}

void CQrnMem::Assign(const CQrnMem& other)
{
    if (this == &other)
        return;
    CopyHeader(other);
    SetLength(0);
    AppendBytes(other.GetData(), other.length_);
}

void CQrnMem::Remove(int64_t offset, int64_t count)
{
    if (count <= 0)
        return;
    if (offset < 0) {
        SetLength(count >= length_ ? 0 : length_ - count);
        return;
    }
    const int64_t tail = length_ - offset;
    if (count < tail) {
        std::memmove(data_ + offset, data_ + offset + count, static_cast<size_t>(tail - count));
        SetLength(length_ - count);
    } else {
        SetLength(offset);
    }
}

void CQrnMem::Replace(int64_t offset, int64_t count, const void* source, int64_t newCount)
{
    if (offset + count > length_)
        count = length_ - offset;
    auto write = [&](int64_t at) {
        if (source)
            std::memcpy(data_ + at, source, static_cast<size_t>(newCount));
        else
            std::memset(data_ + at, 0, static_cast<size_t>(newCount));
    };
    if (count > 0) {
        if (newCount <= 0) {
            Remove(offset, count);
            return;
        }
        const int64_t tailStart = offset + count;
        const int64_t tailLength = length_ - tailStart;
        if (newCount > count) {
            SetLength(length_ + newCount - count);
            std::memmove(data_ + offset + newCount, data_ + tailStart, static_cast<size_t>(tailLength));
        } else if (newCount < count) {
            std::memmove(data_ + offset + newCount, data_ + tailStart, static_cast<size_t>(tailLength));
            SetLength(length_ - (count - newCount));
        }
        write(offset);
        return;
    }
    if (newCount <= 0)
        return;
    if (offset < length_) {
        const int64_t tailLength = length_ - offset;
        SetLength(length_ + newCount);
        std::memmove(data_ + offset + newCount, data_ + offset, static_cast<size_t>(tailLength));
        write(offset);
    } else {
        AppendBytes(source, newCount);
    }
}

void CQrnMem::SaveToStream(CQrnStream& stream) const
{
    if (!stream.WriteInt32(static_cast<int32_t>(length_)))
        return;
    stream.Write(data_, static_cast<size_t>(length_));
}

void CQrnMem::LoadFromStream(CQrnStream& stream)
{
    int32_t count = 0;
    if (!stream.ReadInt32(count))
        return;
    if (count < 0) {
        stream.SetError(CQrnStream::kReadError);
        return;
    }
    SetLength(count);
    if (count > 0 && !stream.Read(data_, static_cast<size_t>(count)))
        SetLength(0);
}

void CQrnMem::GetDumpText(CWString& text, int32_t memberLimit) const
{
    const int64_t limit = memberLimit == 0 ? 1024 : memberLimit;
    const int64_t n = length_;
    int64_t shown = n;
    if (limit < 0 || n <= limit) {
        text.AppendFormat(u"<字节集> 总共 %I64d 个字节:", n);
    } else {
        shown = limit;
        text.AppendFormat(u"<字节集> 总共 %I64d 个字节,输出了 %I64d 个,还有 %I64d 个未被输出.", n, limit, n - limit);
    }
    for (int64_t lineStart = 0; lineStart < shown; lineStart += 16) {
        const int64_t lineBytes = shown - lineStart < 16 ? shown - lineStart : 16;
        text.AppendFormat(u"\r\n[%08X]:", static_cast<int32_t>(lineStart));
        for (int64_t i = 0; i < lineBytes; ++i)
            text.AppendFormat(u" %02X", static_cast<int32_t>(data_[lineStart + i]));
        for (int64_t pad = (16 - lineBytes) * 3; pad > 0; --pad)
            text.AppendChar(u' ');
        text.Append(u" | ");
        for (int64_t i = 0; i < lineBytes; ++i) {
            const uint8_t b = data_[lineStart + i];
            text.AppendChar(b >= 0x20 && b <= 0x7E ? char16_t(b) : u'.');
        }
    }
}
