#pragma once
// The mirror of a "ToolbarWindow32": one QToolButton per core button at the button's rectangle,
// with its picture from the toolbar's image lists (normal, hot, disabled), its text, the tooltip
// text the core's tooltip answers, its enabled and checked states, and a line for each separator.
// The core keeps the state: a click on a tool button becomes a real click (left button down and
// up) at that button's rectangle in the toolbar window, so the toolbar raises its own
// notifications, and the checked state only follows what the core then reports.
// Tool buttons are named "toolbar-button-<index>" for tests and tools.
// Thread safety: a Qt widget, the main thread only. Refresh reads the toolbar's snapshot, which
// any thread may do; the tooltip texts are asked of the core only when the toolbar belongs to
// this thread, since the answer is written through a pointer that a timed-out send to another
// thread could outlive.
#include "platform/window/WinTypes.h"

#include <QString>
#include <QWidget>

#include <vector>

class QFrame;
class QToolButton;

class ToolbarMirror final : public QWidget {
public:
    ToolbarMirror(HWND toolbar, QWidget* parent);

    // Reads the toolbar again and updates every button.
    void Refresh();
    // The tool button of a core button index, null for a separator, a hidden button or none.
    QToolButton* ButtonAt(int index) const;
    int ButtonCount() const { return static_cast<int>(items_.size()); }

private:
    struct Item {
        QToolButton* button = nullptr;
        QFrame* separator = nullptr;
    };

    void Resize(size_t count);
    void ClickButton(int index);

    HWND toolbar_;
    std::vector<Item> items_;
};
