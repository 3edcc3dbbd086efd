// Workbooks of fuzzed cells (WorkbookInput.h) saved by both writers into a private folder: no
// input may crash. A sheet takes exactly the cells inside its columns and reads back what it was
// given, lone surrogates as U+FFFD. A save succeeds unless the format cannot hold a cell (an .xls
// column from 256, a text longer than a cell takes, CellLength), and then leaves the previous file
// untouched; either way nothing but the targets stays in the folder and no descriptor stays open.
// Reading the files back with independent readers is the spreadsheet tests' part:
// FuzzCorpusReadBack replays this corpus.
#include "fuzz/FuzzText.h"
#include "fuzz/WorkbookInput.h"

#include <dirent.h>
#include <sanitizer/common_interface_defs.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <map>
#include <string>
#include <tuple>

namespace {

using namespace platform::spreadsheet;
using tabrix_fuzz::WorkbookCell;
using tabrix_fuzz::WorkbookPlan;

void RemoveTree(const std::string& path)
{
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0)
        return;
    if (S_ISDIR(st.st_mode)) {
        if (DIR* dir = opendir(path.c_str())) {
            while (dirent* e = readdir(dir)) {
                const std::string name = e->d_name;
                if (name != "." && name != "..")
                    RemoveTree(path + "/" + name);
            }
            closedir(dir);
        }
        rmdir(path.c_str());
    } else {
        unlink(path.c_str());
    }
}

// Memory-backed when there is /dev/shm: every save syncs its file, which on a disk costs more than
// the whole rest of an input.
std::string TempRoot()
{
    struct stat st {};
    return stat("/dev/shm", &st) == 0 && S_ISDIR(st.st_mode) && access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
}

const char* const kPrefix = "tabrix-fuzz-workbook-";

// Folders of runs that ended in a crash (libFuzzer leaves by _Exit, past every destructor) carry
// their process id; those whose process is gone are removed when the next run starts.
void RemoveFoldersOfEndedRuns(const std::string& root)
{
    DIR* dir = opendir(root.c_str());
    if (!dir)
        return;
    const std::string prefix = kPrefix;
    while (dirent* e = readdir(dir)) {
        const std::string name = e->d_name;
        if (name.compare(0, prefix.size(), prefix) != 0)
            continue;
        const long pid = std::strtol(name.c_str() + prefix.size(), nullptr, 10);
        if (pid > 0 && kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
            RemoveTree(root + "/" + name);
    }
    closedir(dir);
}

class Folder {
public:
    Folder()
    {
        const std::string root = TempRoot();
        RemoveFoldersOfEndedRuns(root);
        std::string pattern = root + "/" + kPrefix + std::to_string(getpid()) + "-XXXXXX";
        TABRIX_FUZZ_CHECK(mkdtemp(pattern.data()) != nullptr);
        path_ = pattern;
        Instance() = this;
        __sanitizer_set_death_callback([] {
            if (Instance())
                RemoveTree(Instance()->path_);
        });
    }
    ~Folder()
    {
        Instance() = nullptr;
        RemoveTree(path_);
    }
    std::string operator/(const char* name) const { return path_ + "/" + name; }
    // Names in the folder other than the two targets.
    int Strangers() const
    {
        int n = 0;
        if (DIR* dir = opendir(path_.c_str())) {
            while (dirent* e = readdir(dir)) {
                const std::string name = e->d_name;
                n += name != "." && name != ".." && name != "book.xls" && name != "book.xlsx";
            }
            closedir(dir);
        }
        return n;
    }

private:
    static Folder*& Instance()
    {
        static Folder* instance = nullptr;
        return instance;
    }
    std::string path_;
};

struct Expected {
    bool hasText = false;
    std::u16string text;
};
using Grid = std::map<std::tuple<int, int, int>, Expected>;

Grid Fill(Book& book, const WorkbookPlan& plan)
{
    Format* second = tabrix_fuzz::AddWorkbookSheets(book, plan);
    TABRIX_FUZZ_CHECK(second != nullptr);
    Grid grid;
    for (const WorkbookCell& cell : plan.cells) {
        const bool fits = cell.col < kXlsxMaxColumns;
        TABRIX_FUZZ_CHECK(tabrix_fuzz::StoreWorkbookCell(book, second, cell) == fits);
        if (!fits)
            continue;
        Expected& e = grid[{cell.sheet, cell.row, cell.col}];
        if (cell.kind != WorkbookCell::Kind::FormatOnly) {
            e.hasText = true;
            e.text = tabrix_fuzz::ReadableText(cell.text);
        }
    }
    return grid;
}

void CheckCells(const Book& book, const Grid& grid)
{
    for (const auto& [at, e] : grid) {
        const auto [s, row, col] = at;
        const Sheet* sheet = book.getSheet(s);
        TABRIX_FUZZ_CHECK(sheet->cellType(row, col) == (e.hasText ? CellType::String : CellType::Blank));
        TABRIX_FUZZ_CHECK(sheet->readStr(row, col) == e.text);
    }
}

int OpenDescriptors()
{
    int n = 0;
    if (DIR* dir = opendir("/proc/self/fd")) {
        while (readdir(dir))
            ++n;
        closedir(dir);
    }
    return n;
}

struct FileState {
    bool exists = false;
    ino_t inode = 0;
    off_t size = 0;
    bool operator==(const FileState&) const = default;
};

FileState StateOf(const std::string& path)
{
    struct stat st {};
    if (stat(path.c_str(), &st) != 0)
        return {};
    return {S_ISREG(st.st_mode), st.st_ino, st.st_size};
}

// Whether the format can hold every cell: an .xls sheet has 256 columns, and a cell takes 32,767
// (units in .xls, characters in .xlsx, where an escaped one counts seven).
bool Fits(const Grid& grid, bool xlsx)
{
    for (const auto& [at, e] : grid) {
        const bool tooWide = !xlsx && std::get<2>(at) >= kXlsMaxColumns;
        if (tooWide || tabrix_fuzz::CellLength(e.text, xlsx) > size_t(kMaxCellChars))
            return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Folder folder;
    const WorkbookPlan plan = tabrix_fuzz::WorkbookPlanOf(data, size);
    BookPtr book(Book::create());
    const Grid grid = Fill(*book, plan);
    CheckCells(*book, grid);

    const std::string target = folder / (plan.xlsx ? "book.xlsx" : "book.xls");
    const FileState before = StateOf(target);
    const int descriptors = OpenDescriptors();
    const bool saved = book->save(target);
    TABRIX_FUZZ_CHECK(OpenDescriptors() == descriptors);
    TABRIX_FUZZ_CHECK(saved == Fits(grid, plan.xlsx));
    const FileState after = StateOf(target);
    if (saved) {
        TABRIX_FUZZ_CHECK(after.exists && after.size > 0);
    } else {
        TABRIX_FUZZ_CHECK(!book->errorMessage().empty());
        TABRIX_FUZZ_CHECK(after == before);
    }
    TABRIX_FUZZ_CHECK(folder.Strangers() == 0);
    return 0;
}
