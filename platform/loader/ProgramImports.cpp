// The program's imported search functions.
#include "platform/loader/ProgramImports.h"

#include "platform/files/FindFile.h"
#include "platform/loader/ImportTable.h"

namespace {

template <class Function>
Function Imported(const QrnImportEntry& entry, Function fallback)
{
    return entry.address ? reinterpret_cast<Function>(entry.address) : fallback;
}

}  // namespace

SearchFunctions ProgramSearchFunctions()
{
    const QrnImportEntry* table = ProgramImportTable();
    return SearchFunctions{
        Imported<FindFirstFileWFunction>(table[0], &FindFirstFileW),
        Imported<FindNextFileWFunction>(table[1], &FindNextFileW),
        Imported<FindCloseFunction>(table[2], &FindClose),
    };
}
