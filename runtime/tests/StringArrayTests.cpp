#include "runtime/CMStringArray.h"
#include "runtime/CMStringSortArray.h"
#include "runtime/CPoolMem.h"
#include "runtime/tests/ArrayTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

using Texts = std::vector<std::u16string>;

TEST(CMStringArrayTest, ElementsAreSeparateCopiesAndEmptyTextsAreNull)
{
    CMStringArray array;
    char16_t source[] = u"abc";
    array.InsertAt(0, source);
    source[0] = u'X';
    array.InsertAt(5, u"");        // past the end appends
    array.InsertAt(1, nullptr);
    array.InsertAt(0, u"first");

    EXPECT_EQ(EntriesOf(array), (Texts{u"first", u"abc", u"<null>", u"<null>"}));
    EXPECT_NE(array.GetAt(1), source);
    // An element lives in storage of its own size: 4 units and a NUL, 8 bytes, a pool block.
    EXPECT_TRUE(CPoolMem::Process().Owns(array.GetAt(1)));
    EXPECT_EQ(array.Items().GetLength(), 4 * 8);
}

TEST(CMStringArrayTest, InsertAtEmptyTextOnEmptyArrayReadsAsEmpty)
{
    CMStringArray array;
    array.InsertAt(0, u"");
    ASSERT_EQ(array.GetCount(), 1);
    EXPECT_EQ(array.GetAt(0), nullptr);
    EXPECT_EQ(CompareUnits(array.GetAt(0), u""), 0);
}

TEST(CMStringArrayTest, PointerStorageGrowsBy256BytesAtThe33rdElement)
{
    CMStringArray array;
    EXPECT_EQ(array.Items().GetCapacity(), 0);
    for (int i = 0; i < 32; ++i)
        array.Append(u"x");
    // 32 entries fill the first 256 bytes exactly; the 33rd moves the storage to 512.
    EXPECT_EQ(array.Items().GetLength(), 256);
    EXPECT_EQ(array.Items().GetCapacity(), 256);
    const uint8_t* before = array.Items().GetData();
    array.Append(u"x");
    EXPECT_EQ(array.GetCount(), 33);
    EXPECT_EQ(array.Items().GetCapacity(), 512);
    EXPECT_NE(array.Items().GetData(), before);   // a pool block cannot hold 512 bytes
    array.RemoveAll();
    EXPECT_EQ(array.GetCount(), 0);
    EXPECT_EQ(array.Items().GetCapacity(), 0);
}

TEST(CMStringArrayTest, AppendCopiesCopiesEntriesAndIgnoresItself)
{
    CMStringArray a;
    a.Append(u"one");
    a.Append(u"");
    CMStringArray b;
    b.Append(u"zero");
    b.AppendCopies(a);
    EXPECT_EQ(EntriesOf(b), (Texts{u"zero", u"one", u"<null>"}));
    EXPECT_NE(b.GetAt(1), a.GetAt(1));

    a.AppendCopies(a);
    EXPECT_EQ(EntriesOf(a), (Texts{u"one", u"<null>"}));

    a = a;   // self-assignment keeps the elements
    EXPECT_EQ(EntriesOf(a), (Texts{u"one", u"<null>"}));
}

struct SplitCase {
    const char16_t* text;
    const char16_t* delimiters;
    SplitTrim trim;
    Texts pieces;
};

TEST(CMStringArrayTest, SplitTable)
{
    const SplitCase cases[] = {
        {u"a, b ,c", u",", SplitTrim::Yes, {u"a", u"b", u"c"}},
        {u"a, b ,c", u",", SplitTrim::No, {u"a", u" b ", u"c"}},
        {u"x", u",", SplitTrim::Yes, {u"x"}},
        {u"a,b", u",", SplitTrim::No, {u"a", u"b"}},
        {u"a,", u",", SplitTrim::No, {u"a", u"<null>"}},
        {u",a", u",", SplitTrim::No, {u"<null>", u"a"}},
        {u"a,,b", u",", SplitTrim::No, {u"a", u"<null>", u"b"}},
        {u",", u",", SplitTrim::No, {u"<null>", u"<null>"}},
        {u"", u",", SplitTrim::No, {}},
        {nullptr, u",", SplitTrim::No, {}},
        // Every unit of the set is a delimiter of its own.
        {u"a;b,c", u",;", SplitTrim::No, {u"a", u"b", u"c"}},
        // Trimming takes controls, spaces and the ideographic space, not other units.
        {u"\t\u3000a b\r\n|\u3000 |\u00A0z", u"|", SplitTrim::Yes, {u"a b", u"<null>", u"\u00A0z"}},
        {u"a b", u"", SplitTrim::No, {u"a b"}},
        {u"a b", nullptr, SplitTrim::No, {u"a b"}},
    };
    for (const SplitCase& c : cases) {
        CMStringArray array;
        array.Append(u"stale");
        const int64_t count = array.Split(c.text, c.delimiters, c.trim);
        const std::u16string shown = c.text ? c.text : u"(null)";
        EXPECT_EQ(count, static_cast<int64_t>(c.pieces.size())) << std::string(shown.begin(), shown.end());
        EXPECT_EQ(EntriesOf(array), c.pieces) << std::string(shown.begin(), shown.end());
    }
}

TEST(CompareTest, UnsignedUnitsWithoutFolding)
{
    struct Case {
        const char16_t* a;
        const char16_t* b;
        int expected;
    };
    const Case cases[] = {
        {u"B", u"a", -1},
        {u"a", u"ab", -1},
        {u"", u"a", -1},
        {nullptr, u"", 0},
        {nullptr, nullptr, 0},
        {u"ab", u"ab", 0},
        {u"\uFFFF", u"a", 1},     // unsigned: 0xFFFF is the largest unit
        {u"\u4E2D", u"\u00E9", 1},
        {u"b", u"ab", 1},
    };
    CMStringSortArray sorted;
    for (const Case& c : cases) {
        EXPECT_EQ(sorted.Compare(c.a, c.b), c.expected);
        EXPECT_EQ(sorted.Compare(c.b, c.a), -c.expected);
    }
}

TEST(SortedArrayTest, AddReturnsTheInsertionIndexAndKeepsRepeats)
{
    CMStringSortArray sorted;
    EXPECT_EQ(sorted.Add(u"b"), 0);
    EXPECT_EQ(sorted.Add(u"a"), 0);
    EXPECT_EQ(sorted.Add(u"c"), 2);
    EXPECT_EQ(EntriesOf(sorted.Strings()), (Texts{u"a", u"b", u"c"}));

    // Equal to the first element: the search goes through "b" at 1 and meets "a" at 0.
    EXPECT_EQ(sorted.Add(u"a"), 0);
    EXPECT_EQ(EntriesOf(sorted.Strings()), (Texts{u"a", u"a", u"b", u"c"}));
}

TEST(SortedArrayTest, RepeatLandsWhereTheSearchFirstMetAnEqualElement)
{
    // Elements a b b b b c: the search of "b" starts with lo 0, hi 5 and meets the middle "b" at 2.
    CMStringSortArray sorted;
    sorted.AddMany({u"a", u"b", u"b", u"b", u"b", u"c"});
    ASSERT_EQ(EntriesOf(sorted.Strings()), (Texts{u"a", u"b", u"b", u"b", u"b", u"c"}));
    const char16_t* before = sorted.Strings().GetAt(2);
    EXPECT_EQ(sorted.Add(u"b"), 2);
    EXPECT_NE(sorted.Strings().GetAt(2), before);   // the new copy went in at 2
    EXPECT_EQ(sorted.Strings().GetAt(3), before);
}

TEST(SortedArrayTest, KeepsOrderUnderManyAdds)
{
    CMStringSortArray sorted;
    std::vector<std::u16string> model;
    uint32_t seed = 12345;
    for (int i = 0; i < 500; ++i) {
        seed = seed * 1103515245u + 12345u;
        const std::u16string text(1 + seed % 3, static_cast<char16_t>(u'a' + (seed >> 8) % 5));
        sorted.Add(text.c_str());
        model.insert(std::upper_bound(model.begin(), model.end(), text), text);
    }
    EXPECT_EQ(EntriesOf(sorted.Strings()), model);
}

TEST(UniqueArrayTest, RefusesRepeatsIncludingTheEmptyText)
{
    CUniqueStringArray unique;
    EXPECT_EQ(unique.Add(u"a"), 0);
    EXPECT_EQ(unique.Add(u"a"), -1);
    EXPECT_EQ(unique.Add(u""), 0);
    EXPECT_EQ(unique.Add(nullptr), -1);
    EXPECT_EQ(unique.Add(u"A"), 1);
    EXPECT_EQ(EntriesOf(unique.Strings()), (Texts{u"<null>", u"A", u"a"}));
}

TEST(UniqueArrayTest, AddManyReturnsTheFirstResult)
{
    CUniqueStringArray unique;
    EXPECT_EQ(unique.AddMany({u"m", u"a", u"z"}), 0);
    EXPECT_EQ(unique.AddMany({u"m", u"b"}), -1);
    EXPECT_EQ(unique.AddMany({}), -1);
    EXPECT_EQ(EntriesOf(unique.Strings()), (Texts{u"a", u"b", u"m", u"z"}));

    CMStringSortArray sorted;
    EXPECT_EQ(sorted.AddMany({u"a", u"a"}), 0);
    EXPECT_EQ(sorted.Strings().GetCount(), 2);
}

TEST(UniqueArrayTest, ClassRecordsAndKinds)
{
    CUniqueStringArray unique;
    CMStringSortArray sorted;
    CMStringArray plain;
    EXPECT_STREQ(unique.GetClassInfo()->name, "CUniqueStringArray");
    EXPECT_STREQ(sorted.GetClassInfo()->name, "CMStringSortArray");
    EXPECT_STREQ(plain.GetClassInfo()->name, "CMStringArray");
    EXPECT_TRUE(unique.IsKindOf(CMStringSortArray::StaticClassInfo()));
    EXPECT_TRUE(unique.IsKindOf(CUniqueStringArray::StaticClassInfo()));
    EXPECT_FALSE(sorted.IsKindOf(CUniqueStringArray::StaticClassInfo()));
    EXPECT_FALSE(sorted.IsKindOf(CMStringArray::StaticClassInfo()));
    EXPECT_TRUE(plain.IsKindOf(CMStringArray::StaticClassInfo()));
    // A record built twice for one name matches.
    const CQrnClassInfo twin = MakeClassInfo("CUniqueStringArray", nullptr, nullptr);
    EXPECT_TRUE(unique.IsKindOf(twin));
}

TEST(CMStringArrayDeathTest, OutOfRangeIndexesAreAssertedInDebugBuilds)
{
    CMStringArray array;
    array.Append(u"a");
    EXPECT_DEBUG_DEATH(EXPECT_EQ(array.GetAt(1), nullptr), "");
    EXPECT_DEBUG_DEATH(EXPECT_EQ(array.GetAt(-1), nullptr), "");
    EXPECT_DEBUG_DEATH(array.InsertAt(-3, u"b"), "");
#ifdef NDEBUG
    EXPECT_EQ(EntriesOf(array), (Texts{u"b", u"a"}));
#endif
}

} // namespace
