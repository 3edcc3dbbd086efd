// Appends 1,000,000 rows of five short texts to a live grid with AddRow and SetCellValue, as the
// import does, and prints the time per row near 10,000 and near 1,000,000 rows (the second must stay
// within 1.5 times the first) and the bytes used per cell of 12 units (at most 64).
#include "grid/CVWnd_Grid.h"
#include "platform/window/WinStyles.h"
#include "platform/window/Window.h"
#include "platform/window/WindowClass.h"

#include <malloc.h>

#include <chrono>
#include <cstdio>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

CWString Text12(int row, int col)
{
    // Twelve units: a CJK prefix, the column and the row number padded with zeros.
    char16_t units[13];
    units[0] = u'京';
    units[1] = static_cast<char16_t>(u'A' + col);
    for (int i = 11, v = row; i >= 2; --i, v /= 10)
        units[i] = static_cast<char16_t>(u'0' + v % 10);
    units[12] = 0;
    return CWString(units);
}

double AppendRows(CVWnd_Grid& grid, int first, int count)
{
    const auto start = Clock::now();
    for (int r = first; r < first + count; ++r) {
        const CWString id = Text12(r, 0);
        grid.AddRow(id);
        for (int c = 1; c < 5; ++c) {
            const CWString text = Text12(r, c);
            grid.SetCellValue(r, c, 1, u'S', &text);
        }
    }
    return std::chrono::duration<double, std::nano>(Clock::now() - start).count() / count;
}

}  // namespace

int main()
{
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = u"BenchParent";
    RegisterClassExW(&wc);
    HWND parent = CreateWindowExW(0, u"BenchParent", u"", WS_OVERLAPPED, 0, 0, 800, 600, nullptr, nullptr, nullptr,
                                  nullptr);
    CVWnd_Grid grid;
    grid.SetRowCount(1);
    grid.CreateGrid(0, WS_CHILD | WS_VISIBLE, RECT{0, 0, 560, 400}, parent, 1, nullptr);

    constexpr int kWindow = 10000;
    constexpr int kTotal = 1000000;
    const size_t heapBefore = mallinfo2().uordblks;
    const double early = AppendRows(grid, 1, kWindow);
    AppendRows(grid, 1 + kWindow, kTotal - 2 * kWindow);
    const double late = AppendRows(grid, kTotal - kWindow + 1, kWindow);
    const size_t heapAfter = mallinfo2().uordblks;
    const double cells = static_cast<double>(grid.GetRowCount() - 1) * 5;

    std::printf("rows: %d, columns: 5, texts of 12 units\n", grid.GetRowCount() - 1);
    std::printf("time per row at 10,000 rows:    %8.1f ns\n", early);
    std::printf("time per row at 1,000,000 rows: %8.1f ns\n", late);
    std::printf("ratio late/early: %.2f (limit 1.5)\n", late / early);
    std::printf("bytes per cell: %.1f by the heap, %.1f by the store (limit 64)\n",
                static_cast<double>(heapAfter - heapBefore) / cells, static_cast<double>(grid.GetStoreBytes()) / cells);
    DestroyWindow(parent);
    const bool ok = late / early <= 1.5 && static_cast<double>(heapAfter - heapBefore) / cells <= 64;
    return ok ? 0 : 1;
}
