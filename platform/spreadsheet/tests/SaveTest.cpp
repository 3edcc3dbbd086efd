// Saving through a temporary file: success replaces the target; every failure returns false with a
// readable reason, leaves no file behind and keeps an existing target intact.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <fstream>
#include <sstream>

#include "SheetTestSupport.h"
#include "platform/spreadsheet/Book.h"
#include "platform/spreadsheet/Sheet.h"

namespace platform::spreadsheet {
namespace {

using testing::contentOf;
using testing::writeFile;

unsigned currentUmask() {
  mode_t mask = umask(0);
  umask(mask);
  return mask;
}

BookPtr smallBook() {
  BookPtr book(Book::create());
  book->addSheet(u"Sheet1")->writeStr(0, 0, u"车牌号");
  return book;
}

class Save : public ::testing::TestWithParam<std::string> {
 protected:
  std::string name(const std::string& stem) const { return stem + GetParam(); }
  testing::ScratchFolder folder;
};

TEST_P(Save, ReplacesAnExistingTargetAndLeavesNothingElse) {
  std::string target = folder / name("book");
  writeFile(target, "old content");
  BookPtr book = smallBook();
  ASSERT_TRUE(book->save(target)) << book->errorMessage();
  EXPECT_NE(contentOf(target), "old content");
  ASSERT_TRUE(book->save(target)) << book->errorMessage();  // a second export replaces it again
  EXPECT_EQ(folder.entries(), std::vector<std::string>{name("book")});
  struct stat st {};
  ASSERT_EQ(stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0666u & ~currentUmask()) << "a normal file's permissions, not a temporary's";
}

// A book without sheets gets an empty one; a sheet without cells is written too. Neither may keep a
// descriptor open after the save, however often the book is saved.
TEST_P(Save, EmptySheetsKeepNoDescriptorOpen) {
  BookPtr book(Book::create());
  const std::string target = folder / name("empty");
  const int descriptors = testing::openDescriptors();
  ASSERT_TRUE(book->save(target)) << book->errorMessage();
  book->addSheet(u"Sheet1")->writeStr(0, 0, u"a");
  book->addSheet(u"空表");
  book->addSheet(u"Blank")->setCellFormat(3, 3, nullptr);
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(book->save(target)) << book->errorMessage();
  EXPECT_EQ(testing::openDescriptors(), descriptors);
  EXPECT_EQ(folder.entries(), std::vector<std::string>{name("empty")});
}

TEST_P(Save, ALinkAtTheTargetIsReplacedNotWrittenThrough) {
  std::string elsewhere = folder / "elsewhere";
  writeFile(elsewhere, "keep me");
  std::string target = folder / name("link");
  ASSERT_EQ(symlink(elsewhere.c_str(), target.c_str()), 0);
  BookPtr book = smallBook();
  ASSERT_TRUE(book->save(target)) << book->errorMessage();
  EXPECT_EQ(contentOf(elsewhere), "keep me");
  struct stat st {};
  ASSERT_EQ(lstat(target.c_str(), &st), 0);
  EXPECT_TRUE(S_ISREG(st.st_mode));
}

TEST_P(Save, FailuresLeaveNothingBehind) {
  mkdir((folder / name("folder")).c_str(), 0755);
  writeFile(folder / "plain", "a regular file");
  writeFile(folder / name("existing"), "old content");
  const std::vector<std::string> before = folder.entries();
  struct Case {
    std::string path;
    std::string reason;
  };
  const Case cases[] = {
      {folder / ("missing/" + name("a")), "No such file or directory"},
      {folder / name("folder"), "Is a directory"},
      {folder / name("folder") + "/", "Is a directory"},
      {folder / ("plain/" + name("a")), "Not a directory"},  // a folder that cannot take files
      {folder / (std::string(300, 'n') + GetParam()), "File name too long"},
      {"", "No such file or directory"},
  };
  BookPtr book = smallBook();
  for (const Case& c : cases) {
    EXPECT_FALSE(book->save(c.path)) << c.path;
    EXPECT_NE(book->errorMessage().find(c.path + ": " + c.reason), std::string::npos) << book->errorMessage();
    EXPECT_EQ(folder.entries(), before) << c.path;
  }
  EXPECT_TRUE(contentOf(folder / name("existing")) == "old content");
  EXPECT_TRUE(book->save(folder / name("existing"))) << "the book still saves after failures";
}

// A file-size limit makes the writes fail as a full disk does.
TEST_P(Save, AFullDiskKeepsTheOldTarget) {
  std::string target = folder / name("full");
  writeFile(target, "old content");
  BookPtr book(Book::create());
  Sheet* sheet = book->addSheet(u"Sheet1");
  for (int r = 0; r < 20000; ++r) sheet->writeStr(r, 0, testing::u16("text number " + std::to_string(r)));
  struct rlimit old {};
  getrlimit(RLIMIT_FSIZE, &old);
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = old;
  small.rlim_cur = 4096;  // below even the compressed .xlsx
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  bool saved = book->save(target);
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(saved);
  EXPECT_NE(book->errorMessage().find("cannot save " + target + ": "), std::string::npos) << book->errorMessage();
  EXPECT_EQ(folder.entries(), std::vector<std::string>{name("full")});
  EXPECT_TRUE(contentOf(target) == "old content");
}

INSTANTIATE_TEST_SUITE_P(BothWriters, Save, ::testing::Values(".xls", ".xlsx"),
                         [](const auto& info) { return info.param.substr(1); });

TEST(SaveXls, ColumnsBeyondWhatXlsHoldsFailWithAReason) {
  testing::ScratchFolder folder;
  BookPtr book(Book::create());
  Sheet* sheet = book->addSheet(u"Sheet1");
  sheet->writeStr(0, 300, u"far right");
  EXPECT_FALSE(book->save(folder / "wide.xls"));
  EXPECT_NE(book->errorMessage().find("beyond the 256 columns"), std::string::npos) << book->errorMessage();
  EXPECT_TRUE(folder.entries().empty());
  EXPECT_TRUE(book->save(folder / "wide.xlsx")) << book->errorMessage();
}

TEST(SaveXls, PathTextWithUndecodableBytesNamesTheOriginalFile) {
  testing::ScratchFolder folder;
  BookPtr book = smallBook();
  std::u16string path = testing::u16(folder.path()) + u"/\xDCFF\xDC80导出表.xls";
  ASSERT_TRUE(book->save(path)) << book->errorMessage();
  EXPECT_EQ(folder.entries(), std::vector<std::string>{"\xFF\x80导出表.xls"});
}

}  // namespace
}  // namespace platform::spreadsheet
