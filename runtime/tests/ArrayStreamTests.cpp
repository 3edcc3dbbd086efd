#include "runtime/CQrnObjectArray.h"
#include "runtime/CQrnStream.h"
#include "runtime/IntegerArray.h"
#include "runtime/TextArrays.h"
#include "runtime/tests/ArrayTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace rg_quarn_base;

namespace {

using Bytes = std::vector<uint8_t>;
using Texts = std::vector<std::u16string>;

void PutInt32(Bytes& out, int32_t value)
{
    const auto v = static_cast<uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<uint8_t>(v >> shift));
}

void PutUnits(Bytes& out, std::u16string_view units)
{
    for (char16_t u : units) {
        out.push_back(static_cast<uint8_t>(u));
        out.push_back(static_cast<uint8_t>(u >> 8));
    }
}

// One element in the text stream form: its byte count with the NUL, then the units and the NUL.
void PutText(Bytes& out, std::u16string_view text)
{
    if (text.empty()) {
        PutInt32(out, 0);
        return;
    }
    PutInt32(out, static_cast<int32_t>((text.size() + 1) * 2));
    PutUnits(out, text);
    PutUnits(out, std::u16string_view(u"\0", 1));
}

TEST(TextArrayStreamTest, SaveWritesCountThenTexts)
{
    rg_WenBenShuZuLei array;
    array.Append(u"ab");
    array.Append(u"");
    CQrnMemoryStream stream;
    array.SaveToStream(stream);
    Bytes expected;
    PutInt32(expected, 2);
    PutText(expected, u"ab");
    PutText(expected, u"");
    EXPECT_EQ(stream.Bytes(), expected);
    EXPECT_EQ(stream.GetError(), CQrnStream::kGood);
}

TEST(TextArrayStreamTest, RoundTripsForAllThreeClasses)
{
    rg_WenBenShuZuLei plain;
    plain.Append(u"z");
    plain.Append(u"");
    plain.Append(u"\u4E2D\uFFFF");
    rg_WenBenPaiXuShuZuLei sorted;
    sorted.AddMany({u"b", u"a", u"b", u""});
    rg_WenBenDuYouShuZuLei unique;
    unique.AddMany({u"y", u"x", u"y"});
    rg_WenBenDuYouShuZuLei neverUsed;

    const CQrnObject* sources[] = {&plain, &sorted, &unique, &neverUsed};
    for (const CQrnObject* source : sources) {
        CQrnMemoryStream stream;
        source->SaveToStream(stream);
        std::unique_ptr<CQrnObject> loaded(source->CreateNew());
        loaded->LoadFromStream(stream);
        EXPECT_EQ(stream.GetError(), CQrnStream::kGood);
        EXPECT_EQ(stream.ReadPosition(), stream.Bytes().size());
        EXPECT_TRUE(loaded->IsEqual(*source)) << source->GetClassInfo()->name;
    }
}

TEST(TextArrayStreamTest, SortedClassesLoadInStreamOrder)
{
    Bytes bytes;
    PutInt32(bytes, 3);
    PutText(bytes, u"c");
    PutText(bytes, u"a");
    PutText(bytes, u"");
    CQrnMemoryStream stream(bytes);
    rg_WenBenPaiXuShuZuLei sorted;
    sorted.Add(u"stale");
    sorted.LoadFromStream(stream);
    EXPECT_EQ(EntriesOf(sorted.GetInnerArray()->Strings()), (Texts{u"c", u"a", u"<null>"}));
}

struct BrokenStream {
    const char* what;
    Bytes bytes;
    Texts kept;
};

std::vector<BrokenStream> BrokenTextStreams()
{
    std::vector<BrokenStream> cases;
    auto add = [&](const char* what, auto fill, Texts kept) {
        Bytes bytes;
        fill(bytes);
        cases.push_back({what, bytes, kept});
    };
    add("no count", [](Bytes& b) { b = {1, 0}; }, {});
    add("negative count", [](Bytes& b) { PutInt32(b, -1); }, {});
    add("fewer texts than counted", [](Bytes& b) { PutInt32(b, 3); PutText(b, u"a"); PutText(b, u"b"); },
        {u"a", u"b"});
    add("huge count", [](Bytes& b) { PutInt32(b, 0x7FFFFFFF); PutText(b, u"a"); }, {u"a"});
    add("truncated text bytes", [](Bytes& b) { PutInt32(b, 2); PutText(b, u"a"); PutInt32(b, 8); PutUnits(b, u"xy"); },
        {u"a"});
    add("huge text length", [](Bytes& b) { PutInt32(b, 1); PutInt32(b, 0x7FFFFFFE); PutUnits(b, u"xy"); }, {});
    add("negative text length", [](Bytes& b) { PutInt32(b, 2); PutText(b, u"a"); PutInt32(b, -4); }, {u"a"});
    add("odd text length", [](Bytes& b) { PutInt32(b, 1); PutInt32(b, 3); b.insert(b.end(), {'a', 0, 0}); }, {});
    add("no terminating NUL", [](Bytes& b) { PutInt32(b, 2); PutText(b, u"ok"); PutInt32(b, 4); PutUnits(b, u"ab"); },
        {u"ok"});
    add("NUL inside the text", [](Bytes& b) {
        PutInt32(b, 1);
        PutInt32(b, 8);
        PutUnits(b, std::u16string_view(u"a\0b\0", 4));
    }, {});
    return cases;
}

TEST(TextArrayStreamTest, BrokenStreamsStopWithWhatWasReadAndSetTheReadError)
{
    for (const BrokenStream& c : BrokenTextStreams()) {
        CQrnMemoryStream stream(c.bytes);
        rg_WenBenShuZuLei array;
        array.Append(u"stale");
        array.LoadFromStream(stream);
        EXPECT_EQ(stream.GetError(), CQrnStream::kReadError) << c.what;
        EXPECT_EQ(EntriesOf(array.Strings()), c.kept) << c.what;
        for (int64_t i = 0; i < array.GetCount(); ++i) {
            const char16_t* entry = array.GetAt(i);
            EXPECT_TRUE(entry == nullptr || entry[std::char_traits<char16_t>::length(entry)] == 0);
        }

        CQrnMemoryStream again(c.bytes);
        rg_WenBenDuYouShuZuLei unique;
        unique.LoadFromStream(again);
        EXPECT_EQ(again.GetError(), CQrnStream::kReadError) << c.what;
        EXPECT_EQ(unique.GetCount(), static_cast<int64_t>(c.kept.size())) << c.what;
    }
}

TEST(TextArrayStreamTest, StreamInErrorIsNeitherReadNorWritten)
{
    int32_t probe = 0;
    CQrnMemoryStream failed(Bytes{1});
    EXPECT_FALSE(failed.ReadInt32(probe));   // a short read puts the stream into the error state
    rg_WenBenShuZuLei array;
    array.Append(u"x");
    array.SaveToStream(failed);
    EXPECT_EQ(failed.Bytes().size(), 1u);
    array.LoadFromStream(failed);
    EXPECT_EQ(array.GetCount(), 0);
    EXPECT_EQ(failed.GetError(), CQrnStream::kReadError);
}

TEST(TextArrayStreamTest, FailedWriteSetsTheWriteError)
{
    rg_WenBenShuZuLei array;
    array.Append(u"abcdef");
    array.Append(u"g");
    CQrnMemoryStream stream(10);
    array.SaveToStream(stream);
    EXPECT_EQ(stream.GetError(), CQrnStream::kWriteError);
    EXPECT_LE(stream.Bytes().size(), 10u);
}

TEST(IntegerArrayStreamTest, ByteBufferFormAndBrokenStreams)
{
    rg_ZhengShuShuZuLei array;
    array.Append(1);
    array.Append(-2);
    CQrnMemoryStream stream;
    array.SaveToStream(stream);
    Bytes expected;
    PutInt32(expected, 8);
    PutInt32(expected, 1);
    PutInt32(expected, -2);
    EXPECT_EQ(stream.Bytes(), expected);
    rg_ZhengShuShuZuLei loaded;
    loaded.LoadFromStream(stream);
    EXPECT_TRUE(loaded.IsEqual(array));

    struct Case {
        const char* what;
        Bytes bytes;
        int64_t count;
    };
    Bytes huge;
    PutInt32(huge, 0x7FFFFFFC);
    PutInt32(huge, 5);
    Bytes negative;
    PutInt32(negative, -4);
    Bytes ragged;
    PutInt32(ragged, 6);
    PutInt32(ragged, 5);
    const Case cases[] = {
        {"huge count", huge, 0},
        {"negative count leaves the array", negative, 2},
        {"not whole integers", ragged, 0},
        {"no count", {8, 0}, 2},
    };
    for (const Case& c : cases) {
        CQrnMemoryStream broken(c.bytes);
        rg_ZhengShuShuZuLei target(array);
        target.LoadFromStream(broken);
        EXPECT_EQ(broken.GetError(), CQrnStream::kReadError) << c.what;
        EXPECT_EQ(target.GetCount(), c.count) << c.what;
    }
}

TEST(ObjectArrayStreamTest, WritesAndReadsNothing)
{
    CQrnObjectArray array;
    array.Append(std::make_unique<CWString>(u"x"));
    CQrnMemoryStream stream;
    array.SaveToStream(stream);
    EXPECT_TRUE(stream.Bytes().empty());
    array.LoadFromStream(stream);
    EXPECT_EQ(array.GetCount(), 1);
    EXPECT_EQ(stream.GetError(), CQrnStream::kGood);
}

} // namespace
