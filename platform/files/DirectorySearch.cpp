#include "platform/files/DirectorySearch.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/files/FileNameCodec.h"
#include "platform/files/OpenDirectory.h"

namespace {

// 100-nanosecond intervals between 1 January 1601 and 1 January 1970.
constexpr int64_t kUnixEpochInFileTime = 116444736000000000;

FILETIME ToFileTime(const timespec& time) {
    constexpr int64_t kTicksPerSecond = 10000000;
    constexpr int64_t kLastSecond = (INT64_MAX - kUnixEpochInFileTime) / kTicksPerSecond - 1;
    const int64_t firstSecond = -kUnixEpochInFileTime / kTicksPerSecond;
    if (time.tv_sec < firstSecond) return {0, 0};
    const int64_t seconds = time.tv_sec > kLastSecond ? kLastSecond : time.tv_sec;
    const int64_t ticks = seconds * kTicksPerSecond + time.tv_nsec / 100 + kUnixEpochInFileTime;
    const auto value = static_cast<uint64_t>(ticks < 0 ? 0 : ticks);
    return {static_cast<DWORD>(value), static_cast<DWORD>(value >> 32)};
}

bool IsDotOrDotDot(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

bool IsHiddenName(const char* name) { return name[0] == '.' && !IsDotOrDotDot(name); }

// Directory or not, link or not, as the file system knows it.
struct EntryKind {
    bool directory = false;
    bool link = false;
    bool regular = false;
    bool readOnly = false;
};

DWORD AttributesOf(const EntryKind& kind, const char* name) {
    DWORD attributes = 0;
    if (kind.directory) attributes |= FILE_ATTRIBUTE_DIRECTORY;
    if (kind.link) attributes |= FILE_ATTRIBUTE_REPARSE_POINT;
    if (kind.regular && !kind.link) attributes |= FILE_ATTRIBUTE_ARCHIVE;
    if (kind.readOnly && !kind.directory) attributes |= FILE_ATTRIBUTE_READONLY;
    if (IsHiddenName(name)) attributes |= FILE_ATTRIBUTE_HIDDEN;
    return attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
}

void FillTimesAndSize(const struct stat& info, const EntryKind& kind, WIN32_FIND_DATAW& data) {
    // Linux keeps no creation time in stat; the status-change time stands in for it.
    data.ftCreationTime = ToFileTime(info.st_ctim);
    data.ftLastAccessTime = ToFileTime(info.st_atim);
    data.ftLastWriteTime = ToFileTime(info.st_mtim);
    if (kind.regular && !kind.link) {
        const auto size = static_cast<uint64_t>(info.st_size);
        data.nFileSizeHigh = static_cast<DWORD>(size >> 32);
        data.nFileSizeLow = static_cast<DWORD>(size);
    }
}

EntryKind KindFromListing(unsigned char type) {
    EntryKind kind;
    kind.directory = type == DT_DIR;
    kind.link = type == DT_LNK;
    kind.regular = type == DT_REG;
    return kind;
}

bool CanOnlyBeOtherThanDirectory(unsigned char type) { return type != DT_UNKNOWN && type != DT_DIR && type != DT_LNK; }

}  // namespace

std::unique_ptr<DirectorySearch> DirectorySearch::Open(std::u16string_view pattern, SearchOptions options,
                                                       DWORD& error) {
    if (pattern.empty()) {
        error = ERROR_PATH_NOT_FOUND;
        return nullptr;
    }
    const size_t slash = pattern.rfind(u'/');
    std::u16string_view directory = u".";
    std::u16string_view namePattern = pattern;
    if (slash != std::u16string_view::npos) {
        directory = slash == 0 ? std::u16string_view(u"/") : pattern.substr(0, slash);
        namePattern = pattern.substr(slash + 1);
    }
    const std::optional<std::string> bytes = EncodeFileName(directory);
    if (!bytes) {
        error = ERROR_INVALID_NAME;
        return nullptr;
    }
    const int fd = OpenDirectoryPath(*bytes);
    if (fd < 0) {
        error = LastErrorFromErrno(errno);
        return nullptr;
    }
    DIR* dir = fdopendir(fd);
    if (dir == nullptr) {
        error = LastErrorFromErrno(errno);
        close(fd);
        return nullptr;
    }
    if (namePattern.empty()) {
        closedir(dir);
        error = ERROR_FILE_NOT_FOUND;
        return nullptr;
    }
    return std::unique_ptr<DirectorySearch>(new DirectorySearch(dir, std::u16string(namePattern), options));
}

DirectorySearch::DirectorySearch(DIR* dir, std::u16string namePattern, SearchOptions options)
    : dir_(dir), namePattern_(std::move(namePattern)), options_(options) {}

DirectorySearch::~DirectorySearch() { closedir(dir_); }

bool DirectorySearch::Next(WIN32_FIND_DATAW& data, DWORD& error) {
    while (true) {
        errno = 0;
        const dirent* entry = readdir(dir_);
        if (entry == nullptr) {
            // A directory removed while it is read simply ends; only a real read error is reported.
            error = (errno == 0 || errno == ENOENT) ? ERROR_NO_MORE_FILES : LastErrorFromErrno(errno);
            return false;
        }
        if (options_.scope == SearchScope::DirectoriesOnly && CanOnlyBeOtherThanDirectory(entry->d_type)) continue;
        name_.clear();
        AppendDecodedFileName(entry->d_name, name_);
        // A Linux name fits whole; should a file system ever deliver a longer one, it is left out
        // rather than cut, since a cut name would lead to another file or none.
        if (name_.size() >= MAX_PATH) continue;
        if (!MatchesWildcard(namePattern_, name_, options_.letterCase)) continue;
        if (Examine(*entry, data) == Examined::Filled) return true;
    }
}

DirectorySearch::Examined DirectorySearch::Examine(const dirent& entry, WIN32_FIND_DATAW& data) const {
    std::memset(&data, 0, sizeof data);
    const int fd = dirfd(dir_);
    struct stat info {};
    EntryKind kind;
    const bool listingSuffices = options_.detail == EntryDetail::KindsOnly && entry.d_type != DT_UNKNOWN &&
                                 entry.d_type != DT_LNK;
    if (listingSuffices) {
        kind = KindFromListing(entry.d_type);
    } else if (fstatat(fd, entry.d_name, &info, AT_SYMLINK_NOFOLLOW) == 0) {
        kind.link = S_ISLNK(info.st_mode);
        kind.directory = S_ISDIR(info.st_mode);
        kind.regular = S_ISREG(info.st_mode);
        kind.readOnly = (info.st_mode & 0222) == 0 && !kind.link;
        if (kind.link) {
            struct stat target {};
            kind.directory = fstatat(fd, entry.d_name, &target, 0) == 0 && S_ISDIR(target.st_mode);
        }
        FillTimesAndSize(info, kind, data);
    } else if (errno == ENOENT) {
        return Examined::Skip;  // gone since it was listed
    } else {
        kind = KindFromListing(entry.d_type);
    }
    if (options_.scope == SearchScope::DirectoriesOnly && !kind.directory) return Examined::Skip;
    data.dwFileAttributes = AttributesOf(kind, entry.d_name);
    if (kind.link) data.dwReserved0 = IO_REPARSE_TAG_SYMLINK;
    std::copy(name_.begin(), name_.end(), data.cFileName);
    data.cFileName[name_.size()] = u'\0';
    return Examined::Filled;
}
