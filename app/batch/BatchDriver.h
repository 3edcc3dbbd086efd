#pragma once
// The headless front end's driver: it works the main window as a user would, with mouse clicks on
// its two buttons, while the framework's message loop runs. The folder picker and the save dialog
// are answered by the dialog service (BatchDialogs), so the import and the export run exactly as
// they run on the desktop. A thread timer of the window thread moves it from step to step:
// click "浏览目录", wait for the import's worker to end, click "导出表格", wait for the export's
// worker to end, report, end the process.
// Threads: the user-interface thread only.
#include "app/rg_my_main_window.h"

#include <cstdint>
#include <functional>
#include <string>

namespace tabrix_batch {

enum class BatchOutcome { Written, NothingImported, SaveFailed };

struct BatchReport {
    BatchOutcome outcome = BatchOutcome::NothingImported;
    std::u16string workbook;   // the path the export wrote
    int64_t rows = 0;          // data rows, header not counted
    int64_t sheets = 0;
};

// Sheets a workbook of the given data rows takes: each sheet repeats the header row.
int64_t SheetsFor(int64_t dataRows, std::u16string_view path);

class BatchDriver {
public:
    using Finish = std::function<void(const BatchReport&)>;
    using Progress = std::function<void(const rg_quarn_app::rg_my_main_window&)>;

    // errorShown tells whether a box with the error caption was shown since the driver began.
    BatchDriver(rg_quarn_app::rg_my_main_window& window, std::function<bool()> errorShown, Finish finish,
                Progress progress = nullptr);

    // Installs the thread timer; the steps run from the message loop.
    void Start();
    // One step, also callable directly by tests that pump the loop themselves.
    void Step();
    bool Finished() const { return step_ == Stage::Done; }

private:
    enum class Stage { ClickImport, Importing, Exporting, Done };
    static void TimerProc(HWND, UINT, UINT_PTR, DWORD);
    void End(BatchOutcome outcome);
    static bool WorkerIdle(const rg_quarn_Tolvar::rg_ShiZhongLei_XianCheng1& clock);

    rg_quarn_app::rg_my_main_window& window_;
    std::function<bool()> errorShown_;
    Finish finish_;
    Progress progress_;
    Stage step_ = Stage::ClickImport;
    bool inStep_ = false;
    uint64_t lastProgress_ = 0;
    UINT_PTR timer_ = 0;
};

// A mouse click on a control's window, as the user's button down and up over it.
void ClickControl(const rg_quarn_MFCJieMian_base::CQrnWinControl& control);

}  // namespace tabrix_batch
