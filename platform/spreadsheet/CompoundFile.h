#pragma once
// The OLE compound file (version 3, 512-byte sectors) around one "Workbook" stream. Layout: header,
// the stream's sectors, one directory sector, the FAT sectors, then the DIFAT sectors that list FAT
// sectors beyond the header's 109. Streams are given at least 4096 bytes (zero padding after the last
// record), so no mini stream is needed. Pure functions; any thread.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform::spreadsheet::cfb {

inline constexpr size_t kSectorSize = 512;
inline constexpr uint64_t kMinStreamSize = 4096;

struct Layout {
  uint64_t streamSize;               // declared size, the stream padded to at least 4096 bytes
  std::vector<uint8_t> header;       // 512 bytes
  std::vector<uint8_t> tail;         // directory, FAT and DIFAT sectors after the stream's sectors
  uint64_t streamSectorBytes() const { return (streamSize + kSectorSize - 1) / kSectorSize * kSectorSize; }
};

// The header and tail for a stream of the given byte count (before padding).
Layout layoutFor(uint64_t streamBytes);

// A whole compound file in memory, for tests and small books.
std::vector<uint8_t> wholeFile(const std::vector<uint8_t>& stream);

}  // namespace platform::spreadsheet::cfb
