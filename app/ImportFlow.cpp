// The import: the user picks a directory, the worker of DaoRuShiZhong lists every snapshot in it and
// below it and folds each into the grid while the status line counts the files down, the progress
// bar moves and the one-second clock counts seconds on the window thread.
#include "app/RecordFolding.h"
#include "app/rg_my_main_window.h"

#include "platform/window/Paint.h"
#include "runtime/NumberText.h"
#include "runtime/TextArrays.h"
#include "work/CountdownMessageBox.h"
#include "work/FindFiles.h"
#include "work/StandardDialogs.h"

namespace rg_quarn_app {

namespace {

// The grid as folding sees it: rows appended at the end, the new row made the current one.
class GridForFolding final : public FoldingGrid {
public:
    explicit GridForFolding(rg_quarn_MFCJieMian_BiaoGe::rg_BiaoGe& grid) : grid_(grid) {}

    CWString CellText(int32_t row, int32_t col) const override { return grid_.GetCellText(row, col); }
    void SetCellText(int32_t row, int32_t col, const CWString& text) override { grid_.SetCellText(row, col, text); }
    int32_t AppendRow() override { return grid_.AddRow(CWString()); }
    void MakeCurrentRow(int32_t row) override
    {
        if (!grid_.NativeExists() || row < 0 || grid_.GetColumnCount() < 1)
            return;
        grid_.EnsureVisible(row, 0);
        grid_.SetFocusCell(row, 0);
    }

private:
    rg_quarn_MFCJieMian_BiaoGe::rg_BiaoGe& grid_;
};

// The progress bar's largest position.
constexpr int64_t kProgressLimit = 0x7FFF;

CWString CountText(const char16_t* prefix, int64_t count)
{
    CWString text(prefix);
    text.Append(Int64ToText(count));
    text.Append(texts::kFilesUnit);
    return text;
}

}  // namespace

void rg_my_main_window::EnableAfterWork()
{
    AnNiu2.SetEnabled(true);
    AnNiu1.SetEnabled(true);
    BiaoGe2.SetEnabled(true);
}

void rg_my_main_window::StartImport()
{
    AnNiu1.SetEnabled(false);
    AnNiu2.SetEnabled(false);
    BiaoGe2.SetEnabled(false);
    BianJiKuang1.SetControlText(rg_quarn_Tolvar::BrowseForFolder(CWString(texts::kPickerStart)));
    if (!BianJiKuang1.GetControlText().IsEmpty())
        DaoRuShiZhong.StartClock(10);
    else
        EnableAfterWork();
}

void rg_my_main_window::RunImport()
{
    ShiZhong1.SetInterval(1000);
    ImportDirectory();
    DaoRuShiZhong.StopClock();
    EnableAfterWork();
    BiaoQian3.SetVisible(false);
    ShiZhong1.SetInterval(0);
}

void rg_my_main_window::ImportDirectory()
{
    BiaoGe2.ClearCells(BiaoGe2.GetRowCount() - 1, BiaoGe2.GetColumnCount() - 1);
    WriteHeaderRow();
    BiaoQian3.SetControlText(CWString(texts::kListing));
    BiaoQian3.SetVisible(true);

    rg_quarn_base::rg_WenBenShuZuLei files;
    rg_quarn_base::rg_WenBenShuZuLei directories;
    const CWString directory = BianJiKuang1.GetControlText();
    const int64_t count = rg_quarn_Tolvar::FindFiles(directory, CWString(texts::kFilePattern), files, directories);
    if (count <= 0) {
        rg_quarn_Tolvar::CountdownMessageBox(CWString(texts::kEmptyDirectory), CWString(texts::kErrorCaption));
        AnNiu1.SetEnabled(true);
        return;
    }

    BiaoQian3.SetVisible(true);
    BiaoQian3.SetControlText(CountText(texts::kBeforeFirstFile, count));
    JinDuTiao1.SetMaximum(count);
    GridForFolding grid(BiaoGe2);
    RecordFolder folder(grid);
    for (int64_t i = 0; i < count; ++i) {
        BiaoQian3.SetControlText(CountText(texts::kBeforeEachFile, count - i));
        // The bar stops at its limit; past it a further position would change nothing, and each
        // call waits for the window thread.
        if (i <= kProgressLimit)
            JinDuTiao1.SetPosition(i);
        folder.ApplyRecord(CWString(files.GetAt(i)));
    }
    BiaoGe2.CentreCells(BiaoGe2.GetRowCount() - 1, BiaoGe2.GetColumnCount() - 1);
    if (HWND grid = BiaoGe2.GetSafeHwnd())
        UpdateWindow(grid);
    AnNiu2.SetEnabled(true);
    AnNiu1.SetEnabled(true);
}

}  // namespace rg_quarn_app
