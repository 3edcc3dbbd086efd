#include "app/RecordFolding.h"

#include "app/PlateFileName.h"
#include "runtime/NumberText.h"
#include "runtime/OleDate.h"

namespace {
void SetCell(FoldingGrid& grid, int32_t row, GridColumn col, const CWString& text)
{
    grid.SetCellText(row, static_cast<int32_t>(col), text);
}
} // namespace

void RecordFolder::ApplyRecord(const CWString& path)
{
    VehicleRecord record = ParsePlateFileName(path);
    auto found = rowOfPlate_.find(std::u16string(record.plate.View()));
    if (found != rowOfPlate_.end())
        MoveTimeForward(found->second, record.time);
    else
        AddRowFor(path, record.plate, record.time, record.colour);
}

void RecordFolder::AddRowFor(const CWString& path, const CWString& plate, const CWString& time,
                             const CWString& colour)
{
    const int32_t row = grid_.AppendRow();
    if (row < 0)
        return;
    rowOfPlate_.emplace(std::u16string(plate.View()), row);
    SetCell(grid_, row, GridColumn::Id, IntToText(nextId_));
    SetCell(grid_, row, GridColumn::Plate, plate);
    SetCell(grid_, row, GridColumn::Time, time);
    SetCell(grid_, row, GridColumn::Colour, colour);
    SetCell(grid_, row, GridColumn::CameraIp, CameraIpOf(path));
    grid_.MakeCurrentRow(row);
    ++nextId_;
}

void RecordFolder::MoveTimeForward(int32_t row, const CWString& time)
{
    const CWString shown = grid_.CellText(row, static_cast<int32_t>(GridColumn::Time));
    const double newer = TextToDate(time.GetText(), DateForm::Chinese);
    const double older = TextToDate(shown.GetText(), DateForm::Chinese);
    if (DateDiffSeconds64(newer, older) > 0)
        SetCell(grid_, row, GridColumn::Time, time);
}
