#pragma once
// Modules: the program itself, the built-in modules (BuiltinModules.h) and shared libraries opened
// with dlopen, behind the platform's LoadLibraryW / GetProcAddress / FreeLibrary. A name whose last
// component is a built-in module's name gives that module; any other name goes to dlopen as given
// (a name without "/" is searched for by the system, a path is opened as it stands). Ordinals
// (GetProcAddress with MAKEINTRESOURCEA) reach built-in modules only. Handles are opaque.
// Thread safety: any thread; a library stays open until as many FreeLibrary calls as loads.
#include "platform/loader/BuiltinModules.h"
#include "platform/window/WinTypes.h"

#include <optional>
#include <string>

inline constexpr DWORD ERROR_MOD_NOT_FOUND = 126;
inline constexpr DWORD ERROR_PROC_NOT_FOUND = 127;

inline const char* MAKEINTRESOURCEA(WORD id)
{
    return reinterpret_cast<const char*>(static_cast<uintptr_t>(id));
}

// Null (ERROR_MOD_NOT_FOUND, or ERROR_INVALID_PARAMETER for a null or empty name) when nothing loads.
HMODULE LoadLibraryW(LPCWSTR name);
// FALSE (ERROR_MOD_NOT_FOUND) for an unknown handle; the program and built-in modules stay.
BOOL FreeLibrary(HMODULE module);
// By name, or by ordinal when the name is MAKEINTRESOURCEA(n); null module means the program,
// which exports nothing. Null with ERROR_PROC_NOT_FOUND when missing.
FARPROC GetProcAddress(HMODULE module, const char* nameOrOrdinal);
// Null name: the program. Otherwise a built-in module or an open shared library of that name.
HMODULE GetModuleHandleW(LPCWSTR name);
// The module's file (the program's from /proc/self/exe). Copies at most size - 1 units and a NUL;
// returns the units copied, size with ERROR_INSUFFICIENT_BUFFER when cut, 0 when there is no file
// (built-in modules) or the handle is unknown.
DWORD GetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD size);

// Our own.
HMODULE ProgramModule();
std::optional<std::u16string> ModuleFileName(HMODULE module);
bool IsBuiltinModule(HMODULE module);
