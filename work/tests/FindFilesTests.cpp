#include "work/FindFiles.h"

#include "platform/files/FileNameCodec.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

using rg_quarn_base::rg_WenBenShuZuLei;
using rg_quarn_Tolvar::FindFiles;
using rg_quarn_Tolvar::Recurse;
using rg_quarn_Tolvar::ScanDirectory;

namespace {

// A scratch tree for one test, removed with everything in it afterwards. Names are raw bytes.
class Scratch {
public:
    Scratch()
    {
        char pattern[] = "/tmp/work-find-XXXXXX";
        root_ = mkdtemp(pattern);
    }
    ~Scratch()
    {
        const std::string command = "chmod -R u+rwx '" + root_ + "' 2>/dev/null; rm -rf '" + root_ + "'";
        if (std::system(command.c_str()) != 0)
            ADD_FAILURE() << "could not remove " << root_;
    }
    const std::string& Root() const { return root_; }
    std::string Path(const std::string& relative) const { return root_ + "/" + relative; }
    void File(const std::string& relative) const
    {
        const int fd = ::open(Path(relative).c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
        ASSERT_GE(fd, 0) << relative;
        ::close(fd);
    }
    void Dir(const std::string& relative) const { ASSERT_EQ(::mkdir(Path(relative).c_str(), 0755), 0) << relative; }
    void Link(const std::string& target, const std::string& relative) const
    {
        ASSERT_EQ(::symlink(target.c_str(), Path(relative).c_str()), 0) << relative;
    }

private:
    std::string root_;
};

CWString Text(const std::string& utf8) { return CWString(DecodeFileName(utf8)); }

std::vector<std::string> Utf8(const rg_WenBenShuZuLei& list)
{
    std::vector<std::string> out;
    for (int64_t i = 0; i < list.GetCount(); ++i)
        out.push_back(FileNameToDisplayUtf8(list.GetAt(i)));
    return out;
}

std::vector<std::string> Sorted(std::vector<std::string> items)
{
    std::sort(items.begin(), items.end());
    return items;
}

struct Found {
    int32_t count;
    std::vector<std::string> files;
    std::vector<std::string> directories;
};

Found Find(const std::string& directory, const std::u16string& pattern)
{
    rg_WenBenShuZuLei files;
    rg_WenBenShuZuLei directories;
    const int32_t count = FindFiles(Text(directory), CWString(pattern.c_str()), files, directories);
    return {count, Utf8(files), Utf8(directories)};
}

// The composition the search is defined by, built from its one-directory step: the chosen
// directory's matches, then every non-hidden directory at any depth in the order of a full scan, each
// searched once.
Found Reference(const std::string& directory, const std::u16string& pattern)
{
    const CWString dir = Text(directory);
    const CWString p(pattern.c_str());
    rg_WenBenShuZuLei files, directories, a, b, c, ignored;
    ScanDirectory(dir, p, a, ignored, Recurse::No);
    files.AppendCopies(a.Strings());
    ScanDirectory(dir, CWString(u"*"), ignored, b, Recurse::Yes);
    for (int64_t i = 0; i < b.GetCount(); ++i) {
        ScanDirectory(CWString(b.GetAt(i)), p, a, c, Recurse::No);
        files.AppendCopies(a.Strings());
        directories.AppendCopies(c.Strings());
        c.RemoveAll();
    }
    return {static_cast<int32_t>(files.GetCount()), Utf8(files), Utf8(directories)};
}

void MakeSnapshotTree(const Scratch& tree)
{
    tree.File("PlateImage_top.jpg");
    tree.File("plateimage_LOWER.JPG");
    tree.File("notes.txt");
    tree.File(".PlateImage_hidden.jpg");
    tree.Dir("a");
    tree.File("a/PlateImage_a1.jpg");
    tree.File("a/PlateImage_a2.jpg");
    tree.Dir("a/b");
    tree.File("a/b/PlateImage_b.jpg");
    tree.Dir("a/PlateImage_dir.jpg");
    tree.Dir(".hid");
    tree.File(".hid/PlateImage_in_hidden.jpg");
    tree.Dir(".hid/visible");
    tree.File(".hid/visible/PlateImage_under_hidden.jpg");
    // A directory right inside the chosen one whose own name matches: searched once, never listed.
    tree.Dir("PlateImage_folder.jpg");
    tree.File("PlateImage_folder.jpg/PlateImage_inner.jpg");
}

} // namespace

TEST(FindFiles, PatternListsEachMatchingFileOnceInTheDefinedOrder)
{
    Scratch tree;
    MakeSnapshotTree(tree);
    const Found found = Find(tree.Root(), u"PlateImage_*.jpg");
    const std::string r = tree.Root();
    EXPECT_EQ(Sorted(found.files),
              Sorted({r + "/PlateImage_top.jpg", r + "/plateimage_LOWER.JPG", r + "/a/PlateImage_a1.jpg",
                      r + "/a/PlateImage_a2.jpg", r + "/a/b/PlateImage_b.jpg",
                      r + "/.hid/visible/PlateImage_under_hidden.jpg", r + "/PlateImage_folder.jpg/PlateImage_inner.jpg"}));
    EXPECT_EQ(found.directories, std::vector<std::string>{r + "/a/PlateImage_dir.jpg"});
    EXPECT_EQ(found.count, 7);
    // The chosen directory's own files come first, and a directory's files after those beneath it.
    EXPECT_EQ(Sorted({found.files[0], found.files[1]}), Sorted({r + "/PlateImage_top.jpg", r + "/plateimage_LOWER.JPG"}));
    const auto at = [&](const std::string& path) {
        return std::find(found.files.begin(), found.files.end(), r + path) - found.files.begin();
    };
    EXPECT_LT(at("/a/b/PlateImage_b.jpg"), at("/a/PlateImage_a1.jpg"));

    const Found reference = Reference(tree.Root(), u"PlateImage_*.jpg");
    EXPECT_EQ(found.files, reference.files);
    EXPECT_EQ(found.directories, reference.directories);
}

TEST(FindFiles, TrailingSeparatorAndRepeatedCallsBehaveAsDefined)
{
    Scratch tree;
    MakeSnapshotTree(tree);
    for (const char16_t* pattern : {u"PlateImage_*.jpg", u"*", u"*.*", u"?late*"}) {
        const Found plain = Find(tree.Root(), pattern);
        const Found slashed = Find(tree.Root() + "/", pattern);
        EXPECT_EQ(plain.files, slashed.files);
        EXPECT_EQ(plain.directories, slashed.directories);
        for (const std::string& path : plain.files) {
            EXPECT_EQ(path.find("//"), std::string::npos) << path;
            EXPECT_NE(path.substr(path.size() - 2), "/.") << path;
        }
    }
    // The arrays are not cleared: a second call doubles the list and the count covers both.
    rg_WenBenShuZuLei files, directories;
    const CWString root = Text(tree.Root());
    const int32_t first = FindFiles(root, CWString(u"PlateImage_*.jpg"), files, directories);
    const int32_t second = FindFiles(root, CWString(u"PlateImage_*.jpg"), files, directories);
    EXPECT_EQ(second, 2 * first);
    EXPECT_EQ(files.GetCount(), second);
    EXPECT_STREQ(FileNameToDisplayUtf8(files.GetAt(0)).c_str(), FileNameToDisplayUtf8(files.GetAt(first)).c_str());
}

TEST(FindFiles, EverythingPatternsListAllNonHiddenEntriesDepthFirst)
{
    Scratch tree;
    tree.Dir("a");
    tree.Dir("a/b");
    tree.File("a/b/f");
    tree.File(".hidden");
    tree.Dir(".h");
    tree.File(".h/g");
    for (const char16_t* pattern : {u"*", u"*.*"}) {
        const Found found = Find(tree.Root(), pattern);
        const std::string r = tree.Root();
        EXPECT_EQ(found.directories, (std::vector<std::string>{r + "/a/b", r + "/a"}));
        // A hidden directory is searched but not listed; what it holds is listed.
        EXPECT_EQ(Sorted(found.files), Sorted({r + "/a/b/f", r + "/.h/g"}));
    }
}

TEST(FindFiles, MissingEmptyAndUnreadableDirectoriesYieldNothing)
{
    Scratch tree;
    tree.Dir("empty");
    EXPECT_EQ(Find(tree.Path("empty"), u"PlateImage_*.jpg").count, 0);
    EXPECT_TRUE(Find(tree.Path("empty"), u"PlateImage_*.jpg").files.empty());
    EXPECT_EQ(Find(tree.Path("missing"), u"*").count, 0);
    EXPECT_EQ(Find(tree.Path("missing"), u"PlateImage_*.jpg").count, 0);

    // What the caller held stays and counts.
    rg_WenBenShuZuLei files, directories;
    files.Append(u"kept");
    EXPECT_EQ(FindFiles(Text(tree.Path("missing")), CWString(u"PlateImage_*.jpg"), files, directories), 1);

    tree.Dir("locked");
    tree.File("locked/PlateImage_secret.jpg");
    tree.File("PlateImage_open.jpg");
    ASSERT_EQ(::chmod(tree.Path("locked").c_str(), 0), 0);
    const auto check = [&]() -> bool {
        const Found found = Find(tree.Root(), u"PlateImage_*.jpg");
        return found.files == std::vector<std::string>{tree.Root() + "/PlateImage_open.jpg"};
    };
    if (::geteuid() != 0) {
        EXPECT_TRUE(check());
        return;
    }
    // Permissions do not stop the superuser: look as an ordinary user in a child process.
    ASSERT_EQ(::chmod(tree.Root().c_str(), 0755), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(100);
        ::_exit(check() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(FindFiles, LinksToDirectoriesAreListedButNeverSearched)
{
    Scratch tree;
    tree.Dir("a");
    tree.File("a/PlateImage_1.jpg");
    tree.Link(tree.Root(), "a/loop");                 // a cycle back to the top
    tree.Link(tree.Path("a"), "a/PlateImage_link.jpg");  // a matching link inside a subdirectory
    tree.Link(tree.Path("a"), "toA");
    const std::string r = tree.Root();
    const Found pattern = Find(r, u"PlateImage_*.jpg");
    EXPECT_EQ(pattern.files, std::vector<std::string>{r + "/a/PlateImage_1.jpg"});
    EXPECT_EQ(pattern.directories, std::vector<std::string>{r + "/a/PlateImage_link.jpg"});

    const Found all = Find(r, u"*");
    EXPECT_EQ(all.files, std::vector<std::string>{r + "/a/PlateImage_1.jpg"});
    EXPECT_EQ(Sorted(all.directories),
              Sorted({r + "/a", r + "/a/loop", r + "/a/PlateImage_link.jpg", r + "/toA"}));
}

TEST(FindFiles, NamesComeBackWholeAndLossless)
{
    Scratch tree;
    const std::string invalid = "PlateImage_\xff\xfe_x.jpg";
    const std::string longName = "PlateImage_" + std::string(240, 'x') + ".jpg";  // 255 bytes
    const std::string chinese = "PlateImage_京A12345_蓝_20240821083015.jpg";
    tree.Dir("cam\x80");
    for (const std::string& name : {invalid, longName, chinese})
        tree.File("cam\x80/" + name);
    rg_WenBenShuZuLei files, directories;
    ASSERT_EQ(FindFiles(Text(tree.Root()), CWString(u"PlateImage_*.jpg"), files, directories), 3);
    std::vector<std::string> bytes;
    for (int64_t i = 0; i < files.GetCount(); ++i) {
        std::optional<std::string> path = EncodeFileName(files.GetAt(i));
        ASSERT_TRUE(path.has_value());
        struct stat st;
        EXPECT_EQ(::stat(path->c_str(), &st), 0) << *path;
        bytes.push_back(*path);
    }
    const std::string dir = tree.Root() + "/cam\x80/";
    EXPECT_EQ(Sorted(bytes), Sorted({dir + invalid, dir + longName, dir + chinese}));
}

TEST(FindFiles, TwoThousandLevelsOnASmallStack)
{
    Scratch tree;
    constexpr int kDepth = 2000;
    int fd = ::open(tree.Root().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    for (int level = 0; level < kDepth; ++level) {
        ASSERT_EQ(::mkdirat(fd, "d", 0755), 0) << level;
        const int next = ::openat(fd, "d", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ::close(fd);
        ASSERT_GE(next, 0);
        fd = next;
    }
    const int file = ::openat(fd, "PlateImage_deep.jpg", O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
    ASSERT_GE(file, 0);
    ::close(file);
    ::close(fd);

    struct Result {
        std::string root;
        int32_t files = -1;
        int64_t directories = -1;
        int32_t everything = -1;
    } result{tree.Root()};
    // 256 KiB of stack: far too little for one frame per level.
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setstacksize(&attr, 256 * 1024);
    pthread_t thread;
    ASSERT_EQ(pthread_create(&thread, &attr, [](void* arg) -> void* {
        auto& r = *static_cast<Result*>(arg);
        rg_WenBenShuZuLei files, directories;
        r.files = FindFiles(Text(r.root), CWString(u"PlateImage_*.jpg"), files, directories);
        rg_WenBenShuZuLei all, allDirectories;
        r.everything = FindFiles(Text(r.root), CWString(u"*"), all, allDirectories);
        r.directories = allDirectories.GetCount();
        return nullptr;
    }, &result), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attr);
    EXPECT_EQ(result.files, 1);
    EXPECT_EQ(result.everything, 1);
    EXPECT_EQ(result.directories, kDepth);
}

TEST(ScanDirectory, OneLevelEmptiesTheFileListAndSkipsHiddenEntries)
{
    Scratch tree;
    tree.File("x.jpg");
    tree.File(".y.jpg");
    tree.Dir("sub.jpg");
    tree.File("sub.jpg/z.jpg");
    rg_WenBenShuZuLei files, directories;
    files.Append(u"old");
    directories.Append(u"old");
    EXPECT_EQ(ScanDirectory(Text(tree.Root()), CWString(u"*.JPG"), files, directories, Recurse::No), 1);
    EXPECT_EQ(Utf8(files), std::vector<std::string>{tree.Root() + "/x.jpg"});
    EXPECT_EQ(Utf8(directories), (std::vector<std::string>{"old", tree.Root() + "/sub.jpg"}));
    // Recursing keeps what files held and searches only matching directories.
    EXPECT_EQ(ScanDirectory(Text(tree.Root()), CWString(u"*.jpg"), files, directories, Recurse::Yes), 3);
}
