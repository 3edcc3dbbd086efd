// The compound file around the workbook stream, read back by following its own tables.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/spreadsheet/CompoundFile.h"

namespace platform::spreadsheet::cfb {
namespace {

uint32_t u32At(const std::vector<uint8_t>& f, size_t at) {
  return uint32_t(f[at]) | uint32_t(f[at + 1]) << 8 | uint32_t(f[at + 2]) << 16 | uint32_t(f[at + 3]) << 24;
}

constexpr uint32_t kEnd = 0xFFFFFFFE, kFat = 0xFFFFFFFD, kDif = 0xFFFFFFFC, kFree = 0xFFFFFFFF;

// Reads the stream back the way a reader does: FAT sector list from the header and DIFAT chain, then
// the workbook's chain from its directory entry. Checks every rule a strict reader enforces.
std::vector<uint8_t> readBack(const std::vector<uint8_t>& f) {
  EXPECT_EQ(f.size() % 512, 0u);
  EXPECT_EQ(u32At(f, 0), 0xE011CFD0u);
  const uint32_t fatCount = u32At(f, 0x2C), dirStart = u32At(f, 0x30);
  const uint32_t difatCount = u32At(f, 0x48);
  std::vector<uint32_t> fatSectors, difatSectors;
  for (uint32_t i = 0; i < 109 && fatSectors.size() < fatCount; ++i) fatSectors.push_back(u32At(f, 0x4C + 4 * i));
  for (uint32_t d = u32At(f, 0x44), n = 0; d != kEnd; ++n) {
    EXPECT_LT(n, difatCount);
    if (n >= difatCount) break;
    difatSectors.push_back(d);
    size_t base = (size_t(d) + 1) * 512;
    for (uint32_t k = 0; k < 127 && fatSectors.size() < fatCount; ++k) fatSectors.push_back(u32At(f, base + 4 * k));
    d = u32At(f, base + 508);
  }
  EXPECT_EQ(fatSectors.size(), fatCount);
  EXPECT_EQ(difatSectors.size(), difatCount);
  std::vector<uint32_t> fat;
  for (uint32_t s : fatSectors) {
    for (int k = 0; k < 128; ++k) fat.push_back(u32At(f, (size_t(s) + 1) * 512 + 4 * size_t(k)));
  }
  EXPECT_GE(fat.size(), f.size() / 512 - 1);
  for (uint32_t s : fatSectors) EXPECT_EQ(fat[s], kFat);
  for (uint32_t s : difatSectors) EXPECT_EQ(fat[s], kDif);
  for (size_t s = f.size() / 512 - 1; s < fat.size(); ++s) EXPECT_EQ(fat[s], kFree);
  EXPECT_EQ(fat[dirStart], kEnd);
  const size_t entry = (size_t(dirStart) + 1) * 512 + 128;
  const uint32_t start = u32At(f, entry + 0x74), size = u32At(f, entry + 0x78);
  EXPECT_GE(size, 4096u);
  std::vector<uint8_t> stream;
  std::vector<bool> seen(fat.size());
  for (uint32_t s = start; s != kEnd && stream.size() < size;) {
    EXPECT_FALSE(seen[s]) << "sector in the chain twice";
    seen[s] = true;
    stream.insert(stream.end(), f.begin() + long((size_t(s) + 1) * 512), f.begin() + long((size_t(s) + 2) * 512));
    s = fat[s];
    if (stream.size() >= size) {
      EXPECT_EQ(s, kEnd) << "chain longer than the stream";
    }
  }
  stream.resize(size);
  return stream;
}

TEST(CompoundFile, SmallStreamIsPaddedAndLaidOutInElevenSectors) {
  std::vector<uint8_t> stream(100, 0xAB);
  std::vector<uint8_t> file = wholeFile(stream);
  ASSERT_EQ(file.size(), 512u * 11);  // header, 8 stream sectors, directory, FAT
  EXPECT_EQ(u32At(file, 0x2C), 1u);
  EXPECT_EQ(u32At(file, 0x30), 8u);
  EXPECT_EQ(u32At(file, 0x3C), kEnd);
  EXPECT_EQ(u32At(file, 0x44), kEnd);
  EXPECT_EQ(u32At(file, 0x4C), 9u);
  EXPECT_EQ(u32At(file, 0x50), kFree);
  std::vector<uint8_t> back = readBack(file);
  ASSERT_EQ(back.size(), 4096u);
  EXPECT_TRUE(std::equal(stream.begin(), stream.end(), back.begin()));
  EXPECT_EQ(back[100], 0);
  const char16_t* name = u"Workbook";
  EXPECT_EQ(std::memcmp(file.data() + 9 * 512 + 128, name, 16), 0);
}

// 8 MB needs 130 FAT sectors: 109 listed in the header, the rest in one DIFAT sector.
TEST(CompoundFile, LargeStreamListsFatSectorsBeyond109InDifat) {
  std::vector<uint8_t> stream(8 * 1024 * 1024 + 3);
  for (size_t i = 0; i < stream.size(); ++i) stream[i] = uint8_t(i * 7 + i / 512);
  std::vector<uint8_t> file = wholeFile(stream);
  EXPECT_GT(u32At(file, 0x2C), 109u);
  EXPECT_EQ(u32At(file, 0x48), 1u);
  std::vector<uint8_t> back = readBack(file);
  EXPECT_EQ(back, stream);
}

TEST(CompoundFile, FatCountCoversTheFatAndDifatSectorsThemselves) {
  for (uint64_t sectors : {126u, 127u, 128u, 109u * 127u, 109u * 128u - 111u, 120000u}) {
    Layout layout = layoutFor(sectors * 512);
    std::vector<uint8_t> file(512 + layout.streamSectorBytes(), 0);
    std::copy(layout.header.begin(), layout.header.end(), file.begin());
    file.insert(file.end(), layout.tail.begin(), layout.tail.end());
    EXPECT_EQ(readBack(file).size(), sectors * 512) << sectors;
  }
}

}  // namespace
}  // namespace platform::spreadsheet::cfb
