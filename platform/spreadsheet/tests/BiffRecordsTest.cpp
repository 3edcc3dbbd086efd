// Exact bytes of single records, and the splitting of the shared string table.
#include <gtest/gtest.h>

#include "platform/spreadsheet/BiffRecords.h"

namespace platform::spreadsheet::biff {
namespace {

using ByteList = std::vector<uint8_t>;

template <typename Write>
ByteList bytesOf(Write write) {
  Bytes out;
  write(out);
  return out.data();
}

TEST(BiffRecords, ExactBytes) {
  struct Case {
    const char* record;
    ByteList bytes;
    ByteList expected;
  };
  XfData exportXf;
  exportXf.fontIndex = 5;
  exportXf.alignH = 2;
  exportXf.alignV = 1;
  exportXf.wrap = true;
  exportXf.border = 1;
  exportXf.usedFlags = kUsedFont | kUsedAlign | kUsedBorder;
  FontData song{200, 8, 400, 0x86, u"宋体"};
  const Case cases[] = {
      {"BOF globals", bytesOf([](Bytes& o) { bof(o, Substream::Globals); }),
       {0x09, 0x08, 0x10, 0x00, 0x00, 0x06, 0x05, 0x00, 0xBB, 0x0D, 0xCC, 0x07, 0, 0, 0, 0, 6, 0, 0, 0}},
      {"FONT", bytesOf([&](Bytes& o) { font(o, song); }),
       {0x31, 0x00, 0x14, 0x00, 0xC8, 0x00, 0x00, 0x00, 0x08, 0x00, 0x90, 0x01, 0x00, 0x00, 0x00, 0x00, 0x86,
        0x00, 0x02, 0x01, 0x8B, 0x5B, 0x53, 0x4F}},
      {"XF of the export", bytesOf([&](Bytes& o) { xf(o, exportXf); }),
       {0xE0, 0x00, 0x14, 0x00, 0x05, 0x00, 0x00, 0x00, 0x01, 0x00, 0x1A, 0x00, 0x00, 0x38, 0x11, 0x11, 0x08,
        0x04, 0x08, 0x04, 0x00, 0x00, 0xC0, 0x20}},
      {"XF Normal style", bytesOf([](Bytes& o) { xf(o, XfData{0, true, 0, 2, false, 0, 8, 0}); }),
       {0xE0, 0x00, 0x14, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF5, 0xFF, 0x20, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x20}},
      {"STYLE", bytesOf([](Bytes& o) { style(o); }), {0x93, 0x02, 0x04, 0x00, 0x00, 0x80, 0x00, 0xFF}},
      {"BOUNDSHEET", bytesOf([](Bytes& o) { boundSheet(o, u"Sheet1"); }),
       {0x85, 0x00, 0x0E, 0x00, 0, 0, 0, 0, 0, 0, 0x06, 0x00, 'S', 'h', 'e', 'e', 't', '1'}},
      {"DIMENSIONS", bytesOf([](Bytes& o) { dimensions(o, 0, 70, 0, 5); }),
       {0x00, 0x02, 0x0E, 0x00, 0, 0, 0, 0, 0x46, 0, 0, 0, 0, 0, 0x05, 0, 0, 0}},
      {"ROW", bytesOf([](Bytes& o) { row(o, 3, 0, 5); }),
       {0x08, 0x02, 0x10, 0x00, 0x03, 0x00, 0x00, 0x00, 0x05, 0x00, 0xFF, 0x00, 0, 0, 0, 0, 0x00, 0x01, 0, 0}},
      {"LABELSST", bytesOf([](Bytes& o) { labelSst(o, 1, 2, 16, 7); }),
       {0xFD, 0x00, 0x0A, 0x00, 0x01, 0x00, 0x02, 0x00, 0x10, 0x00, 0x07, 0x00, 0x00, 0x00}},
      {"COLINFO", bytesOf([](Bytes& o) { colInfo(o, 1, 2, 9 * 256); }),
       {0x7D, 0x00, 0x0C, 0x00, 0x01, 0x00, 0x02, 0x00, 0x00, 0x09, 0x0F, 0x00, 0, 0, 0, 0}},
      {"DBCELL", bytesOf([](Bytes& o) { dbCell(o, 0x64, {20, 42}); }),
       {0xD7, 0x00, 0x08, 0x00, 0x64, 0x00, 0x00, 0x00, 0x14, 0x00, 0x2A, 0x00}},
      {"WINDOW2 active", bytesOf([](Bytes& o) { window2(o, SheetState::Selected); }),
       {0x3E, 0x02, 0x12, 0x00, 0xB6, 0x06, 0, 0, 0, 0, 0x40, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"EOF", bytesOf([](Bytes& o) { eof(o); }), {0x0A, 0x00, 0x00, 0x00}},
  };
  for (const Case& c : cases) EXPECT_EQ(c.bytes, c.expected) << c.record;
}

struct RecordView {
  uint16_t id;
  ByteList data;
};

std::vector<RecordView> records(const ByteList& bytes) {
  std::vector<RecordView> out;
  for (size_t at = 0; at + 4 <= bytes.size();) {
    uint16_t id = uint16_t(bytes[at] | bytes[at + 1] << 8);
    size_t size = size_t(bytes[at + 2] | bytes[at + 3] << 8);
    out.push_back({id, ByteList(bytes.begin() + long(at + 4), bytes.begin() + long(at + 4 + size))});
    at += 4 + size;
  }
  return out;
}

// A string of 5,000 CJK characters fills the SST to its last whole character; the rest goes into a
// CONTINUE that starts with its own flag byte.
TEST(BiffRecords, SstSplitsCharacterDataWithAFlagByte) {
  std::u16string cjk(5000, u'车');
  std::vector<ExtSstBucket> buckets;
  Bytes out;
  sst(out, {cjk}, 3, 8, buckets);
  auto recs = records(out.data());
  ASSERT_EQ(recs.size(), 2u);
  EXPECT_EQ(recs[0].id, 0x00FC);
  EXPECT_EQ(recs[0].data.size(), 8u + 3 + 4106 * 2);  // an odd byte stays unused rather than split a char
  EXPECT_EQ(recs[1].id, 0x003C);
  EXPECT_EQ(recs[1].data.size(), 1u + 894 * 2);
  EXPECT_EQ(recs[1].data[0], 0x01);
  EXPECT_EQ(recs[1].data[1], 0x66);  // 车 is U+8F66
  ASSERT_EQ(buckets.size(), 1u);
  EXPECT_EQ(buckets[0].streamOffset, 12u);
  EXPECT_EQ(buckets[0].recordOffset, 12u);
}

// A string whose header and first character no longer fit starts whole in the next CONTINUE, and a
// surrogate pair at the split stays together.
TEST(BiffRecords, SstKeepsHeadersAndSurrogatePairsWhole) {
  std::u16string filler(8224 - 8 - 3 - 2, u'a');  // leaves 2 bytes: too few for "b"'s header
  std::u16string next = u"b";
  std::vector<ExtSstBucket> buckets;
  Bytes out;
  sst(out, {filler, next}, 2, 1, buckets);
  auto recs = records(out.data());
  ASSERT_EQ(recs.size(), 2u);
  EXPECT_EQ(recs[1].data, (ByteList{0x01, 0x00, 0x00, 'b'}));
  ASSERT_EQ(buckets.size(), 2u);
  EXPECT_EQ(buckets[1].recordOffset, 4u);
  EXPECT_EQ(buckets[1].streamOffset, 4u + 8222 + 4);

  std::u16string pairs = std::u16string(4105, u'车') + u"\U0001F600" + u"z";
  Bytes split;
  buckets.clear();
  sst(split, {pairs}, 1, 8, buckets);
  recs = records(split.data());
  ASSERT_EQ(recs.size(), 2u);
  EXPECT_EQ(recs[0].data.size(), 8u + 3 + 4105 * 2);  // the pair would have been cut after its first unit
  EXPECT_EQ(recs[1].data, (ByteList{0x01, 0x3D, 0xD8, 0x00, 0xDE, 'z', 0x00}));
}

TEST(BiffRecords, IndexPointsAtDefColWidthAndEachDbCell) {
  Bytes out;
  size_t at = index(out, 0, 40, 2);
  patchIndex(out, at, 0x1234, {0x2000, 0x3000});
  EXPECT_EQ(out.data(), (ByteList{0x0B, 0x02, 0x18, 0x00, 0, 0, 0, 0, 0, 0, 0, 0, 0x28, 0, 0, 0, 0x34, 0x12,
                                  0, 0, 0x00, 0x20, 0, 0, 0x00, 0x30, 0, 0}));
}

}  // namespace
}  // namespace platform::spreadsheet::biff
