#pragma once
// Path operations of the loader, on Linux paths: the separator is "/" and an absolute path starts
// with "/". Texts are UTF-16 file names (platform/files' lossless codec). The CQrnMem targets
// receive the UTF-16 units and a terminating NUL.
// Thread safety: any thread; nothing here changes the process's current directory.
#include "platform/window/WinTypes.h"
#include "runtime/CQrnMem.h"

#include <string>
#include <string_view>

// The module's file name cut after its last "/" (the directory with a trailing "/"); false, with
// the target left alone, when the name cannot be read.
bool GetModuleDirectory(HMODULE module, CQrnMem& target);
// The directory and the name joined with one "/", "/./" folded to "/" and each "/../" taken out
// with the component before it; an empty directory gives the name, an empty or null name the
// directory, an absolute name itself. A "/../" with no component before it gives the name
// unchanged. Returns the target's units.
const char16_t* JoinPath(const char16_t* directory, const char16_t* name, CQrnMem& target);
std::u16string JoinPathText(std::u16string_view directory, std::u16string_view name);
// True when the path names anything (a link counts itself, even a dangling one); a trailing "/" is
// dropped first unless the path is the root.
bool PathExists(const char16_t* path);
// Loads the library by path or name. The original platform made an absolute library's directory
// the current one during the load so that its neighbours were found; on Linux a library finds its
// neighbours through its own search path ($ORIGIN) and the current directory plays no part, so the
// process-wide current directory, which other threads rely on, is left alone.
HMODULE LoadLibraryInItsDirectory(const char16_t* path);
