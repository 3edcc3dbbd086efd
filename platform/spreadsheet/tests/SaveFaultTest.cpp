// Every step of a save failing in turn, through the save path's system calls: the target keeps its
// old bytes, nothing of the save stays in the folder, no descriptor stays open, and the error names
// the path and the reason. Interrupted and short writes are retried and the save succeeds with the
// same bytes. A real full disk (a small tmpfs) does the same to the writers' own writes.
#include <dirent.h>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <ostream>
#include <random>

#include <gtest/gtest.h>

#include "SaveFaults.h"
#include "SheetTestSupport.h"
#include "platform/spreadsheet/Book.h"
#include "platform/spreadsheet/Sheet.h"

namespace platform::spreadsheet {
namespace {

using testing::Call;
using testing::Effect;
using testing::Fault;
using testing::InjectedFault;

using testing::contentOf;
using testing::kOldBytes;
using testing::writeFile;

int openDescriptors() {
  int count = 0;
  if (DIR* dir = opendir("/proc/self/fd")) {
    while (readdir(dir) != nullptr) ++count;
    closedir(dir);
  }
  return count;
}

// Descriptors of this process on files under folder, removed ones included.
int descriptorsInto(const std::string& folder) {
  int count = 0;
  if (DIR* dir = opendir("/proc/self/fd")) {
    while (dirent* e = readdir(dir)) {
      char link[4096];
      ssize_t n = readlinkat(dirfd(dir), e->d_name, link, sizeof link);
      if (n > 0 && std::string(link, size_t(n)).rfind(folder + "/", 0) == 0) ++count;
    }
    closedir(dir);
  }
  return count;
}

const std::vector<std::u16string> kHeader{u"ID", u"车牌号", u"时间", u"车牌颜色", u"相机IP地址"};

std::vector<std::u16string> plateRow(int r) {
  std::u16string n = testing::u16(std::to_string(r));
  return {n, u"京A" + n, u"2024-08-21 10:00:00", u"蓝", u"10.1.1." + testing::u16(std::to_string(r % 250))};
}

// Two sheets, so the .xls stream is more than a single region.
BookPtr plateBook(int rows) {
  BookPtr book(Book::create());
  for (const char16_t* name : {u"Sheet1", u"Sheet2"}) {
    Sheet* sheet = book->addSheet(name);
    for (int c = 0; c < 5; ++c) sheet->writeStr(0, c, kHeader[c]);
    for (int r = 1; r < rows; ++r) {
      std::vector<std::u16string> row = plateRow(r);
      for (int c = 0; c < 5; ++c) sheet->writeStr(r, c, row[c]);
    }
  }
  return book;
}

std::vector<testing::ExpectedSheet> plateExpectation(int rows) {
  std::vector<std::vector<std::u16string>> cells{kHeader};
  for (int r = 1; r < rows; ++r) cells.push_back(plateRow(r));
  return {{u"Sheet1", cells, {}}, {u"Sheet2", cells, {}}};
}

constexpr int kRows = 300;
constexpr int kMiddle = -1;  // stand-ins for the middle and the last write, counted in a clean save
constexpr int kLast = -2;

struct Case {
  const char* name;
  const char* extension;
  Fault fault;
  const char* reason;  // nullptr: the save succeeds
};

const Case kCases[] = {
    {"CreatingTheTemporaryFile", ".xls", {Call::Open, 1, Effect::Fail, EACCES}, "Permission denied"},
    {"EveryTemporaryNameTaken", ".xls", {Call::Open, Fault::kEvery, Effect::Fail, EEXIST}, "File exists"},
    {"FirstWrite", ".xls", {Call::Write, 1, Effect::Fail, ENOSPC}, "No space left on device"},
    {"MiddleWrite", ".xls", {Call::Write, kMiddle, Effect::Fail, EIO}, "Input/output error"},
    {"LastWrite", ".xls", {Call::Write, kLast, Effect::Fail, EFBIG}, "File too large"},
    {"AWriteOfNothing", ".xls", {Call::Write, kMiddle, Effect::NothingWritten}, "No space left on device"},
    {"Fsync", ".xls", {Call::Fsync, 1, Effect::Fail, EIO}, "Input/output error"},
    {"Close", ".xls", {Call::Close, 1, Effect::Fail, EIO}, "Input/output error"},
    {"Rename", ".xls", {Call::Rename, 1, Effect::Fail, EROFS}, "Read-only file system"},
    {"EveryWriteShort", ".xls", {Call::Write, Fault::kEvery, Effect::Short}, nullptr},
    {"FirstWriteInterrupted", ".xls", {Call::Write, 1, Effect::Interrupt}, nullptr},
    {"MiddleWriteInterrupted", ".xls", {Call::Write, kMiddle, Effect::Interrupt}, nullptr},
    {"LastWriteInterrupted", ".xls", {Call::Write, kLast, Effect::Interrupt}, nullptr},
    {"FolderSyncAfterTheRename", ".xls", {Call::Fsync, 2, Effect::Fail, EIO}, nullptr},
    {"CreatingTheScratchFolder", ".xlsx", {Call::Mkdtemp, 1, Effect::Fail, ENOSPC}, "No space left on device"},
    {"ReopeningTheWrittenBook", ".xlsx", {Call::Open, 1, Effect::Fail, EMFILE}, "Too many open files"},
    {"Fsync", ".xlsx", {Call::Fsync, 1, Effect::Fail, EIO}, "Input/output error"},
    {"Close", ".xlsx", {Call::Close, 1, Effect::Fail, EIO}, "Input/output error"},
    {"Rename", ".xlsx", {Call::Rename, 1, Effect::Fail, EROFS}, "Read-only file system"},
    {"FolderSyncAfterTheRename", ".xlsx", {Call::Fsync, 2, Effect::Fail, EIO}, nullptr},
};

// How a case shows in test listings.
void PrintTo(const Case& c, std::ostream* out) { *out << c.extension << " " << c.name; }

class SaveFault : public ::testing::TestWithParam<Case> {
 protected:
  // A clean save of the book elsewhere: its bytes and how many writes it made.
  struct CleanSave {
    std::string bytes;
    int writes;
  };
  CleanSave cleanSave(Book& book) {
    testing::ScratchFolder elsewhere;
    std::string path = elsewhere / (std::string("clean") + GetParam().extension);
    InjectedFault counting(std::nullopt);
    EXPECT_TRUE(book.save(path)) << book.errorMessage();
    return {contentOf(path), counting.calls(Call::Write)};
  }
  Fault resolved(Fault fault, int writes) {
    if (fault.nth == kMiddle) fault.nth = (writes + 1) / 2;
    if (fault.nth == kLast) fault.nth = writes;
    return fault;
  }
  testing::ScratchFolder folder;
};

TEST_P(SaveFault, KeepsTheOldTargetOrSavesTheWholeBook) {
  const Case& c = GetParam();
  const std::string name = std::string("target") + c.extension;
  const std::string target = folder / name;
  writeFile(target, kOldBytes);
  BookPtr book = plateBook(kRows);
  const CleanSave clean = cleanSave(*book);
  const bool xls = c.extension == std::string(".xls");
  if (xls) {
    ASSERT_GE(clean.writes, 3) << "a header, the stream and the tail";
  }
  const int descriptors = openDescriptors();

  bool saved;
  {
    InjectedFault fault(resolved(c.fault, clean.writes));
    saved = book->save(target);
    ASSERT_GT(fault.struck(), 0) << "the fault never struck";
  }
  EXPECT_EQ(openDescriptors(), descriptors) << "a descriptor stayed open";
  EXPECT_EQ(folder.entries(), std::vector<std::string>{name}) << "something of the save stayed";
  if (c.reason != nullptr) {
    EXPECT_FALSE(saved);
    EXPECT_EQ(book->errorMessage(), "cannot save " + target + ": " + c.reason);
    EXPECT_TRUE(contentOf(target) == kOldBytes) << "the old target changed";
    ASSERT_TRUE(book->save(target)) << "a later save works: " << book->errorMessage();
  } else {
    EXPECT_TRUE(saved) << book->errorMessage();
  }
  if (xls) {
    EXPECT_TRUE(contentOf(target) == clean.bytes) << "not the bytes of a clean save";
  } else {
    testing::writeExpectation(folder.path() + ".json", plateExpectation(kRows), "");
    testing::CheckResult check = testing::checkWorkbook(target, folder.path() + ".json");
    unlink((folder.path() + ".json").c_str());
    EXPECT_EQ(check.status, 0) << check.output;
  }
}

INSTANTIATE_TEST_SUITE_P(EachStep, SaveFault, ::testing::ValuesIn(kCases), [](const auto& info) {
  return std::string(info.param.extension + 1) + "_" + info.param.name;
});

// A tmpfs of 256 KiB mounted for the test holds a small old target; the book does not fit.
class FullDisk : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    if (geteuid() != 0) GTEST_SKIP() << "mounting a small tmpfs needs root";
    if (mount("tmpfs", folder.path().c_str(), "tmpfs", MS_NOSUID | MS_NODEV, "size=256k,mode=0700") != 0)
      GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(errno);
    mounted = true;
  }
  void TearDown() override {
    if (mounted) {
      EXPECT_EQ(umount2(folder.path().c_str(), MNT_DETACH), 0) << std::strerror(errno);
    }
  }
  static unsigned long long freeBytes(const std::string& path) {
    struct statvfs st {};
    statvfs(path.c_str(), &st);
    return static_cast<unsigned long long>(st.f_bavail) * st.f_frsize;
  }
  testing::ScratchFolder folder;
  bool mounted = false;
};

// Random letters do not compress, so the .xlsx is too big as well.
BookPtr incompressibleBook(int rows) {
  std::mt19937 random(7);
  BookPtr book(Book::create());
  Sheet* sheet = book->addSheet(u"Sheet1");
  for (int r = 0; r < rows; ++r) {
    std::u16string text;
    for (int i = 0; i < 24; ++i) text += char16_t(u'A' + random() % 26);
    sheet->writeStr(r, 0, text);
  }
  return book;
}

TEST_P(FullDisk, KeepsTheOldTargetAndFreesTheSpace) {
  const std::string name = "full" + GetParam();
  const std::string target = folder / name;
  writeFile(target, kOldBytes);
  const unsigned long long before = freeBytes(folder.path());
  BookPtr book = incompressibleBook(30000);
  EXPECT_FALSE(book->save(target));
  EXPECT_EQ(book->errorMessage().rfind("cannot save " + target + ": No space left on device", 0), 0u)
      << book->errorMessage();
  EXPECT_TRUE(contentOf(target) == kOldBytes);
  EXPECT_EQ(folder.entries(), std::vector<std::string>{name});
  EXPECT_EQ(descriptorsInto(folder.path()), 0) << "a file of the failed save is still open";
  EXPECT_EQ(freeBytes(folder.path()), before) << "space still held by a removed file";
  BookPtr small = plateBook(20);
  EXPECT_TRUE(small->save(target)) << "a book that fits saves afterwards: " << small->errorMessage();
}

INSTANTIATE_TEST_SUITE_P(BothWriters, FullDisk, ::testing::Values(".xls", ".xlsx"),
                         [](const auto& info) { return info.param.substr(1); });

}  // namespace
}  // namespace platform::spreadsheet
