#include "runtime/CQrnObjectArray.h"
#include "runtime/IntegerArray.h"
#include "runtime/QuotedText.h"
#include "runtime/TextArrays.h"
#include "runtime/tests/ArrayTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace rg_quarn_base;

namespace {

using Texts = std::vector<std::u16string>;

std::u16string DumpOf(const CQrnObject& object, int32_t limit)
{
    CWString text;
    object.GetDumpText(text, limit);
    return TextOf(text);
}

std::u16string Quoted(const char16_t* text)
{
    CWString out;
    AppendQuotedText(out, text);
    return TextOf(out);
}

std::u16string Line(int index, const std::u16string& body)
{
    CWString text;
    text.AppendFormat(u"\r\n%d. %s", index, body.c_str());
    return TextOf(text);
}

TEST(ArrayClassTest, RecordNamesAndKinds)
{
    EXPECT_STREQ(rg_WenBenShuZuLei().GetClassInfo()->name, "rg_quarn_base::rg_WenBenShuZuLei");
    EXPECT_STREQ(rg_WenBenPaiXuShuZuLei().GetClassInfo()->name, "rg_quarn_base::rg_WenBenPaiXuShuZuLei");
    EXPECT_STREQ(rg_WenBenDuYouShuZuLei().GetClassInfo()->name, "rg_quarn_base::rg_WenBenDuYouShuZuLei");
    EXPECT_STREQ(rg_ZhengShuShuZuLei().GetClassInfo()->name, "rg_quarn_base::rg_ZhengShuShuZuLei");
    EXPECT_STREQ(CQrnObjectArray().GetClassInfo()->name, "CQrnObjectArray");

    rg_WenBenDuYouShuZuLei unique;
    EXPECT_TRUE(unique.IsKindOf(rg_WenBenPaiXuShuZuLei::StaticClassInfo()));
    EXPECT_TRUE(unique.IsKindOf(rg_KuoZhanDuiXiangLei::StaticClassInfo()));
    EXPECT_TRUE(rg_ZhengShuShuZuLei().IsKindOf(rg_KuoZhanDuiXiangLei::StaticClassInfo()));
    EXPECT_FALSE(CQrnObjectArray().IsKindOf(rg_KuoZhanDuiXiangLei::StaticClassInfo()));

    std::unique_ptr<CQrnObject> made(unique.CreateNew());
    EXPECT_STREQ(made->GetClassInfo()->name, "rg_quarn_base::rg_WenBenDuYouShuZuLei");
}

TEST(TextArrayTest, CopyEqualityResetAndSelfAssignment)
{
    rg_WenBenShuZuLei a;
    a.Append(u"x");
    a.Append(u"");
    a.tag = 7;
    rg_WenBenShuZuLei b;
    b.Append(u"old");
    ASSERT_TRUE(b.CopyFrom(a));
    EXPECT_EQ(EntriesOf(b.Strings()), (Texts{u"x", u"<null>"}));
    EXPECT_EQ(b.tag, 7);
    EXPECT_TRUE(a.IsEqual(b));
    EXPECT_TRUE(a.IsEqual(a));

    // A null entry equals a stored empty text would, but "x" differs from "X".
    b.Strings().RemoveAll();
    b.Append(u"X");
    b.Append(nullptr);
    EXPECT_FALSE(a.IsEqual(b));

    ASSERT_TRUE(a.CopyFrom(a));
    EXPECT_EQ(EntriesOf(a.Strings()), (Texts{u"x", u"<null>"}));

    std::unique_ptr<CQrnObject> clone(a.Clone());
    EXPECT_TRUE(clone->IsEqual(a));
    EXPECT_NE(static_cast<rg_WenBenShuZuLei&>(*clone).GetAt(0), a.GetAt(0));

    a.SetNullObject(true);
    a.Reset();
    EXPECT_EQ(a.GetCount(), 0);
    EXPECT_EQ(a.flags, 0u);
    EXPECT_EQ(a.tag, 0);
}

TEST(TextArrayTest, CopyFromAcrossClassesFollowsKind)
{
    rg_WenBenDuYouShuZuLei unique;
    unique.AddMany({u"b", u"a"});
    rg_WenBenPaiXuShuZuLei sorted;
    sorted.AddMany({u"q", u"q"});
    rg_WenBenShuZuLei plain;
    plain.Append(u"keep");

    // A unique array is a kind of sorted array; the other directions are refused unchanged.
    ASSERT_TRUE(sorted.CopyFrom(unique));
    EXPECT_EQ(EntriesOf(sorted.GetInnerArray()->Strings()), (Texts{u"a", u"b"}));
    EXPECT_STREQ(sorted.GetInnerArray()->GetClassInfo()->name, "CMStringSortArray");
    EXPECT_FALSE(sorted.IsEqual(unique));   // different classes

    sorted.AddMany({u"a"});
    EXPECT_FALSE(unique.CopyFrom(sorted));
    EXPECT_EQ(EntriesOf(unique.GetInnerArray()->Strings()), (Texts{u"a", u"b"}));
    EXPECT_FALSE(plain.CopyFrom(sorted));
    EXPECT_FALSE(sorted.CopyFrom(plain));
    EXPECT_EQ(EntriesOf(plain.Strings()), (Texts{u"keep"}));
}

TEST(SortedTextArrayTest, InnerArrayLifecycle)
{
    rg_WenBenDuYouShuZuLei unique;
    EXPECT_FALSE(unique.HasInnerArray());
    EXPECT_EQ(unique.GetCount(), 0);
    EXPECT_FALSE(unique.HasInnerArray());   // reading does not make it
    EXPECT_STREQ(unique.GetInnerArray()->GetClassInfo()->name, "CUniqueStringArray");
    EXPECT_EQ(unique.Add(u"a"), 0);
    EXPECT_EQ(unique.Add(u"a"), -1);

    rg_WenBenDuYouShuZuLei copy(unique);
    EXPECT_STREQ(copy.GetInnerArray()->GetClassInfo()->name, "CUniqueStringArray");
    EXPECT_EQ(copy.Add(u"a"), -1);
    EXPECT_TRUE(copy.IsEqual(unique));

    // Copying an empty source drops the storage; Reset drops it too.
    rg_WenBenDuYouShuZuLei empty;
    ASSERT_TRUE(copy.CopyFrom(empty));
    EXPECT_FALSE(copy.HasInnerArray());
    unique.Reset();
    EXPECT_FALSE(unique.HasInnerArray());

    ASSERT_TRUE(copy.CopyFrom(copy));
    rg_WenBenPaiXuShuZuLei sorted;
    sorted.AddMany({u"z", u"y"});
    ASSERT_TRUE(sorted.CopyFrom(sorted));
    EXPECT_EQ(sorted.GetCount(), 2);
}

TEST(SortedTextArrayTest, NeverUsedEqualsEmptiedButNotFilled)
{
    rg_WenBenPaiXuShuZuLei never;
    rg_WenBenPaiXuShuZuLei emptied;
    emptied.AddMany({u"a", u"b"});
    emptied.RemoveAll();
    ASSERT_TRUE(emptied.HasInnerArray());
    EXPECT_TRUE(never.IsEqual(emptied));
    EXPECT_TRUE(emptied.IsEqual(never));

    rg_WenBenPaiXuShuZuLei filled;
    filled.Add(u"a");
    EXPECT_FALSE(never.IsEqual(filled));
    EXPECT_FALSE(filled.IsEqual(never));

    rg_WenBenPaiXuShuZuLei other;
    other.Add(u"a");
    EXPECT_TRUE(filled.IsEqual(other));
    other.tag = 1;
    EXPECT_FALSE(filled.IsEqual(other));
}

TEST(QuotedTextTest, EscapesAndNumbers)
{
    struct Case {
        const char16_t* text;
        std::u16string quoted;
    };
    const Case cases[] = {
        {u"", u"\"\""},
        {nullptr, u"\"\""},
        {u"a\tb", u"\"a\\tb\""},
        {u"say \"hi\"", u"\"say \\\"hi\\\"\""},
        {u"it's \\", u"\"it\\'s \\\\\""},
        {u"\b\n\f\r", u"\"\\b\\n\\f\\r\""},
        {u"\x01", u"\"\\x01\""},
        {u"\x7F\u0085\u00AD", u"\"\\x7F\\x85\\xAD\""},
        {u"\uFFFF", u"\"\\uFFFF\""},
        {u"\u4E2D\u6587 \u00E9\u0416\u3000", u"\"\u4E2D\u6587 \u00E9\u0416\u3000\""},
        {u"\u200B\u2028\u202E\u2066\uFEFF\uFFF0\uFFFE", u"\"\\u200B\\u2028\\u202E\\u2066\\uFEFF\\uFFF0\\uFFFE\""},
        {u"\xD83D\xDE00", u"\"\\uD83D\\uDE00\""},
        {u"\u00A0\uFFFD", u"\"\u00A0\uFFFD\""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Quoted(c.text), c.quoted);
}

TEST(ArrayDumpTest, SeventyTextsWithLimitsZeroAndMinusOne)
{
    rg_WenBenShuZuLei array;
    for (int i = 0; i < 70; ++i)
        array.Append(CWString(i).GetText());

    std::u16string expected = u"<数组> 总共 70 个成员,输出了 64 个,还有 6 个未被输出.";
    for (int i = 1; i <= 64; ++i)
        expected += Line(i, u"\"" + TextOf(CWString(i - 1)) + u"\"");
    EXPECT_EQ(DumpOf(array, 0), expected);

    expected = u"<数组> 总共 70 个成员:";
    for (int i = 1; i <= 70; ++i)
        expected += Line(i, u"\"" + TextOf(CWString(i - 1)) + u"\"");
    EXPECT_EQ(DumpOf(array, -1), expected);

    EXPECT_EQ(DumpOf(array, 70).substr(0, 15), u"<数组> 总共 70 个成员:");
    EXPECT_EQ(DumpOf(array, 2), u"<数组> 总共 70 个成员,输出了 2 个,还有 68 个未被输出.\r\n1. \"0\"\r\n2. \"1\"");
}

TEST(ArrayDumpTest, TextElementsAreQuoted)
{
    rg_WenBenShuZuLei array;
    array.Append(u"a\tb\"");
    array.Append(u"");
    array.Append(u"\x01\uFFFF");
    EXPECT_EQ(DumpOf(array, 0),
              u"<数组> 总共 3 个成员:\r\n1. \"a\\tb\\\"\"\r\n2. \"\"\r\n3. \"\\x01\\uFFFF\"");
}

TEST(ArrayDumpTest, SortedArrayWithoutStorageDumpsEmpty)
{
    rg_WenBenDuYouShuZuLei unique;
    EXPECT_EQ(DumpOf(unique, 0), u"<数组> 总共 0 个成员:");
    EXPECT_TRUE(unique.HasInnerArray());
    unique.AddMany({u"b", u"a"});
    EXPECT_EQ(DumpOf(unique, -1), u"<数组> 总共 2 个成员:\r\n1. \"a\"\r\n2. \"b\"");
}

TEST(ArrayDumpTest, IntegerAndObjectArrays)
{
    rg_ZhengShuShuZuLei integers;
    integers.Append(-12);
    integers.Append(2147483647);
    EXPECT_EQ(DumpOf(integers, 0), u"<数组> 总共 2 个成员:\r\n1. -12\r\n2. 2147483647");

    CQrnObjectArray objects;
    auto inner = std::make_unique<rg_ZhengShuShuZuLei>();
    inner->Append(5);
    inner->SetNullObject(true);
    const CQrnObject* first = inner.get();
    objects.Append(std::move(inner));
    objects.Append(std::make_unique<CWString>(u"t"));
    CWString expected;
    expected.AppendFormat(u"<数组> 总共 2 个成员,输出了 1 个,还有 1 个未被输出.\r\n1. 对象输出类名: \"%s\", 地址: 0x%I64X"
                          u", 为空对象, 内容:\r\n<数组> 总共 1 个成员:\r\n1. 5",
                          u"rg_quarn_base::rg_ZhengShuShuZuLei", static_cast<uint64_t>(reinterpret_cast<uintptr_t>(first)));
    EXPECT_EQ(DumpOf(objects, 1), TextOf(expected));

    const std::u16string all = DumpOf(objects, -1);
    EXPECT_NE(all.find(u"\r\n2. 对象输出类名: \"CWString\", 地址: 0x"), std::u16string::npos);
    EXPECT_EQ(all.substr(all.size() - 8), u", 内容:\r\nt");
}

TEST(IntegerArrayTest, ElementsStorageAndProtocol)
{
    rg_ZhengShuShuZuLei a;
    for (int32_t i = 0; i < 33; ++i)
        a.Append(i * 10);
    EXPECT_EQ(a.GetCount(), 33);
    EXPECT_EQ(a.Buffer().GetCapacity(), 256);   // 132 bytes under a 128-byte step
    a.SetAt(3, -1);
    a.RemoveAt(0);
    EXPECT_EQ(a.GetCount(), 32);
    EXPECT_EQ(a.GetAt(0), 10);
    EXPECT_EQ(a.GetAt(2), -1);
    EXPECT_EQ(a.GetAt(31), 320);
    const uint8_t* bytes = a.Buffer().GetData();
    EXPECT_EQ(bytes[0], 10);   // little-endian
    EXPECT_EQ(bytes[8], 0xFF);

    rg_ZhengShuShuZuLei b;
    ASSERT_TRUE(b.CopyFrom(a));
    EXPECT_TRUE(b.IsEqual(a));
    b.SetAt(5, 0);
    EXPECT_FALSE(b.IsEqual(a));
    ASSERT_TRUE(b.CopyFrom(b));
    EXPECT_EQ(b.GetCount(), 32);

    std::unique_ptr<CQrnObject> clone(a.Clone());
    EXPECT_TRUE(clone->IsEqual(a));

    a.Reset();
    EXPECT_EQ(a.GetCount(), 0);
    EXPECT_EQ(a.Buffer().GetCapacity(), 0);
    EXPECT_FALSE(CQrnObjectArray().IsEqual(a));
}

// Counts live instances so the tests can see what the object array destroys.
class Counted : public CQrnObject {
public:
    static inline int live = 0;
    explicit Counted(int value = 0) : value(value) { ++live; }
    Counted(const Counted& other) : CQrnObject(other), value(other.value) { ++live; }
    ~Counted() override { --live; }
    CQrnObject* Clone() const override { return new Counted(*this); }
    bool IsEqual(const CQrnObject& other) const override
    {
        return CQrnObject::IsEqual(other) && value == static_cast<const Counted&>(other).value;
    }
    int value;
};

TEST(ObjectArrayTest, OwnsClonesAndDestroysElements)
{
    Counted::live = 0;
    {
        CQrnObjectArray a;
        a.Append(std::make_unique<Counted>(1));
        a.Append(std::make_unique<Counted>(2));
        a.Append(std::make_unique<Counted>(3));
        a.Append(nullptr);
        EXPECT_EQ(a.GetCount(), 3);
        a.RemoveAt(1);
        EXPECT_EQ(Counted::live, 2);
        EXPECT_EQ(static_cast<Counted*>(a.GetAt(1))->value, 3);

        CQrnObjectArray b;
        b.Append(std::make_unique<Counted>(9));
        ASSERT_TRUE(b.CopyFrom(a));
        EXPECT_EQ(Counted::live, 4);
        EXPECT_NE(b.GetAt(0), a.GetAt(0));
        EXPECT_TRUE(b.IsEqual(a));
        static_cast<Counted*>(b.GetAt(0))->value = 8;
        EXPECT_FALSE(b.IsEqual(a));

        ASSERT_TRUE(b.CopyFrom(b));
        EXPECT_EQ(Counted::live, 4);
        std::unique_ptr<CQrnObject> clone(a.Clone());
        EXPECT_EQ(Counted::live, 6);
        EXPECT_TRUE(clone->IsEqual(a));
        b.Reset();
        EXPECT_EQ(b.GetCount(), 0);
        EXPECT_EQ(Counted::live, 4);
    }
    EXPECT_EQ(Counted::live, 0);
}

TEST(ArrayDeathTest, OutOfRangeIndexesAreAssertedInDebugBuilds)
{
    rg_ZhengShuShuZuLei integers;
    integers.Append(1);
    CQrnObjectArray objects;
    rg_WenBenPaiXuShuZuLei sorted;
    EXPECT_DEBUG_DEATH(EXPECT_EQ(integers.GetAt(1), 0), "");
    EXPECT_DEBUG_DEATH(integers.SetAt(-1, 5), "");
    EXPECT_DEBUG_DEATH(integers.RemoveAt(1), "");
    EXPECT_DEBUG_DEATH(EXPECT_EQ(objects.GetAt(0), nullptr), "");
    EXPECT_DEBUG_DEATH(objects.RemoveAt(0), "");
    EXPECT_DEBUG_DEATH(EXPECT_EQ(sorted.GetAt(0), nullptr), "");
    EXPECT_EQ(integers.GetCount(), 1);
    EXPECT_EQ(integers.GetAt(0), 1);
}

} // namespace
