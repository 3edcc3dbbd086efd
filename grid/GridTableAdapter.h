#pragma once
// The grid's face towards a desktop presenter: a TableSource over the grid component's locked
// getters, registered under the grid's window while the window lives. Typed texts come back as
// commits that the grid window's thread runs through its own in-place editor, so an edit from the
// desktop raises the same edit events as one typed into the window.
// Thread safety: the TableSource calls from any thread; Detach from any thread but never with the
// grid's model lock held (it waits for calls in flight); TakeCommits on the grid window's thread.
#include "platform/window/TableSource.h"

#include <mutex>
#include <shared_mutex>
#include <string>
#include <vector>

class CGridCtrl;

class GridTableAdapter final : public TableSource {
public:
    struct Commit {
        int row = -1;
        int col = -1;
        std::u16string text;
    };

    // Commits beyond this many, waiting for the window thread, are refused.
    static constexpr size_t kMaxWaitingCommits = 4096;

    explicit GridTableAdapter(CGridCtrl* grid) : grid_(grid) {}

    // From now on every answer is empty and commits are dropped.
    void Detach();
    std::vector<Commit> TakeCommits();

    TableShape Shape() const override;
    std::u16string CellText(int row, int col) const override;
    TableCellAlign CellAlignment(int row, int col) const override;
    int ColumnWidth(int col) const override;
    bool CommitCellText(int row, int col, std::u16string text) override;
    bool MoveFocus(int row, int col) override;

private:
    // Held shared by every call into the grid, exclusively by Detach.
    mutable std::shared_mutex gridLock_;
    CGridCtrl* grid_;
    std::mutex commitsLock_;
    std::vector<Commit> commits_;
};
