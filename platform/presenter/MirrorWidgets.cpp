#include "platform/presenter/MirrorWidgets.h"

#include <QCloseEvent>
#include <QPainter>

TopLevelWindow::TopLevelWindow(std::function<void()> closeRequested)
    : QWidget(nullptr), closeRequested_(std::move(closeRequested))
{
}

void TopLevelWindow::closeEvent(QCloseEvent* event)
{
    // The core decides: its window closes (and the widget with it) when it handles WM_CLOSE so.
    event->ignore();
    if (closeRequested_)
        closeRequested_();
}

PaintedWindow::PaintedWindow(QWidget* parent) : QWidget(parent) {}

void PaintedWindow::SetText(const QString& text)
{
    if (text == text_)
        return;
    text_ = text;
    update();
}

void PaintedWindow::SetBorder(bool border)
{
    if (border == border_)
        return;
    border_ = border;
    update();
}

void PaintedWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (border_) {
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    if (!text_.isEmpty()) {
        painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
        painter.drawText(rect().adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, text_);
    }
}
