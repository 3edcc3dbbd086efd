// Resolving the dynamic import table, and its two failure messages.
#include "platform/loader/ImportTable.h"
#include "platform/loader/Modules.h"
#include "platform/loader/ProgramImports.h"
#include "runtime/CQrnAppInstance.h"
#include "runtime/CQrnException.h"

#include <gtest/gtest.h>

#include <string>

// The search functions, declared here because their header and the window core's types cannot
// share one source yet.
void* FindFirstFileW(const char16_t* pattern, WIN32_FIND_DATAW* data);
BOOL FindNextFileW(void* search, WIN32_FIND_DATAW* data);
BOOL FindClose(void* search);

namespace {

// The description of the exception the table raises, or "" when it resolves.
std::u16string Failure(QrnImportEntry* table)
{
    try {
        EXPECT_EQ(ResolveImportTable(table), 1);
    } catch (const CQrnException& e) {
        EXPECT_EQ(e.code, -1);
        return std::u16string(e.description.View());
    }
    return u"";
}

class ImportTableTest : public ::testing::Test {
protected:
    void TearDown() override { CQrnAppInstance::Get().ReleaseProcessState(); }
};

TEST_F(ImportTableTest, ProgramTableResolvesToTheSearchFunctions)
{
    ASSERT_EQ(ResolveProgramImports(), 1);
    QrnImportEntry* table = ProgramImportTable();
    EXPECT_EQ(table[0].address, AsFarProc(&FindFirstFileW));
    EXPECT_EQ(table[1].address, AsFarProc(&FindNextFileW));
    EXPECT_EQ(table[2].address, AsFarProc(&FindClose));
    SearchFunctions search = ProgramSearchFunctions();
    EXPECT_EQ(search.findFirstFile, &FindFirstFileW);
    EXPECT_EQ(search.findClose, &FindClose);
    EXPECT_EQ(CQrnAppInstance::Get().LoadedLibraryCount(), 0);  // built-in: nothing was opened
}

TEST_F(ImportTableTest, MissingLibraryGivesTheLoadMessage)
{
    ScopedBuiltinModule missing(u"Kernel32.dll", std::nullopt);
    QrnImportEntry table[] = {
        {u"Kernel32.dll", "FindFirstFileW", nullptr},
        {u"", "FindNextFileW", nullptr},
        {nullptr, nullptr, nullptr},
    };
    EXPECT_EQ(Failure(table), u"载入运行时所需要的外部动态链接库文件\"Kernel32.dll\"失败!");
    EXPECT_EQ(table[0].address, nullptr);
}

TEST_F(ImportTableTest, MissingFunctionGivesTheLookupMessageWithLibraryAndFunction)
{
    ScopedBuiltinModule partial(u"Kernel32.dll", BuiltinModule{u"", {
        {"FindFirstFileW", 2, AsFarProc(&FindFirstFileW)},
        {"FindNextFileW", 3, AsFarProc(&FindNextFileW)},
    }});
    QrnImportEntry table[] = {
        {u"Kernel32.dll", "FindFirstFileW", nullptr},
        {u"", "FindNextFileW", nullptr},
        {u"", "FindClose", nullptr},
        {nullptr, nullptr, nullptr},
    };
    EXPECT_EQ(Failure(table), u"在外部动态链接库\"Kernel32.dll\"中未找到所需要的输出函数\"FindClose\"!");
    EXPECT_NE(table[1].address, nullptr);  // the entries before the failure are filled
}

TEST_F(ImportTableTest, AtNamesAreOrdinals)
{
    ScopedBuiltinModule ordinals(u"Ordinals.dll", BuiltinModule{u"", {{"", 5, AsFarProc(&FindClose)}}});
    QrnImportEntry table[] = {{u"ordinals.dll", "@5", nullptr}, {nullptr, nullptr, nullptr}};
    EXPECT_EQ(Failure(table), u"");
    EXPECT_EQ(table[0].address, AsFarProc(&FindClose));
    for (const char* bad : {"@6", "@", "@5x", "@70000", "5"}) {
        QrnImportEntry one[] = {{u"Ordinals.dll", bad, nullptr}, {nullptr, nullptr, nullptr}};
        std::u16string name(bad, bad + std::char_traits<char>::length(bad));
        EXPECT_EQ(Failure(one), u"在外部动态链接库\"Ordinals.dll\"中未找到所需要的输出函数\"" + name + u"\"!");
    }
}

TEST_F(ImportTableTest, FirstEntryWithoutLibraryHasNothingToLookIn)
{
    QrnImportEntry table[] = {{u"", "FindClose", nullptr}, {nullptr, nullptr, nullptr}};
    EXPECT_EQ(Failure(table), u"载入运行时所需要的外部动态链接库文件\"\"失败!");
}

TEST_F(ImportTableTest, SharedLibrariesAreFoundBesideTheProgramOrByTheSystemAndKeptLoaded)
{
    QrnImportEntry table[] = {
        // Beside the program, as named.
        {u"libloader_test_plugin.so", "TabrixPluginAnswer", nullptr},
        // Not under the program's folder as named: its last component is.
        {u"sub/dir/libloader_test_plugin.so", "TabrixPluginAnswer", nullptr},
        // Only in the system's folders: the plain name finds it.
        {u"libm.so.6", "cos", nullptr},
        {u"", "sin", nullptr},
        {nullptr, nullptr, nullptr},
    };
    ASSERT_EQ(Failure(table), u"");
    EXPECT_EQ(reinterpret_cast<int (*)()>(table[0].address)(), 42);
    EXPECT_EQ(table[1].address, table[0].address);
    EXPECT_EQ(reinterpret_cast<double (*)(double)>(table[2].address)(0.0), 1.0);
    EXPECT_NE(table[3].address, nullptr);
    CQrnAppInstance& instance = CQrnAppInstance::Get();
    ASSERT_EQ(instance.LoadedLibraryCount(), 3);
    std::optional<std::u16string> plugin = ModuleFileName(static_cast<HMODULE>(instance.LoadedLibrary(0)));
    ASSERT_TRUE(plugin.has_value());
    EXPECT_NE(plugin->find(u"libloader_test_plugin.so"), std::u16string::npos);

    instance.ReleaseProcessState();  // the exit hook's step: every library freed in load order
    EXPECT_EQ(instance.LoadedLibraryCount(), 0);
    EXPECT_EQ(GetModuleHandleW(u"libm.so.6"), nullptr);  // no longer one of ours
}

TEST_F(ImportTableTest, UnknownSharedLibraryGivesTheLoadMessage)
{
    QrnImportEntry table[] = {{u"libTabrixNoSuch.so", "f", nullptr}, {nullptr, nullptr, nullptr}};
    EXPECT_EQ(Failure(table), u"载入运行时所需要的外部动态链接库文件\"libTabrixNoSuch.so\"失败!");
}

}  // namespace
