// "Kernel32.dll": the directory-search functions of platform/files as a built-in module.
#include "platform/files/FindFile.h"
#include "platform/loader/BuiltinModules.h"

std::vector<BuiltinModule> PlatformModules()
{
    // Ordinals follow the names' order, as a library's export table numbers them.
    BuiltinModule kernel32{u"Kernel32.dll",
                           {
                               {"FindClose", 1, AsFarProc(&FindClose)},
                               {"FindFirstFileW", 2, AsFarProc(&FindFirstFileW)},
                               {"FindNextFileW", 3, AsFarProc(&FindNextFileW)},
                           }};
    return {std::move(kernel32)};
}
