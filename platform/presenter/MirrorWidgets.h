#pragma once
// The widgets that stand for core windows without a matching Qt control: the top-level window
// (closing it asks the core window to close instead of closing the widget) and the painted
// stand-in for self-drawn classes (labels, layouters, a message box's text and icon), which shows the
// window's text and border until those classes paint through the drawing layer.
// Thread safety: Qt widgets, the main thread only.
#include <QIcon>
#include <QString>
#include <QWidget>

#include <functional>

struct WindowSnapshot;

class TopLevelWindow final : public QWidget {
public:
    explicit TopLevelWindow(std::function<void()> closeRequested);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    std::function<void()> closeRequested_;
};

class PaintedWindow final : public QWidget {
public:
    explicit PaintedWindow(QWidget* parent);
    void SetText(const QString& text);
    void SetBorder(bool border);
    // Where the text sits; wrapped words either way.
    void SetAlignment(Qt::Alignment alignment);
    // A picture drawn centred instead of the text (a message box's icon).
    void SetIcon(const QIcon& icon);
    const QString& Text() const { return text_; }
    bool HasIcon() const { return !icon_.isNull(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
    bool border_ = false;
    Qt::Alignment alignment_ = Qt::AlignLeft | Qt::AlignVCenter;
    QIcon icon_;
};

// What a self-drawn class shows of its window: its text for the classes whose text is what they
// show (for the others, containers, the grid, the toolbar, it is a name the user never sees), a
// message box's wrapped text and icon, and the border.
void ShowPaintedState(PaintedWindow& painted, const WindowSnapshot& state);
