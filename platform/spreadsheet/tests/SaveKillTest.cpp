// A process killed with SIGKILL while it saves over an existing workbook: at each of many points
// spread over the save's measured run time, the target is afterwards either the old bytes or a
// complete workbook. What a kill can leave besides is the save's temporary file or scratch folder,
// always named ".tabrix-*" (nothing can remove it once the process is gone).
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <thread>

#include <gtest/gtest.h>

#include "SheetTestSupport.h"

namespace platform::spreadsheet {
namespace {

using Clock = std::chrono::steady_clock;

// Half of the points are spread over the whole save, half over the part with a file in the folder
// (for .xls most of the save builds the stream in memory first).
constexpr int kKillPoints = 40;
using testing::contentOf;
using testing::kOldBytes;
using testing::writeFile;

// The helper saving over target, with the read end of its standard output.
class SavingChild {
 public:
  SavingChild(const std::string& target, int rows) {
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(out[1], STDOUT_FILENO);
      std::string count = std::to_string(rows);
      execl(TABRIX_SAVE_KILL_HELPER, TABRIX_SAVE_KILL_HELPER, target.c_str(), count.c_str(), nullptr);
      _exit(127);
    }
    close(out[1]);
    output_ = out[0];
  }
  ~SavingChild() {
    if (pid_ > 0 && status_ < 0) {
      kill(pid_, SIGKILL);
      finish();
    }
    if (output_ >= 0) close(output_);
  }
  bool started() const { return pid_ > 0; }
  // Whether the child said something or ended within timeout.
  bool speaks(std::chrono::microseconds timeout) {
    pollfd p{output_, POLLIN, 0};
    return poll(&p, 1, int(std::max<long long>(1, timeout.count() / 1000))) > 0;
  }
  // Waits for the child's next message letter; 0 when it ended without one.
  char next() {
    char c = 0;
    while (read(output_, &c, 1) < 0 && errno == EINTR) {
    }
    return c;
  }
  // The rest of what it said.
  std::string rest() {
    std::string text;
    char buf[256];
    ssize_t n;
    while ((n = read(output_, buf, sizeof buf)) > 0) text.append(buf, size_t(n));
    return text;
  }
  void kill9() { kill(pid_, SIGKILL); }
  int finish() {
    while (waitpid(pid_, &status_, 0) < 0 && errno == EINTR) {
    }
    return status_;
  }

 private:
  pid_t pid_ = -1;
  int output_ = -1;
  int status_ = -1;
};

// Removes what a kill left in folder besides target; false when something is not the save's own.
bool clearLeftovers(testing::ScratchFolder& folder, const std::string& target, int& leftovers,
                    std::string& strangers) {
  for (const std::string& name : folder.entries()) {
    if (name == target) continue;
    if (name.rfind(".tabrix-", 0) != 0) {
      strangers += name + " ";
      continue;
    }
    ++leftovers;
    std::string command = "rm -rf '" + (folder / name) + "'";
    if (std::system(command.c_str()) != 0) return false;
  }
  return strangers.empty();
}

struct Outcome {
  int oldKept = 0;        // killed before the rename
  int leftTemporary = 0;  // of those, with the save's temporary in the folder
  int newComplete = 0;    // killed after the rename
  int finished = 0;       // the save ended before the kill
};

class KilledWhileSaving : public ::testing::TestWithParam<std::string> {
 protected:
  int rows() const { return GetParam() == ".xls" ? 20000 : 8000; }
  std::string name() const { return "target" + GetParam(); }
  std::string target() const { return folder / name(); }

  bool holdsSaveFile() const {
    for (const std::string& entry : folder.entries()) {
      if (entry.rfind(".tabrix-", 0) == 0) return true;
    }
    return false;
  }

  // One save to its end, its bytes, and when after its start the save's own file appeared and the
  // save ended.
  struct Timing {
    std::chrono::microseconds fileAppeared{0};
    std::chrono::microseconds ended{0};
  };
  Timing uninterrupted(std::string& bytes) {
    writeFile(target(), kOldBytes);
    SavingChild child(target(), rows());
    EXPECT_TRUE(child.started());
    EXPECT_EQ(child.next(), 'r');
    const Clock::time_point start = Clock::now();
    auto since = [&] { return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start); };
    Timing timing;
    bool seen = false;
    while (!child.speaks(std::chrono::microseconds(seen ? 10000 : 200))) {
      if (!seen && holdsSaveFile()) {
        seen = true;
        timing.fileAppeared = since();
      }
    }
    const char end = child.next();
    timing.ended = since();
    EXPECT_EQ(end, 's') << child.rest();
    EXPECT_EQ(child.finish(), 0);
    bytes = contentOf(target());
    return timing;
  }

  testing::ScratchFolder folder;
  testing::ScratchFolder complete;  // copies of every new target, checked together at the end
};

TEST_P(KilledWhileSaving, LeavesTheOldTargetOrACompleteWorkbook) {
  if (access(TABRIX_SAVE_KILL_HELPER, X_OK) != 0) GTEST_FAIL() << "missing " << TABRIX_SAVE_KILL_HELPER;
  std::string reference, again;
  const auto first = uninterrupted(reference);
  const auto second = uninterrupted(again);
  // An .xlsx records when it was made; an .xls has the same bytes for the same book.
  const bool compareBytes = GetParam() == ".xls";
  if (compareBytes) {
    EXPECT_TRUE(reference == again) << "two saves of one book differ";
  }
  writeFile(complete / ("reference" + GetParam()), reference);
  const std::chrono::microseconds saveTime = std::min(first.ended, second.ended);
  const std::chrono::microseconds fileTime = std::min(first.fileAppeared, second.fileAppeared);

  Outcome outcome;
  std::vector<std::string> toCheck{complete / ("reference" + GetParam())};
  // One kill point: a fresh child saving over the old bytes, killed once waitForKill returns.
  auto killOnce = [&](int i, const std::function<void(SavingChild&)>& waitForKill) {
    writeFile(target(), kOldBytes);
    SavingChild child(target(), rows());
    ASSERT_TRUE(child.started());
    ASSERT_EQ(child.next(), 'r');
    waitForKill(child);
    child.kill9();
    const int status = child.finish();
    const bool killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    ASSERT_TRUE(killed || (WIFEXITED(status) && WEXITSTATUS(status) == 0)) << "status " << status;

    int leftovers = 0;
    std::string strangers;
    ASSERT_TRUE(clearLeftovers(folder, name(), leftovers, strangers))
        << "kill point " << i << " left files that are not the save's: " << strangers;
    if (!killed) {
      ++outcome.finished;
    }
    const std::string now = contentOf(target());
    if (now == kOldBytes) {
      EXPECT_TRUE(killed) << "a save that ended kept the old bytes";
      ++outcome.oldKept;
      outcome.leftTemporary += leftovers > 0 ? 1 : 0;
    } else {
      outcome.newComplete += killed ? 1 : 0;
      if (compareBytes) {
        EXPECT_TRUE(now == reference) << "kill point " << i << ": neither the old nor the whole new workbook";
      } else {
        toCheck.push_back(complete / ("kill-" + std::to_string(i) + GetParam()));
        writeFile(toCheck.back(), now);
      }
    }
  };
  for (int i = 0; i < kKillPoints; ++i) {
    // Each half reaches a little past the end, so the end of the save is hit too.
    const int half = kKillPoints / 2;
    const auto from = i < half ? std::chrono::microseconds(0) : fileTime;
    const auto delay = from + (saveTime * 11 / 10 - from) * (2 * (i % half) + 1) / (2 * half);
    killOnce(i, [&](SavingChild&) { std::this_thread::sleep_until(Clock::now() + delay); });
    if (HasFatalFailure()) return;
  }
  // On a loaded machine the measured times can miss the save altogether; then the kill waits for
  // the save's own file to appear, which puts it inside the save whatever the load.
  int killPoints = kKillPoints;
  for (int extra = 0; outcome.leftTemporary == 0 && extra < 10; ++extra) {
    killOnce(killPoints++, [&](SavingChild& child) {
      const auto giveUp = Clock::now() + std::chrono::seconds(30);
      while (!holdsSaveFile() && !child.speaks(std::chrono::microseconds(50)) && Clock::now() < giveUp) {
      }
    });
    if (HasFatalFailure()) return;
  }

  std::string command = std::string("/usr/bin/python3 ") + TABRIX_COMPLETE_CHECKER + " " + std::to_string(rows());
  for (const std::string& file : toCheck) command += " '" + file + "'";
  EXPECT_EQ(std::system((command + " 1>&2").c_str()), 0) << "a workbook is not complete";
  std::fprintf(stderr,
               "%s: %d kill points over a save of %lld ms (its file from %lld ms on): old kept %d (%d with "
               "a temporary left), complete new %d, finished before the kill %d\n",
               GetParam().c_str(), killPoints, static_cast<long long>(saveTime.count() / 1000),
               static_cast<long long>(fileTime.count() / 1000),
               outcome.oldKept, outcome.leftTemporary, outcome.newComplete, outcome.finished);
  EXPECT_GT(outcome.leftTemporary, 0) << "no kill landed inside the save";
}

INSTANTIATE_TEST_SUITE_P(BothWriters, KilledWhileSaving, ::testing::Values(".xls", ".xlsx"),
                         [](const auto& info) { return info.param.substr(1); });

}  // namespace
}  // namespace platform::spreadsheet
