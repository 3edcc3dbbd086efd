// Directory enumeration: the full paths of the files (and directories) of a directory whose names
// match a wildcard pattern ("*" any run, "?" one unit, ASCII letters without case), with some
// patterns through every subdirectory too. Paths are the directory, a "/" unless it already ends in
// one, and the entry's name, decoded losslessly from the name's bytes and never cut.
// - "." and ".." are never listed; names beginning with "." are hidden: never listed, but hidden
//   directories are searched through.
// - Symbolic links to directories are listed like directories but never searched through, so a link
//   cycle cannot loop the search.
// - A directory that cannot be opened or read yields nothing and no error; a read failing part-way
//   keeps what was found before it.
// - The walk keeps its own stack on the heap: any depth works on any thread's stack.
// Thread safety: no state between calls, any thread; the caller's arrays belong to the call while it
// runs.
#pragma once

#include "runtime/CWString.h"
#include "runtime/TextArrays.h"

#include <cstdint>

namespace rg_quarn_Tolvar {

enum class Recurse { No, Yes };

// Appends the matching files to files and the matching directories to directories, and returns the
// number of elements in files afterwards (what the arrays held before stays at their head).
// Pattern "*" or "*.*": every non-hidden file and directory at every depth, depth first, each
// directory after everything found beneath it. Any other pattern: the matching files of the directory
// itself, then those of every non-hidden subdirectory at any depth, in that same order, each file
// once; directories receives the matching non-hidden directories found inside subdirectories.
int32_t FindFiles(const CWString& directory, const CWString& pattern, rg_quarn_base::rg_WenBenShuZuLei& files,
                  rg_quarn_base::rg_WenBenShuZuLei& directories);

// The one-directory step: the non-hidden entries of directory matching pattern go to files and
// directories (files is emptied first when recurse is No); with Recurse::Yes every matching
// directory, hidden or not, is searched the same way before it is listed. Returns the number of
// elements in files.
int32_t ScanDirectory(const CWString& directory, const CWString& pattern, rg_quarn_base::rg_WenBenShuZuLei& files,
                      rg_quarn_base::rg_WenBenShuZuLei& directories, Recurse recurse);

} // namespace rg_quarn_Tolvar
