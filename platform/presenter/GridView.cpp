#include "platform/presenter/GridView.h"

#include <QHeaderView>
#include <QItemSelectionModel>

#include <algorithm>

namespace {
// Qt refuses sections of 0 pixels in a fixed header; a height the source does not know yet gets this.
constexpr int kFallbackRowHeight = 24;
}  // namespace

GridView::GridView(std::shared_ptr<TableSource> source, QWidget* parent)
    : QTableView(parent), model_(new GridTableModel(std::move(source), this))
{
    setModel(model_);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->hide();
    // The widths are the grid's: a width dragged in the view would not reach it and snap back.
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setMinimumSectionSize(0);
    horizontalHeader()->setHighlightSections(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    setWordWrap(false);
    // A cell the user makes current becomes the grid's focus cell; the focus the grid set itself
    // is not sent back.
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& current) {
        if (applyingFocus_ || !current.isValid())
            return;
        const int row = current.row() + model_->HeaderRows();
        if (TableSource* source = model_->Source(); source && source->MoveFocus(row, current.column())) {
            appliedFocusRow_ = row;
            appliedFocusCol_ = current.column();
        }
    });
    // A reset clears the selection: the focus row is selected again on the next refresh.
    connect(model_, &QAbstractItemModel::modelReset, this, [this] { appliedFocusRow_ = -2; });
    ApplyShape(model_->Shape());
    ApplyFocus(model_->Shape());
}

void GridView::Refresh()
{
    if (!model_->Refresh())
        return;
    ApplyShape(model_->Shape());
    ApplyFocus(model_->Shape());
}

void GridView::ApplyShape(const TableShape& shape)
{
    const int height = shape.rowHeight > 0 ? shape.rowHeight : kFallbackRowHeight;
    if (verticalHeader()->defaultSectionSize() != height)
        verticalHeader()->setDefaultSectionSize(height);
    if (shape.fixedRows > 0)
        horizontalHeader()->setFixedHeight(height);
    horizontalHeader()->setVisible(model_->HeaderRows() > 0);
    // Qt draws both kinds of lines or none: a grid with only one kind still gets its lines.
    setShowGrid(shape.horizontalLines || shape.verticalLines);
    // A reset forgets the sections' sizes, so the widths are applied whenever the model changed.
    TableSource* source = model_->Source();
    for (int col = 0; col < shape.cols; ++col) {
        const int width = source ? std::max(source->ColumnWidth(col), 0) : 0;
        if (horizontalHeader()->sectionSize(col) != width)
            horizontalHeader()->resizeSection(col, width);
    }
}

// The grid's focus moves the view only when the grid moved it, so the user's own scrolling and
// clicking in the view are not undone by every refresh.
void GridView::ApplyFocus(const TableShape& shape)
{
    if (shape.focusRow == appliedFocusRow_ && shape.focusCol == appliedFocusCol_)
        return;
    appliedFocusRow_ = shape.focusRow;
    appliedFocusCol_ = shape.focusCol;
    const QModelIndex cell = model_->index(shape.focusRow - model_->HeaderRows(), std::max(shape.focusCol, 0));
    if (!cell.isValid()) {
        selectionModel()->clear();
        return;
    }
    applyingFocus_ = true;
    selectionModel()->setCurrentIndex(cell, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    applyingFocus_ = false;
}
