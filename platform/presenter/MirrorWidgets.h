#pragma once
// The widgets that stand for core windows without a matching Qt control: the top-level window
// (closing it asks the core window to close instead of closing the widget) and the painted
// stand-in for self-drawn classes (labels, layouters, the grid, the toolbar), which shows the
// window's text and border until those classes paint through the drawing layer.
// Thread safety: Qt widgets, the main thread only.
#include <QString>
#include <QWidget>

#include <functional>

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
    const QString& Text() const { return text_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
    bool border_ = false;
};
