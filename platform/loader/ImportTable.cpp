// Resolving the dynamic import table.
#include "platform/loader/ImportTable.h"

#include "platform/loader/InstanceServices.h"
#include "platform/loader/Modules.h"
#include "platform/loader/Paths.h"
#include "runtime/CQrnAppInstance.h"
#include "runtime/CQrnException.h"
#include "runtime/Unicode.h"

#include <string>

namespace {

QrnImportEntry g_programImports[] = {
    {u"Kernel32.dll", "FindFirstFileW", nullptr},
    {u"", "FindNextFileW", nullptr},
    {u"", "FindClose", nullptr},
    {nullptr, nullptr, nullptr},
};

std::u16string ModuleDirectory()
{
    CQrnMem directory;
    if (!GetModuleDirectory(static_cast<HMODULE>(CQrnAppInstance::Get().GetModule()), directory))
        return {};
    return reinterpret_cast<const char16_t*>(directory.GetData());
}

HMODULE LoadTableLibrary(const std::u16string& directory, const std::u16string& name)
{
    if (IsBuiltinModule(GetModuleHandleW(name.c_str())))
        return GetModuleHandleW(name.c_str());
    std::u16string first = directory.empty() ? name : JoinPathText(directory, name);
    HMODULE module = LoadLibraryInItsDirectory(first.c_str());
    size_t slash = name.find_last_of(u'/');
    if (!module && !directory.empty() && slash != std::u16string::npos)
        module = LoadLibraryInItsDirectory(JoinPathText(directory, name.substr(slash + 1)).c_str());
    if (!module && first != name)
        module = LoadLibraryW(name.c_str());
    if (module)
        CQrnAppInstance::Get().AddLoadedLibrary(module);
    return module;
}

// "@" and decimal digits give an ordinal; anything else (or an ordinal out of range) 0.
WORD OrdinalOf(const char* function)
{
    uint32_t value = 0;
    const char* p = function + 1;
    if (!*p)
        return 0;
    for (; *p; ++p) {
        if (*p < '0' || *p > '9')
            return 0;
        value = value * 10 + static_cast<uint32_t>(*p - '0');
        if (value > 0xFFFF)
            return 0;
    }
    return static_cast<WORD>(value);
}

FARPROC LookUp(HMODULE module, const char* function)
{
    if (function[0] != '@')
        return GetProcAddress(module, function);
    WORD ordinal = OrdinalOf(function);
    return ordinal ? GetProcAddress(module, MAKEINTRESOURCEA(ordinal)) : nullptr;
}

[[noreturn]] void Raise(const char16_t* format, const std::u16string& library, const std::u16string* function)
{
    CWString description;
    if (function)
        description.SetFormat(format, library.c_str(), function->c_str());
    else
        description.SetFormat(format, library.c_str());
    throw CQrnException(description);
}

}  // namespace

int32_t ResolveImportTable(QrnImportEntry* table)
{
    InstallLoaderServices();
    const std::u16string directory = ModuleDirectory();
    std::u16string library;
    HMODULE module = nullptr;
    for (QrnImportEntry* entry = table; entry && entry->library; ++entry) {
        if (*entry->library) {
            library = entry->library;
            module = LoadTableLibrary(directory, library);
        }
        if (!module)
            Raise(u"载入运行时所需要的外部动态链接库文件\"%s\"失败!", library, nullptr);
        const char* function = entry->function ? entry->function : "";
        entry->address = *function ? LookUp(module, function) : nullptr;
        if (!entry->address) {
            const std::u16string functionName = Utf8ToUtf16(function);
            Raise(u"在外部动态链接库\"%s\"中未找到所需要的输出函数\"%s\"!", library, &functionName);
        }
    }
    return 1;
}

QrnImportEntry* ProgramImportTable() { return g_programImports; }

int32_t ResolveProgramImports() { return ResolveImportTable(g_programImports); }
