#include "runtime/ValueClasses.h"

#include "runtime/CQrnStream.h"
#include "runtime/CWString.h"
#include "runtime/NumberText.h"

#include <bit>
#include <type_traits>

namespace rg_quarn_base {
namespace {

// The unsigned integer of the value's width, which the stream form is built from.
template <class T>
using Bits = std::conditional_t<sizeof(T) == 1, uint8_t,
             std::conditional_t<sizeof(T) == 2, uint16_t,
             std::conditional_t<sizeof(T) == 4, uint32_t, uint64_t>>>;

template <class T>
bool ValuesEqual(T a, T b) noexcept
{
    if constexpr (std::is_floating_point_v<T>) {
        // A NaN fails every comparison, so it is never equal, not even to itself. Equal infinities
        // are equal, although their difference is a NaN.
        if (a == b)
            return true;
        const T tolerance = static_cast<T>(0.000001);
        const T difference = b - a;
        return difference >= -tolerance && difference <= tolerance;
    } else {
        return a == b;
    }
}

template <class T>
void WriteDump(T value, CWString& text)
{
    text.SetChars(nullptr, 0);
    if constexpr (std::is_same_v<T, float>) {
        text.AppendFloat(value);
    } else if constexpr (std::is_same_v<T, double>) {
        text.AppendDouble(value);
    } else if constexpr (std::is_same_v<T, char16_t>) {
        text.AppendChar(value);    // the unit 0 appends nothing
    } else if constexpr (std::is_same_v<T, int64_t>) {
        text.Append(Int64ToText(value));
    } else {
        text.SetFormat(u"%d", static_cast<int>(value));
    }
}

} // namespace

template <class T>
bool BasicValue<T>::IsEqual(const CQrnObject& other) const
{
    return CQrnObject::IsEqual(other) && ValuesEqual(value, static_cast<const BasicValue&>(other).value);
}

template <class T>
bool BasicValue<T>::CopyFrom(const CQrnObject& source)
{
    if (!BeginCopyFrom(source))
        return false;
    CopyHeader(source);
    value = static_cast<const BasicValue&>(source).value;
    return true;
}

template <class T>
void BasicValue<T>::Reset()
{
    OnBeforeAssign();
    ClearHeader();
    value = 0;
}

template <class T>
void BasicValue<T>::GetDumpText(CWString& text, int32_t) const
{
    WriteDump(value, text);
}

template <class T>
void BasicValue<T>::SaveToStream(CQrnStream& stream) const
{
    const auto bits = std::bit_cast<Bits<T>>(value);
    uint8_t bytes[sizeof(T)];
    for (size_t i = 0; i < sizeof(T); ++i)
        bytes[i] = static_cast<uint8_t>(bits >> (8 * i));
    stream.Write(bytes, sizeof(T));
}

template <class T>
void BasicValue<T>::LoadFromStream(CQrnStream& stream)
{
    uint8_t bytes[sizeof(T)];
    if (!stream.Read(bytes, sizeof(T)))
        return;    // the stream now reports the short read; the value stays as it was
    Bits<T> bits = 0;
    for (size_t i = 0; i < sizeof(T); ++i)
        bits = static_cast<Bits<T>>(bits | static_cast<Bits<T>>(static_cast<Bits<T>>(bytes[i]) << (8 * i)));
    value = std::bit_cast<T>(bits);
}

template class BasicValue<int32_t>;
template class BasicValue<int16_t>;
template class BasicValue<int8_t>;
template class BasicValue<int64_t>;
template class BasicValue<float>;
template class BasicValue<double>;
template class BasicValue<char16_t>;

QRN_IMPLEMENT_CLASS(rg_ZhengShuLei, CQrnBaseDataType, "rg_quarn_base::rg_ZhengShuLei")
QRN_IMPLEMENT_CLASS(rg_LuoJiXingLei, CQrnBaseDataType, "rg_quarn_base::rg_LuoJiXingLei")
QRN_IMPLEMENT_CLASS(rg_DuanZhengShuLei, CQrnBaseDataType, "rg_quarn_base::rg_DuanZhengShuLei")
QRN_IMPLEMENT_CLASS(rg_ZiJieLei, CQrnBaseDataType, "rg_quarn_base::rg_ZiJieLei")
QRN_IMPLEMENT_CLASS(rg_ChangZhengShuLei, CQrnBaseDataType, "rg_quarn_base::rg_ChangZhengShuLei")
QRN_IMPLEMENT_CLASS(rg_BianZhengShuLei, CQrnBaseDataType, "rg_quarn_base::rg_BianZhengShuLei")
QRN_IMPLEMENT_CLASS(rg_ChanJingDuXiaoShuLei, CQrnBaseDataType, "rg_quarn_base::rg_ChanJingDuXiaoShuLei")
QRN_IMPLEMENT_CLASS(rg_XiaoShuLei, CQrnBaseDataType, "rg_quarn_base::rg_XiaoShuLei")
QRN_IMPLEMENT_CLASS(rg_ZiFuLei, CQrnBaseDataType, "rg_quarn_base::rg_ZiFuLei")

} // namespace rg_quarn_base
