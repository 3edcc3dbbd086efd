// tabrix-batch over folder trees built to break an import: one huge folder, a very deep chain, link
// cycles, every byte a name may hold, the longest names, names that are not UTF-8, unreadable
// folders, and folders that vanish or grow during the run. Each run must end by itself with status 0,
// its result line must count one row per distinct plate that could be read, and the workbook must
// read back. Every run is bounded by `timeout`, so a hang fails instead of blocking.
#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <future>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kRunLimitSeconds = 120;

struct CommandRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string Slurp(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Single-quoted for the shell, whatever bytes the text holds.
std::string Quoted(const std::string& text)
{
    std::string out = "'";
    for (char c : text) {
        if (c == '\'')
            out += "'\\''";
        else
            out += c;
    }
    return out + "'";
}

// Removes everything below fd (an open directory), then closes it; any depth, permissions restored.
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
        entries.emplace_back(name, ::fstatat(fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode));
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

// A plate ends at the first "_" after "PlateImage_", so the plates made here hold none.
std::string Snapshot(const std::string& plate, const std::string& stamp = "20240821100000")
{
    return "PlateImage_" + plate + "_蓝_" + stamp + ".jpg";
}

// What the workbook holds, as xlrd reads it.
struct Workbook {
    bool read = false;
    int sheets = 0;
    int dataRows = 0;                  // over all sheets, each sheet's header left out
    std::vector<std::string> plates;   // the plate column, as UTF-8
    std::string error;
};

class HostileTreeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/hostile-batch-XXXXXX";
        scratch = ::mkdtemp(pattern);
        ASSERT_EQ(::chmod(scratch.c_str(), 0755), 0);
        tree = scratch + "/tree";
        ASSERT_EQ(::mkdir(tree.c_str(), 0755), 0);
    }
    void TearDown() override
    {
        ::chmod(scratch.c_str(), 0755);
        const int fd = ::open(scratch.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd >= 0)
            RemoveBelow(fd);
        if (::rmdir(scratch.c_str()) != 0)
            ADD_FAILURE() << "could not remove " << scratch;
    }

    std::string Path(const std::string& relative) const { return tree + "/" + relative; }
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

    // Runs a shell command line with its output and error captured apart; runAsNobody drops to the
    // unprivileged user first (tests running as root). Status -1 when it did not exit normally.
    CommandRun Execute(const std::string& command, const std::string& tag = "run", bool runAsNobody = false) const
    {
        const std::string out = scratch + "/" + tag + ".out";
        const std::string err = scratch + "/" + tag + ".err";
        const std::string line = command + " >" + Quoted(out) + " 2>" + Quoted(err) + " </dev/null";
        CommandRun run;
        int raw = -1;
        if (!runAsNobody) {
            raw = std::system(line.c_str());
        } else {
            const pid_t child = ::fork();
            if (child == 0) {
                if (::setgid(65534) != 0 || ::setuid(65534) != 0)
                    ::_exit(125);
                ::execl("/bin/sh", "sh", "-c", line.c_str(), static_cast<char*>(nullptr));
                ::_exit(126);
            }
            if (child < 0 || ::waitpid(child, &raw, 0) != child)
                raw = -1;
        }
        run.status = raw != -1 && WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        run.out = Slurp(out);
        run.err = Slurp(err);
        return run;
    }

    // tabrix-batch on directory, bounded in time; the workbook goes to the scratch folder.
    CommandRun Batch(const std::string& directory, const std::string& workbook, bool runAsNobody = false) const
    {
        return Execute("timeout " + std::to_string(kRunLimitSeconds) + " " + Quoted(TABRIX_BATCH) + " " +
                           Quoted(directory) + " " + Quoted(workbook),
                       "batch", runAsNobody);
    }

    std::string WorkbookPath(const std::string& name) const { return scratch + "/" + name; }

    // The row count the result line gives, or -1.
    static long RowsOf(const CommandRun& run, const std::string& workbook)
    {
        const std::string prefix = workbook + ": ";
        if (run.out.rfind(prefix, 0) != 0)
            return -1;
        return std::strtol(run.out.c_str() + prefix.size(), nullptr, 10);
    }

    Workbook ReadBack(const std::string& workbook) const
    {
        static const char kScript[] =
            "import sys, xlrd\n"
            "b = xlrd.open_workbook(sys.argv[1])\n"
            "rows = 0\n"
            "out = open(sys.argv[2], 'w')\n"
            "for s in b.sheets():\n"
            "    rows += s.nrows - 1\n"
            "    for r in range(1, s.nrows):\n"
            "        out.write(s.cell_value(r, 1).encode('utf-8').hex() + '\\n')\n"
            "print(b.nsheets, rows)\n";
        const std::string script = scratch + "/read.py";
        const std::string plates = scratch + "/plates.txt";
        std::ofstream(script) << kScript;
        const CommandRun run = Execute("/usr/bin/python3 " + Quoted(script) + " " + Quoted(workbook) + " " +
                                           Quoted(plates),
                                       "read");
        Workbook book;
        book.error = run.err;
        if (run.status != 0 || std::sscanf(run.out.c_str(), "%d %d", &book.sheets, &book.dataRows) != 2)
            return book;
        book.read = true;
        std::ifstream in(plates, std::ios::binary);
        // Hex of each plate's UTF-8: strict encoding fails the read on any lone surrogate.
        for (std::string line; std::getline(in, line);) {
            std::string plate;
            for (size_t i = 0; i + 1 < line.size(); i += 2)
                plate += static_cast<char>(std::stoi(line.substr(i, 2), nullptr, 16));
            book.plates.push_back(plate);
        }
        return book;
    }

    // A run that must succeed with rows rows and a workbook that reads back with as many.
    void ExpectImported(const std::string& directory, long rows, const std::string& workbookName = "out.xls")
    {
        const std::string workbook = WorkbookPath(workbookName);
        const CommandRun run = Batch(directory, workbook);
        ASSERT_EQ(run.status, 0) << "status 124 means it hung\n" << run.err;
        EXPECT_EQ(RowsOf(run, workbook), rows) << run.out;
        const Workbook book = ReadBack(workbook);
        ASSERT_TRUE(book.read) << book.error;
        EXPECT_EQ(book.dataRows, rows);
    }

    std::string scratch;
    std::string tree;
};

void MakeFiles(int fd, int count, const std::function<std::string(int)>& name)
{
    for (int i = 0; i < count; ++i) {
        const int file = ::openat(fd, name(i).c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
        ASSERT_GE(file, 0) << name(i);
        ::close(file);
    }
}

TEST_F(HostileTreeTest, HundredThousandEntriesInOneFolder)
{
    constexpr int kEntries = 100000;
    constexpr int kPlates = 20000;
    const int fd = ::open(tree.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    // 60,000 snapshots of 20,000 plates (three each, at different times) and 40,000 other files.
    MakeFiles(fd, kEntries, [](int i) {
        if (i >= 60000)
            return "IMG_" + std::to_string(i) + ".txt";
        return Snapshot("京A" + std::to_string(i % kPlates), "2024082110" + std::to_string(1000 + i / kPlates));
    });
    ::close(fd);
    ExpectImported(tree, kPlates);
}

TEST_F(HostileTreeTest, TwoThousandLevelsDeep)
{
    constexpr int kDepth = 2000;
    int fd = ::open(tree.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    for (int level = 0; level < kDepth; ++level) {
        ASSERT_EQ(::mkdirat(fd, "d", 0755), 0);
        const int next = ::openat(fd, "d", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ::close(fd);
        ASSERT_GE(next, 0);
        fd = next;
        const int file = ::openat(fd, Snapshot("L" + std::to_string(level)).c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
        ASSERT_GE(file, 0);
        ::close(file);
    }
    ::close(fd);
    ExpectImported(tree, kDepth);
}

TEST_F(HostileTreeTest, SymbolicLinkCycles)
{
    Dir("a");
    Dir("b");
    File("a/" + Snapshot("A1"));
    File("b/" + Snapshot("B1"));
    File(Snapshot("T1"));
    Link("../b", "a/toB");
    Link("../a", "b/toA");
    Link(".", "a/self");
    Link(tree, "b/top");
    Link("loop2", "loop1");
    Link("loop1", "loop2");
    ExpectImported(tree, 3);
    // The chosen folder may itself be a link into the cycle.
    Link(Path("a"), "entry");
    ExpectImported(Path("entry"), 1, "entry.xls");
}

// One snapshot per byte value at the top and one in a folder named with that byte: 254 values each.
// The byte "_" ends the plate early ("京A"), which is still a plate of its own. Bytes from 0x80 up are
// not UTF-8 on their own: each stays a plate of its own while folding (the name is kept lossless),
// and the workbook, which must hold valid text, shows it as U+FFFD.
TEST_F(HostileTreeTest, NamesWithEveryByteValue)
{
    std::multiset<std::string> expected;
    for (int value = 1; value <= 0xFF; ++value) {
        if (value == '/')
            continue;
        const std::string byte(1, static_cast<char>(value));
        File(Snapshot("京A" + byte));
        Dir("cam" + byte);
        File("cam" + byte + "/" + Snapshot("粤B" + byte));
        const std::string shown = value == '_' ? "" : value >= 0x80 ? "\xef\xbf\xbd" : byte;
        expected.insert("京A" + shown);
        expected.insert("粤B" + shown);
    }
    for (const char* name : {"every.xls", "every.xlsx"}) {
        SCOPED_TRACE(name);
        ExpectImported(tree, 2 * 254, name);
        const Workbook book = ReadBack(WorkbookPath(name));
        ASSERT_TRUE(book.read) << book.error;
        if (std::string(name).find(".xlsx") != std::string::npos)
            continue;  // XML cannot hold the control characters; the xlsx form is checked for its rows only
        EXPECT_EQ(std::multiset<std::string>(book.plates.begin(), book.plates.end()), expected);
    }
}

TEST_F(HostileTreeTest, NamesOfTwoHundredFiftyFiveBytesDeeperThanAPathCanName)
{
    std::string folder;
    while (folder.size() + 3 <= 255)
        folder += "目";
    folder.append(255 - folder.size(), 'x');
    int chain = ::open(tree.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (int level = 0; level < 20; ++level) {
        ASSERT_EQ(::mkdirat(chain, folder.c_str(), 0755), 0) << level;
        const int next = ::openat(chain, folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ::close(chain);
        chain = next;
        ASSERT_GE(chain, 0) << level;
    }
    ::close(chain);
    const std::string prefix = "PlateImage_";
    const std::string suffix = "_蓝_20240821100000.jpg";
    const size_t room = 255 - prefix.size() - suffix.size();
    std::string chinese;
    while (chinese.size() + 3 <= room)
        chinese += "京";
    chinese.append(room - chinese.size(), 'A');
    int plates = 0;
    for (const std::string& plate : {std::string(room, 'A'), chinese, std::string(room - 1, 'B') + "\xe4"}) {
        ASSERT_EQ((prefix + plate + suffix).size(), 255u);
        File(prefix + plate + suffix);  // at the top
        // At the bottom, more than 5,000 bytes down: opened piece by piece.
        int fd = ::open(tree.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        for (int level = 0; level < 20 && fd >= 0; ++level) {
            const int next = ::openat(fd, folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            ::close(fd);
            fd = next;
        }
        ASSERT_GE(fd, 0);
        const std::string deep = prefix + plate.substr(0, plate.size() - 1) + "Z" + suffix;
        const int file = ::openat(fd, deep.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
        ASSERT_GE(file, 0);
        ::close(file);
        ::close(fd);
        plates += 2;
    }
    ExpectImported(tree, plates);
}

// The chosen folder's own name, and names inside it, that no UTF-8 decoder accepts: the folder is
// still found, and every snapshot still gives its own row.
TEST_F(HostileTreeTest, NamesThatAreNotUtf8)
{
    const std::string top = "摄像头\xff\xfe";
    Dir(top);
    const std::vector<std::string> plates = {"\x80", "\xc3", "\xc0\xaf", "\xed\xa0\x80", "\xed\xb2\x80",
                                             "\xef\xbf\xbd", "\xf4\x90\x80\x80", "\xbe\xa9\x41"};
    for (size_t i = 0; i < plates.size(); ++i) {
        File(top + "/" + Snapshot(plates[i]));
        Dir(top + "/cam" + plates[i]);
        File(top + "/cam" + plates[i] + "/" + Snapshot("N" + std::to_string(i)));
    }
    ExpectImported(Path(top), static_cast<long>(2 * plates.size()));
}

// chmod 000 does not stop the superuser; then the run is made as the unprivileged user "nobody".
TEST_F(HostileTreeTest, UnreadableFolders)
{
    Dir("open");
    Dir("locked");
    Dir("open/lockedInside");
    Dir("listOnly");
    File("open/" + Snapshot("O1"));
    File(Snapshot("T1"));
    File("locked/" + Snapshot("L1"));
    File("open/lockedInside/" + Snapshot("L2"));
    File("listOnly/" + Snapshot("S1"));
    ASSERT_EQ(::chmod(Path("locked").c_str(), 0), 0);
    ASSERT_EQ(::chmod(Path("open/lockedInside").c_str(), 0), 0);
    ASSERT_EQ(::chmod(Path("listOnly").c_str(), 0444), 0);
    const bool asNobody = ::geteuid() == 0;
    if (asNobody) {
        ASSERT_EQ(::chmod(scratch.c_str(), 0777), 0);  // the unprivileged run writes its output here
        if (::access(TABRIX_BATCH, X_OK) != 0)
            GTEST_SKIP() << "running as root; the program cannot be run as an unprivileged user";
    }
    const std::string workbook = WorkbookPath("locked.xls");
    const CommandRun run = Batch(tree, workbook, asNobody);
    if (asNobody && (run.status == 125 || run.status == 126 || run.status == 127))
        GTEST_SKIP() << "running as root and cannot run the program as an unprivileged user (status " << run.status
                     << "): permissions cannot be tested";
    ASSERT_EQ(run.status, 0) << run.err;
    // T1, O1 and S1 (a folder that can be listed but not entered still names its files).
    EXPECT_EQ(RowsOf(run, workbook), 3) << run.out;
    const Workbook book = ReadBack(workbook);
    ASSERT_TRUE(book.read) << book.error;
    EXPECT_EQ(std::set<std::string>(book.plates.begin(), book.plates.end()),
              (std::set<std::string>{"T1", "O1", "S1"}));
}

// Runs tabrix-batch on the tree on a helper thread while change() works on the tree.
CommandRun RunWhile(const std::function<CommandRun()>& run,
                    const std::function<void(const std::atomic<bool>&)>& change)
{
    std::atomic<bool> finished{false};
    std::future<CommandRun> result = std::async(std::launch::async, [&] {
        CommandRun r = run();
        finished.store(true);
        return r;
    });
    change(finished);
    return result.get();
}

class ChangingTreeTest : public HostileTreeTest {
protected:
    CommandRun Run(const std::string& workbook) const { return Batch(tree, workbook); }
};

TEST_F(ChangingTreeTest, AFolderRemovedDuringTheRun)
{
    constexpr int kStable = 300;
    for (int i = 0; i < kStable; ++i)
        File(Snapshot("keep" + std::to_string(i)));
    Dir("victim");
    constexpr int kFolders = 100, kEach = 100;
    for (int d = 0; d < kFolders; ++d) {
        Dir("victim/d" + std::to_string(d));
        const int fd = ::open(Path("victim/d" + std::to_string(d)).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ASSERT_GE(fd, 0);
        MakeFiles(fd, kEach, [d](int i) { return Snapshot("v" + std::to_string(d) + "-" + std::to_string(i)); });
        ::close(fd);
    }
    const std::string workbook = WorkbookPath("removed.xls");
    const CommandRun run = RunWhile([&] { return Run(workbook); }, [&](const std::atomic<bool>& finished) {
        // Folder by folder, so some removal falls into the listing whenever it starts.
        for (int d = 0; d < kFolders && !finished.load(); ++d) {
            const int fd = ::open(Path("victim/d" + std::to_string(d)).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (fd >= 0)
                RemoveBelow(fd);
            ::rmdir(Path("victim/d" + std::to_string(d)).c_str());
            std::this_thread::sleep_for(std::chrono::milliseconds(3));
        }
        ::rmdir(Path("victim").c_str());
    });
    ASSERT_EQ(run.status, 0) << run.err;
    const long rows = RowsOf(run, workbook);
    EXPECT_GE(rows, kStable) << run.out;
    EXPECT_LE(rows, kStable + kFolders * kEach) << run.out;
    const Workbook book = ReadBack(workbook);
    ASSERT_TRUE(book.read) << book.error;
    EXPECT_EQ(book.dataRows, rows);
    std::printf("rows with the folder going away: %ld\n", rows);
}

TEST_F(ChangingTreeTest, FilesAddedDuringTheRun)
{
    constexpr int kBefore = 2000;
    for (int d = 0; d < 10; ++d) {
        Dir("cam" + std::to_string(d));
        for (int i = 0; i < kBefore / 10; ++i)
            File("cam" + std::to_string(d) + "/" + Snapshot(std::to_string(d) + "-" + std::to_string(i)));
    }
    std::atomic<int> added{0};
    const std::string workbook = WorkbookPath("added.xls");
    const CommandRun run = RunWhile([&] { return Run(workbook); }, [&](const std::atomic<bool>& finished) {
        for (int n = 0; n < 50000 && !finished.load(); ++n) {
            const std::string folder = "cam" + std::to_string(n % 10);
            if (n % 1000 == 0)
                ::mkdir(Path(folder + "/new" + std::to_string(n)).c_str(), 0755);
            const int fd = ::open(Path(folder + "/" + Snapshot("new" + std::to_string(n))).c_str(),
                                  O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
            if (fd >= 0)
                ::close(fd);
            added.fetch_add(1);
        }
    });
    ASSERT_EQ(run.status, 0) << "status 124 means it hung\n" << run.err;
    const long rows = RowsOf(run, workbook);
    EXPECT_GE(rows, kBefore) << run.out;
    EXPECT_LE(rows, kBefore + added.load()) << run.out;
    const Workbook book = ReadBack(workbook);
    ASSERT_TRUE(book.read) << book.error;
    EXPECT_EQ(book.dataRows, rows);
    std::printf("rows with %d files added during the run: %ld\n", added.load(), rows);
}

}  // namespace
