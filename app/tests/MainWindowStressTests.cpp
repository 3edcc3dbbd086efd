// The main window under load, for the thread checkers: a generated snapshot tree imported and
// exported round after round, as .xls and as .xlsx, while the toolbar is clicked from the window
// thread between pumps, so the panel holding the grid the workers fill and read is hidden and shown
// under them; then the window is closed once one more export has begun its save. Closing ends the
// process with ExitProcess, so the whole run happens in a death-test child and the parent checks its
// status and the workbooks it left.
#include "app/batch/BatchDriver.h"
#include "app/rg_startup_class.h"
#include "bench/PlateTree.h"
#include "platform/controls/ControlClasses.h"
#include "platform/controls/ToolbarControl.h"
#include "platform/dialogs/ScriptedDialogs.h"
#include "platform/window/Clock.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/WinMessages.h"
#include "platform/window/Window.h"
#include "runtime/Unicode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#if defined(TABRIX_TSAN)
// The child ends through ExitProcess (_exit), which skips the exit-time status ThreadSanitizer sets
// after a report: only a report that ends the child at once fails the test. TSAN_OPTIONS still wins.
extern "C" const char* __tsan_default_options() { return "halt_on_error=1:second_deadlock_stack=1"; }
#endif

namespace fs = std::filesystem;
using rg_quarn_app::rg_my_main_window;
using rg_quarn_app::rg_startup_class;

namespace {

constexpr int kRounds = 5;
constexpr int64_t kFiles = 2000;
constexpr ULONGLONG kPhaseLimitMs = 60000;
// The death-test child runs the test again from its start; it finds the parent's scratch folder here
// instead of making a tree of its own.
constexpr const char* kScratchVariable = "TABRIX_STRESS_SCRATCH";

[[noreturn]] void Fail(const char* format, ...)
{
    std::fputs("stress: ", stderr);
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(stderr, format, arguments);
    va_end(arguments);
    std::fputc('\n', stderr);
    std::_Exit(3);
}

bool Idle(const rg_quarn_Tolvar::rg_ShiZhongLei_XianCheng1& clock)
{
    return clock.GetRunning() == 0 && !clock.IsLoopAlive();
}

// Clicks the toolbar between pumps: "表格比对" (item 2) hides the panel, "导入数据" (item 0) shows it.
class ToolbarClicker {
public:
    explicit ToolbarClicker(rg_my_main_window& window)
        : toolbar_(window.GongJuTiao1.GetSafeHwnd()), panel_(window.ZuJianBuJuQi1.GetSafeHwnd())
    {
    }

    // Pumps, clicks and waits a millisecond, at least once, until done() or the phase limit.
    bool PumpUntil(const std::function<bool()>& done)
    {
        const ULONGLONG end = GetTickCount64() + kPhaseLimitMs;
        do {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
            Click();
            WaitMessageTimeout(1);
        } while (!done() && GetTickCount64() < end);
        return done();
    }

    int Clicks() const { return clicks_; }
    // Leaves the panel shown, as a user would find it.
    void ShowPanel()
    {
        if (hide_)
            return;
        Click();
    }

private:
    void Click()
    {
        const int item = hide_ ? 2 : 0;
        RECT r{};
        if (!SendMessageW(toolbar_, TB_GETITEMRECT, item, reinterpret_cast<LPARAM>(&r)))
            Fail("toolbar item %d has no rectangle", item);
        const LPARAM at =
            MAKELPARAM(static_cast<WORD>((r.left + r.right) / 2), static_cast<WORD>((r.top + r.bottom) / 2));
        SendMessageW(toolbar_, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(toolbar_, WM_LBUTTONUP, 0, at);
        ++clicks_;
        if ((IsWindowVisible(panel_) != FALSE) == hide_)
            Fail("click %d on item %d left the panel %s", clicks_, item, hide_ ? "shown" : "hidden");
        hide_ = !hide_;
    }

    HWND toolbar_;
    HWND panel_;
    int clicks_ = 0;
    bool hide_ = true;
};

// A save writes into a ".tabrix-" entry of the workbook's folder and renames it at the end.
bool SaveBegun(const fs::path& folder)
{
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().filename().string().rfind(".tabrix-", 0) == 0)
            return true;
    return false;
}

std::string WorkbookName(int round, const char* extension)
{
    return "round-" + std::to_string(round) + extension;
}

void ExportWhileClicking(rg_my_main_window& window, ScriptedDialogs& dialogs, ToolbarClicker& clicker,
                         const fs::path& workbook)
{
    dialogs.QueueSaveFile(Utf8ToUtf16(workbook.string()));
    tabrix_batch::ClickControl(window.AnNiu2);
    if (!clicker.PumpUntil([&] { return Idle(window.DaoChuShiZhong); }))
        Fail("the export to %s did not end", workbook.c_str());
    if (!window.LastExportSucceeded())
        Fail("the export to %s failed", workbook.c_str());
}

// The child: every round imports the tree (a further import empties the earlier rows and appends)
// and exports it twice; then one more export is started and the window closed under it.
[[noreturn]] void StressThenClose(const fs::path& scratch)
{
    auto dialogs = std::make_shared<ScriptedDialogs>();
    SetDialogService(dialogs);
    INITCOMMONCONTROLSEX controls{8, 0xFF};
    InitCommonControlsEx(&controls);
    rg_startup_class program;
    if (program.RunProgram() != 1)
        Fail("the main window was not created");
    rg_my_main_window& window = program.mainWindow;
    ToolbarClicker clicker(window);
    const ULONGLONG start = GetTickCount64();
    for (int round = 1; round <= kRounds; ++round) {
        dialogs->QueueFolder(Utf8ToUtf16((scratch / "Images").string()));
        tabrix_batch::ClickControl(window.AnNiu1);
        if (!clicker.PumpUntil([&] { return Idle(window.DaoRuShiZhong); }))
            Fail("round %d: the import did not end", round);
        if (!dialogs->MessageBoxes().empty())
            Fail("round %d: a box was shown", round);
        ExportWhileClicking(window, *dialogs, clicker, scratch / WorkbookName(round, ".xls"));
        ExportWhileClicking(window, *dialogs, clicker, scratch / WorkbookName(round, ".xlsx"));
    }
    clicker.ShowPanel();
    const ULONGLONG elapsed = GetTickCount64() - start;

    dialogs->QueueSaveFile(Utf8ToUtf16((scratch / "closing.xlsx").string()));
    tabrix_batch::ClickControl(window.AnNiu2);
    // Closed once the save has made its scratch entry beside the workbook, so it is cut off midway.
    clicker.PumpUntil([&] { return SaveBegun(scratch) || Idle(window.DaoChuShiZhong); });
    std::ofstream(scratch / "stats.txt") << kRounds << ' ' << clicker.Clicks() << ' ' << elapsed << '\n';
    std::fprintf(stderr, "closing after %d rounds\n", kRounds);
    SendMessageW(window.GetSafeHwnd(), WM_CLOSE, 0, 0);
    Fail("the window survived its closing");
}

// What a workbook holds, as xlrd reads it: the data rows of all sheets (headers left out) and each
// filled row as "id|plate|time|colour".
struct Contents {
    bool read = false;
    long dataRows = 0;
    std::vector<std::string> filled;
    std::string error;
};

Contents ReadWorkbook(const fs::path& scratch, const fs::path& workbook)
{
    const fs::path script = scratch / "read.py";
    const fs::path listing = scratch / "rows.txt";
    std::ofstream(script) << "import sys, xlrd\n"
                             "book = xlrd.open_workbook(sys.argv[1])\n"
                             "rows = 0\n"
                             "with open(sys.argv[2], 'w', encoding='utf-8') as out:\n"
                             "    for sheet in book.sheets():\n"
                             "        rows += sheet.nrows - 1\n"
                             "        for r in range(1, sheet.nrows):\n"
                             "            v = [str(c) for c in sheet.row_values(r)]\n"
                             "            if any(v): out.write('|'.join(v[:4]) + '\\n')\n"
                             "print(rows)\n";
    const std::string command = "/usr/bin/python3 '" + script.string() + "' '" + workbook.string() + "' '" +
                                listing.string() + "' 2>&1";
    Contents contents;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return contents;
    char buffer[4096];
    while (std::fgets(buffer, sizeof buffer, pipe))
        contents.error += buffer;
    contents.read = pclose(pipe) == 0;
    if (!contents.read)
        return contents;
    contents.dataRows = std::strtol(contents.error.c_str(), nullptr, 10);
    std::ifstream in(listing);
    for (std::string line; std::getline(in, line);)
        contents.filled.push_back(line);
    return contents;
}

// The table the tree's builder wrote, as "plate|time|colour" rows: the camera is the folder the
// import meets a plate in first, which depends on the listing order, and the ID on the same order.
std::multiset<std::string> ExpectedRows(const fs::path& table)
{
    std::multiset<std::string> rows;
    std::ifstream in(table);
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        std::vector<std::string> fields;
        std::stringstream split(line);
        for (std::string field; std::getline(split, field, '\t');)
            fields.push_back(field);
        if (fields.size() == 5)
            rows.insert(fields[1] + "|" + fields[2] + "|" + fields[3]);
    }
    return rows;
}

// The filled rows without their IDs, which must run 1..n.
std::multiset<std::string> WithoutIds(const std::vector<std::string>& filled, std::string& idProblem)
{
    std::multiset<std::string> rows;
    std::vector<long> ids;
    for (const std::string& row : filled) {
        const size_t bar = row.find('|');
        ids.push_back(std::strtol(row.substr(0, bar).c_str(), nullptr, 10));
        rows.insert(bar == std::string::npos ? row : row.substr(bar + 1));
    }
    std::sort(ids.begin(), ids.end());
    for (size_t i = 0; i < ids.size(); ++i)
        if (ids[i] != static_cast<long>(i + 1)) {
            idProblem = "IDs do not run from 1 without gaps";
            break;
        }
    return rows;
}

// Empty when the rows match; otherwise how many are missing and unexpected, with a few of each.
std::string Difference(const std::multiset<std::string>& expected, const std::multiset<std::string>& found)
{
    std::vector<std::string> missing, unexpected;
    std::set_difference(expected.begin(), expected.end(), found.begin(), found.end(), std::back_inserter(missing));
    std::set_difference(found.begin(), found.end(), expected.begin(), expected.end(), std::back_inserter(unexpected));
    if (missing.empty() && unexpected.empty())
        return "";
    std::string text = std::to_string(missing.size()) + " missing, " + std::to_string(unexpected.size()) + " unexpected";
    for (size_t i = 0; i < 3 && i < missing.size(); ++i)
        text += "\n  missing " + missing[i];
    for (size_t i = 0; i < 3 && i < unexpected.size(); ++i)
        text += "\n  unexpected " + unexpected[i];
    return text;
}

TEST(MainWindowStressDeathTest, ImportsAndExportsWhileTheToolbarIsClickedThenClosesWithZero)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const char* inherited = std::getenv(kScratchVariable);
    const std::string scratch = inherited ? inherited : bench::MakeScratchFolder("tabrix-stress");
    struct Cleanup {
        std::string folder;
        ~Cleanup()
        {
            if (!folder.empty()) {
                EXPECT_TRUE(bench::RemoveTree(folder)) << folder;
            }
        }
    } cleanup{inherited ? "" : scratch};
    bench::PlateTree tree;
    if (!inherited) {
        tree = bench::MakePlateTree(scratch, kFiles, scratch + "/table.tsv");
        ::setenv(kScratchVariable, scratch.c_str(), 1);
    }
    const std::string closingLine = "closing after " + std::to_string(kRounds) + " rounds\n$";
    EXPECT_EXIT(StressThenClose(scratch), ::testing::ExitedWithCode(0), closingLine.c_str());
    ::unsetenv(kScratchVariable);

    const std::multiset<std::string> expected = ExpectedRows(scratch + "/table.tsv");
    ASSERT_EQ(static_cast<int64_t>(expected.size()), tree.plates);
    for (int round = 1; round <= kRounds; ++round)
        for (const char* extension : {".xls", ".xlsx"}) {
            const fs::path workbook = fs::path(scratch) / WorkbookName(round, extension);
            const Contents contents = ReadWorkbook(scratch, workbook);
            ASSERT_TRUE(contents.read) << workbook << "\n" << contents.error;
            EXPECT_EQ(contents.dataRows, round * tree.plates) << workbook << ": earlier imports' rows stay, emptied";
            std::string idProblem;
            EXPECT_EQ(Difference(expected, WithoutIds(contents.filled, idProblem)), "") << workbook;
            EXPECT_EQ(idProblem, "") << workbook;
        }
    // Closed while it was being written: the workbook is either whole or not there.
    const fs::path closing = fs::path(scratch) / "closing.xlsx";
    if (fs::exists(closing)) {
        const Contents contents = ReadWorkbook(scratch, closing);
        EXPECT_TRUE(contents.read) << contents.error;
        EXPECT_EQ(contents.dataRows, kRounds * tree.plates);
    }
    std::printf("closed during the save: workbook %s, its scratch entry %s\n",
                fs::exists(closing) ? "written whole" : "not written", SaveBegun(scratch) ? "left" : "gone");

    std::ifstream stats(scratch + "/stats.txt");
    long rounds = 0, clicks = 0, milliseconds = 0;
    stats >> rounds >> clicks >> milliseconds;
    EXPECT_EQ(rounds, kRounds);
    EXPECT_GE(clicks, 4 * kRounds) << "clicks during every import and export";
    std::printf("%ld rounds of %lld files (%lld plates), %ld workbooks, %ld toolbar clicks, %ld ms\n", rounds,
                static_cast<long long>(tree.files), static_cast<long long>(tree.plates), 2 * rounds, clicks,
                milliseconds);
    RecordProperty("toolbar_clicks", static_cast<int>(clicks));
    RecordProperty("rounds_ms", static_cast<int>(milliseconds));
}

}  // namespace
