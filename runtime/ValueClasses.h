// The value classes: one small object class per scalar type, each holding its value (0 after
// construction) in the public field `value`. They copy, compare, reset, dump and stream that value;
// the two floating-point classes compare within 0.000001 and never find a NaN equal. A stream holds
// the value's bytes, little-endian, 1 to 8 by width. Plain data: one thread at a time.
#pragma once

#include "runtime/CQrnBaseDataType.h"

#include <cstdint>

namespace rg_quarn_base {

// The shared body of the nine classes; T decides width, dump text and equality.
template <class T>
class BasicValue : public CQrnBaseDataType {
public:
    using ValueType = T;

    T value = 0;

    BasicValue() = default;
    explicit BasicValue(T initial) noexcept : value(initial) {}
    BasicValue(const BasicValue&) = default;
    BasicValue& operator=(const BasicValue&) = default;
    ~BasicValue() override = default;

    bool IsEqual(const CQrnObject& other) const override;
    bool CopyFrom(const CQrnObject& source) override;
    void Reset() override;
    // Replaces the text by the value's dump form.
    void GetDumpText(CWString& text, int32_t memberLimit) const override;
    void LoadFromStream(CQrnStream& stream) override;
    void SaveToStream(CQrnStream& stream) const override;
    void* GetValuePointer() override { return &value; }
};

extern template class BasicValue<int32_t>;
extern template class BasicValue<int16_t>;
extern template class BasicValue<int8_t>;
extern template class BasicValue<int64_t>;
extern template class BasicValue<float>;
extern template class BasicValue<double>;
extern template class BasicValue<char16_t>;

#define QRN_VALUE_CLASS(Class, Type)                                                                    \
    class Class final : public BasicValue<Type> {                                                       \
        QRN_DECLARE_CLASS(Class)                                                                        \
    public:                                                                                             \
        Class() = default;                                                                              \
        explicit Class(Type initial) noexcept : BasicValue<Type>(initial) {}                            \
    };

QRN_VALUE_CLASS(rg_ZhengShuLei, int32_t)           // integer, dumps "%d"
QRN_VALUE_CLASS(rg_LuoJiXingLei, int32_t)          // logical value, 0 is false; dumps the stored value
QRN_VALUE_CLASS(rg_DuanZhengShuLei, int16_t)       // short integer
QRN_VALUE_CLASS(rg_ZiJieLei, int8_t)               // byte, taken as signed: 0xC8 dumps "-56"
QRN_VALUE_CLASS(rg_ChangZhengShuLei, int64_t)      // long integer
QRN_VALUE_CLASS(rg_BianZhengShuLei, int64_t)       // pointer-sized integer
QRN_VALUE_CLASS(rg_ChanJingDuXiaoShuLei, float)    // single-precision number
QRN_VALUE_CLASS(rg_XiaoShuLei, double)             // double-precision number
QRN_VALUE_CLASS(rg_ZiFuLei, char16_t)              // one UTF-16 unit; 0 dumps the empty text

#undef QRN_VALUE_CLASS

static_assert(static_cast<int64_t>(sizeof(rg_ChangZhengShuLei)) <= CPoolMem::kBlockSize, "a value object fits one pool block");

} // namespace rg_quarn_base
