// tabrix-batch DIRECTORY WORKBOOK: the main window, run headlessly. The folder picker answers
// DIRECTORY and the save dialog WORKBOOK; the import and the export then run as on the desktop.
// Message boxes go to standard error. Exit status: 0 written, 1 nothing imported or the save
// failed, 2 wrong usage.
#include "app/CQrnMFCApp.h"
#include "app/batch/BatchDriver.h"
#include "app/rg_startup_class.h"
#include "platform/dialogs/ScriptedDialogs.h"
#include "platform/files/FileNameCodec.h"
#include "platform/framework/ProcessControl.h"
#include "runtime/Unicode.h"

#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

namespace {

constexpr const char* kUsage =
    "Usage: tabrix-batch DIRECTORY WORKBOOK\n"
    "Lists every PlateImage_*.jpg snapshot in DIRECTORY and below it, folds them into one row per\n"
    "plate and saves the table as WORKBOOK (.xls, or .xlsx by its extension), exactly as the\n"
    "desktop program's import and export do.\n"
    "Exit status: 0 when the workbook was written, 1 for an empty or unreadable directory or a\n"
    "failed save, 2 for wrong usage.\n";

// The dialogs of a run without a desktop: the two paths are queued, every box is printed.
class BatchDialogs final : public ScriptedDialogs {
public:
    bool ErrorShown() const { return errorShown_.load(); }

protected:
    void OnMessageBoxClosed(const MessageBoxRecord& record) override
    {
        if (record.request.caption == rg_quarn_app::texts::kErrorCaption)
            errorShown_.store(true);
        std::fprintf(stderr, "%s%s%s\n", Utf16ToUtf8(record.request.caption).c_str(),
                     record.request.caption.empty() ? "" : " ", Utf16ToUtf8(record.request.text).c_str());
    }

private:
    std::atomic<bool> errorShown_{false};
};

std::shared_ptr<BatchDialogs> g_dialogs;
bool g_progressShown = false;

void ShowProgress(const rg_quarn_app::rg_my_main_window& window)
{
    const std::string status = Utf16ToUtf8(window.BiaoQian3.GetControlText().View());
    std::fprintf(stderr, "\r\033[K%lld rows  %s", static_cast<long long>(window.BiaoGe2.GetRowCount() - 1),
                 status.c_str());
    g_progressShown = true;
}

void Report(const tabrix_batch::BatchReport& report)
{
    if (g_progressShown)
        std::fprintf(stderr, "\r\033[K");
    switch (report.outcome) {
    case tabrix_batch::BatchOutcome::Written:
        std::printf("%s: %lld rows, %lld sheet%s\n", Utf16ToUtf8(report.workbook).c_str(),
                    static_cast<long long>(report.rows), static_cast<long long>(report.sheets),
                    report.sheets == 1 ? "" : "s");
        ExitProcess(0);
    case tabrix_batch::BatchOutcome::NothingImported:
        std::fprintf(stderr, "tabrix-batch: no snapshot was imported; no workbook was written\n");
        ExitProcess(1);
    case tabrix_batch::BatchOutcome::SaveFailed:
        std::fprintf(stderr, "tabrix-batch: the workbook could not be written\n");
        ExitProcess(1);
    }
    ExitProcess(1);
}

class BatchApp final : public CQrnMFCApp {
public:
    BatchApp() : CQrnMFCApp(&rg_quarn_app::rg_startup_class::StaticClassInfo) {}

    BOOL InitInstance() override
    {
        if (!CQrnMFCApp::InitInstance())
            return FALSE;
        auto* program = static_cast<rg_quarn_app::rg_startup_class*>(currentUserApp);
        const bool terminal = isatty(STDERR_FILENO) != 0;
        driver_ = std::make_unique<tabrix_batch::BatchDriver>(
            program->mainWindow, [] { return g_dialogs->ErrorShown(); }, &Report,
            terminal ? tabrix_batch::BatchDriver::Progress(&ShowProgress) : nullptr);
        driver_->Start();
        return TRUE;
    }

private:
    std::unique_ptr<tabrix_batch::BatchDriver> driver_;
};

// Arguments are file-system bytes, not necessarily UTF-8: a camera may name its folder in another
// encoding. They are decoded the way the directory search decodes names, losslessly, so such a
// folder is still found and a workbook path still names the file the user typed.
std::u16string AbsolutePath(const char* path)
{
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (error)
        absolute = path;
    return DecodeFileName(absolute.lexically_normal().string());
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (argc != 3 || argv[1][0] == '\0' || argv[2][0] == '\0') {
        std::fputs(kUsage, stderr);
        return 2;
    }
    g_dialogs = std::make_shared<BatchDialogs>();
    g_dialogs->QueueFolder(AbsolutePath(argv[1]));
    g_dialogs->QueueSaveFile(AbsolutePath(argv[2]));
    SetDialogService(g_dialogs);
    static BatchApp app;
    return QrnMain();
}
