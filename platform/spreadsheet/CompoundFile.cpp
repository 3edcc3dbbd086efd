#include "platform/spreadsheet/CompoundFile.h"

#include <algorithm>
#include <string>

#include "platform/spreadsheet/Bytes.h"

namespace platform::spreadsheet::cfb {
namespace {

constexpr uint32_t kFreeSect = 0xFFFFFFFF;
constexpr uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr uint32_t kFatSect = 0xFFFFFFFD;
constexpr uint32_t kDifSect = 0xFFFFFFFC;
constexpr uint32_t kNoStream = 0xFFFFFFFF;
constexpr uint32_t kHeaderDifat = 109;
constexpr uint32_t kDifatPerSector = 127;
constexpr uint32_t kFatPerSector = 128;

struct Counts {
  uint32_t stream, directory = 1, fat, difat;
  uint32_t firstFat() const { return stream + directory; }
  uint32_t firstDifat() const { return firstFat() + fat; }
  uint32_t total() const { return firstDifat() + difat; }
};

Counts countSectors(uint64_t streamSize) {
  Counts c{uint32_t((streamSize + kSectorSize - 1) / kSectorSize), 1, 1, 0};
  for (;;) {
    c.difat = c.fat > kHeaderDifat ? (c.fat - kHeaderDifat + kDifatPerSector - 1) / kDifatPerSector : 0;
    if (uint64_t(c.fat) * kFatPerSector >= c.total()) return c;
    ++c.fat;
  }
}

void directoryEntry(Bytes& out, const std::u16string& name, uint8_t type, uint32_t child, uint32_t start,
                    uint64_t size) {
  size_t at = out.size();
  for (char16_t c : name) out.u16(c);
  out.zeros(64 - (out.size() - at));
  out.u16(name.empty() ? 0 : uint16_t((name.size() + 1) * 2));
  out.u8(type);
  out.u8(name.empty() ? 0 : 1);  // black
  out.u32(kNoStream);
  out.u32(kNoStream);
  out.u32(child);
  out.zeros(16 + 4 + 16);  // CLSID, state bits, creation and modification times
  out.u32(start);
  out.u32(uint32_t(size));
  out.u32(0);
}

void header(Bytes& out, const Counts& c) {
  for (uint8_t b : {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1}) out.u8(b);
  out.zeros(16);
  out.u16(0x003E);
  out.u16(0x0003);
  out.u16(0xFFFE);
  out.u16(9);
  out.u16(6);
  out.zeros(6);
  out.u32(0);
  out.u32(c.fat);
  out.u32(c.stream);  // the directory sector follows the stream
  out.u32(0);
  out.u32(0x1000);
  out.u32(kEndOfChain);
  out.u32(0);
  out.u32(c.difat > 0 ? c.firstDifat() : kEndOfChain);
  out.u32(c.difat);
  for (uint32_t i = 0; i < kHeaderDifat; ++i) out.u32(i < c.fat ? c.firstFat() + i : kFreeSect);
}

void fat(Bytes& out, const Counts& c) {
  for (uint32_t s = 0; s < c.stream; ++s) out.u32(s + 1 == c.stream ? kEndOfChain : s + 1);
  out.u32(kEndOfChain);  // directory
  for (uint32_t i = 0; i < c.fat; ++i) out.u32(kFatSect);
  for (uint32_t i = 0; i < c.difat; ++i) out.u32(kDifSect);
  for (uint32_t i = c.total(); i < c.fat * kFatPerSector; ++i) out.u32(kFreeSect);
}

void difat(Bytes& out, const Counts& c) {
  for (uint32_t d = 0; d < c.difat; ++d) {
    for (uint32_t k = 0; k < kDifatPerSector; ++k) {
      uint32_t n = kHeaderDifat + d * kDifatPerSector + k;
      out.u32(n < c.fat ? c.firstFat() + n : kFreeSect);
    }
    out.u32(d + 1 < c.difat ? c.firstDifat() + d + 1 : kEndOfChain);
  }
}

}  // namespace

Layout layoutFor(uint64_t streamBytes) {
  Layout layout{std::max(streamBytes, kMinStreamSize), {}, {}};
  Counts c = countSectors(layout.streamSize);
  Bytes head;
  header(head, c);
  Bytes tail;
  directoryEntry(tail, u"Root Entry", 5, 1, kEndOfChain, 0);
  directoryEntry(tail, u"Workbook", 2, kNoStream, 0, layout.streamSize);
  directoryEntry(tail, u"", 0, kNoStream, 0, 0);
  directoryEntry(tail, u"", 0, kNoStream, 0, 0);
  fat(tail, c);
  difat(tail, c);
  layout.header = std::move(head.data());
  layout.tail = std::move(tail.data());
  return layout;
}

std::vector<uint8_t> wholeFile(const std::vector<uint8_t>& stream) {
  Layout layout = layoutFor(stream.size());
  std::vector<uint8_t> file = layout.header;
  file.insert(file.end(), stream.begin(), stream.end());
  file.resize(kSectorSize + layout.streamSectorBytes(), 0);
  file.insert(file.end(), layout.tail.begin(), layout.tail.end());
  return file;
}

}  // namespace platform::spreadsheet::cfb
