// In-place editing of the grid component: asking the host, opening the editor that fits the
// column, committing its text and the check-box toggle that runs through the same steps.
#include "grid/CGridCtrl.h"

#include "grid/CInPlaceEdit.h"
#include "grid/GridConversions.h"
#include "grid/GridTableAdapter.h"
#include "platform/window/Focus.h"
#include "platform/window/Window.h"

bool CGridCtrl::IsEditing() const { return editor_ != nullptr; }
HWND CGridCtrl::GetEditWindow() const { return editor_ ? editor_->GetSafeHwnd() : nullptr; }

bool CGridCtrl::EditCell(int row, int col, char16_t firstChar)
{
    if (editor_ || endingEdit_)
        return false;
    if (GetColumnType(col) == GridColumnType::CheckBox)
        return false;
    return StartEditing(row, col, firstChar);
}

// Step 1 of every edit: the grid must be editable, the cell editable, and the host must agree
// (its window may be gone afterwards).
static bool MayEdit(const GridModel& model, int row, int col)
{
    return model.editable && model.store.IsValid(row, col) && !model.IsFixed(row, col)
        && !(model.store.State(row, col) & GVIS_READONLY);
}

bool CGridCtrl::StartEditing(int row, int col, char16_t firstChar)
{
    HWND hwnd = GetSafeHwnd();
    {
        Guard guard(lock_);
        if (!hwnd || !MayEdit(model_, row, col))
            return false;
    }
    if (!OnBeforeEdit(row, col) || !IsWindow(hwnd) || GetSafeHwnd() != hwnd)
        return false;
    EnsureVisible(row, col);
    RECT rect{};
    std::u16string text;
    CInPlaceEdit::Look look;
    std::vector<std::u16string> items;
    {
        Guard guard(lock_);
        if (!MayEdit(model_, row, col))
            return false;
        model_.CellRect(row, col, rect);
        text = firstChar ? std::u16string(1, firstChar) : std::u16string(model_.store.Text(row, col));
        look = CInPlaceEdit::Look{model_.CellTextColour(row, col), model_.CellBackColour(row, col), font_};
        if (model_.ColumnType(col) == GridColumnType::List) {
            auto it = model_.listItems.find(col);
            if (it != model_.listItems.end())
                items = it->second;
        }
    }
    OnEditStarted(row, col);
    if (GetSafeHwnd() != hwnd)
        return false;
    CInPlaceEdit* editor = CInPlaceEdit::Open(hwnd, rect, text, look, std::move(items));
    if (!editor)
        return false;
    editor_ = editor;
    {
        Guard guard(lock_);
        editCell_ = CCellID{row, col};
        ++model_.revision;
        marked_.store(true, std::memory_order_relaxed);
    }
    RequestRepaint();
    return true;
}

void CGridCtrl::EndEditing(EditEnd how)
{
    if (editor_)
        OnEditDone(how == EditEnd::Cancel ? VK_ESCAPE : VK_RETURN);
}

void CGridCtrl::OnEditDone(WPARAM key)
{
    if (!editor_ || endingEdit_)
        return;
    endingEdit_ = true;
    CInPlaceEdit* editor = editor_;
    HWND editHwnd = editor->GetSafeHwnd();
    std::u16string text(static_cast<size_t>(GetWindowTextLengthW(editHwnd)) + 1, u'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(editHwnd, text.data(), static_cast<int>(text.size()))));
    const bool listChoice = editor->IsList() && editor->GetChosenItem() >= 0;
    CCellID cell;
    bool commit = key != VK_ESCAPE;
    {
        Guard guard(lock_);
        cell = editCell_;
        const GridColumnType type = model_.ColumnType(cell.col);
        if (commit && (type == GridColumnType::Integer || type == GridColumnType::Number))
            commit = GridTextReadsAsNumber(text);
        if (commit && type == GridColumnType::Date) {
            // The date picker writes "yyyy-MM-dd"; a text that reads as no date leaves the cell alone.
            const auto date = GridDateCellText(text);
            commit = date.has_value();
            if (commit)
                text = *date;
        }
        if (commit && model_.store.Text(cell.row, cell.col) != text) {
            model_.store.SetText(cell.row, cell.col, text);
            model_.store.SetState(cell.row, cell.col, model_.store.State(cell.row, cell.col) | GVIS_MODIFIED);
        }
        editCell_ = CCellID{};
        MarkCellLocked(cell.row, cell.col);
    }
    HWND grid = GetSafeHwnd();
    const bool hadFocus = GetFocus() == editHwnd;
    editor_ = nullptr;
    DestroyWindow(editHwnd);
    if (grid && hadFocus)
        SetFocus(grid);
    endingEdit_ = false;
    RequestRepaint();
    if (commit && listChoice)
        OnCellListSelected(cell.row, cell.col, text);
    OnEditEnded(cell.row, cell.col);
    if (key == VK_TAB && GetSafeHwnd())
        MoveFocus(CCellID{cell.row, cell.col + 1});
}

bool CGridCtrl::ToggleCheck(int row, int col)
{
    HWND hwnd = GetSafeHwnd();
    {
        Guard guard(lock_);
        if (!hwnd || !MayEdit(model_, row, col) || model_.ColumnType(col) != GridColumnType::CheckBox)
            return false;
    }
    if (!OnBeforeEdit(row, col) || !IsWindow(hwnd) || GetSafeHwnd() != hwnd)
        return false;
    OnEditStarted(row, col);
    {
        Guard guard(lock_);
        const uint16_t state = model_.store.State(row, col);
        model_.store.SetState(row, col, static_cast<uint16_t>((state ^ GridCellStore::kChecked) | GVIS_MODIFIED));
        MarkCellLocked(row, col);
    }
    RequestRepaint();
    OnEditEnded(row, col);
    return true;
}

// Desktop presenter ---------------------------------------------------------------------------

void CGridCtrl::RegisterTableSource(HWND hwnd)
{
    table_ = std::make_shared<GridTableAdapter>(this);
    ::RegisterTableSource(hwnd, table_);
}

void CGridCtrl::UnregisterTableSource()
{
    std::shared_ptr<GridTableAdapter> table = std::move(table_);
    if (!table)
        return;
    ::UnregisterTableSource(GetSafeHwnd(), table.get());
    table->Detach();
}

// Each text runs through the in-place editor: opened, given the text and committed, so the host
// hears BeforeEdit, EditStarted and EditEnded, and may refuse, exactly as for a typed edit. A
// running edit is left alone and the desktop's text dropped.
void CGridCtrl::ApplyDesktopCommits()
{
    if (!table_)
        return;
    for (GridTableAdapter::Commit& commit : table_->TakeCommits()) {
        if (!GetSafeHwnd() || !EditCell(commit.row, commit.col))
            continue;
        if (HWND edit = GetEditWindow())
            SetWindowTextW(edit, commit.text.c_str());
        EndEditing(EditEnd::Commit);
    }
}
