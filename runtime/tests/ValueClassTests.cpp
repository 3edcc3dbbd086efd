#include "runtime/CQrnStream.h"
#include "runtime/CWString.h"
#include "runtime/ValueClasses.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

using namespace rg_quarn_base;

namespace {

std::u16string DumpOf(const CQrnObject& object)
{
    CWString text(u"left over");
    object.GetDumpText(text, 0);
    return std::u16string(text.View());
}

template <class V>
V Holding(typename V::ValueType value)
{
    V object;
    object.value = value;
    return object;
}

} // namespace

TEST(ValueClass, RecordsNamesAndKinds)
{
    struct Case { const CQrnClassInfo& info; const char* name; };
    const Case cases[] = {
        {rg_ZhengShuLei::StaticClassInfo(), "rg_quarn_base::rg_ZhengShuLei"},
        {rg_LuoJiXingLei::StaticClassInfo(), "rg_quarn_base::rg_LuoJiXingLei"},
        {rg_DuanZhengShuLei::StaticClassInfo(), "rg_quarn_base::rg_DuanZhengShuLei"},
        {rg_ZiJieLei::StaticClassInfo(), "rg_quarn_base::rg_ZiJieLei"},
        {rg_ChangZhengShuLei::StaticClassInfo(), "rg_quarn_base::rg_ChangZhengShuLei"},
        {rg_BianZhengShuLei::StaticClassInfo(), "rg_quarn_base::rg_BianZhengShuLei"},
        {rg_ChanJingDuXiaoShuLei::StaticClassInfo(), "rg_quarn_base::rg_ChanJingDuXiaoShuLei"},
        {rg_XiaoShuLei::StaticClassInfo(), "rg_quarn_base::rg_XiaoShuLei"},
        {rg_ZiFuLei::StaticClassInfo(), "rg_quarn_base::rg_ZiFuLei"},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(c.info.name, c.name);
        ASSERT_NE(c.info.create, nullptr);
        std::unique_ptr<CQrnObject> made(c.info.create());
        EXPECT_TRUE(made->GetClassInfo()->Matches(c.info)) << c.name;
        EXPECT_TRUE(made->IsKindOf(CQrnBaseDataType::StaticClassInfo())) << c.name;
        EXPECT_TRUE(made->IsKindOf(CQrnObject::StaticClassInfo())) << c.name;
        auto* value = static_cast<CQrnBaseDataType*>(made.get());
        ASSERT_NE(value->GetValuePointer(), nullptr);
        EXPECT_EQ(*static_cast<const uint8_t*>(value->GetValuePointer()), 0) << "created zero: " << c.name;
    }
    EXPECT_STREQ(CQrnBaseDataType::StaticClassInfo().name, "CQrnBaseDataType");
    CQrnBaseDataType base;
    EXPECT_EQ(base.GetValuePointer(), nullptr);
    // Two classes of the same width stay apart.
    EXPECT_FALSE(Holding<rg_ZhengShuLei>(1).IsEqual(Holding<rg_LuoJiXingLei>(1)));
    EXPECT_FALSE(Holding<rg_ChangZhengShuLei>(1).IsKindOf(rg_BianZhengShuLei::StaticClassInfo()));
}

TEST(ValueClass, ValuePointerReachesTheField)
{
    rg_XiaoShuLei number;
    *static_cast<double*>(number.GetValuePointer()) = 2.5;
    EXPECT_EQ(number.value, 2.5);
    rg_ZiFuLei unit;
    *static_cast<char16_t*>(unit.GetValuePointer()) = u'文';
    EXPECT_EQ(unit.value, u'文');
}

TEST(ValueClass, DumpTexts)
{
    EXPECT_EQ(DumpOf(Holding<rg_ZhengShuLei>(INT32_MIN)), u"-2147483648");
    EXPECT_EQ(DumpOf(Holding<rg_LuoJiXingLei>(2)), u"2");
    EXPECT_EQ(DumpOf(Holding<rg_DuanZhengShuLei>(-32768)), u"-32768");
    EXPECT_EQ(DumpOf(Holding<rg_ZiJieLei>(static_cast<int8_t>(0xC8))), u"-56");
    EXPECT_EQ(DumpOf(Holding<rg_ChangZhengShuLei>(INT64_MIN)), u"-9223372036854775808");
    EXPECT_EQ(DumpOf(Holding<rg_BianZhengShuLei>(INT64_MAX)), u"9223372036854775807");
    EXPECT_EQ(DumpOf(Holding<rg_ChanJingDuXiaoShuLei>(0.1f)), u"0.1");
    EXPECT_EQ(DumpOf(Holding<rg_XiaoShuLei>(1.0 / 3)), u"0.333333333333333");
    EXPECT_EQ(DumpOf(Holding<rg_XiaoShuLei>(1e-7)), u"0");
    EXPECT_EQ(DumpOf(Holding<rg_ZiFuLei>(u'车')), u"车");
    EXPECT_EQ(DumpOf(Holding<rg_ZiFuLei>(0)), u"");
    // A value nobody can print still dumps something, without failing.
    EXPECT_FALSE(DumpOf(Holding<rg_XiaoShuLei>(std::numeric_limits<double>::quiet_NaN())).empty());
    EXPECT_FALSE(DumpOf(Holding<rg_ChanJingDuXiaoShuLei>(-std::numeric_limits<float>::infinity())).empty());
    // The base class dumps as the root does.
    CQrnBaseDataType base;
    EXPECT_NE(DumpOf(base).find(u"CQrnBaseDataType"), std::u16string::npos);
}

TEST(ValueClass, FloatingPointEqualityHasATolerance)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case { double a, b; bool equal; };
    for (const Case& c : {Case{0.1, 0.1000005, true}, Case{0.1, 0.0999995, true},
                          Case{0.1, 0.100002, false}, Case{0.1, 0.099998, false},
                          Case{nan, nan, false}, Case{nan, 0.0, false}, Case{0.0, nan, false},
                          Case{inf, inf, true}, Case{-inf, inf, false}, Case{inf, 1e308, false},
                          Case{1e308, -1e308, false}, Case{-0.0, 0.0, true}}) {
        EXPECT_EQ(Holding<rg_XiaoShuLei>(c.a).IsEqual(Holding<rg_XiaoShuLei>(c.b)), c.equal) << c.a << " " << c.b;
        const auto fa = static_cast<float>(c.a), fb = static_cast<float>(c.b);
        EXPECT_EQ(Holding<rg_ChanJingDuXiaoShuLei>(fa).IsEqual(Holding<rg_ChanJingDuXiaoShuLei>(fb)),
                  c.equal || (std::isinf(fa) && fa == fb))
            << fa << " " << fb;
    }
    // The single-precision bound is the float nearest to 0.000001.
    const float bound = 0.000001f;
    EXPECT_TRUE(Holding<rg_ChanJingDuXiaoShuLei>(0.0f).IsEqual(Holding<rg_ChanJingDuXiaoShuLei>(bound)));
    EXPECT_FALSE(Holding<rg_ChanJingDuXiaoShuLei>(0.0f).IsEqual(
        Holding<rg_ChanJingDuXiaoShuLei>(std::nextafter(bound, 1.0f))));
    // Integers compare exactly.
    EXPECT_FALSE(Holding<rg_ChangZhengShuLei>(INT64_MAX).IsEqual(Holding<rg_ChangZhengShuLei>(INT64_MAX - 1)));
}

TEST(ValueClass, ProtocolChecksClassTagAndNullMarker)
{
    rg_ZhengShuLei a = Holding<rg_ZhengShuLei>(7), b = Holding<rg_ZhengShuLei>(7);
    EXPECT_TRUE(a.IsEqual(b));
    b.tag = 1;
    EXPECT_FALSE(a.IsEqual(b));
    b.tag = 0;
    b.SetNullObject(true);
    EXPECT_FALSE(a.IsEqual(b));
    EXPECT_FALSE(a.IsEqual(CWString(u"7")));

    // CopyFrom takes value, flags and tag; from another class it changes nothing.
    rg_ZhengShuLei target = Holding<rg_ZhengShuLei>(1);
    target.tag = 5;
    EXPECT_FALSE(target.CopyFrom(Holding<rg_LuoJiXingLei>(9)));
    EXPECT_FALSE(target.CopyFrom(CQrnBaseDataType()));
    EXPECT_EQ(target.value, 1);
    EXPECT_EQ(target.tag, 5);
    EXPECT_TRUE(target.CopyFrom(b));
    EXPECT_EQ(target.value, 7);
    EXPECT_TRUE(target.IsNullObject());
    EXPECT_TRUE(target.IsEqual(b));

    std::unique_ptr<CQrnObject> clone(target.Clone());
    EXPECT_TRUE(clone->IsEqual(target));
    std::unique_ptr<CQrnObject> fresh(target.CreateNew());
    EXPECT_TRUE(fresh->IsEqual(rg_ZhengShuLei()));

    target.Reset();
    EXPECT_EQ(target.value, 0);
    EXPECT_EQ(target.flags, 0u);
    EXPECT_EQ(target.tag, 0);
}

TEST(ValueClass, StreamFormIsLittleEndianByWidth)
{
    using Bytes = std::vector<uint8_t>;
    auto saved = [](const CQrnObject& object) {
        CQrnMemoryStream stream;
        object.SaveToStream(stream);
        return stream.Bytes();
    };
    EXPECT_EQ(saved(Holding<rg_ZiJieLei>(static_cast<int8_t>(0xC8))), (Bytes{0xC8}));
    EXPECT_EQ(saved(Holding<rg_DuanZhengShuLei>(0x1234)), (Bytes{0x34, 0x12}));
    EXPECT_EQ(saved(Holding<rg_ZiFuLei>(u'\u8F66')), (Bytes{0x66, 0x8F}));
    EXPECT_EQ(saved(Holding<rg_ZhengShuLei>(-2)), (Bytes{0xFE, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(saved(Holding<rg_LuoJiXingLei>(1)), (Bytes{1, 0, 0, 0}));
    EXPECT_EQ(saved(Holding<rg_ChanJingDuXiaoShuLei>(1.0f)), (Bytes{0, 0, 0x80, 0x3F}));
    EXPECT_EQ(saved(Holding<rg_XiaoShuLei>(-2.0)), (Bytes{0, 0, 0, 0, 0, 0, 0, 0xC0}));
    EXPECT_EQ(saved(Holding<rg_ChangZhengShuLei>(0x0102030405060708)), (Bytes{8, 7, 6, 5, 4, 3, 2, 1}));
    EXPECT_EQ(saved(Holding<rg_BianZhengShuLei>(-1)), Bytes(8, 0xFF));

    // Round trip, NaN bits included.
    rg_XiaoShuLei nan = Holding<rg_XiaoShuLei>(std::numeric_limits<double>::quiet_NaN());
    CQrnMemoryStream stream(saved(nan));
    rg_XiaoShuLei loaded;
    loaded.LoadFromStream(stream);
    EXPECT_TRUE(std::isnan(loaded.value));
    EXPECT_EQ(stream.GetError(), CQrnStream::kGood);
    rg_ChangZhengShuLei big;
    CQrnMemoryStream bigStream(saved(Holding<rg_ChangZhengShuLei>(INT64_MIN)));
    big.LoadFromStream(bigStream);
    EXPECT_EQ(big.value, INT64_MIN);
}

TEST(ValueClass, ShortReadKeepsTheValueAndMarksTheStream)
{
    rg_ZhengShuLei number = Holding<rg_ZhengShuLei>(42);
    CQrnMemoryStream stream(std::vector<uint8_t>{1, 2, 3});
    number.LoadFromStream(stream);
    EXPECT_EQ(number.value, 42);
    EXPECT_EQ(stream.GetError(), CQrnStream::kReadError);
    // Once failed, the stream gives nothing more, even to a narrower class that would fit.
    rg_ZiJieLei byte;
    byte.LoadFromStream(stream);
    EXPECT_EQ(byte.value, 0);
}

TEST(ValueClass, ObjectsFitOnePoolBlock)
{
    for (const CQrnClassInfo* info : {&rg_ChangZhengShuLei::StaticClassInfo(), &rg_XiaoShuLei::StaticClassInfo(),
                                      &rg_ZiFuLei::StaticClassInfo()}) {
        CQrnObject* made = info->create();
        EXPECT_TRUE(CPoolMem::Process().Owns(made)) << info->name;
        made->Destroy(made);
    }
}
