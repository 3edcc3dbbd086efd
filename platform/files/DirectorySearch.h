#pragma once
// One open enumeration of a directory: the entries whose names match a wildcard, one find-data
// record at a time, in the order the file system delivers them. An entry that vanishes between
// being listed and being examined is skipped; one that cannot be examined (no search permission on
// the directory) is reported with what the listing itself tells (directory or link), zero times and
// sizes. Symbolic links carry the reparse-point bit, plus the directory bit when they lead to one.
// Owned by one handle; used by one thread at a time.
#include <dirent.h>

#include <memory>
#include <string>
#include <string_view>

#include "platform/files/FileTypes.h"
#include "platform/files/WildcardMatch.h"

enum class SearchScope { AllEntries, DirectoriesOnly };
// Full: times and sizes from each entry's inode. KindsOnly: only what the listing itself tells
// (name, directory, hidden), saving a lookup per entry; links are still looked up, to know whether
// they lead to a directory.
enum class EntryDetail { Full, KindsOnly };

struct SearchOptions {
    SearchScope scope = SearchScope::AllEntries;
    LetterCase letterCase = LetterCase::IgnoreAscii;
    EntryDetail detail = EntryDetail::Full;
};

class DirectorySearch {
public:
    // Opens the directory part of pattern ("dir/name-pattern"; without a "/" the current directory).
    // On failure returns null and sets error to the last-error value.
    static std::unique_ptr<DirectorySearch> Open(std::u16string_view pattern, SearchOptions options, DWORD& error);
    ~DirectorySearch();
    DirectorySearch(const DirectorySearch&) = delete;
    DirectorySearch& operator=(const DirectorySearch&) = delete;

    // Fills data with the next matching entry. At the end returns false with ERROR_NO_MORE_FILES;
    // when the directory cannot be read further, false with the matching error.
    bool Next(WIN32_FIND_DATAW& data, DWORD& error);

private:
    DirectorySearch(DIR* dir, std::u16string namePattern, SearchOptions options);
    enum class Examined { Filled, Skip };
    Examined Examine(const dirent& entry, WIN32_FIND_DATAW& data) const;

    DIR* dir_;
    std::u16string namePattern_;
    SearchOptions options_;
    std::u16string name_;  // reused for every entry's decoded name
};
