#include "platform/files/OpenDirectory.h"

#include <fcntl.h>
#include <limits.h>
#include <unistd.h>

#include <cerrno>

namespace {

constexpr int kDirectoryFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
constexpr int kPassThroughFlags = O_PATH | O_DIRECTORY | O_CLOEXEC;
// Each piece stays well under PATH_MAX so a single openat never sees too long a path.
constexpr size_t kPieceLimit = PATH_MAX / 2;

// Where the piece starting at `from` ends: at a "/" before kPieceLimit bytes, or at the path's end.
size_t PieceEnd(const std::string& path, size_t from) {
    if (path.size() - from <= kPieceLimit) return path.size();
    const size_t cut = path.rfind('/', from + kPieceLimit);
    // A single component longer than the limit cannot be a name; let openat refuse it.
    if (cut == std::string::npos || cut <= from) return path.size();
    return cut;
}

int OpenInPieces(const std::string& path) {
    int base = AT_FDCWD;
    size_t from = 0;
    if (path[0] == '/') {
        base = open("/", kPassThroughFlags);
        if (base < 0) return -1;
        from = 1;
    }
    while (true) {
        const size_t end = PieceEnd(path, from);
        const bool last = end == path.size();
        const std::string piece = path.substr(from, end - from);
        const int next = openat(base, piece.empty() ? "." : piece.c_str(), last ? kDirectoryFlags : kPassThroughFlags);
        const int saved = errno;
        if (base != AT_FDCWD) close(base);
        errno = saved;
        if (next < 0 || last) return next;
        base = next;
        from = end + 1;
    }
}

}  // namespace

int OpenDirectoryPath(const std::string& path) {
    if (path.empty()) {
        errno = ENOENT;
        return -1;
    }
    const int fd = openat(AT_FDCWD, path.c_str(), kDirectoryFlags);
    if (fd >= 0 || errno != ENAMETOOLONG) return fd;
    return OpenInPieces(path);
}

DWORD LastErrorFromErrno(int error) noexcept {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
    case ELOOP:
        return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
        return ERROR_ACCESS_DENIED;
    case ENAMETOOLONG:
        return ERROR_FILENAME_EXCED_RANGE;
    case EMFILE:
    case ENFILE:
        return ERROR_TOO_MANY_OPEN_FILES;
    case ENOMEM:
        return ERROR_NOT_ENOUGH_MEMORY;
    default:
        return ERROR_GEN_FAILURE;
    }
}
