#include "platform/presenter/MirrorWidgets.h"

#include "platform/controls/ControlClasses.h"
#include "platform/dialogs/HeadlessMessageBox.h"
#include "platform/presenter/WindowSnapshot.h"
#include "platform/window/WinStyles.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPainter>
#include <QStyle>

namespace {

QString ToQString(const std::u16string& text) { return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())); }

bool ShowsItsText(const std::u16string& className) { return className == WC_STATICW || className == u"QrnLabel"; }

// The desktop's picture for a message box icon named by its window text.
QIcon MessageIcon(const std::u16string& name)
{
    QStyle* style = QApplication::style();
    if (name == u"error")
        return style->standardIcon(QStyle::SP_MessageBoxCritical);
    if (name == u"question")
        return style->standardIcon(QStyle::SP_MessageBoxQuestion);
    if (name == u"warning")
        return style->standardIcon(QStyle::SP_MessageBoxWarning);
    if (name == u"information")
        return style->standardIcon(QStyle::SP_MessageBoxInformation);
    return QIcon();
}

}  // namespace

void ShowPaintedState(PaintedWindow& painted, const WindowSnapshot& state)
{
    painted.SetBorder((state.style & WS_BORDER) || (state.exStyle & WS_EX_CLIENTEDGE));
    if (state.className == kMessageIconClass) {
        painted.SetIcon(MessageIcon(state.text));
        return;
    }
    if (state.className == kMessageTextClass) {
        painted.SetAlignment(Qt::AlignLeft | Qt::AlignTop);
        painted.SetText(ToQString(state.text));
        return;
    }
    painted.SetText(ShowsItsText(state.className) ? ToQString(state.text) : QString());
}

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

void PaintedWindow::SetAlignment(Qt::Alignment alignment)
{
    if (alignment == alignment_)
        return;
    alignment_ = alignment;
    update();
}

void PaintedWindow::SetIcon(const QIcon& icon)
{
    icon_ = icon;
    update();
}

void PaintedWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!icon_.isNull()) {
        icon_.paint(&painter, rect());
        return;
    }
    if (border_) {
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    if (!text_.isEmpty()) {
        painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
        painter.drawText(rect().adjusted(2, 0, -2, 0), alignment_ | Qt::TextWordWrap, text_);
    }
}
