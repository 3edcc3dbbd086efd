#include "work/FindData.h"

#include "runtime/CQrnStream.h"

#include <gtest/gtest.h>

#include <memory>

using rg_quarn_Tolvar::rg_FILETIME_n;
using rg_quarn_Tolvar::rg_WIN32_FIND_DATAW_n;

namespace {

rg_WIN32_FIND_DATAW_n Sample()
{
    WIN32_FIND_DATAW data{};
    data.dwFileAttributes = 0x10;
    data.ftCreationTime = {0x01020304, 0x05060708};
    data.ftLastAccessTime = {1, 2};
    data.ftLastWriteTime = {3, 4};
    data.nFileSizeHigh = 5;
    data.nFileSizeLow = 6;
    data.dwReserved0 = 0xA000000C;
    data.dwReserved1 = 8;
    data.cFileName[0] = u'名';
    data.cFileName[1] = u'a';
    data.cFileName[259] = u'z';
    data.cAlternateFileName[13] = u'q';
    rg_WIN32_FIND_DATAW_n record;
    record.Assign(data);
    return record;
}

} // namespace

TEST(FindData, StreamLayoutIsTheFieldsInOrderLittleEndian)
{
    const rg_WIN32_FIND_DATAW_n record = Sample();
    CQrnMemoryStream stream;
    record.SaveToStream(stream);
    const std::vector<uint8_t>& b = stream.Bytes();
    ASSERT_EQ(b.size(), 592u);
    EXPECT_EQ(b[0], 0x10);
    EXPECT_EQ(b[4], 0x04);   // creation time, low half first
    EXPECT_EQ(b[8], 0x08);
    EXPECT_EQ(b[28], 5);     // nFileSizeHigh after the three times
    EXPECT_EQ(b[40], 8);     // dwReserved1
    EXPECT_EQ(b[44], 0x0D);  // cFileName[0] = U+540D
    EXPECT_EQ(b[45], 0x54);
    EXPECT_EQ(b[44 + 2 * 259], u'z');
    EXPECT_EQ(b[564 + 2 * 13], u'q');

    rg_WIN32_FIND_DATAW_n loaded;
    loaded.LoadFromStream(stream);
    EXPECT_TRUE(stream.IsGood());
    EXPECT_TRUE(loaded.IsEqual(record));

    rg_FILETIME_n time = record.ftCreationTime;
    CQrnMemoryStream timeStream;
    time.SaveToStream(timeStream);
    EXPECT_EQ(timeStream.Bytes(), (std::vector<uint8_t>{4, 3, 2, 1, 8, 7, 6, 5}));
}

TEST(FindData, ShortReadStopsAtTheFieldThatDidNotFit)
{
    const rg_WIN32_FIND_DATAW_n record = Sample();
    CQrnMemoryStream full;
    record.SaveToStream(full);
    std::vector<uint8_t> cut(full.Bytes().begin(), full.Bytes().begin() + 30);
    CQrnMemoryStream stream(cut);
    rg_WIN32_FIND_DATAW_n loaded;
    loaded.LoadFromStream(stream);
    EXPECT_EQ(stream.GetError(), CQrnStream::kReadError);
    EXPECT_EQ(loaded.dwFileAttributes, 0x10u);
    EXPECT_TRUE(loaded.ftLastWriteTime.HasSameWords(record.ftLastWriteTime));
    EXPECT_EQ(loaded.nFileSizeHigh, 0u);  // only two of its four bytes were there
    EXPECT_EQ(loaded.cFileName[0], u'\0');
}

TEST(FindData, EqualityCopyAndResetCoverEveryUnitOfTheNames)
{
    const rg_WIN32_FIND_DATAW_n record = Sample();
    std::unique_ptr<CQrnObject> clone(record.Clone());
    EXPECT_TRUE(clone->IsEqual(record));
    auto& copy = static_cast<rg_WIN32_FIND_DATAW_n&>(*clone);
    copy.cFileName[200] = u'x';  // after the terminator, yet compared
    EXPECT_FALSE(copy.IsEqual(record));
    EXPECT_TRUE(copy.CopyFrom(record));
    EXPECT_TRUE(copy.IsEqual(record));
    copy.ftLastAccessTime.dwHighDateTime = 9;
    EXPECT_FALSE(copy.IsEqual(record));
    copy.Reset();
    EXPECT_TRUE(copy.IsEqual(rg_WIN32_FIND_DATAW_n()));
    EXPECT_FALSE(copy.CopyFrom(rg_FILETIME_n()));
}
