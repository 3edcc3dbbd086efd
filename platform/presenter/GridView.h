#pragma once
// The desktop face of a window with a TableSource (the grid): a QTableView over a GridTableModel.
// Rows all have the source's one height (a fixed vertical header, no per-row sizing), so the view
// only ever lays out and reads the rows on screen and a million rows scroll like ten. Columns take
// the source's widths, the grid lines follow the source, the focus cell's row is the current and
// selected row, and editing is open while the source is editable (texts go back as commits).
// Thread safety: main thread only.
#include "platform/presenter/GridTableModel.h"

#include <QTableView>

#include <memory>

class GridView : public QTableView {
public:
    GridView(std::shared_ptr<TableSource> source, QWidget* parent);

    // Pulls the source; cheap when its revision did not move.
    void Refresh();
    GridTableModel* TableModel() const { return model_; }

private:
    void ApplyShape(const TableShape& shape);
    void ApplyFocus(const TableShape& shape);

    GridTableModel* model_;
    int appliedFocusRow_ = -2;
    int appliedFocusCol_ = -2;
    bool applyingFocus_ = false;
};
