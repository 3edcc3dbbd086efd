#pragma once
// The dynamic import table: functions the program reaches only through run-time lookup. Entries
// run until one whose library is null; an empty library name means the library of the entry
// before. Resolving tries each library first as a built-in module, then as a shared library next
// to the program, then by the name's last component next to the program (for names with a "/"),
// then by its plain name through the system's search; a library that loads joins the runtime
// instance's loaded-library list. A function "@n" is looked up by ordinal n.
// Free of the window core's types, so the directory search may include it.
// Thread safety: resolve on the start-up thread before other threads read the addresses.
#include "platform/loader/BuiltinModules.h"

#include <cstdint>

struct QrnImportEntry {
    const char16_t* library;
    const char* function;
    FARPROC address;
};

// Fills every entry's address and returns 1, or throws CQrnException (code -1) with
// "载入运行时所需要的外部动态链接库文件"<library>"失败!" or
// "在外部动态链接库"<library>"中未找到所需要的输出函数"<function>"!" at the first failure.
int32_t ResolveImportTable(QrnImportEntry* table);

// The program's table: "Kernel32.dll" with FindFirstFileW, FindNextFileW and FindClose.
QrnImportEntry* ProgramImportTable();
int32_t ResolveProgramImports();
