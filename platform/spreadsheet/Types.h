#pragma once
// Shared values of the spreadsheet library: alignments, border styles, cell types, colours and the
// limits of the two file formats. The numbers are the ones callers of the original library pass.
#include <cstdint>

namespace platform::spreadsheet {

enum class AlignH : uint8_t { General = 0, Left = 1, Center = 2, Right = 3, Fill = 4, Justify = 5 };
enum class AlignV : uint8_t { Top = 0, Center = 1, Bottom = 2, Justify = 3 };
enum class BorderStyle : uint8_t { None = 0, Thin = 1, Medium = 2 };
enum class CellType : uint8_t { Empty = 0, Number = 1, String = 2, Blank = 5 };

// 0x00RRGGBB, as made by Book::colorPack.
using Color = uint32_t;
inline constexpr Color kColorBlack = 0x000000;

inline constexpr int kXlsMaxRows = 65536;
inline constexpr int kXlsMaxColumns = 256;
inline constexpr int kXlsxMaxRows = 1048576;
inline constexpr int kXlsxMaxColumns = 16384;
inline constexpr int kMaxCellChars = 32767;
inline constexpr int kMaxSheetNameChars = 31;

}  // namespace platform::spreadsheet
