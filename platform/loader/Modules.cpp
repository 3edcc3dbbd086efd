// The module table: the program, built-in modules and shared libraries.
#include "platform/loader/Modules.h"

#include "platform/files/FileNameCodec.h"

#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <unordered_map>
#include <utility>

namespace {

enum class ModuleKind { Program, Builtin, Shared };

struct ModuleRecord {
    ModuleKind kind = ModuleKind::Shared;
    BuiltinModule builtin;  // Builtin only
    void* library = nullptr;  // Shared only: the dlopen handle
    int loads = 0;            // Shared only
};

using Lock = std::lock_guard<std::mutex>;

constexpr uintptr_t kProgramHandle = 0x400000;

struct ModuleTable {
    std::mutex mutex;
    std::unordered_map<uintptr_t, ModuleRecord> modules;
    uintptr_t nextHandle = 0x10000000;

    uintptr_t AddLocked(ModuleRecord record)
    {
        uintptr_t handle = nextHandle;
        nextHandle += 0x10000;
        modules.emplace(handle, std::move(record));
        return handle;
    }
};

bool SameNameIgnoringCase(std::u16string_view a, std::u16string_view b)
{
    auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char16_t x, char16_t y) {
               return lower(x) == lower(y);
           });
}

std::u16string_view LastComponent(std::u16string_view name)
{
    size_t cut = name.find_last_of(u"/\\");
    return cut == std::u16string_view::npos ? name : name.substr(cut + 1);
}

std::optional<BuiltinModule> InstallLocked(ModuleTable& table, std::u16string_view name,
                                           std::optional<BuiltinModule> module);

ModuleTable& Table()
{
    // Never destroyed: the runtime instance frees its libraries during static destruction.
    static ModuleTable* table = [] {
        auto* t = new ModuleTable();
        ModuleRecord program;
        program.kind = ModuleKind::Program;
        t->modules.emplace(kProgramHandle, std::move(program));
        for (BuiltinModule& module : PlatformModules()) {
            std::u16string name = module.name;
            InstallLocked(*t, name, std::move(module));
        }
        return t;
    }();
    return *table;
}

std::unordered_map<uintptr_t, ModuleRecord>::iterator FindBuiltinLocked(ModuleTable& table, std::u16string_view name)
{
    return std::find_if(table.modules.begin(), table.modules.end(), [&](const auto& entry) {
        return entry.second.kind == ModuleKind::Builtin && SameNameIgnoringCase(entry.second.builtin.name, name);
    });
}

std::optional<BuiltinModule> InstallLocked(ModuleTable& table, std::u16string_view name,
                                           std::optional<BuiltinModule> module)
{
    std::optional<BuiltinModule> previous;
    auto it = FindBuiltinLocked(table, name);
    if (it != table.modules.end()) {
        previous = std::move(it->second.builtin);
        table.modules.erase(it);
    }
    if (module) {
        ModuleRecord record;
        record.kind = ModuleKind::Builtin;
        record.builtin = std::move(*module);
        table.AddLocked(std::move(record));
    }
    return previous;
}

ModuleRecord* FindLocked(ModuleTable& table, HMODULE module)
{
    auto it = table.modules.find(reinterpret_cast<uintptr_t>(module));
    return it == table.modules.end() ? nullptr : &it->second;
}

HMODULE OpenShared(ModuleTable& table, const std::string& bytes)
{
    void* library = dlopen(bytes.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library)
        return nullptr;
    Lock lock(table.mutex);
    for (auto& [handle, record] : table.modules) {
        if (record.kind == ModuleKind::Shared && record.library == library) {
            ++record.loads;  // each load holds one dlopen reference, released by one FreeLibrary
            return reinterpret_cast<HMODULE>(handle);
        }
    }
    ModuleRecord record;
    record.library = library;
    record.loads = 1;
    return reinterpret_cast<HMODULE>(table.AddLocked(std::move(record)));
}

FARPROC FindExport(const BuiltinModule& module, const char* nameOrOrdinal)
{
    bool byOrdinal = (reinterpret_cast<uintptr_t>(nameOrOrdinal) >> 16) == 0;
    for (const BuiltinExport& entry : module.exports) {
        if (byOrdinal ? entry.ordinal != 0 && entry.ordinal == reinterpret_cast<uintptr_t>(nameOrOrdinal)
                      : !entry.name.empty() && entry.name == nameOrOrdinal)
            return entry.address;
    }
    return nullptr;
}

std::optional<std::u16string> ProgramFileName()
{
    std::string bytes(256, '\0');
    for (;;) {
        ssize_t n = readlink("/proc/self/exe", bytes.data(), bytes.size());
        if (n < 0)
            return std::nullopt;
        if (static_cast<size_t>(n) < bytes.size()) {
            bytes.resize(static_cast<size_t>(n));
            return DecodeFileName(bytes);
        }
        bytes.resize(bytes.size() * 2);
    }
}

}  // namespace

std::optional<BuiltinModule> SetBuiltinModule(BuiltinModule module)
{
    ModuleTable& table = Table();
    Lock lock(table.mutex);
    std::u16string name = module.name;
    return InstallLocked(table, name, std::move(module));
}

std::optional<BuiltinModule> RemoveBuiltinModule(std::u16string_view name)
{
    ModuleTable& table = Table();
    Lock lock(table.mutex);
    return InstallLocked(table, name, std::nullopt);
}

ScopedBuiltinModule::ScopedBuiltinModule(std::u16string_view name, std::optional<BuiltinModule> replacement)
    : name_(name)
{
    if (replacement) {
        replacement->name = name_;
        previous_ = SetBuiltinModule(std::move(*replacement));
    } else {
        previous_ = RemoveBuiltinModule(name_);
    }
}

ScopedBuiltinModule::~ScopedBuiltinModule()
{
    if (previous_)
        SetBuiltinModule(std::move(*previous_));
    else
        RemoveBuiltinModule(name_);
}

HMODULE LoadLibraryW(LPCWSTR name)
{
    if (!name || !*name) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    ModuleTable& table = Table();
    {
        Lock lock(table.mutex);
        auto it = FindBuiltinLocked(table, LastComponent(name));
        if (it != table.modules.end())
            return reinterpret_cast<HMODULE>(it->first);
    }
    std::optional<std::string> bytes = EncodeFileName(name);
    HMODULE module = bytes ? OpenShared(table, *bytes) : nullptr;
    if (!module)
        SetLastError(ERROR_MOD_NOT_FOUND);
    return module;
}

BOOL FreeLibrary(HMODULE module)
{
    ModuleTable& table = Table();
    void* library = nullptr;
    {
        Lock lock(table.mutex);
        ModuleRecord* record = FindLocked(table, module);
        if (!record) {
            SetLastError(ERROR_MOD_NOT_FOUND);
            return FALSE;
        }
        if (record->kind != ModuleKind::Shared)
            return TRUE;
        library = record->library;
        if (--record->loads == 0)
            table.modules.erase(reinterpret_cast<uintptr_t>(module));
    }
    dlclose(library);
    return TRUE;
}

FARPROC GetProcAddress(HMODULE module, const char* nameOrOrdinal)
{
    ModuleTable& table = Table();
    FARPROC address = nullptr;
    if (nameOrOrdinal) {
        Lock lock(table.mutex);
        ModuleRecord* record = FindLocked(table, module ? module : reinterpret_cast<HMODULE>(kProgramHandle));
        bool byOrdinal = (reinterpret_cast<uintptr_t>(nameOrOrdinal) >> 16) == 0;
        if (record && record->kind == ModuleKind::Builtin)
            address = FindExport(record->builtin, nameOrOrdinal);
        else if (record && record->kind == ModuleKind::Shared && !byOrdinal)
            address = reinterpret_cast<FARPROC>(dlsym(record->library, nameOrOrdinal));
    }
    if (!address)
        SetLastError(ERROR_PROC_NOT_FOUND);
    return address;
}

HMODULE GetModuleHandleW(LPCWSTR name)
{
    if (!name)
        return reinterpret_cast<HMODULE>(kProgramHandle);
    ModuleTable& table = Table();
    {
        Lock lock(table.mutex);
        auto it = FindBuiltinLocked(table, LastComponent(name));
        if (it != table.modules.end())
            return reinterpret_cast<HMODULE>(it->first);
    }
    std::optional<std::string> bytes = EncodeFileName(name);
    void* library = bytes && !bytes->empty() ? dlopen(bytes->c_str(), RTLD_NOW | RTLD_NOLOAD) : nullptr;
    HMODULE found = nullptr;
    if (library) {
        Lock lock(table.mutex);
        for (auto& [handle, record] : table.modules)
            if (record.kind == ModuleKind::Shared && record.library == library)
                found = reinterpret_cast<HMODULE>(handle);
    }
    if (library)
        dlclose(library);
    if (!found)
        SetLastError(ERROR_MOD_NOT_FOUND);
    return found;
}

std::optional<std::u16string> ModuleFileName(HMODULE module)
{
    if (!module || reinterpret_cast<uintptr_t>(module) == kProgramHandle)
        return ProgramFileName();
    ModuleTable& table = Table();
    Lock lock(table.mutex);
    ModuleRecord* record = FindLocked(table, module);
    if (!record || record->kind != ModuleKind::Shared)
        return std::nullopt;
    link_map* map = nullptr;
    if (dlinfo(record->library, RTLD_DI_LINKMAP, &map) != 0 || !map || !map->l_name || !*map->l_name)
        return std::nullopt;
    return DecodeFileName(map->l_name);
}

DWORD GetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD size)
{
    std::optional<std::u16string> name = ModuleFileName(module);
    if (!name) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return 0;
    }
    if (!buffer || size == 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    size_t copied = std::min<size_t>(name->size(), size - 1);
    std::memcpy(buffer, name->data(), copied * sizeof(char16_t));
    buffer[copied] = 0;
    if (copied < name->size()) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return size;
    }
    return static_cast<DWORD>(copied);
}

HMODULE ProgramModule() { return reinterpret_cast<HMODULE>(kProgramHandle); }

bool IsBuiltinModule(HMODULE module)
{
    ModuleTable& table = Table();
    Lock lock(table.mutex);
    ModuleRecord* record = FindLocked(table, module);
    return record && record->kind == ModuleKind::Builtin;
}
