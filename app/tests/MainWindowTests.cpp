// The main window end to end, headlessly: created by the start-up class, worked with mouse
// clicks, its dialogs answered by the scripted service, the import and export workers running on
// their own threads while the test thread pumps the window thread's messages.
#include "app/batch/BatchDriver.h"
#include "app/rg_startup_class.h"
#include "platform/controls/ControlClasses.h"
#include "platform/controls/ProgressControl.h"
#include "platform/controls/ToolbarControl.h"
#include "platform/dialogs/MessageBox.h"
#include "platform/dialogs/ScriptedDialogs.h"
#include "platform/window/Clock.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/WinMessages.h"
#include "platform/window/Window.h"
#include "platform/window/WindowGeometry.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/spreadsheet/SaveSystemCalls.h"
#include "runtime/Unicode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using rg_quarn_app::rg_my_main_window;
using rg_quarn_app::rg_startup_class;

namespace {

// What the application object does at start for every program with controls.
void RegisterControls()
{
    INITCOMMONCONTROLSEX controls{8, 0xFF};
    InitCommonControlsEx(&controls);
}

std::string Utf8(const CWString& text) { return Utf16ToUtf8(text.View()); }

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 60000)
{
    return PumpMessagesUntil(done, timeoutMs, 1);
}

bool Idle(const rg_quarn_Tolvar::rg_ShiZhongLei_XianCheng1& clock)
{
    return clock.GetRunning() == 0 && !clock.IsLoopAlive();
}

bool Enabled(const rg_quarn_MFCJieMian_base::CQrnWinControl& control)
{
    return IsWindowEnabled(control.GetSafeHwnd()) != FALSE;
}

bool Visible(const rg_quarn_MFCJieMian_base::CQrnWinControl& control)
{
    return IsWindowVisible(control.GetSafeHwnd()) != FALSE;
}

// A snapshot tree: each file is (relative folder, plate, colour, stamp).
struct Snapshot {
    std::string folder;
    std::string plate;
    std::string colour;
    std::string stamp;
};

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dialogs = std::make_shared<ScriptedDialogs>();
        previous = SetDialogService(dialogs);
        root = fs::temp_directory_path() / ("tabrix-main-window-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root);
        RegisterControls();
        program = std::make_unique<rg_startup_class>();
        ASSERT_EQ(program->RunProgram(), 1);
        ASSERT_TRUE(window().NativeExists());
    }
    void TearDown() override
    {
        program.reset();
        if (guard)
            guard->BeginOwnerTeardown();
        SetDialogService(previous);
        fs::remove_all(root);
    }

    rg_my_main_window& window() { return program->mainWindow; }

    fs::path MakeTree(const std::string& name, const std::vector<Snapshot>& files)
    {
        const fs::path dir = root / name;
        fs::create_directories(dir);
        for (const Snapshot& s : files) {
            fs::create_directories(dir / s.folder);
            std::ofstream(dir / s.folder / ("PlateImage_" + s.plate + "_" + s.colour + "_" + s.stamp + ".jpg"));
        }
        return dir;
    }

    // Clicks "浏览目录" with the picker answering dir (or cancelled) and waits for the import.
    void Import(const fs::path& dir)
    {
        if (dir.empty())
            dialogs->QueueFolderOutcome(DialogOutcome::Cancelled);
        else
            dialogs->QueueFolder(Utf8ToUtf16(dir.string()));
        tabrix_batch::ClickControl(window().AnNiu1);
        PumpUntil([&] { return Idle(window().DaoRuShiZhong); });
        ASSERT_TRUE(Idle(window().DaoRuShiZhong)) << "the import did not end";
    }

    void Export(const std::u16string& path)
    {
        if (path.empty())
            dialogs->QueueSaveFileOutcome(DialogOutcome::Cancelled);
        else
            dialogs->QueueSaveFile(path);
        tabrix_batch::ClickControl(window().AnNiu2);
    }

    std::vector<std::string> Row(int32_t row)
    {
        std::vector<std::string> cells;
        for (int32_t col = 0; col < 5; ++col)
            cells.push_back(Utf8(window().BiaoGe2.GetCellText(row, col)));
        return cells;
    }

    // Every text the status line was given, in order.
    void RecordStatusTexts()
    {
        guard = new CQrnEventObjectPointer(&recorder);
        window().BiaoQian3.BindEvent(window().BiaoQian3.WindowMessage, &RecordText, guard, 0);
        statusTexts = &texts;
    }
    static int32_t RecordText(CQrnObject*, CQrnObject*, uint32_t, HWND, UINT message, WPARAM, LPARAM lParam,
                              MsgRecord*)
    {
        if (message == WM_SETTEXT && statusTexts)
            statusTexts->push_back(Utf16ToUtf8(reinterpret_cast<const char16_t*>(lParam)));
        return 0;
    }

    std::shared_ptr<ScriptedDialogs> dialogs;
    std::shared_ptr<DialogService> previous;
    std::unique_ptr<rg_startup_class> program;
    fs::path root;
    std::vector<std::string> texts;
    CQrnObject recorder;
    CQrnEventObjectPointer* guard = nullptr;
    static inline std::vector<std::string>* statusTexts = nullptr;
};

TEST_F(MainWindowTest, StartsWithTheDesignedControlsAndAOneRowGrid)
{
    rg_my_main_window& w = window();
    HWND form = w.GetSafeHwnd();
    char16_t title[64] = {};
    GetWindowTextW(form, title, 64);
    EXPECT_EQ(std::u16string(title), u"kmw-Tabrix-20240821版");
    RECT client{};
    GetClientRect(form, &client);
    EXPECT_EQ(client.right, 562);
    EXPECT_EQ(client.bottom, 547);
    RECT outer{};
    GetWindowRect(form, &outer);
    EXPECT_EQ(outer.left + outer.right, 1920) << "centred horizontally";
    EXPECT_EQ(outer.top + outer.bottom, 1080) << "centred vertically";

    const HWND panel = w.ZuJianBuJuQi1.GetSafeHwnd();
    const struct {
        const rg_quarn_MFCJieMian_base::CQrnWinControl* control;
        HWND parent;
        RECT rect;
        int id;
    } layout[] = {
        {&w.BiaoQian1, form, {469, 22, 557, 54}, 101},     {&w.BiaoQian2, form, {413, 22, 469, 54}, 102},
        {&w.GongJuTiao1, form, {2, 0, 130, 56}, 103},      {&w.ZuJianBuJuQi1, form, {5, 49, 565, 534}, 104},
        {&w.BianJiKuang1, panel, {0, 405, 432, 437}, 105}, {&w.AnNiu1, panel, {438, 405, 542, 437}, 106},
        {&w.BianJiKuang2, panel, {0, 445, 432, 477}, 107}, {&w.AnNiu2, panel, {438, 445, 542, 477}, 108},
        {&w.BiaoQian3, panel, {4, 157, 488, 229}, 109},    {&w.BiaoGe2, panel, {0, 8, 552, 397}, 110},
        {&w.ShiZhong1, form, {653, 582, 685, 614}, 111},   {&w.JinDuTiao1, form, {0, 534, 566, 550}, 112},
    };
    for (const auto& c : layout) {
        HWND hwnd = c.control->GetSafeHwnd();
        ASSERT_NE(hwnd, nullptr) << c.id;
        EXPECT_EQ(GetParent(hwnd), c.parent) << c.id;
        EXPECT_EQ(GetDlgCtrlID(hwnd), c.id);
        RECT r{};
        GetWindowRect(hwnd, &r);
        POINT corners[2] = {{r.left, r.top}, {r.right, r.bottom}};
        MapWindowPoints(nullptr, c.parent, corners, 2);
        if (c.control == &w.BianJiKuang1 || c.control == &w.BianJiKuang2)
            continue;  // single-line edit boxes size themselves to their font
        EXPECT_EQ(corners[0].x, c.rect.left) << c.id;
        EXPECT_EQ(corners[0].y, c.rect.top) << c.id;
        EXPECT_EQ(corners[1].x, c.rect.right) << c.id;
        EXPECT_EQ(corners[1].y, c.rect.bottom) << c.id;
    }

    EXPECT_EQ(w.BiaoGe2.GetRowCount(), 1);
    EXPECT_EQ(Row(0), (std::vector<std::string>{"ID", "车牌号", "时间", "车牌颜色", "相机IP地址"}));
    const int widths[] = {50, 120, 125, 70, 120};
    for (int col = 0; col < 5; ++col)
        EXPECT_EQ(w.BiaoGe2.GetGridNative()->GetColumnWidth(col), widths[col]);
    EXPECT_EQ(Utf8(w.BiaoQian1.GetControlText()), "0");
    EXPECT_FALSE(Enabled(w.AnNiu2));
    EXPECT_TRUE(Enabled(w.AnNiu1));
    EXPECT_FALSE(Visible(w.BiaoQian3));
    EXPECT_EQ(SendMessageW(w.GongJuTiao1.GetSafeHwnd(), TB_BUTTONCOUNT, 0, 0), 3);
    EXPECT_NE(w.GetFormNative()->icon, nullptr) << "the program icon";
}

TEST_F(MainWindowTest, TheToolbarShowsAndHidesThePanel)
{
    HWND toolbar = window().GongJuTiao1.GetSafeHwnd();
    auto click = [&](int index) {
        RECT r{};
        ASSERT_TRUE(SendMessageW(toolbar, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r)));
        const LPARAM at = MAKELPARAM(static_cast<WORD>((r.left + r.right) / 2), static_cast<WORD>((r.top + r.bottom) / 2));
        SendMessageW(toolbar, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(toolbar, WM_LBUTTONUP, 0, at);
        PumpUntil([] { return false; }, 20);
    };
    click(2);
    EXPECT_FALSE(Visible(window().ZuJianBuJuQi1)) << "表格比对 hides the panel";
    click(1);
    EXPECT_FALSE(Visible(window().ZuJianBuJuQi1)) << "the separator does nothing";
    click(0);
    EXPECT_TRUE(Visible(window().ZuJianBuJuQi1)) << "导入数据 shows it again";
}

TEST_F(MainWindowTest, AnImportFillsTheGridWhileTheStatusLineCountsDown)
{
    const fs::path dir = MakeTree("three", {{"20240821/10.0.8.23", "京A12345", "蓝", "20240821100000"},
                                            {"20240821/10.0.8.24/deeper", "沪B67890", "黄", "20240821100500"},
                                            {"20240821/10.0.8.23", "粤C11111", "白", "20240821101000"}});
    std::ofstream(dir / "20240821" / ".PlateImage_浙D99999_蓝_20240821101500.jpg");  // hidden: left out
    RecordStatusTexts();
    Import(dir);
    rg_my_main_window& w = window();

    ASSERT_EQ(w.BiaoGe2.GetRowCount(), 4);
    std::vector<std::string> plates;
    for (int32_t row = 1; row <= 3; ++row) {
        EXPECT_EQ(Utf8(w.BiaoGe2.GetCellText(row, 0)), std::to_string(row));
        plates.push_back(Utf8(w.BiaoGe2.GetCellText(row, 1)));
    }
    std::sort(plates.begin(), plates.end());
    EXPECT_EQ(plates, (std::vector<std::string>{"京A12345", "沪B67890", "粤C11111"}));
    EXPECT_EQ(texts, (std::vector<std::string>{"正在读取数据，一般很快结束，请耐心等待……",
                                               "正在获取数据，请勿操作，耐心等待，剩余数据：3条",
                                               "正在获取数据，请勿操作，剩余数据：3条",
                                               "正在获取数据，请勿操作，剩余数据：2条",
                                               "正在获取数据，请勿操作，剩余数据：1条"}));
    HWND bar = w.JinDuTiao1.GetSafeHwnd();
    EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 2);
    EXPECT_EQ(SendMessageW(bar, PBM_GETRANGE, FALSE, 0), 3);
    EXPECT_EQ(w.BiaoGe2.GetGridNative()->GetItemFormat(3, 4) & DT_CENTER, DT_CENTER);
    EXPECT_TRUE(Enabled(w.AnNiu1));
    EXPECT_TRUE(Enabled(w.AnNiu2));
    EXPECT_TRUE(Enabled(w.BiaoGe2));
    EXPECT_FALSE(Visible(w.BiaoQian3));
    EXPECT_EQ(w.ShiZhong1.GetInterval(), 0) << "the seconds clock stops with the import";
    EXPECT_EQ(Utf8(w.BianJiKuang1.GetControlText()), dir.string());
    ASSERT_EQ(dialogs->FolderRequests().size(), 1u);
}

TEST_F(MainWindowTest, RepeatedPlatesFoldIntoTheirOwnRowAndASecondImportAppends)
{
    const fs::path first = MakeTree("first", {{"a", "京A00001", "蓝", "20240821100000"},
                                              {"a", "京A00002", "蓝", "20240821100000"},
                                              {"b", "京A00001", "蓝", "20240821120000"},
                                              {"b", "京A00003", "黄", "20240821090000"}});
    Import(first);
    rg_my_main_window& w = window();
    ASSERT_EQ(w.BiaoGe2.GetRowCount(), 4);
    for (int32_t row = 1; row <= 3; ++row) {
        if (Utf8(w.BiaoGe2.GetCellText(row, 1)) == "京A00001")
            EXPECT_EQ(Utf8(w.BiaoGe2.GetCellText(row, 2)), "2024-08-21 12:00:00") << "moved forward in its own row";
        else
            EXPECT_NE(Utf8(w.BiaoGe2.GetCellText(row, 2)), "2024-08-21 12:00:00") << "another plate's row kept";
    }

    const fs::path second = MakeTree("second", {{"", "津C12345", "白", "20240822080000"}});
    Import(second);
    ASSERT_EQ(w.BiaoGe2.GetRowCount(), 5);
    for (int32_t row = 1; row <= 3; ++row)
        EXPECT_EQ(Row(row), (std::vector<std::string>(5, ""))) << "earlier rows stay, emptied";
    EXPECT_EQ(Row(4), (std::vector<std::string>{"1", "津C12345", "2024-08-22 08:00:00", "白", ""}));
    EXPECT_EQ(Row(0)[4], "相机IP地址");
}

TEST_F(MainWindowTest, AnEmptyDirectoryShowsTheCountdownBoxAndKeepsTheGrid)
{
    Import(MakeTree("filled", {{"x", "京A12345", "蓝", "20240821100000"}}));
    Import(MakeTree("empty", {}));
    rg_my_main_window& w = window();
    const auto boxes = dialogs->MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].request.caption, u"错误提醒：");
    EXPECT_EQ(Utf16ToUtf8(boxes[0].request.text), "目录为空，请重新选择正确的有图片的目录【 5 】秒");
    EXPECT_NE(boxes[0].request.threadId, GetCurrentThreadId()) << "shown from the import's worker";
    EXPECT_EQ(w.BiaoGe2.GetRowCount(), 2);
    EXPECT_EQ(Row(1), (std::vector<std::string>(5, "")));
    EXPECT_EQ(Row(0)[0], "ID");
    EXPECT_TRUE(Enabled(w.AnNiu1));
    EXPECT_TRUE(Enabled(w.AnNiu2));
    EXPECT_TRUE(Enabled(w.BiaoGe2));
    EXPECT_FALSE(Visible(w.BiaoQian3));
}

TEST_F(MainWindowTest, ACancelledPickerStartsNoImport)
{
    window().BianJiKuang1.SetControlText(CWString(u"/somewhere"));
    Import(fs::path());
    rg_my_main_window& w = window();
    EXPECT_EQ(Utf8(w.BianJiKuang1.GetControlText()), "");
    EXPECT_TRUE(Enabled(w.AnNiu1));
    EXPECT_TRUE(Enabled(w.AnNiu2));
    EXPECT_TRUE(Enabled(w.BiaoGe2));
    EXPECT_EQ(w.DaoRuShiZhong.GetRunning(), 0);
    EXPECT_TRUE(dialogs->MessageBoxes().empty());
}

// The workbook as an independent reader sees it: one line per row, cells joined by "|".
std::vector<std::string> ReadBack(const fs::path& workbook)
{
    const std::string command = "/usr/bin/python3 -c \"import sys, xlrd\n"
                                "book = xlrd.open_workbook(sys.argv[1])\n"
                                "for sheet in book.sheets():\n"
                                "    print(sheet.name)\n"
                                "    for r in range(sheet.nrows): print('|'.join(sheet.row_values(r)))\" '" +
                                workbook.string() + "'";
    std::vector<std::string> lines;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return lines;
    char buffer[4096];
    while (fgets(buffer, sizeof buffer, pipe)) {
        std::string line(buffer);
        if (!line.empty() && line.back() == '\n')
            line.pop_back();
        lines.push_back(line);
    }
    pclose(pipe);
    return lines;
}

TEST_F(MainWindowTest, ACancelledSaveDialogThenARealOneExportsOnce)
{
    Import(MakeTree("two", {{"Images/20240821/10.1.1.1", "京A12345", "蓝", "20240821100000"},
                            {"Images/20240821/10.1.1.1", "沪B54321", "黄", "20240821110000"}}));
    rg_my_main_window& w = window();
    ASSERT_TRUE(Enabled(w.AnNiu2));

    Export(u"");
    PumpUntil([] { return false; }, 50);
    EXPECT_EQ(Utf8(w.BianJiKuang2.GetControlText()), "");
    EXPECT_FALSE(Enabled(w.AnNiu1)) << "a cancelled dialog leaves the import disabled";
    EXPECT_FALSE(Enabled(w.BiaoGe2));
    EXPECT_TRUE(Enabled(w.AnNiu2));
    EXPECT_EQ(w.DaoChuShiZhong.GetRunning(), 1) << "the worker ticks without work";

    const fs::path workbook = root / "车辆信息.xls";
    Export(Utf8ToUtf16(workbook.string()));
    PumpUntil([&] { return Idle(w.DaoChuShiZhong); });
    ASSERT_TRUE(Idle(w.DaoChuShiZhong));
    EXPECT_TRUE(w.LastExportSucceeded());
    EXPECT_EQ(Utf8(w.BianJiKuang2.GetControlText()), workbook.string());
    EXPECT_TRUE(Enabled(w.AnNiu1));
    EXPECT_TRUE(Enabled(w.AnNiu2));
    EXPECT_TRUE(Enabled(w.BiaoGe2));
    EXPECT_TRUE(dialogs->MessageBoxes().empty());

    const auto requests = dialogs->SaveFileRequests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].title, u"请选择保存位置");
    EXPECT_EQ(requests[1].fileName, u"车辆信息.xls");

    std::vector<std::string> lines = ReadBack(workbook);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "Sheet1");
    EXPECT_EQ(lines[1], "ID|车牌号|时间|车牌颜色|相机IP地址");
    std::sort(lines.begin() + 2, lines.end());
    EXPECT_EQ(lines[2], "1|京A12345|2024-08-21 10:00:00|蓝|10.1.1.1");
    EXPECT_EQ(lines[3], "2|沪B54321|2024-08-21 11:00:00|黄|10.1.1.1");

    // Written once: the stopped worker does not write again.
    fs::remove(workbook);
    PumpUntil([] { return false; }, 50);
    EXPECT_FALSE(fs::exists(workbook));
}

TEST_F(MainWindowTest, AFailedSaveIsReportedAndTheControlsComeBack)
{
    Import(MakeTree("one", {{"", "京A12345", "蓝", "20240821100000"}}));
    rg_my_main_window& w = window();
    const fs::path target = root / "missing-folder" / "out.xls";
    Export(Utf8ToUtf16(target.string()));
    PumpUntil([&] { return Idle(w.DaoChuShiZhong); });
    ASSERT_TRUE(Idle(w.DaoChuShiZhong));
    EXPECT_FALSE(w.LastExportSucceeded());
    const auto boxes = dialogs->MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].request.caption, u"错误提醒：");
    EXPECT_NE(Utf16ToUtf8(boxes[0].request.text).find(target.string()), std::string::npos) << "names the path";
    EXPECT_EQ(boxes[0].request.Icon(), MB_ICONERROR);
    EXPECT_FALSE(fs::exists(root / "missing-folder"));
    EXPECT_TRUE(Enabled(w.AnNiu1));
    EXPECT_TRUE(Enabled(w.AnNiu2));
    EXPECT_TRUE(Enabled(w.BiaoGe2));
}

// Everything written and flushed, and then the rename over the old workbook fails (as on a disk
// that turns read-only): the export's error box, and the old workbook as it was.
TEST_F(MainWindowTest, AnExportWhoseLastSaveStepFailsKeepsTheOldWorkbook)
{
    Import(MakeTree("one", {{"", "京A12345", "蓝", "20240821100000"}}));
    rg_my_main_window& w = window();
    platform::spreadsheet::SaveSystemCalls failingRename = platform::spreadsheet::realSaveSystemCalls();
    failingRename.rename = [](const char*, const char*) {
        errno = EIO;
        return -1;
    };
    const std::string oldBytes = "the workbook as it was before";
    for (const char* name : {"old.xls", "old.xlsx"}) {
        const fs::path folder = root / (std::string("folder-") + name);
        fs::create_directories(folder);
        const fs::path target = folder / name;
        std::ofstream(target, std::ios::binary) << oldBytes;
        const size_t boxesBefore = dialogs->MessageBoxes().size();
        {
            platform::spreadsheet::ScopedSaveSystemCalls fault(failingRename);
            Export(Utf8ToUtf16(target.string()));
            PumpUntil([&] { return Idle(w.DaoChuShiZhong); });
        }
        ASSERT_TRUE(Idle(w.DaoChuShiZhong)) << name;
        EXPECT_FALSE(w.LastExportSucceeded()) << name;
        const auto boxes = dialogs->MessageBoxes();
        ASSERT_EQ(boxes.size(), boxesBefore + 1) << name;
        EXPECT_EQ(boxes.back().request.caption, u"错误提醒：");
        EXPECT_NE(Utf16ToUtf8(boxes.back().request.text).find(target.string()), std::string::npos);
        EXPECT_EQ(boxes.back().request.Icon(), MB_ICONERROR);
        std::ifstream in(target, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), oldBytes) << name;
        std::vector<std::string> entries;
        for (const auto& entry : fs::directory_iterator(folder))
            entries.push_back(entry.path().filename().string());
        EXPECT_EQ(entries, std::vector<std::string>{name}) << "nothing of the failed save stays";
        EXPECT_TRUE(Enabled(w.AnNiu1));
        EXPECT_TRUE(Enabled(w.AnNiu2));
    }
}

TEST_F(MainWindowTest, TheSecondsLabelCountsOnFromItsLastValue)
{
    rg_my_main_window& w = window();
    w.BiaoQian1.SetControlText(CWString(u"41"));
    rg_my_main_window::HandleSecondTick(&w, &w.ShiZhong1, 0);
    EXPECT_EQ(Utf8(w.BiaoQian1.GetControlText()), "42");
    rg_my_main_window::HandleSecondTick(&w, &w.AnNiu1, 0);
    EXPECT_EQ(Utf8(w.BiaoQian1.GetControlText()), "42") << "only the clock counts";
}

void CloseDuringAnImport(const fs::path& dir)
{
    auto dialogs = std::make_shared<ScriptedDialogs>();
    SetDialogService(dialogs);
    RegisterControls();
    rg_startup_class program;
    program.RunProgram();
    dialogs->QueueFolder(Utf8ToUtf16(dir.string()));
    tabrix_batch::ClickControl(program.mainWindow.AnNiu1);
    PumpUntil([&] { return program.mainWindow.GetDesignClientWidth() && program.mainWindow.BiaoGe2.GetRowCount() > 50; });
    SendMessageW(program.mainWindow.GetSafeHwnd(), WM_CLOSE, 0, 0);
    std::fprintf(stderr, "the window survived its closing\n");
    std::_Exit(3);
}

TEST(MainWindowDeathTest, ClosingDuringAnImportEndsTheProcessWithZero)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const fs::path dir = fs::temp_directory_path() / ("tabrix-close-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    for (int i = 0; i < 3000; ++i)
        std::ofstream(dir / ("PlateImage_京A" + std::to_string(10000 + i) + "_蓝_20240821100000.jpg"));
    EXPECT_EXIT(CloseDuringAnImport(dir), ::testing::ExitedWithCode(0), "");
    fs::remove_all(dir);
}

TEST(BatchSheets, EachSheetRepeatsTheHeaderRow)
{
    const struct {
        int64_t rows;
        const char16_t* path;
        int64_t sheets;
    } cases[] = {{0, u"a.xls", 1},       {65535, u"a.xls", 1},      {65536, u"a.xls", 2},
                 {131070, u"a.xls", 2},  {131071, u"a.xls", 3},     {65536, u"a.XLSX", 1},
                 {1048575, u"a.xlsx", 1}, {1048576, u"a.xlsx", 2}};
    for (const auto& c : cases)
        EXPECT_EQ(tabrix_batch::SheetsFor(c.rows, c.path), c.sheets) << c.rows;
}

}  // namespace
