// The directory search over trees built to break it: one huge directory, a very deep chain, link
// cycles, every byte a name may hold, the longest names, names that are not UTF-8, unreadable
// directories, and directories that shrink or grow while they are searched. Each readable snapshot
// must come back exactly once, under a path that leads back to it, and every search must end: it runs
// on a helper thread with a generous limit, so a hang fails the test instead of blocking the run.
#include "work/FindFiles.h"

#include "platform/files/FileNameCodec.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

using rg_quarn_base::rg_WenBenShuZuLei;
using rg_quarn_Tolvar::FindFiles;

namespace {

constexpr auto kSearchLimit = std::chrono::seconds(60);
const char16_t kSnapshots[] = u"PlateImage_*.jpg";

// Removes everything below fd (an open directory), then closes it. Works at any depth: each level is
// opened relative to the one above, never by its full path.
void RemoveBelow(int fd)
{
    DIR* dir = ::fdopendir(fd);
    if (dir == nullptr) {
        ::close(fd);
        return;
    }
    std::vector<std::pair<std::string, bool>> entries;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        struct stat st {};
        const bool isDirectory = ::fstatat(fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
        entries.emplace_back(name, isDirectory);
    }
    for (const auto& [name, isDirectory] : entries) {
        if (isDirectory) {
            ::fchmodat(fd, name.c_str(), 0755, 0);
            const int child = ::openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (child >= 0)
                RemoveBelow(child);
        }
        ::unlinkat(fd, name.c_str(), isDirectory ? AT_REMOVEDIR : 0);
    }
    ::closedir(dir);
}

// A scratch folder for one test, removed afterwards with its permissions restored first. Paths are
// raw bytes.
class Tree {
public:
    Tree()
    {
        char pattern[] = "/tmp/hostile-search-XXXXXX";
        root_ = ::mkdtemp(pattern);
    }
    ~Tree()
    {
        ::chmod(root_.c_str(), 0755);
        const int fd = ::open(root_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd >= 0)
            RemoveBelow(fd);
        if (::rmdir(root_.c_str()) != 0)
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

struct Listing {
    int32_t count = -1;
    std::vector<std::string> files;        // as bytes, through the lossless encoding
    std::vector<std::string> directories;
    bool encodable = true;                 // every path gave its bytes back
};

std::vector<std::string> Bytes(const rg_WenBenShuZuLei& list, bool& encodable)
{
    std::vector<std::string> out;
    out.reserve(static_cast<size_t>(list.GetCount()));
    for (int64_t i = 0; i < list.GetCount(); ++i) {
        std::optional<std::string> bytes = EncodeFileName(list.GetAt(i));
        encodable = encodable && bytes.has_value();
        out.push_back(bytes.value_or(std::string()));
    }
    return out;
}

// FindFiles on a helper thread; nothing when it has not ended within the limit. The thread is left
// behind in that case (it owns its arrays), and the test fails.
std::optional<Listing> Search(const std::string& directory, const char16_t* pattern = kSnapshots)
{
    auto result = std::make_shared<std::promise<Listing>>();
    std::future<Listing> done = result->get_future();
    std::thread([directory, pattern, result] {
        rg_WenBenShuZuLei files;
        rg_WenBenShuZuLei directories;
        Listing listing;
        listing.count = FindFiles(CWString(DecodeFileName(directory)), CWString(pattern), files, directories);
        listing.files = Bytes(files, listing.encodable);
        listing.directories = Bytes(directories, listing.encodable);
        result->set_value(std::move(listing));
    }).detach();
    if (done.wait_for(kSearchLimit) != std::future_status::ready)
        return std::nullopt;
    return done.get();
}

// How often each path was listed.
std::map<std::string, int> Tally(const std::vector<std::string>& paths)
{
    std::map<std::string, int> tally;
    for (const std::string& path : paths)
        ++tally[path];
    return tally;
}

// Every expected path listed exactly once and nothing else; failures name the first few paths.
void ExpectEachOnce(const std::vector<std::string>& listed, const std::set<std::string>& expected)
{
    const std::map<std::string, int> tally = Tally(listed);
    int reported = 0;
    for (const std::string& path : expected) {
        const auto found = tally.find(path);
        const int times = found == tally.end() ? 0 : found->second;
        if (times != 1 && reported++ < 5)
            ADD_FAILURE() << "listed " << times << " times: " << path;
    }
    for (const auto& [path, times] : tally) {
        if (expected.count(path) == 0 && reported++ < 10)
            ADD_FAILURE() << "listed but not expected: " << path;
    }
    EXPECT_EQ(listed.size(), expected.size());
}

std::string Snapshot(const std::string& plate) { return "PlateImage_" + plate + "_蓝_20240821100000.jpg"; }

// Creates count empty files at fd named by name(i); fast enough for a hundred thousand.
void MakeFiles(int fd, int count, const std::function<std::string(int)>& name)
{
    for (int i = 0; i < count; ++i) {
        const int file = ::openat(fd, name(i).c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
        ASSERT_GE(file, 0) << name(i);
        ::close(file);
    }
}

TEST(HostileTreeSearch, HundredThousandEntriesInOneDirectoryEachListedOnce)
{
    Tree tree;
    tree.Dir("big");
    const int fd = ::open(tree.Path("big").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    constexpr int kEntries = 100000;
    // Half snapshots, half other files, and a few subdirectories among them.
    MakeFiles(fd, kEntries - 10, [](int i) {
        return i % 2 == 0 ? Snapshot("京A" + std::to_string(i)) : "other_" + std::to_string(i) + ".txt";
    });
    for (int i = 0; i < 10; ++i)
        ASSERT_EQ(::mkdirat(fd, ("sub" + std::to_string(i)).c_str(), 0755), 0);
    ::close(fd);
    tree.File("big/sub3/" + Snapshot("deep"));

    std::set<std::string> expected;
    for (int i = 0; i < kEntries - 10; i += 2)
        expected.insert(tree.Path("big/" + Snapshot("京A" + std::to_string(i))));
    expected.insert(tree.Path("big/sub3/" + Snapshot("deep")));

    const auto start = std::chrono::steady_clock::now();
    const std::optional<Listing> found = Search(tree.Root());
    ASSERT_TRUE(found) << "the search did not end";
    EXPECT_EQ(found->count, static_cast<int32_t>(expected.size()));
    ExpectEachOnce(found->files, expected);

    const std::optional<Listing> all = Search(tree.Root(), u"*");
    ASSERT_TRUE(all) << "the search did not end";
    EXPECT_EQ(all->files.size(), size_t{kEntries - 10 + 1});
    EXPECT_EQ(all->directories.size(), size_t{11});  // big and its ten subdirectories
    std::printf("two searches of %d entries: %.2f s\n", kEntries,
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
}

TEST(HostileTreeSearch, TwoThousandLevelsWithASnapshotAtEveryLevel)
{
    Tree tree;
    constexpr int kDepth = 2000;
    std::set<std::string> expected;
    std::string path = tree.Root();
    int fd = ::open(tree.Root().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    for (int level = 0; level < kDepth; ++level) {
        ASSERT_EQ(::mkdirat(fd, "d", 0755), 0) << level;
        const int next = ::openat(fd, "d", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ::close(fd);
        ASSERT_GE(next, 0) << level;
        fd = next;
        path += "/d";
        const std::string name = Snapshot("L" + std::to_string(level));
        const int file = ::openat(fd, name.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
        ASSERT_GE(file, 0) << level;
        ::close(file);
        expected.insert(path + "/" + name);
    }
    ::close(fd);

    const std::optional<Listing> found = Search(tree.Root());
    ASSERT_TRUE(found) << "the search did not end";
    EXPECT_TRUE(found->encodable);
    ExpectEachOnce(found->files, expected);
    EXPECT_EQ(found->count, kDepth);

    const std::optional<Listing> all = Search(tree.Root(), u"*");
    ASSERT_TRUE(all) << "the search did not end";
    ExpectEachOnce(all->files, expected);
    EXPECT_EQ(all->directories.size(), size_t{kDepth});
}

TEST(HostileTreeSearch, LinkCyclesEndAndListEverySnapshotOnce)
{
    Tree tree;
    tree.Dir("a");
    tree.Dir("b");
    tree.Dir("a/inner");
    tree.File("a/" + Snapshot("A1"));
    tree.File("b/" + Snapshot("B1"));
    tree.File("a/inner/" + Snapshot("I1"));
    tree.Link("../b", "a/toB");              // a -> b -> a, by relative links
    tree.Link("../a", "b/toA");
    tree.Link(".", "a/inner/self");          // a directory that contains itself
    tree.Link(tree.Root(), "a/inner/top");   // back to the top by its full path
    tree.Link("loop2", "loop1");             // links that lead only to each other
    tree.Link("loop1", "loop2");
    tree.Link("missing", "dangling");
    tree.Link("PlateImage_alsoMissing_蓝_20240821100000.jpg", Snapshot("dangling"));

    const std::set<std::string> expected = {tree.Path("a/" + Snapshot("A1")), tree.Path("b/" + Snapshot("B1")),
                                            tree.Path("a/inner/" + Snapshot("I1")),
                                            // A link that leads nowhere is not a directory: it is listed by its own name.
                                            tree.Path(Snapshot("dangling"))};
    for (const char16_t* pattern : {kSnapshots, u"*"}) {
        const std::optional<Listing> found = Search(tree.Root(), pattern);
        ASSERT_TRUE(found) << "the search did not end";
        // Whatever the pattern, the snapshots come once each: no path through a link is searched.
        for (const std::string& path : expected)
            EXPECT_EQ(Tally(found->files)[path], 1) << path;
        for (const std::string& path : found->files)
            EXPECT_EQ(path.find("/toB/"), std::string::npos) << path;
        for (const std::string& path : found->files)
            EXPECT_EQ(path.find("/self/"), std::string::npos) << path;
    }
}

// Every byte a name can hold, in a snapshot's name and in a folder's name.
TEST(HostileTreeSearch, NamesWithEveryByteValueComeBackExactly)
{
    Tree tree;
    std::set<std::string> expected;
    for (int value = 1; value <= 0xFF; ++value) {
        if (value == '/')
            continue;
        const std::string byte(1, static_cast<char>(value));
        const std::string file = Snapshot("京A" + byte);
        const std::string folder = "cam" + byte;
        tree.File(file);
        tree.Dir(folder);
        tree.File(folder + "/" + Snapshot("粤B" + byte));
        // The byte alone as a folder name, where that is a name at all.
        if (value != '.') {
            tree.Dir(byte);
            tree.File(byte + "/" + Snapshot("沪C" + byte));
            expected.insert(tree.Path(byte + "/" + Snapshot("沪C" + byte)));
        }
        expected.insert(tree.Path(file));
        expected.insert(tree.Path(folder + "/" + Snapshot("粤B" + byte)));
    }
    const std::optional<Listing> found = Search(tree.Root());
    ASSERT_TRUE(found) << "the search did not end";
    EXPECT_TRUE(found->encodable);
    ExpectEachOnce(found->files, expected);
    for (const std::string& path : found->files) {
        struct stat st {};
        EXPECT_EQ(::lstat(path.c_str(), &st), 0) << "the listed path leads nowhere: " << path;
    }
}

TEST(HostileTreeSearch, NamesOfTwoHundredFiftyFiveBytesAtAPathLongerThanTheSystemLimit)
{
    Tree tree;
    // 255 bytes of folder name: "目" is three bytes.
    std::string folder;
    while (folder.size() + 3 <= 255)
        folder += "目";
    folder.append(255 - folder.size(), 'x');
    ASSERT_EQ(folder.size(), 255u);
    std::set<std::string> expected;
    std::string relative;
    int chain = ::open(tree.Root().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (int level = 0; level < 20; ++level) {  // 20 * 256 bytes: beyond what one path may name
        relative += (relative.empty() ? "" : "/") + folder;
        ASSERT_EQ(::mkdirat(chain, folder.c_str(), 0755), 0) << level;
        const int next = ::openat(chain, folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ::close(chain);
        chain = next;
        ASSERT_GE(chain, 0) << level;
    }
    ::close(chain);
    // Names of exactly 255 bytes, in ASCII, in three-byte characters, and ending in a broken sequence.
    const std::string prefix = "PlateImage_";
    const std::string suffix = "_蓝_20240821100000.jpg";
    const size_t room = 255 - prefix.size() - suffix.size();
    std::string chinese;
    while (chinese.size() + 3 <= room)
        chinese += "京";
    chinese.append(room - chinese.size(), 'A');
    std::string broken(room - 1, 'B');
    broken += '\xe4';  // the first byte of a three-byte character, alone
    for (const std::string& plate : {std::string(room, 'A'), chinese, broken}) {
        const std::string name = prefix + plate + suffix;
        ASSERT_EQ(name.size(), 255u);
        // At the top, which one open call reaches, and at the bottom, which it cannot.
        tree.File(name);
        expected.insert(tree.Path(name));
        const int bottom = ::open(tree.Root().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ASSERT_GE(bottom, 0);
        int fd = bottom;
        for (int level = 0; level < 20; ++level) {
            const int next = ::openat(fd, folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            ::close(fd);
            ASSERT_GE(next, 0);
            fd = next;
        }
        const int file = ::openat(fd, name.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
        ASSERT_GE(file, 0);
        ::close(file);
        ::close(fd);
        expected.insert(tree.Path(relative + "/" + name));
    }
    const std::optional<Listing> found = Search(tree.Root());
    ASSERT_TRUE(found) << "the search did not end";
    EXPECT_TRUE(found->encodable);
    ExpectEachOnce(found->files, expected);
}

// Names that no UTF-8 decoder accepts, side by side with names they could be mistaken for once
// decoded: each must stay its own file.
TEST(HostileTreeSearch, NamesThatAreNotUtf8StayDistinctAndLeadBackToTheirFiles)
{
    Tree tree;
    const std::vector<std::string> plates = {
        "\x80",              // a lone continuation byte
        "\xc3",              // a lead byte cut short
        "\xc0\xaf",          // an overlong "/"
        "\xed\xa0\x80",      // a UTF-16 surrogate written as UTF-8
        "\xed\xb2\x80",      // the surrogate that stands for the byte 0x80 above
        "\xef\xbf\xbd",      // U+FFFD itself, valid
        "\xf4\x90\x80\x80",  // beyond U+10FFFF
        "\xbe\xa9\x41",      // "京A" in GBK, as some cameras write it
        "\xff\xfe",
    };
    std::set<std::string> expected;
    for (size_t i = 0; i < plates.size(); ++i) {
        tree.File(Snapshot(plates[i]));
        expected.insert(tree.Path(Snapshot(plates[i])));
        const std::string folder = "摄像头" + plates[i];
        tree.Dir(folder);
        tree.File(folder + "/" + Snapshot(std::to_string(i)));
        expected.insert(tree.Path(folder + "/" + Snapshot(std::to_string(i))));
    }
    // The chosen folder itself may be such a name.
    const std::optional<Listing> inside = Search(tree.Path("摄像头\xed\xb2\x80"));
    ASSERT_TRUE(inside) << "the search did not end";
    EXPECT_EQ(inside->files, std::vector<std::string>{tree.Path("摄像头\xed\xb2\x80/" + Snapshot("4"))});

    const std::optional<Listing> found = Search(tree.Root());
    ASSERT_TRUE(found) << "the search did not end";
    EXPECT_TRUE(found->encodable);
    ExpectEachOnce(found->files, expected);
}

// Permissions do not stop the superuser; the check then runs as the unprivileged user "nobody" in a
// child process. The child reports through its exit status: 0 when check held.
std::optional<bool> HoldsWithoutPrivileges(const std::function<bool()>& check)
{
    if (::geteuid() != 0)
        return check();
    const pid_t child = ::fork();
    if (child < 0)
        return std::nullopt;
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0 || ::geteuid() == 0)
            ::_exit(100);
        ::_exit(check() ? 0 : 1);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) == 100)
        return std::nullopt;
    return WEXITSTATUS(status) == 0;
}

TEST(HostileTreeSearch, UnreadableDirectoriesAreSkippedAndTheRestIsListed)
{
    Tree tree;
    ASSERT_EQ(::chmod(tree.Root().c_str(), 0755), 0);
    std::set<std::string> expected;
    for (const std::string folder : {"open", "locked", "listOnly", "searchOnly", "open/lockedInside"}) {
        tree.Dir(folder);
        tree.File(folder + "/" + Snapshot(folder.substr(0, 4)));
    }
    tree.Dir("listOnly/below");
    tree.File("listOnly/below/" + Snapshot("below"));
    expected.insert(tree.Path("open/" + Snapshot("open")));
    ASSERT_EQ(::chmod(tree.Path("locked").c_str(), 0), 0);
    ASSERT_EQ(::chmod(tree.Path("open/lockedInside").c_str(), 0), 0);
    ASSERT_EQ(::chmod(tree.Path("listOnly").c_str(), 0444), 0);    // names, but no way in
    ASSERT_EQ(::chmod(tree.Path("searchOnly").c_str(), 0111), 0);  // a way in, but no names
    // The files of a folder that can be listed but not entered are still named by the listing; they
    // are listed (a later open of them fails, as it must).
    expected.insert(tree.Path("listOnly/" + Snapshot("list")));

    const auto check = [&] {
        const std::optional<Listing> found = Search(tree.Root());
        if (!found)
            return false;
        const std::set<std::string> files(found->files.begin(), found->files.end());
        return files == expected && found->files.size() == expected.size();
    };
    const std::optional<bool> held = HoldsWithoutPrivileges(check);
    if (!held)
        GTEST_SKIP() << "running as root and cannot become an unprivileged user: permissions cannot be tested";
    EXPECT_TRUE(*held);
}

// A subtree removed, piece by piece and all at once, while a search goes through the tree: the search
// ends, lists every snapshot outside the subtree once, and lists no path twice.
TEST(HostileTreeSearch, DirectoryRemovedWhileItIsSearched)
{
    for (int round = 0; round < 4; ++round) {
        Tree tree;
        std::set<std::string> stable;
        for (int i = 0; i < 200; ++i) {
            tree.File(Snapshot("keep" + std::to_string(i)));
            stable.insert(tree.Path(Snapshot("keep" + std::to_string(i))));
        }
        tree.Dir("victim");
        for (int d = 0; d < 50; ++d) {
            const std::string folder = "victim/d" + std::to_string(d);
            tree.Dir(folder);
            const int fd = ::open(tree.Path(folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            ASSERT_GE(fd, 0);
            MakeFiles(fd, 60, [d](int i) { return Snapshot("v" + std::to_string(d) + "_" + std::to_string(i)); });
            ::close(fd);
        }
        tree.Dir("zlast");
        tree.File("zlast/" + Snapshot("last"));
        stable.insert(tree.Path("zlast/" + Snapshot("last")));

        std::thread remover([&, round] {
            std::this_thread::sleep_for(std::chrono::milliseconds(round * 3));
            if (round % 2 == 0) {
                const int status = ::system(("rm -rf '" + tree.Path("victim") + "'").c_str());
                static_cast<void>(status);
            } else {
                const int fd = ::open(tree.Path("victim").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
                if (fd >= 0)
                    RemoveBelow(fd);
                ::rmdir(tree.Path("victim").c_str());
            }
        });
        const std::optional<Listing> found = Search(tree.Root());
        remover.join();
        ASSERT_TRUE(found) << "the search did not end, round " << round;
        for (const auto& [path, times] : Tally(found->files)) {
            EXPECT_EQ(times, 1) << path;
            EXPECT_TRUE(stable.count(path) == 1 || path.rfind(tree.Path("victim/"), 0) == 0) << path;
        }
        for (const std::string& path : stable)
            EXPECT_EQ(Tally(found->files)[path], 1) << "round " << round << ": " << path;
    }
}

// Files and folders added while the search runs, faster than it reads: the search ends, every
// snapshot that was there before it began comes once, and nothing comes twice.
TEST(HostileTreeSearch, FilesAddedWhileItIsSearched)
{
    Tree tree;
    std::set<std::string> before;
    for (int d = 0; d < 20; ++d) {
        const std::string folder = "cam" + std::to_string(d);
        tree.Dir(folder);
        for (int i = 0; i < 200; ++i) {
            tree.File(folder + "/" + Snapshot(std::to_string(d) + "_" + std::to_string(i)));
            before.insert(tree.Path(folder + "/" + Snapshot(std::to_string(d) + "_" + std::to_string(i))));
        }
    }
    std::atomic<bool> stop{false};
    std::atomic<int> added{0};
    std::thread adder([&] {
        // Bounded, so a search that chased new entries for ever would be caught by its limit.
        for (int n = 0; n < 40000 && !stop.load(); ++n) {
            const std::string folder = "cam" + std::to_string(n % 20);
            if (n % 500 == 0)
                ::mkdir(tree.Path(folder + "/new" + std::to_string(n)).c_str(), 0755);
            const int fd = ::open(tree.Path(folder + "/" + Snapshot("new" + std::to_string(n))).c_str(),
                                  O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
            if (fd >= 0)
                ::close(fd);
            added.fetch_add(1);
        }
    });
    while (added.load() < 100)
        std::this_thread::yield();
    const std::optional<Listing> found = Search(tree.Root());
    stop.store(true);
    adder.join();
    ASSERT_TRUE(found) << "the search did not end";
    const std::map<std::string, int> tally = Tally(found->files);
    for (const auto& [path, times] : tally)
        EXPECT_EQ(times, 1) << path;
    for (const std::string& path : before)
        EXPECT_EQ(tally.count(path), 1u) << path;
    EXPECT_LE(found->files.size(), before.size() + static_cast<size_t>(added.load()));
}

}  // namespace
