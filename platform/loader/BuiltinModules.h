#pragma once
// Built-in modules: libraries the platform layer provides itself, found by name before any shared
// library is opened. The platform registers "Kernel32.dll" with FindFirstFileW, FindNextFileW and
// FindClose on first use of the module table; a test may replace or remove a module for a while.
// Module names compare ignoring ASCII case; export names compare exactly.
// This header stays free of the window core's types, so the directory search may include it too.
// Thread safety: any thread; a module replaced while a lookup runs is seen before or after.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A generic function pointer (the platform has it return INT_PTR; "void ()" is the form the compiler
// lets every function pointer convert to and from without a warning).
using FARPROC = void (*)();

template <class Function>
FARPROC AsFarProc(Function* function)
{
    return reinterpret_cast<FARPROC>(function);
}

struct BuiltinExport {
    std::string name;      // empty: reached by ordinal only
    uint16_t ordinal = 0;  // 0: reached by name only
    FARPROC address = nullptr;
};

struct BuiltinModule {
    std::u16string name;
    std::vector<BuiltinExport> exports;
};

// Registers the module, replacing one of the same name; returns the replaced one.
std::optional<BuiltinModule> SetBuiltinModule(BuiltinModule module);
std::optional<BuiltinModule> RemoveBuiltinModule(std::u16string_view name);

// Replaces (or, with no module, removes) a built-in module for its lifetime, then puts back what
// was there. For tests that make a library or a function missing.
class ScopedBuiltinModule {
public:
    ScopedBuiltinModule(std::u16string_view name, std::optional<BuiltinModule> replacement);
    ~ScopedBuiltinModule();
    ScopedBuiltinModule(const ScopedBuiltinModule&) = delete;
    ScopedBuiltinModule& operator=(const ScopedBuiltinModule&) = delete;

private:
    std::u16string name_;
    std::optional<BuiltinModule> previous_;
};

// The platform's own modules ("Kernel32.dll"); the module table registers them on first use.
std::vector<BuiltinModule> PlatformModules();
