// Every input of the workbook fuzz target's corpus, turned into a book the way the target does
// (fuzz/WorkbookInput.h), written by both writers and read back by the independent readers: each
// cell's text as stored (lone surrogates as U+FFFD), on the sheets the overflow layout puts it.
// Inputs a format cannot hold (an .xls column from 256, a text longer than a cell takes) must fail
// to save and leave no file.
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>

#include "SheetTestSupport.h"
#include "fuzz/WorkbookInput.h"

namespace platform::spreadsheet {
namespace {

using testing::ExpectedSheet;

using Row = std::map<int, std::u16string>;  // column -> text, "" for a cell without one
using Rows = std::map<int, Row>;

std::vector<std::string> corpusFiles() {
  std::vector<std::string> names;
  if (DIR* dir = opendir(TABRIX_WORKBOOK_CORPUS)) {
    while (dirent* e = readdir(dir)) {
      if (e->d_name[0] != '.') names.push_back(e->d_name);
    }
    closedir(dir);
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<uint8_t> bytesOf(const std::string& name) {
  std::ifstream in(std::string(TABRIX_WORKBOOK_CORPUS) + "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Model {
  std::vector<Rows> sheets;
  bool tooWideForXls = false;
  size_t longestXls = 0;   // CellLength of the longest text in each format
  size_t longestXlsx = 0;
};

Model modelOf(const tabrix_fuzz::WorkbookPlan& plan) {
  Model m;
  m.sheets.resize(size_t(plan.sheets));
  for (const tabrix_fuzz::WorkbookCell& cell : plan.cells) {
    if (cell.col >= kXlsxMaxColumns) continue;
    std::u16string& text = m.sheets[size_t(cell.sheet)][cell.row][cell.col];
    if (cell.kind != tabrix_fuzz::WorkbookCell::Kind::FormatOnly) text = tabrix_fuzz::ReadableText(cell.text);
  }
  for (const Rows& rows : m.sheets) {
    for (const auto& [r, row] : rows) {
      m.tooWideForXls = m.tooWideForXls || row.rbegin()->first >= kXlsMaxColumns;
      for (const auto& [c, text] : row) {
        m.longestXls = std::max(m.longestXls, tabrix_fuzz::CellLength(text, false));
        m.longestXlsx = std::max(m.longestXlsx, tabrix_fuzz::CellLength(text, true));
      }
    }
  }
  return m;
}

// The first "SheetN" from N = 2 that no sheet is called yet, ignoring case.
std::u16string freeName(std::vector<std::u16string>& used) {
  for (int n = 2;; ++n) {
    std::string digits = "Sheet" + std::to_string(n);
    std::u16string name(digits.begin(), digits.end());
    if (std::none_of(used.begin(), used.end(), [&](const std::u16string& u) { return equalsIgnoringCase(u, name); })) {
      used.push_back(name);
      return name;
    }
  }
}

ExpectedSheet expectedSheet(const std::u16string& name, const Rows& rows) {
  ExpectedSheet sheet{name, {}, {}};
  if (rows.empty()) return sheet;
  sheet.rows.resize(size_t(rows.rbegin()->first) + 1);
  for (const auto& [r, row] : rows) {
    auto& cells = sheet.rows[size_t(r)];
    cells.resize(size_t(row.rbegin()->first) + 1);
    for (const auto& [c, text] : row) cells[size_t(c)] = text;
  }
  return sheet;
}

// The sheets of the file: rows past maxRows continue on added sheets, each starting with the
// sheet's header rows.
std::vector<ExpectedSheet> fileSheets(const tabrix_fuzz::WorkbookPlan& plan, const Model& m, int maxRows) {
  std::vector<std::u16string> used(tabrix_fuzz::kWorkbookSheetNames, tabrix_fuzz::kWorkbookSheetNames + plan.sheets);
  std::vector<ExpectedSheet> out;
  for (int s = 0; s < plan.sheets; ++s) {
    const int header = std::min(plan.headerRows, maxRows - 1);
    const long perSheet = maxRows - header;
    Rows headerRows;
    std::vector<std::pair<std::u16string, Rows>> pieces{{used[size_t(s)], {}}};
    for (const auto& [r, row] : m.sheets[size_t(s)]) {
      if (r < header) headerRows[r] = row;
      if (r < maxRows) {
        pieces[0].second[r] = row;
        continue;
      }
      const size_t piece = size_t(1 + (long(r) - maxRows) / perSheet);
      while (pieces.size() <= piece) pieces.push_back({freeName(used), headerRows});
      pieces[piece].second[int(header + (long(r) - maxRows) % perSheet)] = row;
    }
    for (const auto& [name, rows] : pieces) out.push_back(expectedSheet(name, rows));
  }
  return out;
}

class FuzzCorpusReadBack : public ::testing::TestWithParam<std::string> {
 protected:
  testing::ScratchFolder folder;
};

TEST_P(FuzzCorpusReadBack, EveryInputReadsBackCellForCell) {
  const bool xlsx = GetParam() == ".xlsx";
  const std::vector<std::string> files = corpusFiles();
  ASSERT_FALSE(files.empty()) << "no corpus in " << TABRIX_WORKBOOK_CORPUS;
  std::vector<std::pair<std::string, std::string>> written;
  for (const std::string& name : files) {
    SCOPED_TRACE(name);
    const std::vector<uint8_t> bytes = bytesOf(name);
    const tabrix_fuzz::WorkbookPlan plan = tabrix_fuzz::WorkbookPlanOf(bytes.data(), bytes.size());
    BookPtr book(Book::create());
    Format* second = tabrix_fuzz::AddWorkbookSheets(*book, plan);
    ASSERT_NE(second, nullptr);
    for (const tabrix_fuzz::WorkbookCell& cell : plan.cells) {
      EXPECT_EQ(tabrix_fuzz::StoreWorkbookCell(*book, second, cell), cell.col < kXlsxMaxColumns);
    }
    const Model model = modelOf(plan);
    const std::string path = folder / (name + GetParam());
    const bool fits = xlsx ? model.longestXlsx <= size_t(kMaxCellChars)
                           : !model.tooWideForXls && model.longestXls <= size_t(kMaxCellChars);
    const bool saved = book->save(path);
    struct stat st {};
    if (!fits) {
      EXPECT_FALSE(saved);
      EXPECT_NE(stat(path.c_str(), &st), 0) << "a refused book leaves no file";
      continue;
    }
    ASSERT_TRUE(saved) << book->errorMessage();
    testing::writeExpectation(path + ".json", fileSheets(plan, model, xlsx ? kXlsxMaxRows : kXlsMaxRows), "");
    written.emplace_back(path, path + ".json");
  }
  auto check = testing::checkWorkbooks(written);
  EXPECT_EQ(check.status, 0) << check.output;
}

INSTANTIATE_TEST_SUITE_P(BothWriters, FuzzCorpusReadBack, ::testing::Values(".xls", ".xlsx"),
                         [](const auto& info) { return info.param.substr(1); });

}  // namespace
}  // namespace platform::spreadsheet
