// The export: the user picks a workbook path in the save dialog and the worker of DaoChuShiZhong,
// which ticks until a path is there, writes the grid to it. A save that fails is reported in an
// error box, and the controls come back as after any export.
#include "app/rg_my_main_window.h"

#include "platform/dialogs/MessageBox.h"
#include "runtime/IntegerArray.h"
#include "work/StandardDialogs.h"

namespace rg_quarn_app {

namespace {

CWString SaveFailedText(const CWString& path)
{
    CWString text(texts::kSaveFailedPrefix);
    text.Append(path);
    text.Append(texts::kSaveFailedSuffix);
    return text;
}

}  // namespace

void rg_my_main_window::StartExport()
{
    AnNiu1.SetEnabled(false);
    BiaoGe2.SetEnabled(false);
    CWString fileName(texts::kSaveFileName);
    const CWString path = rg_quarn_Tolvar::ChooseSaveFile(CWString(texts::kSaveTitle), fileName,
                                                          CWString(texts::kSaveFilter),
                                                          CWString(texts::kSaveStartFolder), CWString());
    BianJiKuang2.SetControlText(path);
    DaoChuShiZhong.StartClock(5);
}

void rg_my_main_window::RunExport()
{
    const CWString chosen = BianJiKuang2.GetControlText();
    if (chosen.IsEmpty())
        return;
    CWString path(chosen);
    const rg_quarn_base::rg_ZhengShuShuZuLei noCheckColumns;
    const bool saved = BiaoGe2.ExportToWorkbook(CWString(u"Sheet1"), CWString(u"宋体"), path, noCheckColumns);
    lastExportSucceeded_.store(saved);
    DaoChuShiZhong.StopClock();
    if (!saved)
        MessageBoxW(nullptr, SaveFailedText(chosen).GetText(), texts::kErrorCaption, MB_OK | MB_ICONERROR);
    EnableAfterWork();
    BiaoQian3.SetVisible(false);
}

}  // namespace rg_quarn_app
