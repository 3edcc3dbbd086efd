// Writes the main window's grid (65,536 rows of five columns, the header included) to .xls through
// the grid export and runs Debian's python3-xlwt writing the same cells in the same format in the
// same run; prints both wall times and peak memories (limits: 0.1 times xlwt's time, half its peak).
#include "grid/CGridCtrl.h"
#include "grid/GridExport.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

std::u16string U16(const std::string& utf8ascii) { return std::u16string(utf8ascii.begin(), utf8ascii.end()); }

void Fill(CGridCtrl& grid, int rows)
{
    grid.SetColumnCount(5);
    grid.SetRowCount(1);
    grid.SetFixedRowCount(1);
    const char16_t* header[] = {u"ID", u"车牌号", u"时间", u"车牌颜色", u"相机IP地址"};
    for (int c = 0; c < 5; ++c)
        grid.SetItemText(0, c, header[c]);
    char buffer[64];
    for (int r = 1; r < rows; ++r) {
        grid.AddRow(U16(std::to_string(r)));
        std::snprintf(buffer, sizeof buffer, "%05d", r % 100000);
        grid.SetItemText(r, 1, u"京A" + U16(buffer));
        grid.SetItemText(r, 2, u"2024年8月21日" + U16(std::to_string(r % 24)) + u"时" + U16(std::to_string(r % 60))
                                   + u"分" + U16(std::to_string(r % 59 + 1)) + u"秒");
        grid.SetItemText(r, 3, r % 2 ? u"蓝色" : u"黄色");
        std::snprintf(buffer, sizeof buffer, "192.168.%d.%d", r % 256, r % 7);
        grid.SetItemText(r, 4, U16(buffer));
    }
}

long StatusKilobytes(const char* key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(key, 0) == 0)
            return std::stol(line.substr(std::string(key).size()));
    return 0;
}

}  // namespace

int main()
{
    constexpr int kRows = 65536;
    CGridCtrl grid;
    Fill(grid, kRows);

    // Our export: wall time and the peak resident memory it adds.
    std::ofstream("/proc/self/clear_refs") << "5";  // restart the peak at the current size
    const long before = StatusKilobytes("VmRSS:");
    CWString path(u"/tmp/tabrix-bench-export.xls");
    rg_quarn_base::rg_ZhengShuShuZuLei noChecks;
    const auto start = Clock::now();
    const bool saved = ExportGridToWorkbook(GridComponentSource(grid), CWString(u"Sheet1"), CWString(u"宋体"), path,
                                            noChecks);
    const double ours = std::chrono::duration<double>(Clock::now() - start).count();
    const long oursPeak = StatusKilobytes("VmHWM:") - before;

    // The peer, in a child process.
    const auto peerStart = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execl("/usr/bin/python3", "python3", TABRIX_XLWT_PEER, "/tmp/tabrix-bench-xlwt.xls",
              std::to_string(kRows).c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    const double peer = std::chrono::duration<double>(Clock::now() - peerStart).count();
    const long peerPeak = usage.ru_maxrss;
    unlink("/tmp/tabrix-bench-export.xls");
    unlink("/tmp/tabrix-bench-xlwt.xls");
    if (!saved || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::printf("export saved: %d, xlwt status: %d\n", saved, status);
        return 2;
    }
    std::printf("%d rows x 5 columns to .xls\n", kRows);
    std::printf("grid export: %.3f s, peak +%ld KiB\n", ours, oursPeak);
    std::printf("xlwt:        %.3f s, peak %ld KiB\n", peer, peerPeak);
    std::printf("time ratio: %.3f (limit 0.1), memory ratio: %.3f (limit 0.5)\n", ours / peer,
                static_cast<double>(oursPeak) / static_cast<double>(peerPeak));
    return ours / peer <= 0.1 && oursPeak * 2 <= peerPeak ? 0 : 1;
}
