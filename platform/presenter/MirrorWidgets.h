#pragma once
// The widgets that stand for core windows without a matching Qt control: the top-level window
// (closing it asks the core window to close instead of closing the widget) and the painted
// stand-in for self-drawn classes (labels, layouters, a message box's text and icon), which shows the
// window's text and border until those classes paint through the drawing layer.
// Thread safety: Qt widgets, the main thread only.
#include <QColor>
#include <QIcon>
#include <QString>
#include <QWidget>

#include <functional>

struct WindowSnapshot;

class TopLevelWindow final : public QWidget {
public:
    // resized: the user gave the window a new client size (never called for sizes set by SetClientSize).
    TopLevelWindow(std::function<void()> closeRequested, std::function<void(QSize)> resized);
    // Places the window as the core has it; a window without a sizing frame keeps that size.
    void SetClientGeometry(const QRect& client, bool sizable);

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    std::function<void()> closeRequested_;
    std::function<void(QSize)> resized_;
    QSize coreSize_;
};

// How a painted window draws its text (in the widget's font) and its background.
struct PaintedLook {
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    bool wordWrap = true;  // false: one line, line breaks shown as spaces
    int margin = 2;        // pixels kept free left and right of the text
    QColor text;           // invalid: the palette's window text
    QColor background;     // invalid: none, what lies under the window shows through
    bool operator==(const PaintedLook&) const = default;
};

class PaintedWindow final : public QWidget {
public:
    explicit PaintedWindow(QWidget* parent);
    void SetText(const QString& text);
    void SetBorder(bool border);
    void SetLook(const PaintedLook& look);
    // A picture drawn centred instead of the text (a message box's icon).
    void SetIcon(const QIcon& icon);
    const QString& Text() const { return text_; }
    const PaintedLook& Look() const { return look_; }
    bool HasIcon() const { return !icon_.isNull(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
    bool border_ = false;
    PaintedLook look_;
    QIcon icon_;
};

// What a self-drawn class shows of its window: its text for the classes whose text is what they
// show (for the others, containers, the grid, the toolbar, it is a name the user never sees), a
// message box's wrapped text and icon, the border, and for a label the alignment, wrapping and
// colours it paints with.
void ShowPaintedState(PaintedWindow& painted, const WindowSnapshot& state);
