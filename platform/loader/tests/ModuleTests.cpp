// The module table: built-in modules first, then shared libraries through dlopen.
#include "platform/loader/Modules.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <string>

// The search functions, declared here because their header and the window core's types cannot
// share one source yet.
BOOL FindClose(void* search);

namespace {

TEST(BuiltinModules, Kernel32IsFoundByNameIgnoringCaseAndExportsByNameOrOrdinal)
{
    HMODULE kernel = LoadLibraryW(u"KERNEL32.DLL");
    ASSERT_NE(kernel, nullptr);
    EXPECT_TRUE(IsBuiltinModule(kernel));
    EXPECT_EQ(LoadLibraryW(u"/some/where/kernel32.dll"), kernel);  // the last component decides
    EXPECT_EQ(GetModuleHandleW(u"Kernel32.dll"), kernel);
    EXPECT_EQ(GetProcAddress(kernel, "FindClose"), AsFarProc(&FindClose));
    EXPECT_EQ(GetProcAddress(kernel, MAKEINTRESOURCEA(1)), AsFarProc(&FindClose));
    EXPECT_NE(GetProcAddress(kernel, "FindFirstFileW"), nullptr);
    EXPECT_EQ(GetProcAddress(kernel, "findclose"), nullptr);  // export names are exact
    EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
    EXPECT_EQ(GetProcAddress(kernel, MAKEINTRESOURCEA(9)), nullptr);
    EXPECT_TRUE(FreeLibrary(kernel));
    EXPECT_EQ(GetProcAddress(kernel, "FindClose"), AsFarProc(&FindClose));  // built-ins stay
}

TEST(BuiltinModules, ScopedReplacementIsUndoneAtTheEndOfTheScope)
{
    {
        ScopedBuiltinModule missing(u"Kernel32.dll", std::nullopt);
        EXPECT_EQ(LoadLibraryW(u"Kernel32.dll"), nullptr);
        EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
        ScopedBuiltinModule fake(u"kernel32.DLL", BuiltinModule{u"", {{"", 5, AsFarProc(&FindClose)}}});
        HMODULE replaced = LoadLibraryW(u"Kernel32.dll");
        ASSERT_NE(replaced, nullptr);
        EXPECT_EQ(GetProcAddress(replaced, MAKEINTRESOURCEA(5)), AsFarProc(&FindClose));
        EXPECT_EQ(GetProcAddress(replaced, "FindClose"), nullptr);
    }
    HMODULE kernel = LoadLibraryW(u"Kernel32.dll");
    ASSERT_NE(kernel, nullptr);
    EXPECT_EQ(GetProcAddress(kernel, "FindClose"), AsFarProc(&FindClose));
}

TEST(SharedLibraries, OpenLookUpAndCloseByCount)
{
    HMODULE math = LoadLibraryW(u"libm.so.6");
    ASSERT_NE(math, nullptr);
    EXPECT_FALSE(IsBuiltinModule(math));
    EXPECT_EQ(LoadLibraryW(u"libm.so.6"), math);  // the same library gives the same handle
    FARPROC cosine = GetProcAddress(math, "cos");
    ASSERT_NE(cosine, nullptr);
    EXPECT_EQ(reinterpret_cast<double (*)(double)>(cosine)(0.0), 1.0);
    EXPECT_EQ(GetProcAddress(math, MAKEINTRESOURCEA(1)), nullptr);  // no ordinals in ELF
    EXPECT_EQ(GetProcAddress(math, "NoSuchFunction"), nullptr);
    EXPECT_EQ(GetModuleHandleW(u"libm.so.6"), math);

    std::optional<std::u16string> file = ModuleFileName(math);
    ASSERT_TRUE(file.has_value());
    EXPECT_NE(file->find(u"libm.so.6"), std::u16string::npos);

    EXPECT_TRUE(FreeLibrary(math));
    EXPECT_TRUE(FreeLibrary(math));
    EXPECT_FALSE(FreeLibrary(math));  // both loads released: the handle is gone
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
}

TEST(SharedLibraries, MissingLibraryAndBadNamesLoadNothing)
{
    EXPECT_EQ(LoadLibraryW(u"libTabrixNoSuchLibrary.so"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
    EXPECT_EQ(LoadLibraryW(u""), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(LoadLibraryW(nullptr), nullptr);
    EXPECT_EQ(GetProcAddress(nullptr, "main"), nullptr);  // the program exports nothing
}

TEST(ProgramModule, FileNameIsTheExecutableAndTruncatesSafely)
{
    EXPECT_EQ(GetModuleHandleW(nullptr), ProgramModule());
    char16_t buffer[512];
    DWORD length = GetModuleFileNameW(nullptr, buffer, 512);
    ASSERT_GT(length, 0u);
    ASSERT_LT(length, 512u);
    std::u16string name(buffer, length);
    EXPECT_EQ(name.front(), u'/');
    EXPECT_NE(name.find(u"loader_tests"), std::u16string::npos);

    char16_t small[4] = {u'x', u'x', u'x', u'x'};
    EXPECT_EQ(GetModuleFileNameW(ProgramModule(), small, 4), 4u);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(small[3], 0);
    EXPECT_EQ(std::u16string(small), name.substr(0, 3));
}

}  // namespace
