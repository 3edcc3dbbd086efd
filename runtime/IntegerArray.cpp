#include "runtime/IntegerArray.h"

#include "runtime/CQrnStream.h"
#include "runtime/CWString.h"
#include "runtime/QuotedText.h"

#include <cassert>
#include <cstring>

namespace rg_quarn_base {

namespace {

// A byte count read from a stream is only a claim; the bytes are taken in growing pieces so a forged
// count fails at the stream's end instead of reserving gigabytes.
constexpr int64_t kFirstReadBytes = 64 * 1024;

} // namespace

QRN_IMPLEMENT_CLASS(rg_ZhengShuShuZuLei, rg_KuoZhanDuiXiangLei, "rg_quarn_base::rg_ZhengShuShuZuLei")

rg_ZhengShuShuZuLei::rg_ZhengShuShuZuLei(const rg_ZhengShuShuZuLei& other)
    : rg_KuoZhanDuiXiangLei(other), items_(kItemsStep)
{
    items_.Assign(other.items_);
}

rg_ZhengShuShuZuLei& rg_ZhengShuShuZuLei::operator=(const rg_ZhengShuShuZuLei& other)
{
    if (this != &other) {
        CopyHeader(other);
        items_.Assign(other.items_);
    }
    return *this;
}

bool rg_ZhengShuShuZuLei::IsEqual(const CQrnObject& other) const
{
    return CQrnObject::IsEqual(other) && items_.IsEqual(static_cast<const rg_ZhengShuShuZuLei&>(other).items_);
}

bool rg_ZhengShuShuZuLei::CopyFrom(const CQrnObject& source)
{
    if (!BeginCopyFrom(source))
        return false;
    *this = static_cast<const rg_ZhengShuShuZuLei&>(source);
    return true;
}

void rg_ZhengShuShuZuLei::Reset()
{
    OnBeforeAssign();
    ClearHeader();
    items_.Reset();
}

int32_t rg_ZhengShuShuZuLei::GetAt(int64_t index) const noexcept
{
    assert(InRange(index));
    if (!InRange(index))
        return 0;
    int32_t value;
    std::memcpy(&value, items_.GetData() + index * kItemSize, kItemSize);
    return value;
}

void rg_ZhengShuShuZuLei::SetAt(int64_t index, int32_t value) noexcept
{
    assert(InRange(index));
    if (InRange(index))
        std::memcpy(items_.GetData() + index * kItemSize, &value, kItemSize);
}

void rg_ZhengShuShuZuLei::Append(int32_t value) { items_.AppendBytes(&value, kItemSize); }

void rg_ZhengShuShuZuLei::RemoveAt(int64_t index)
{
    assert(InRange(index));
    if (InRange(index))
        items_.Remove(index * kItemSize, kItemSize);
}

void rg_ZhengShuShuZuLei::SaveToStream(CQrnStream& stream) const { items_.SaveToStream(stream); }

void rg_ZhengShuShuZuLei::LoadFromStream(CQrnStream& stream)
{
    int32_t bytes = 0;
    if (!stream.ReadInt32(bytes))
        return;
    if (bytes < 0) {
        stream.SetError(CQrnStream::kReadError);
        return;
    }
    items_.SetLength(0);
    if (bytes % kItemSize != 0) {
        stream.SetError(CQrnStream::kReadError);
        return;
    }
    int64_t read = 0;
    int64_t piece = bytes < kFirstReadBytes ? bytes : kFirstReadBytes;
    while (read < bytes) {
        uint8_t* data = items_.SetLength(read + piece);
        if (!stream.Read(data + read, static_cast<size_t>(piece))) {
            items_.SetLength(0);
            return;
        }
        read += piece;
        piece = bytes - read < read ? bytes - read : read;
    }
}

void rg_ZhengShuShuZuLei::GetDumpText(CWString& text, int32_t memberLimit) const
{
    const int64_t shown = AppendArrayDumpHeader(text, GetCount(), memberLimit);
    for (int64_t i = 0; i < shown; ++i)
        text.AppendFormat(u"\r\n%d. %d", static_cast<int32_t>(i + 1), GetAt(i));
}

} // namespace rg_quarn_base
