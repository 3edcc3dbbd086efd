#pragma once
// A Qt table model over a window's TableSource (the grid): the table's row 0 is the horizontal
// header when the table has fixed rows, its other rows are the model's rows, and its columns are
// the model's columns (fixed columns included). Texts are read from the source when a view asks,
// so only the cells on screen are ever read; Refresh compares the source's revision and turns a
// change into the cheapest signal that keeps views right (rows appended, or one dataChanged, or a
// reset), never walking the rows. Typed texts go back through CommitCellText.
// Thread safety: main thread only (a QObject); the source may be changed from any thread meanwhile.
#include "platform/window/TableSource.h"

#include <QAbstractTableModel>

#include <algorithm>
#include <memory>

class GridTableModel : public QAbstractTableModel {
public:
    explicit GridTableModel(std::shared_ptr<TableSource> source, QObject* parent = nullptr);

    // Pulls the source's shape; true when anything changed since the last call.
    bool Refresh();
    const TableShape& Shape() const { return shape_; }
    // The table's row of a model row (the header rows come first).
    int TableRow(int modelRow) const { return modelRow + headerRows_; }
    int HeaderRows() const { return headerRows_; }
    TableSource* Source() const { return source_.get(); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

private:
    static int HeaderRowsOf(const TableShape& shape) { return shape.fixedRows > 0 && shape.rows > 0 ? 1 : 0; }
    static int ModelRowsOf(const TableShape& shape) { return std::max(0, shape.rows - HeaderRowsOf(shape)); }

    std::shared_ptr<TableSource> source_;
    TableShape shape_;
    int headerRows_ = 0;
    int modelRows_ = 0;
    bool refreshed_ = false;
};
