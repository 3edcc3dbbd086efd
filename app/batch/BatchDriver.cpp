#include "app/batch/BatchDriver.h"

#include "platform/spreadsheet/Types.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Timers.h"
#include "platform/window/WinMessages.h"
#include "platform/window/Window.h"
#include "platform/window/WindowGeometry.h"
#include "platform/window/Clock.h"

namespace tabrix_batch {

namespace {

BatchDriver* g_driver = nullptr;
constexpr UINT kStepMs = 5;
constexpr uint64_t kProgressMs = 200;

bool EndsWithXlsx(std::u16string_view path)
{
    constexpr std::u16string_view ext = u".xlsx";
    if (path.size() < ext.size())
        return false;
    for (size_t i = 0; i < ext.size(); ++i) {
        char16_t c = path[path.size() - ext.size() + i];
        if (c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c - u'A' + u'a');
        if (c != ext[i])
            return false;
    }
    return true;
}

}  // namespace

int64_t SheetsFor(int64_t dataRows, std::u16string_view path)
{
    const int64_t perSheet =
        (EndsWithXlsx(path) ? platform::spreadsheet::kXlsxMaxRows : platform::spreadsheet::kXlsMaxRows) - 1;
    return dataRows <= 0 ? 1 : (dataRows + perSheet - 1) / perSheet;
}

void ClickControl(const rg_quarn_MFCJieMian_base::CQrnWinControl& control)
{
    HWND hwnd = control.GetSafeHwnd();
    if (!hwnd)
        return;
    RECT rect{};
    GetClientRect(hwnd, &rect);
    const LPARAM centre = MAKELPARAM(static_cast<WORD>(rect.right / 2), static_cast<WORD>(rect.bottom / 2));
    SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, centre);
    SendMessageW(hwnd, WM_LBUTTONUP, 0, centre);
}

BatchDriver::BatchDriver(rg_quarn_app::rg_my_main_window& window, std::function<bool()> errorShown, Finish finish,
                         Progress progress)
    : window_(window), errorShown_(std::move(errorShown)), finish_(std::move(finish)), progress_(std::move(progress))
{
}

void BatchDriver::Start()
{
    g_driver = this;
    timer_ = SetTimer(nullptr, 0, kStepMs, &TimerProc);
}

void BatchDriver::TimerProc(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_driver)
        g_driver->Step();
}

bool BatchDriver::WorkerIdle(const rg_quarn_Tolvar::rg_ShiZhongLei_XianCheng1& clock)
{
    return clock.GetRunning() == 0 && !clock.IsLoopAlive();
}

void BatchDriver::Step()
{
    // A click runs a modal dialog and the clock's message pump: a timer tick inside them waits.
    if (inStep_ || step_ == Stage::Done)
        return;
    inStep_ = true;
    if (progress_ && GetTickCount64() - lastProgress_ >= kProgressMs) {
        lastProgress_ = GetTickCount64();
        progress_(window_);
    }
    switch (step_) {
    case Stage::ClickImport:
        step_ = Stage::Importing;
        ClickControl(window_.AnNiu1);
        break;
    case Stage::Importing:
        if (!WorkerIdle(window_.DaoRuShiZhong))
            break;
        if (errorShown_() || window_.BiaoGe2.GetRowCount() <= 1 || !IsWindowEnabled(window_.AnNiu2.GetSafeHwnd())) {
            End(BatchOutcome::NothingImported);
            break;
        }
        step_ = Stage::Exporting;
        ClickControl(window_.AnNiu2);
        break;
    case Stage::Exporting:
        if (WorkerIdle(window_.DaoChuShiZhong))
            End(window_.LastExportSucceeded() && !errorShown_() ? BatchOutcome::Written : BatchOutcome::SaveFailed);
        break;
    case Stage::Done:
        break;
    }
    inStep_ = false;
}

void BatchDriver::End(BatchOutcome outcome)
{
    step_ = Stage::Done;
    if (timer_)
        KillTimer(nullptr, timer_);
    timer_ = 0;
    g_driver = nullptr;
    BatchReport report;
    report.outcome = outcome;
    report.workbook = std::u16string(window_.BianJiKuang2.GetControlText().View());
    report.rows = window_.BiaoGe2.GetRowCount() - 1;
    report.sheets = SheetsFor(report.rows, report.workbook);
    finish_(report);
}

}  // namespace tabrix_batch
