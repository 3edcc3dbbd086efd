#pragma once
// The system calls through which a save creates, fills, flushes and renames its files, as one set of
// function pointers so that a test can make any one of them fail. Normal runs use the real calls,
// reached through one atomic load per call.
// Replacing the set is for tests only: a test installs a ScopedSaveSystemCalls on its own thread
// before it starts a save (on any thread) and keeps it until that save has returned. Saves read the
// set on every call; the functions in it must be safe on whatever thread saves.
#include <sys/types.h>

namespace platform::spreadsheet {

struct SaveSystemCalls {
  int (*open)(const char* path, int flags, mode_t mode);
  char* (*mkdtemp)(char* pattern);
  ssize_t (*write)(int fd, const void* data, size_t size);
  int (*fsync)(int fd);
  int (*close)(int fd);
  int (*rename)(const char* from, const char* to);
};

// The calls of the C library.
const SaveSystemCalls& realSaveSystemCalls();

// The set in force; the real calls unless a test replaced them.
const SaveSystemCalls& saveSystemCalls();

// Puts calls in force for its lifetime; calls must outlive it. Scopes nest and end in reverse order.
class ScopedSaveSystemCalls {
 public:
  explicit ScopedSaveSystemCalls(const SaveSystemCalls& calls);
  ~ScopedSaveSystemCalls();
  ScopedSaveSystemCalls(const ScopedSaveSystemCalls&) = delete;
  ScopedSaveSystemCalls& operator=(const ScopedSaveSystemCalls&) = delete;

 private:
  const SaveSystemCalls* previous_;
};

}  // namespace platform::spreadsheet
