// The grid export, read back by independent readers (xlrd for .xls, openpyxl for .xlsx).
#include "GridTestSupport.h"

#include "grid/CVWnd_Grid.h"
#include "grid/GridExport.h"
#include "platform/files/FileNameCodec.h"
#include "platform/shell/DesktopFolder.h"
#include "platform/spreadsheet/tests/SheetTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sys/stat.h>

namespace {

using platform::spreadsheet::testing::checkWorkbook;
using platform::spreadsheet::testing::ExpectedSheet;
using platform::spreadsheet::testing::ScratchFolder;
using platform::spreadsheet::testing::writeExpectation;
using Rows = std::vector<std::vector<std::u16string>>;

const char* kFormat =
    R"({"font": "宋体", "size": 10, "bold": false, "wrap": true, "halign": "center", "valign": "center",)"
    R"( "border": ["thin", "thin", "thin", "thin"]})";

std::u16string U16(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }
CWString PathText(const std::string& path) { return CWString(U16(path)); }
const std::vector<std::u16string> kHeader{u"ID", u"车牌号", u"时间", u"车牌颜色", u"相机IP地址"};

bool Exists(const std::string& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0;
}

class GridExport : public ::testing::Test {
protected:
    void SetUp() override
    {
        grid.SetColumnCount(5);
        grid.SetRowCount(1);
        grid.SetFixedRowCount(1);
        for (int c = 0; c < 5; ++c)
            grid.SetItemText(0, c, kHeader[static_cast<size_t>(c)]);
    }
    void Fill(const Rows& rows)
    {
        for (const auto& row : rows) {
            const int r = grid.AddRow(row[0]);
            for (size_t c = 1; c < row.size(); ++c)
                grid.SetItemText(r, static_cast<int>(c), row[c]);
        }
    }
    bool Export(CWString& path, std::string* error = nullptr, std::vector<int> checks = {})
    {
        rg_quarn_base::rg_ZhengShuShuZuLei columns;
        for (int c : checks)
            columns.Append(c);
        return ExportGridToWorkbook(GridComponentSource(grid), CWString(u"Sheet1"), CWString(u"宋体"), path, columns,
                                    error);
    }
    void ExpectWorkbook(const std::string& file, const std::vector<ExpectedSheet>& sheets, int formatEvery = 1)
    {
        writeExpectation(folder / "expect.json", sheets, kFormat, formatEvery);
        const auto result = checkWorkbook(file, folder / "expect.json");
        EXPECT_EQ(result.status, 0) << result.output;
    }

    ScratchFolder folder;
    CGridCtrl grid;
};

TEST_F(GridExport, HeaderOnlyGridGivesTheHeaderInTheSharedFormat)
{
    for (const char* name : {"header.xls", "header.xlsx"}) {
        CWString path = PathText(folder / name);
        ASSERT_TRUE(Export(path));
        ExpectWorkbook(folder / name, {{u"Sheet1", {kHeader}, {}}});
    }
}

TEST_F(GridExport, TextsStayStringsUnchanged)
{
    const Rows rows{{u"0012", u"3.50", u"=1+1", u"第一行\n第二行", u"192.168.1.10"},
                    {u"1", u"京A12345", u"2024-08-21 13:05:09", u"蓝色", u"\xDC80/路径"}};
    Fill(rows);
    CWString path = PathText(folder / "texts.xls");
    ASSERT_TRUE(Export(path));
    Rows expected{kHeader};
    expected.insert(expected.end(), rows.begin(), rows.end());
    expected[2][4] = u"\xFFFD/路径";  // an undecodable file-name byte leaves the program as U+FFFD
    ExpectWorkbook(folder / "texts.xls", {{u"Sheet1", expected, {}}});
}

TEST_F(GridExport, TickedCellsOfCheckColumnsExportAsOne)
{
    Fill({{u"1", u"a", u"不勾", u"b", u"c"}, {u"2", u"a", u"勾", u"b", u"c"}, {u"3", u"a", u"勾", u"b", u"勾"}});
    grid.SetItemCheck(2, 2, true);
    grid.SetItemCheck(3, 2, true);
    grid.SetItemCheck(3, 4, true);  // column 4 is not a check column
    grid.SetItemCheck(0, 2, true);  // a ticked header keeps its text
    grid.SetItemCheck(0, 1, true);
    grid.SetItemText(0, 1, u"");    // ...unless it is empty
    CWString path = PathText(folder / "checks.xls");
    ASSERT_TRUE(Export(path, nullptr, {1, 2}));
    ExpectWorkbook(folder / "checks.xls",
                   {{u"Sheet1",
                     {{u"ID", u"1", u"时间", u"车牌颜色", u"相机IP地址"},
                      {u"1", u"a", u"不勾", u"b", u"c"},
                      {u"2", u"a", u"1", u"b", u"c"},
                      {u"3", u"a", u"1", u"b", u"勾"}},
                     {}}});
}

TEST_F(GridExport, RowsBeyondOneSheetContinueUnderTheHeader)
{
    constexpr int kRows = 70000;
    Rows expected{kHeader};
    for (int i = 1; i <= kRows; ++i) {
        const std::u16string id = U16(std::to_string(i));
        expected.push_back({id, u"京A" + id, u"2024年8月21日", i % 2 ? u"蓝色" : u"黄色", u"10.0.0.1"});
    }
    Fill(Rows(expected.begin() + 1, expected.end()));
    CWString path = PathText(folder / "big.xls");
    ASSERT_TRUE(Export(path));
    Rows second{kHeader};
    second.insert(second.end(), expected.begin() + 65536, expected.end());
    ExpectWorkbook(folder / "big.xls",
                   {{u"Sheet1", Rows(expected.begin(), expected.begin() + 65536), {}}, {u"Sheet2", second, {}}}, 997);
}

TEST_F(GridExport, AnEmptyPathLandsOnTheDesktopAndIsHandedBack)
{
    const std::string desktop = folder / "桌面";
    mkdir(desktop.c_str(), 0700);
    setenv("XDG_DESKTOP_DIR", desktop.c_str(), 1);
    CWString path;
    ASSERT_TRUE(Export(path));
    unsetenv("XDG_DESKTOP_DIR");
    const std::string utf8 = platform::spreadsheet::toUtf8(path.View());
    EXPECT_EQ(utf8.rfind(desktop + "/导出表", 0), 0u) << utf8;
    EXPECT_EQ(utf8.substr(utf8.size() - 4), ".xls");
    EXPECT_NE(utf8.find("年"), std::string::npos);
    EXPECT_TRUE(Exists(utf8));
}

TEST_F(GridExport, AFailedSaveSaysSoAndLeavesNothingBehind)
{
    for (const std::string& bad : {folder / "missing/out.xls", folder.path(), std::string("")}) {
        CWString path = PathText(bad);
        if (bad.empty())
            continue;  // an empty path means the default one, tested above
        std::string error;
        EXPECT_FALSE(Export(path, &error)) << bad;
        EXPECT_FALSE(error.empty());
    }
    EXPECT_TRUE(folder.entries().empty());

    // Exporting twice to one path replaces the file.
    CWString path = PathText(folder / "twice.xls");
    ASSERT_TRUE(Export(path));
    grid.SetItemText(0, 0, u"编号");
    ASSERT_TRUE(Export(path));
    Rows header{kHeader};
    header[0][0] = u"编号";
    ExpectWorkbook(folder / "twice.xls", {{u"Sheet1", header, {}}});
    EXPECT_EQ(folder.entries().size(), 2u);  // the workbook and the expectation file, no temporaries
}

// LibreOffice, a reader of its own, converts the workbook to CSV: the same table comes out.
TEST_F(GridExport, LibreOfficeReadsTheSameTable)
{
    const Rows rows{{u"1", u"京A12345", u"2024年8月21日13时5分9秒", u"蓝色", u"192.168.1.10"},
                    {u"0012", u"=1+1", u"第一行\n第二行", u"3.50", u"say \"hi\", ok"}};
    Fill(rows);
    CWString path = PathText(folder / "lo.xls");
    ASSERT_TRUE(Export(path));
    const std::string command = "cd '" + folder.path() + "' && timeout 180 soffice -env:UserInstallation=file://"
        + folder.path() + "/profile --headless --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76' lo.xls"
        + " > soffice.log 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << "soffice failed";
    std::ifstream in(folder / "lo.csv", std::ios::binary);
    const std::string csv((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // Fields are quoted where they must be (a comma, a quote or a line break inside).
    const std::string expected = "ID,车牌号,时间,车牌颜色,相机IP地址\n"
                                 "1,京A12345,2024年8月21日13时5分9秒,蓝色,192.168.1.10\n"
                                 "0012,=1+1,\"第一行\n第二行\",3.50,\"say \"\"hi\"\", ok\"\n";
    EXPECT_EQ(csv, expected);
}

TEST(GridExportSources, AGridWithoutWindowExportsItsStoredCountsAsEmptyStrings)
{
    ScratchFolder folder;
    CVWnd_Grid grid;
    grid.SetRowCount(3);
    CWString path = PathText(folder / "nowindow.xls");
    rg_quarn_base::rg_ZhengShuShuZuLei none;
    ASSERT_TRUE(ExportGridToWorkbook(GridWindowSource(grid), CWString(u"Sheet1"), CWString(u"宋体"), path, none));
    const std::string command = "/usr/bin/python3 -c \"import xlrd; s = xlrd.open_workbook('" + folder / "nowindow.xls"
        + "').sheet_by_index(0); print(s.name, s.nrows, s.ncols, sorted(set((c.ctype, c.value) for r in range(s.nrows)"
          " for c in s.row(r))))\"";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char line[256] = {};
    ASSERT_NE(fgets(line, sizeof line, pipe), nullptr);
    pclose(pipe);
    EXPECT_STREQ(line, "Sheet1 3 5 [(1, '')]\n");  // every cell a string, all empty
}

TEST(GridExportPath, DesktopFolderFollowsTheXdgSettingsThenHome)
{
    ScratchFolder home;
    const std::string saved = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("HOME", home.path().c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
    unsetenv("XDG_DESKTOP_DIR");
    EXPECT_FALSE(GetDesktopFolder().has_value());  // nothing exists: the current directory is used
    mkdir((home / "Desktop").c_str(), 0700);
    EXPECT_EQ(GetDesktopFolder(), U16(home / "Desktop"));
    mkdir((home / "config").c_str(), 0700);
    mkdir((home / "桌面").c_str(), 0700);
    std::ofstream(home / "config/user-dirs.dirs") << "# written by xdg-user-dirs-update\n"
                                                      "XDG_DOWNLOAD_DIR=\"$HOME/下载\"\n"
                                                      "XDG_DESKTOP_DIR=\"$HOME/桌面/\"\n";
    EXPECT_EQ(GetDesktopFolder(), DecodeFileName(home / "桌面"));
    setenv("XDG_DESKTOP_DIR", (home / "Desktop").c_str(), 1);
    EXPECT_EQ(GetDesktopFolder(), U16(home / "Desktop"));
    unsetenv("XDG_DESKTOP_DIR");
    unsetenv("XDG_CONFIG_HOME");
    setenv("HOME", saved.c_str(), 1);
}

TEST(GridExportPath, ChineseLongFormDropsTrailingZeroTimeParts)
{
    struct Case {
        CalendarTime now;
        const char16_t* expected;
    };
    const Case cases[] = {
        {{2024, 8, 21, 9, 5, 7}, u"/home/u/Desktop/导出表2024年8月21日9时5分7秒.xls"},
        {{2024, 8, 21, 9, 5, 0}, u"/home/u/Desktop/导出表2024年8月21日9时5分.xls"},
        {{2024, 8, 21, 9, 0, 0}, u"/home/u/Desktop/导出表2024年8月21日9时.xls"},
        {{2024, 12, 1, 0, 0, 0}, u"/home/u/Desktop/导出表2024年12月1日.xls"},
        {{2024, 8, 21, 0, 0, 7}, u"/home/u/Desktop/导出表2024年8月21日0时0分7秒.xls"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DefaultExportPath(std::u16string(u"/home/u/Desktop"), c.now).View(), c.expected);
    EXPECT_EQ(DefaultExportPath(std::nullopt, CalendarTime{2024, 8, 21, 9, 0, 0}).View(), u"导出表2024年8月21日9时.xls");
}

}  // namespace
