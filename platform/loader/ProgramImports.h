#pragma once
// Typed access to the directory-search functions of the program's import table, for the directory
// enumeration. Before the table is resolved (tools and tests that skip the start-up) the platform's
// own functions stand in, which are what the table resolves to.
// Spelled with plain types so that it goes with the window core's header as well as with
// platform/files' (which cannot share one source yet).
// Thread safety: any thread, once the table is resolved (or before resolution starts).
#include <cstdint>

struct WIN32_FIND_DATAW;

using FindFirstFileWFunction = void* (*)(const char16_t*, WIN32_FIND_DATAW*);
using FindNextFileWFunction = int32_t (*)(void*, WIN32_FIND_DATAW*);
using FindCloseFunction = int32_t (*)(void*);

struct SearchFunctions {
    FindFirstFileWFunction findFirstFile;
    FindNextFileWFunction findNextFile;
    FindCloseFunction findClose;
};

SearchFunctions ProgramSearchFunctions();
