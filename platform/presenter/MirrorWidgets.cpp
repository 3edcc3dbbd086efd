#include "platform/presenter/MirrorWidgets.h"

#include "platform/controls/ControlClasses.h"
#include "platform/dialogs/HeadlessMessageBox.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/presenter/WindowSnapshot.h"
#include "platform/window/WinStyles.h"

#include <QApplication>
#include <QCloseEvent>
#include <QResizeEvent>
#include <QPainter>
#include <QStyle>

namespace {

QString ToQString(const std::u16string& text) { return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())); }

bool ShowsItsText(const std::u16string& className) { return className == WC_STATICW || className == kLabelClassName; }

QColor ColourOf(COLORREF colour)
{
    if (colour == CLR_INVALID)
        return QColor();
    return QColor(GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

// The core's text layout: vertical placement applies to single lines only; wrapped text starts at
// the top.
Qt::Alignment AlignmentOf(UINT format)
{
    const Qt::Alignment horizontal = (format & DT_CENTER) ? Qt::AlignHCenter
                                     : (format & DT_RIGHT) ? Qt::AlignRight
                                                           : Qt::AlignLeft;
    Qt::Alignment vertical = Qt::AlignTop;
    if (format & DT_SINGLELINE)
        vertical = (format & DT_VCENTER) ? Qt::AlignVCenter : (format & DT_BOTTOM) ? Qt::AlignBottom : Qt::AlignTop;
    return horizontal | vertical;
}

PaintedLook LookOf(const TextLookSnapshot& core)
{
    PaintedLook look;
    look.alignment = AlignmentOf(core.format);
    look.wordWrap = (core.format & DT_WORDBREAK) && !(core.format & DT_SINGLELINE);
    look.margin = 0;
    look.text = ColourOf(core.text);
    look.background = core.transparent ? QColor() : ColourOf(core.back);
    return look;
}

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
        PaintedLook look;
        look.alignment = Qt::AlignLeft | Qt::AlignTop;
        painted.SetLook(look);
        painted.SetText(ToQString(state.text));
        return;
    }
    if (state.look.known)
        painted.SetLook(LookOf(state.look));
    painted.SetText(ShowsItsText(state.className) ? ToQString(state.text) : QString());
}

TopLevelWindow::TopLevelWindow(std::function<void()> closeRequested, std::function<void(QSize)> resized)
    : QWidget(nullptr), closeRequested_(std::move(closeRequested)), resized_(std::move(resized))
{
}

void TopLevelWindow::SetClientGeometry(const QRect& client, bool sizable)
{
    coreSize_ = client.size();
    if (sizable) {
        setMinimumSize(1, 1);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    } else {
        setFixedSize(client.size());
    }
    setGeometry(client);
}

void TopLevelWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // Sizes the core set come back here too; only the user's own go to the core.
    if (event->size() != coreSize_ && resized_)
        resized_(event->size());
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

void PaintedWindow::SetLook(const PaintedLook& look)
{
    if (look == look_)
        return;
    look_ = look;
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
    if (look_.background.isValid())
        painter.fillRect(rect(), look_.background);
    if (border_) {
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    if (!text_.isEmpty()) {
        const QColor pen = look_.text.isValid()
                               ? look_.text
                               : palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText);
        painter.setPen(pen);
        const int lines = look_.wordWrap ? Qt::TextWordWrap : Qt::TextSingleLine;
        painter.drawText(rect().adjusted(look_.margin, 0, -look_.margin, 0), look_.alignment | lines, text_);
    }
}
