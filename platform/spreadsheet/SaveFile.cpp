#include "platform/spreadsheet/SaveFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <string_view>
#include <vector>

#include "platform/spreadsheet/SaveSystemCalls.h"

namespace platform::spreadsheet {
namespace {

std::string systemReason(int error) { return std::strerror(error); }

std::string folderOf(const std::string& target) {
  size_t slash = target.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return target.substr(0, slash);
}

std::string freshName(const std::string& folder) {
  static thread_local std::mt19937_64 random{std::random_device{}()};
  char name[32];
  std::snprintf(name, sizeof name, "/.tabrix-%012llx", static_cast<unsigned long long>(random() & 0xFFFFFFFFFFFFull));
  return folder + name;
}

// An error text when the target cannot be replaced by a file: a folder, or a path the system refuses.
std::string checkTarget(const std::string& target) {
  if (target.empty()) return systemReason(ENOENT);
  if (target.back() == '/') return systemReason(EISDIR);
  struct stat st {};
  if (lstat(target.c_str(), &st) == 0) return S_ISDIR(st.st_mode) ? systemReason(EISDIR) : std::string();
  return errno == ENOENT ? std::string() : systemReason(errno);
}

void syncFolder(const std::string& folder) {
  int fd = saveSystemCalls().open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
  if (fd < 0) return;
  saveSystemCalls().fsync(fd);  // durability only; the rename already happened
  saveSystemCalls().close(fd);
}

// Flushes and closes fd; an error text (empty on success). fd is closed in every case.
std::string syncAndClose(int fd) {
  std::string error;
  if (saveSystemCalls().fsync(fd) != 0) error = systemReason(errno);
  if (saveSystemCalls().close(fd) != 0 && error.empty()) error = systemReason(errno);
  return error;
}

std::string renameOver(const std::string& from, const std::string& target) {
  if (saveSystemCalls().rename(from.c_str(), target.c_str()) != 0) return systemReason(errno);
  syncFolder(folderOf(target));
  return {};
}

void removeFolder(const std::string& folder) {
  if (DIR* dir = opendir(folder.c_str())) {
    while (dirent* entry = readdir(dir)) {
      std::string name = entry->d_name;
      if (name != "." && name != "..") unlink((folder + "/" + name).c_str());
    }
    closedir(dir);
  }
  rmdir(folder.c_str());
}

// A writer that fails can leave files of its scratch folder open (libxlsxwriter 1.1 leaves one when
// the disk fills). Removing the folder would not give their space back until the process ends, so
// the next save would find the disk still full. Each descriptor that still points into the folder is
// turned into one on /dev/null rather than closed: the writer's lost stream keeps its number, which
// no later file can then take and receive that stream's bytes when the process ends. The folder is
// this save's own, so no other part of the process has a file there.
void releaseFilesLeftOpenIn(const std::string& scratch) {
  char resolved[PATH_MAX];
  if (realpath(scratch.c_str(), resolved) == nullptr) return;
  const std::string prefix = std::string(resolved) + "/";
  DIR* fds = opendir("/proc/self/fd");
  if (fds == nullptr) return;
  std::vector<int> leftOpen;
  while (dirent* entry = readdir(fds)) {
    char* end = nullptr;
    long fd = std::strtol(entry->d_name, &end, 10);
    if (end == entry->d_name || *end != '\0' || fd == dirfd(fds)) continue;
    char link[PATH_MAX];
    ssize_t n = readlinkat(dirfd(fds), entry->d_name, link, sizeof link);
    if (n > 0 && std::string_view(link, size_t(n)).starts_with(prefix)) leftOpen.push_back(int(fd));
  }
  closedir(fds);
  if (leftOpen.empty()) return;
  int null = open("/dev/null", O_RDWR | O_CLOEXEC);
  for (int fd : leftOpen) {
    if (null < 0 || dup3(null, fd, O_CLOEXEC) < 0) close(fd);
  }
  if (null >= 0) close(null);
}

}  // namespace

SaveResult failure(const std::string& target, const std::string& reason) {
  return SaveResult{false, "cannot save " + target + ": " + reason};
}

std::string writeAll(int fd, const void* data, size_t size) {
  const auto* bytes = static_cast<const unsigned char*>(data);
  while (size > 0) {
    ssize_t n = saveSystemCalls().write(fd, bytes, size);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return systemReason(errno);
    if (n == 0) return systemReason(ENOSPC);
    bytes += n;
    size -= size_t(n);
  }
  return {};
}

SaveResult saveThroughDescriptor(const std::string& target, const std::function<std::string(int fd)>& fill) {
  if (std::string why = checkTarget(target); !why.empty()) return failure(target, why);
  std::string folder = folderOf(target);
  std::string temp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp = freshName(folder);
    fd = saveSystemCalls().open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) return failure(target, systemReason(errno));
  }
  if (fd < 0) return failure(target, systemReason(EEXIST));
  std::string why = fill(fd);
  if (why.empty()) {
    why = syncAndClose(fd);
  } else {
    saveSystemCalls().close(fd);
  }
  if (why.empty()) why = renameOver(temp, target);
  if (why.empty()) return SaveResult{true, {}};
  unlink(temp.c_str());
  return failure(target, why);
}

SaveResult saveThroughPrivateFolder(
    const std::string& target,
    const std::function<std::string(const std::string& file, const std::string& scratch)>& fill) {
  if (std::string why = checkTarget(target); !why.empty()) return failure(target, why);
  std::string pattern = folderOf(target) + "/.tabrix-XXXXXX";
  if (saveSystemCalls().mkdtemp(pattern.data()) == nullptr) return failure(target, systemReason(errno));
  const std::string& scratch = pattern;
  std::string file = scratch + "/book";
  std::string why = fill(file, scratch);
  releaseFilesLeftOpenIn(scratch);
  if (why.empty()) {
    int fd = saveSystemCalls().open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC, 0);
    why = fd < 0 ? systemReason(errno) : syncAndClose(fd);
  }
  if (why.empty()) why = renameOver(file, target);
  removeFolder(scratch);
  if (why.empty()) return SaveResult{true, {}};
  return failure(target, why);
}

}  // namespace platform::spreadsheet
