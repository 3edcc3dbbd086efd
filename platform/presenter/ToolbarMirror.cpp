#include "platform/presenter/ToolbarMirror.h"

#include "platform/controls/ToolbarControl.h"
#include "platform/controls/TooltipControl.h"
#include "platform/gdi/ImageList.h"
#include "platform/presenter/CoreInput.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/WinStyles.h"
#include "platform/window/Window.h"

#include <QFrame>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QToolButton>

#include <algorithm>
#include <cstring>

namespace {

QString ToQString(const std::u16string& text) { return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())); }

QRect ToQRect(const RECT& r) { return QRect(r.left, r.top, std::max<LONG>(0, r.right - r.left), std::max<LONG>(0, r.bottom - r.top)); }

// The pixels are 0xAARRGGBB values with straight alpha, which is QImage's ARGB32 layout.
QPixmap PictureOf(HIMAGELIST list, int index)
{
    PixelBitmap picture;
    if (!list || index < 0 || !ImageList_GetImagePixels(list, index, &picture) || picture.Empty() || !picture.Valid())
        return QPixmap();
    QImage image(picture.width, picture.height, QImage::Format_ARGB32);
    for (int y = 0; y < picture.height; ++y)
        std::memcpy(image.scanLine(y), &picture.pixels[static_cast<size_t>(y) * picture.width],
                    static_cast<size_t>(picture.width) * sizeof(uint32_t));
    return QPixmap::fromImage(image);
}

QIcon IconOf(const ToolbarSnapshot& snapshot, int image)
{
    QIcon icon;
    const QPixmap normal = PictureOf(snapshot.images, image);
    if (normal.isNull())
        return icon;
    icon.addPixmap(normal, QIcon::Normal);
    if (const QPixmap hot = PictureOf(snapshot.hotImages, image); !hot.isNull())
        icon.addPixmap(hot, QIcon::Active);
    // Without a disabled list Qt greys the normal picture itself.
    if (const QPixmap disabled = PictureOf(snapshot.disabledImages, image); !disabled.isNull())
        icon.addPixmap(disabled, QIcon::Disabled);
    return icon;
}

bool OwnedByThisThread(HWND hwnd) { return GetWindowThreadProcessId(hwnd, nullptr) == GetCurrentThreadId(); }

// What the toolbar's tooltip shows for a button: the tooltip asks the notification window.
QString TooltipText(HWND toolbar, HWND tooltip, int command)
{
    if (!tooltip || !OwnedByThisThread(toolbar) || !IsWindow(tooltip))
        return QString();
    WCHAR buffer[80] = {};
    TOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.hwnd = toolbar;
    info.uId = static_cast<UINT_PTR>(command);
    info.lpszText = buffer;
    SendMessageW(tooltip, TTM_GETTEXTW, std::size(buffer), reinterpret_cast<LPARAM>(&info));
    return QString::fromUtf16(buffer);
}

Qt::ToolButtonStyle ButtonStyle(bool hasIcon, bool hasText, bool textBeside)
{
    if (!hasText)
        return Qt::ToolButtonIconOnly;
    if (!hasIcon)
        return Qt::ToolButtonTextOnly;
    return textBeside ? Qt::ToolButtonTextBesideIcon : Qt::ToolButtonTextUnderIcon;
}

}  // namespace

ToolbarMirror::ToolbarMirror(HWND toolbar, QWidget* parent) : QWidget(parent), toolbar_(toolbar) {}

void ToolbarMirror::Resize(size_t count)
{
    while (items_.size() > count) {
        // Later, not now: a click handler further up the stack may belong to this button.
        items_.back().button->hide();
        items_.back().button->deleteLater();
        items_.back().separator->deleteLater();
        items_.pop_back();
    }
    while (items_.size() < count) {
        const int index = static_cast<int>(items_.size());
        Item item;
        item.button = new QToolButton(this);
        item.button->setObjectName(QStringLiteral("toolbar-button-%1").arg(index));
        item.button->setAutoRaise(true);
        QObject::connect(item.button, &QToolButton::clicked, item.button, [this, index] { ClickButton(index); });
        item.separator = new QFrame(this);
        item.separator->setFrameShape(QFrame::VLine);
        item.separator->setFrameShadow(QFrame::Sunken);
        items_.push_back(item);
    }
}

void ToolbarMirror::Refresh()
{
    ToolbarSnapshot snapshot;
    if (!GetToolbarSnapshot(toolbar_, &snapshot))
        return;
    Resize(snapshot.buttons.size());
    int iconWidth = 0;
    int iconHeight = 0;
    ImageList_GetIconSize(snapshot.images, &iconWidth, &iconHeight);
    const bool textBeside = (GetWindowLongPtrW(toolbar_, GWL_STYLE) & TBSTYLE_LIST) != 0;
    for (size_t i = 0; i < snapshot.buttons.size(); ++i) {
        const ToolbarButtonView& view = snapshot.buttons[i];
        const Item& item = items_[i];
        const bool hidden = (view.state & TBSTATE_HIDDEN) || view.rect.right <= view.rect.left;
        const bool separator = (view.style & BTNS_SEP) != 0;
        item.separator->setGeometry(ToQRect(view.rect));
        item.separator->setVisible(separator && !hidden);
        item.button->setVisible(!separator && !hidden);
        if (separator || hidden)
            continue;
        QToolButton* button = item.button;
        const QIcon icon = IconOf(snapshot, view.image);
        const QString text = ToQString(view.text);
        button->setGeometry(ToQRect(view.rect));
        button->setIcon(icon);
        if (iconWidth > 0 && iconHeight > 0)
            button->setIconSize(QSize(iconWidth, iconHeight));
        button->setText(text);
        button->setToolButtonStyle(ButtonStyle(!icon.isNull(), !text.isEmpty(), textBeside));
        button->setToolTip(TooltipText(toolbar_, snapshot.tooltip, view.command));
        button->setEnabled((view.state & TBSTATE_ENABLED) != 0);
        button->setCheckable((view.style & BTNS_CHECK) != 0);
        button->setChecked((view.state & TBSTATE_CHECKED) != 0);
    }
}

QToolButton* ToolbarMirror::ButtonAt(int index) const
{
    if (index < 0 || static_cast<size_t>(index) >= items_.size())
        return nullptr;
    QToolButton* button = items_[static_cast<size_t>(index)].button;
    return button->isHidden() ? nullptr : button;
}

void ToolbarMirror::ClickButton(int index)
{
    QToolButton* button = ButtonAt(index);
    // Qt has already toggled a check button; the core decides and the next refresh shows it.
    if (button && button->isCheckable())
        button->setChecked(!button->isChecked());
    ToolbarSnapshot snapshot;
    if (!GetToolbarSnapshot(toolbar_, &snapshot) || static_cast<size_t>(index) >= snapshot.buttons.size())
        return;
    const RECT& r = snapshot.buttons[static_cast<size_t>(index)].rect;
    ClickWindowAt(toolbar_, POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}
