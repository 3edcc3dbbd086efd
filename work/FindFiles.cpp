#include "work/FindFiles.h"

#include "platform/files/FindFile.h"
#include "platform/files/WildcardMatch.h"

#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace rg_quarn_Tolvar {

using rg_quarn_base::rg_WenBenShuZuLei;

namespace {

enum class EntryKind { File, Directory, DirectoryLink };

struct Entry {
    std::u16string name;
    EntryKind kind;
    bool hidden;
};

EntryKind KindOf(const WIN32_FIND_DATAW& data)
{
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        return EntryKind::File;
    return (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ? EntryKind::DirectoryLink
                                                                        : EntryKind::Directory;
}

bool IsDotOrDotDot(std::u16string_view name) { return name == u"." || name == u".."; }

// The entries of the directory at path (which ends in "/") whose names match pattern, "." and ".."
// left out, in the order the file system gives them. Names and kinds only: no per-entry lookup.
// path is given back as it came.
template <class Visit>
void ReadDirectory(std::u16string& path, std::u16string_view pattern, Visit&& visit)
{
    const size_t baseLength = path.size();
    path.append(pattern);
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileExW(path.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                     TABRIX_FIND_LISTING_ONLY);
    path.resize(baseLength);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::u16string_view name(data.cFileName);
        if (!IsDotOrDotDot(name))
            visit(name, KindOf(data), (data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0);
    } while (FindNextFileW(search, &data));
    FindClose(search);
}

std::u16string BasePath(const CWString& directory)
{
    std::u16string base(directory.View());
    if (base.empty() || base.back() != u'/')
        base.push_back(u'/');
    return base;
}

void AppendPath(rg_WenBenShuZuLei& list, std::u16string& path, std::u16string_view name)
{
    const size_t baseLength = path.size();
    path.append(name);
    list.Append(path.c_str());
    path.resize(baseLength);
}

int32_t CountOf(const rg_WenBenShuZuLei& list)
{
    const int64_t count = list.GetCount();
    return count > std::numeric_limits<int32_t>::max() ? std::numeric_limits<int32_t>::max()
                                                       : static_cast<int32_t>(count);
}

// ---- every matching entry at every depth (ScanDirectory with Recurse::Yes) ----

struct ScanFrame {
    size_t baseLength;
    std::vector<Entry> entries;
    size_t next = 0;
};

void ReadScanFrame(std::vector<ScanFrame>& stack, std::u16string& path, std::u16string_view pattern)
{
    ScanFrame frame{path.size(), {}, 0};
    ReadDirectory(path, pattern, [&](std::u16string_view name, EntryKind kind, bool hidden) {
        frame.entries.push_back(Entry{std::u16string(name), kind, hidden});
    });
    stack.push_back(std::move(frame));
}

void ScanTree(std::u16string path, std::u16string_view pattern, rg_WenBenShuZuLei& files,
              rg_WenBenShuZuLei& directories)
{
    std::vector<ScanFrame> stack;
    ReadScanFrame(stack, path, pattern);
    while (!stack.empty()) {
        ScanFrame& frame = stack.back();
        path.resize(frame.baseLength);
        if (frame.next == frame.entries.size()) {
            stack.pop_back();
            if (stack.empty())
                break;
            // The directory just searched is listed after everything beneath it.
            ScanFrame& parent = stack.back();
            path.resize(parent.baseLength);
            const Entry& finished = parent.entries[parent.next - 1];
            if (!finished.hidden)
                AppendPath(directories, path, finished.name);
            continue;
        }
        const Entry& entry = frame.entries[frame.next++];
        if (entry.kind == EntryKind::Directory) {
            path.append(entry.name);
            path.push_back(u'/');
            ReadScanFrame(stack, path, pattern);
        } else if (!entry.hidden) {
            AppendPath(entry.kind == EntryKind::File ? files : directories, path, entry.name);
        }
    }
}

// ---- matching files below every non-hidden directory (FindFiles with a narrowing pattern) ----

struct MatchFrame {
    size_t baseLength;
    bool listed;  // a non-hidden directory below the top: its matches are listed when it is done
    std::vector<std::u16string> matchingFiles;
    std::vector<std::u16string> matchingDirectories;
    std::vector<std::pair<std::u16string, bool>> subdirectories;  // name, hidden
    size_t next = 0;
};

void ReadMatchFrame(std::vector<MatchFrame>& stack, std::u16string& path, std::u16string_view pattern,
                    bool listed)
{
    MatchFrame frame{path.size(), listed, {}, {}, {}, 0};
    ReadDirectory(path, u"*", [&](std::u16string_view name, EntryKind kind, bool hidden) {
        if (kind == EntryKind::Directory)
            frame.subdirectories.emplace_back(std::u16string(name), hidden);
        if (hidden || !MatchesWildcard(pattern, name))
            return;
        (kind == EntryKind::File ? frame.matchingFiles : frame.matchingDirectories).emplace_back(name);
    });
    stack.push_back(std::move(frame));
}

void ListFrame(const MatchFrame& frame, std::u16string& path, rg_WenBenShuZuLei& files,
               rg_WenBenShuZuLei& directories)
{
    for (const std::u16string& name : frame.matchingFiles)
        AppendPath(files, path, name);
    for (const std::u16string& name : frame.matchingDirectories)
        AppendPath(directories, path, name);
}

void FindMatching(std::u16string path, std::u16string_view pattern, rg_WenBenShuZuLei& files,
                  rg_WenBenShuZuLei& directories)
{
    std::vector<MatchFrame> stack;
    ReadMatchFrame(stack, path, pattern, false);
    // The chosen directory's own files come first; its matching directories are searched, not listed.
    for (const std::u16string& name : stack.back().matchingFiles)
        AppendPath(files, path, name);
    while (!stack.empty()) {
        MatchFrame& frame = stack.back();
        path.resize(frame.baseLength);
        if (frame.next == frame.subdirectories.size()) {
            if (frame.listed)
                ListFrame(frame, path, files, directories);
            stack.pop_back();
            continue;
        }
        const auto& [name, hidden] = frame.subdirectories[frame.next++];
        const bool listed = !hidden;
        path.append(name);
        path.push_back(u'/');
        ReadMatchFrame(stack, path, pattern, listed);
    }
}

bool MatchesEverything(std::u16string_view pattern) { return pattern == u"*" || pattern == u"*.*"; }

} // namespace

int32_t ScanDirectory(const CWString& directory, const CWString& pattern, rg_WenBenShuZuLei& files,
                      rg_WenBenShuZuLei& directories, Recurse recurse)
{
    if (recurse == Recurse::Yes) {
        ScanTree(BasePath(directory), pattern.View(), files, directories);
        return CountOf(files);
    }
    files.RemoveAll();
    std::u16string path = BasePath(directory);
    ReadDirectory(path, pattern.View(), [&](std::u16string_view name, EntryKind kind, bool hidden) {
        if (!hidden)
            AppendPath(kind == EntryKind::File ? files : directories, path, name);
    });
    return CountOf(files);
}

int32_t FindFiles(const CWString& directory, const CWString& pattern, rg_WenBenShuZuLei& files,
                  rg_WenBenShuZuLei& directories)
{
    if (MatchesEverything(pattern.View()))
        return ScanDirectory(directory, pattern, files, directories, Recurse::Yes);
    FindMatching(BasePath(directory), pattern.View(), files, directories);
    return CountOf(files);
}

} // namespace rg_quarn_Tolvar
