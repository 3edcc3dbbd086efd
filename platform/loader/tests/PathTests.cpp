// Path operations of the loader on Linux paths.
#include "platform/loader/Modules.h"
#include "platform/loader/Paths.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

std::u16string Text(const CQrnMem& buffer) { return reinterpret_cast<const char16_t*>(buffer.GetData()); }

TEST(JoinPath, JoinsFoldsAndKeepsAbsoluteNames)
{
    struct Case {
        const char16_t* directory;
        const char16_t* name;
        const char16_t* joined;
    };
    const Case cases[] = {
        {u"/app/", u"lib/x.so", u"/app/lib/x.so"},
        {u"/app", u"../x.so", u"/x.so"},
        {u"/app", u"/opt/x.so", u"/opt/x.so"},
        {u"", u"x.so", u"x.so"},
        {u"/app", u"", u"/app"},
        {u"/a/./b", u"./c", u"/a/b/c"},
        {u"/a/b", u"././c", u"/a/b/c"},
        {u"/a/b/c", u"../../d", u"/a/d"},
        {u"a/b", u"../c", u"a/c"},
        {u"a", u"../b", u"../b"},      // no component before "/../": the name as given
        {u"/", u"../x", u"../x"},
        {u"/app", u"x/../../y", u"/y"},
        {u"/app", u"x..y/z", u"/app/x..y/z"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(JoinPathText(c.directory, c.name), c.joined) << std::string(c.directory, c.directory + 2);
}

TEST(JoinPath, WritesATerminatedTextIntoTheBuffer)
{
    CQrnMem buffer;
    buffer.AppendByteList({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    const char16_t* joined = JoinPath(u"/usr/lib", nullptr, buffer);
    EXPECT_EQ(std::u16string(joined), u"/usr/lib");
    EXPECT_EQ(buffer.GetLength(), 18);  // eight units and the NUL
    EXPECT_EQ(std::u16string(JoinPath(nullptr, u"x", buffer)), u"x");
}

class PathExistsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/tabrix-paths-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::u16string Path(const std::string& tail) const
    {
        std::string s = dir_ + tail;
        return std::u16string(s.begin(), s.end());
    }
    std::string dir_;
};

TEST_F(PathExistsTest, TrailingSlashIsDroppedExceptForTheRoot)
{
    std::filesystem::create_directory(dir_ + "/sub");
    std::filesystem::create_symlink(dir_ + "/nowhere", dir_ + "/dangling");
    EXPECT_TRUE(PathExists(Path("/sub").c_str()));
    EXPECT_TRUE(PathExists(Path("/sub/").c_str()));
    EXPECT_TRUE(PathExists(u"/"));
    EXPECT_TRUE(PathExists(Path("/dangling").c_str()));  // the link itself exists
    EXPECT_FALSE(PathExists(Path("/missing").c_str()));
    EXPECT_FALSE(PathExists(Path("/missing/").c_str()));
    EXPECT_FALSE(PathExists(u""));
    EXPECT_FALSE(PathExists(nullptr));
}

TEST(ModuleDirectory, IsTheProgramsFolderWithItsSlash)
{
    CQrnMem buffer;
    ASSERT_TRUE(GetModuleDirectory(ProgramModule(), buffer));
    std::string exe = std::filesystem::read_symlink("/proc/self/exe").parent_path().string() + "/";
    EXPECT_EQ(Text(buffer), std::u16string(exe.begin(), exe.end()));

    CQrnMem untouched;
    untouched.AppendByteList({7});
    EXPECT_FALSE(GetModuleDirectory(LoadLibraryW(u"Kernel32.dll"), untouched));  // no file behind it
    EXPECT_EQ(untouched.GetLength(), 1);
}

}  // namespace
