#include "platform/presenter/GridTableModel.h"

#include <QString>

namespace {

QString ToQString(const std::u16string& text) { return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())); }

Qt::Alignment ToQtAlignment(TableCellAlign align)
{
    switch (align) {
    case TableCellAlign::Centre:
        return Qt::AlignCenter;
    case TableCellAlign::Right:
        return Qt::AlignRight | Qt::AlignVCenter;
    case TableCellAlign::Left:
        break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

}  // namespace

GridTableModel::GridTableModel(std::shared_ptr<TableSource> source, QObject* parent)
    : QAbstractTableModel(parent), source_(std::move(source))
{
    Refresh();
}

bool GridTableModel::Refresh()
{
    const TableShape next = source_ ? source_->Shape() : TableShape{};
    if (refreshed_ && next.revision == shape_.revision && next.rows == shape_.rows && next.cols == shape_.cols)
        return false;
    refreshed_ = true;
    const int nextHeaderRows = HeaderRowsOf(next);
    const int nextRows = ModelRowsOf(next);
    const bool sameFrame = next.cols == shape_.cols && nextHeaderRows == headerRows_;
    if (!sameFrame || nextRows < modelRows_) {
        // Columns or the header changed, or rows went: views start over (they only ever read the
        // cells they show, so this costs the same for a million rows as for ten).
        beginResetModel();
        shape_ = next;
        headerRows_ = nextHeaderRows;
        modelRows_ = nextRows;
        endResetModel();
        return true;
    }
    const int oldRows = modelRows_;
    if (nextRows > oldRows) {
        beginInsertRows(QModelIndex(), oldRows, nextRows - 1);
        shape_ = next;
        modelRows_ = nextRows;
        endInsertRows();
    }
    shape_ = next;
    // Any cell may have changed: one signal over the rows that were there, views repaint what they show.
    if (oldRows > 0 && shape_.cols > 0)
        Q_EMIT dataChanged(index(0, 0), index(oldRows - 1, shape_.cols - 1));
    if (shape_.cols > 0)
        Q_EMIT headerDataChanged(Qt::Horizontal, 0, shape_.cols - 1);
    return true;
}

int GridTableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : modelRows_; }

int GridTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : shape_.cols; }

QVariant GridTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.model() != this || index.row() >= modelRows_ || index.column() >= shape_.cols || !source_)
        return QVariant();
    const int row = TableRow(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return ToQString(source_->CellText(row, index.column()));
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(ToQtAlignment(source_->CellAlignment(row, index.column())));
    default:
        return QVariant();
    }
}

QVariant GridTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= shape_.cols || !source_)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (headerRows_ == 0)
        return role == Qt::DisplayRole ? QVariant(QString()) : QVariant();
    switch (role) {
    case Qt::DisplayRole:
        return ToQString(source_->CellText(0, section));
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(ToQtAlignment(source_->CellAlignment(0, section)));
    default:
        return QVariant();
    }
}

Qt::ItemFlags GridTableModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && shape_.editable && index.column() >= shape_.fixedCols && TableRow(index.row()) >= shape_.fixedRows)
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool GridTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable) || !source_)
        return false;
    // The cell changes when the grid has taken the text; the next refresh shows it.
    return source_->CommitCellText(TableRow(index.row()), index.column(), value.toString().toStdU16String());
}
