#pragma once
// Fault injection for the save path: counts each kind of system call a save makes and makes one
// chosen call (or every call) of a kind fail, write short, be interrupted or write nothing. A failed
// close still releases the descriptor, as Linux's close does. One InjectedFault at a time, made on
// the test thread before the save; the counters are atomic, so the save may run on another thread.
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <optional>

#include "platform/spreadsheet/SaveSystemCalls.h"

namespace platform::spreadsheet::testing {

enum class Call { Open, Mkdtemp, Write, Fsync, Close, Rename, Count };

enum class Effect {
  Fail,            // returns -1 (or no folder) with the fault's error
  Short,           // a write that takes half of what it is given
  Interrupt,       // a write interrupted before it wrote anything (EINTR)
  NothingWritten,  // a write that returns 0
};

struct Fault {
  static constexpr int kEvery = 0;
  Call call;
  int nth;  // which call of that kind, from 1, or kEvery
  Effect effect = Effect::Fail;
  int error = EIO;
};

class InjectedFault {
 public:
  explicit InjectedFault(std::optional<Fault> fault) : scope_(install(fault)) {}
  ~InjectedFault() { state().fault.reset(); }
  InjectedFault(const InjectedFault&) = delete;
  InjectedFault& operator=(const InjectedFault&) = delete;

  int calls(Call call) const { return state().counts[int(call)].load(); }
  int struck() const { return state().struck.load(); }

 private:
  struct State {
    std::optional<Fault> fault;
    std::atomic<int> counts[int(Call::Count)];
    std::atomic<int> struck;
  };
  static State& state() {
    static State s;
    return s;
  }
  static const SaveSystemCalls& install(std::optional<Fault> fault) {
    State& s = state();
    s.fault = fault;
    for (auto& count : s.counts) count = 0;
    s.struck = 0;
    return kFaulty;
  }
  // Counts the call and tells whether the fault strikes it.
  static const Fault* strikes(Call call) {
    State& s = state();
    int nth = ++s.counts[int(call)];
    if (!s.fault || s.fault->call != call) return nullptr;
    if (s.fault->nth != Fault::kEvery && s.fault->nth != nth) return nullptr;
    ++s.struck;
    return &*s.fault;
  }
  static int failWith(int error) {
    errno = error;
    return -1;
  }
  static constexpr SaveSystemCalls kFaulty{
      [](const char* path, int flags, mode_t mode) {
        const Fault* f = strikes(Call::Open);
        return f ? failWith(f->error) : realSaveSystemCalls().open(path, flags, mode);
      },
      [](char* pattern) -> char* {
        const Fault* f = strikes(Call::Mkdtemp);
        if (f) return failWith(f->error), nullptr;
        return realSaveSystemCalls().mkdtemp(pattern);
      },
      [](int fd, const void* data, size_t size) -> ssize_t {
        const Fault* f = strikes(Call::Write);
        if (f == nullptr) return realSaveSystemCalls().write(fd, data, size);
        switch (f->effect) {
          case Effect::Short: return realSaveSystemCalls().write(fd, data, std::max<size_t>(1, size / 2));
          case Effect::Interrupt: return failWith(EINTR);
          case Effect::NothingWritten: return 0;
          case Effect::Fail: break;
        }
        return failWith(f->error);
      },
      [](int fd) {
        const Fault* f = strikes(Call::Fsync);
        return f ? failWith(f->error) : realSaveSystemCalls().fsync(fd);
      },
      [](int fd) {
        const Fault* f = strikes(Call::Close);
        int closed = realSaveSystemCalls().close(fd);
        return f ? failWith(f->error) : closed;
      },
      [](const char* from, const char* to) {
        const Fault* f = strikes(Call::Rename);
        return f ? failWith(f->error) : realSaveSystemCalls().rename(from, to);
      },
  };
  ScopedSaveSystemCalls scope_;
};

}  // namespace platform::spreadsheet::testing
