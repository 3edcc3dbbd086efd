#pragma once
// Replacing a file safely: the new content goes into a fresh file in the target's folder (created
// exclusively, never through an existing link), is flushed to disk and then renamed over the target,
// so the target is either the old file or the whole new one. On any failure the temporary file is
// removed and the result names the path and the system's reason. Any thread; no shared state. The
// system calls of each step go through SaveSystemCalls.h, where tests make them fail.
#include <functional>
#include <string>

namespace platform::spreadsheet {

struct SaveResult {
  bool ok = false;
  std::string error;  // "cannot save PATH: reason" when not ok
};

SaveResult failure(const std::string& target, const std::string& reason);

// fill writes the content into the open descriptor and returns an error text, empty on success.
SaveResult saveThroughDescriptor(const std::string& target, const std::function<std::string(int fd)>& fill);

// For writers that insist on opening a file by name: fill gets the path of a not yet existing file
// inside a fresh private folder (mode 0700) in the target's folder, and that folder as scratch space.
SaveResult saveThroughPrivateFolder(
    const std::string& target,
    const std::function<std::string(const std::string& file, const std::string& scratch)>& fill);

// Writes all bytes, retrying after interruptions; an error text (empty on success).
std::string writeAll(int fd, const void* data, size_t size);

}  // namespace platform::spreadsheet
