#include "platform/presenter/DesktopPresenter.h"

#include "platform/controls/ButtonControl.h"
#include "platform/controls/ControlClasses.h"
#include "platform/controls/EditControl.h"
#include "platform/presenter/CoreInput.h"
#include "platform/presenter/DesktopFonts.h"
#include "platform/presenter/GridView.h"
#include "platform/presenter/MirrorWidgets.h"
#include "platform/presenter/ToolbarMirror.h"
#include "platform/window/TableSource.h"
#include "platform/window/WinStyles.h"
#include "platform/window/Window.h"

#include <QAbstractEventDispatcher>
#include <QGuiApplication>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

#include <algorithm>
#include <climits>

namespace {

constexpr int kFrameMs = 16;
// Deeper parent chains than this are treated as broken rather than followed.
constexpr int kMaxDepth = 64;
constexpr uint32_t kEverything = WindowChangeCreated | WindowChangeText | WindowChangeStyle | WindowChangeRect |
                                 WindowChangeInvalidated | WindowChangeClassState | WindowChangeParent |
                                 WindowChangeFont | WindowChangeFocus;

QString ToQString(const std::u16string& text) { return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())); }

int Width(const RECT& r) { return std::max<LONG>(0, r.right - r.left); }
int Height(const RECT& r) { return std::max<LONG>(0, r.bottom - r.top); }

int ClampToInt(LONG_PTR value) { return static_cast<int>(std::clamp<LONG_PTR>(value, INT_MIN, INT_MAX)); }

}  // namespace

DesktopPresenter::DesktopPresenter() : loop_([this] { ArmFrameIfPending(); })
{
    frame_.setSingleShot(true);
    frame_.setInterval(kFrameMs);
    QObject::connect(&frame_, &QTimer::timeout, [this] { PullNow(); });
}

DesktopPresenter::~DesktopPresenter()
{
    Detach();
    for (auto& [hwnd, mirror] : mirrors_)
        if (mirror.kind == Kind::TopLevel && mirror.widget)
            delete mirror.widget.data();
    mirrors_.clear();
}

void DesktopPresenter::Attach()
{
    if (attached_)
        return;
    if (QScreen* screen = QGuiApplication::primaryScreen())
        SetDesktopSize(screen->geometry().width(), screen->geometry().height());
    loop_.Install();
    // Nested Qt loops (a native dialog's) do not pass the core's wait: they still arm the frame
    // each time the dispatcher is about to sleep or has woken.
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance()) {
        QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, &frame_, [this] { ArmFrameIfPending(); });
        QObject::connect(dispatcher, &QAbstractEventDispatcher::awake, &frame_, [this] { ArmFrameIfPending(); });
    }
    SetWindowChangeWake(&OnWindowsChanged, this);
    attached_ = true;
    MarkExistingWindows(GetTopWindow(nullptr));
}

void DesktopPresenter::Detach()
{
    if (!attached_)
        return;
    SetWindowChangeWake(nullptr, nullptr);
    loop_.Remove();
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
        QObject::disconnect(dispatcher, nullptr, &frame_, nullptr);
    frame_.stop();
    attached_ = false;
}

void DesktopPresenter::MarkExistingWindows(HWND first)
{
    for (HWND hwnd = first; hwnd; hwnd = GetWindow(hwnd, GW_HWNDNEXT)) {
        MarkWindowChanged(hwnd, kEverything);
        MarkExistingWindows(GetWindow(hwnd, GW_CHILD));
    }
}

// Runs with the core's lock held, on any thread: it only signals.
void DesktopPresenter::OnWindowsChanged(void* context)
{
    auto* self = static_cast<DesktopPresenter*>(context);
    self->pending_.store(true, std::memory_order_release);
    self->loop_.Wake();
}

void DesktopPresenter::ArmFrameIfPending()
{
    if (pending_.load(std::memory_order_acquire) && !frame_.isActive())
        frame_.start();
}

void DesktopPresenter::PullNow()
{
    pending_.store(false, std::memory_order_release);
    std::vector<WindowSnapshot> changed;
    PullWindowChanges([&changed](const WindowChangeView& view) { changed.push_back(WindowSnapshot::From(view)); });
    if (changed.empty())
        return;
    ++pulls_;
    Apply(changed);
}

void DesktopPresenter::Apply(std::vector<WindowSnapshot>& changed)
{
    std::vector<HWND> touched;
    std::vector<HWND> destroyed;
    for (WindowSnapshot& shot : changed) {
        if (shot.Destroyed()) {
            destroyed.push_back(shot.hwnd);
            continue;
        }
        touched.push_back(shot.hwnd);
        mirrors_[shot.hwnd].state = std::move(shot);
    }
    // Every state is stored before any widget is made, so a child whose parent changed in the same
    // pull finds its parent's widget.
    std::vector<HWND> restacked;
    for (HWND hwnd : touched) {
        if (!EnsureWidget(hwnd, 0))
            continue;
        Mirror& mirror = mirrors_[hwnd];
        Update(mirror);
        if (mirror.state.parent && (mirror.state.changes & (WindowChangeCreated | WindowChangeParent | WindowChangeRect)))
            restacked.push_back(mirror.state.parent);
    }
    std::sort(restacked.begin(), restacked.end());
    restacked.erase(std::unique(restacked.begin(), restacked.end()), restacked.end());
    for (HWND parent : restacked)
        Restack(parent);
    for (HWND hwnd : destroyed)
        Forget(hwnd);
}

DesktopPresenter::Kind DesktopPresenter::KindOf(const WindowSnapshot& state)
{
    if (!state.parent)
        return Kind::TopLevel;
    if (state.className == WC_BUTTONW) {
        const DWORD type = state.style & BS_TYPEMASK;
        const bool push = type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_PUSHBOX;
        return push ? Kind::PushButton : Kind::Painted;
    }
    if (state.className == WC_EDITW && !(state.style & ES_MULTILINE))
        return Kind::LineEdit;
    if (state.className == PROGRESS_CLASSW)
        return Kind::ProgressBar;
    if (FindTableSource(state.hwnd))
        return Kind::Table;
    if (state.className == TOOLBARCLASSNAMEW)
        return Kind::Toolbar;
    return Kind::Painted;
}

QWidget* DesktopPresenter::EnsureWidget(HWND hwnd, int depth)
{
    auto found = mirrors_.find(hwnd);
    if (found == mirrors_.end() || depth > kMaxDepth)
        return nullptr;
    Mirror& mirror = found->second;
    QWidget* parentWidget = nullptr;
    if (mirror.state.parent) {
        parentWidget = EnsureWidget(mirror.state.parent, depth + 1);
        if (!parentWidget)
            return nullptr;
    }
    const Kind kind = KindOf(mirror.state);
    if (mirror.widget && mirror.kind == kind && mirror.mirroredParent == mirror.state.parent)
        return mirror.widget;
    QPointer<QWidget> old = mirror.widget;
    mirror.kind = kind;
    mirror.mirroredParent = mirror.state.parent;
    mirror.widget = CreateWidget(mirror, parentWidget);
    mirror.fontShown = false;
    if (old) {
        // The children's widgets move to the new one before the old goes.
        const QObjectList children = old->children();
        for (QObject* child : children) {
            auto* childWidget = qobject_cast<QWidget*>(child);
            if (!childWidget)
                continue;
            const bool shown = !childWidget->isHidden();
            childWidget->setParent(mirror.widget);
            childWidget->setVisible(shown);
        }
        old->hide();
        old->deleteLater();
    }
    return mirror.widget;
}

QWidget* DesktopPresenter::CreateWidget(Mirror& mirror, QWidget* parent)
{
    const HWND hwnd = mirror.state.hwnd;
    QWidget* widget = nullptr;
    switch (mirror.kind) {
    case Kind::TopLevel:
        widget = new TopLevelWindow([hwnd] { CloseWindow(hwnd); },
                                    [hwnd](QSize size) { ResizeClientArea(hwnd, size.width(), size.height()); });
        break;
    case Kind::PushButton: {
        auto* button = new QPushButton(parent);
        QObject::connect(button, &QPushButton::clicked, [hwnd] { ClickWindow(hwnd); });
        widget = button;
        break;
    }
    case Kind::LineEdit: {
        auto* edit = new QLineEdit(parent);
        QObject::connect(edit, &QLineEdit::textEdited, [hwnd](const QString& text) { SetTypedText(hwnd, text.toStdU16String()); });
        widget = edit;
        break;
    }
    case Kind::ProgressBar: {
        auto* bar = new QProgressBar(parent);
        bar->setTextVisible(false);
        widget = bar;
        break;
    }
    case Kind::Toolbar:
        widget = new ToolbarMirror(hwnd, parent);
        break;
    case Kind::Table:
        widget = new GridView(FindTableSource(hwnd), parent);
        break;
    case Kind::Painted:
        widget = new PaintedWindow(parent);
        break;
    }
    widget->setObjectName(QStringLiteral("window-%1").arg(static_cast<qlonglong>(mirror.state.id)));
    return widget;
}

void DesktopPresenter::Update(Mirror& mirror)
{
    const WindowSnapshot& state = mirror.state;
    QWidget* widget = mirror.widget;
    UpdateGeometry(mirror);
    const QString text = ToQString(state.text);
    switch (mirror.kind) {
    case Kind::TopLevel:
        widget->setWindowTitle(text);
        break;
    case Kind::PushButton:
        static_cast<QPushButton*>(widget)->setText(text);
        break;
    case Kind::LineEdit: {
        auto* edit = static_cast<QLineEdit*>(widget);
        if (edit->text() != text)
            edit->setText(text);
        edit->setReadOnly((state.style & ES_READONLY) != 0);
        edit->setEchoMode((state.style & ES_PASSWORD) ? QLineEdit::Password : QLineEdit::Normal);
        break;
    }
    case Kind::ProgressBar:
        UpdateClassState(mirror);
        break;
    case Kind::Toolbar:
        static_cast<ToolbarMirror*>(widget)->Refresh();
        break;
    case Kind::Table:
        static_cast<GridView*>(widget)->Refresh();
        break;
    case Kind::Painted: {
        auto* painted = static_cast<PaintedWindow*>(widget);
        ShowPaintedState(*painted, state);
        if (state.changes & WindowChangeInvalidated)
            painted->update();
        break;
    }
    }
    UpdateFont(mirror);
    widget->setEnabled(state.Enabled());
    widget->setVisible(state.Visible());
}

// Set only when it changed: a new font makes Qt lay the widget and its children out again.
void DesktopPresenter::UpdateFont(Mirror& mirror)
{
    if (mirror.fontShown && mirror.shownFont == mirror.state.font)
        return;
    mirror.widget->setFont(DesktopFontFor(mirror.state.font));
    mirror.shownFont = mirror.state.font;
    mirror.fontShown = true;
}

void DesktopPresenter::UpdateGeometry(Mirror& mirror)
{
    const WindowSnapshot& state = mirror.state;
    if (mirror.kind == Kind::TopLevel) {
        // The client area where the core placed it (the core centred it on the desktop's size).
        const RECT& c = state.clientRect;
        static_cast<TopLevelWindow*>(mirror.widget.data())
            ->SetClientGeometry(QRect(c.left, c.top, Width(c), Height(c)), (state.style & WS_THICKFRAME) != 0);
        return;
    }
    const QPoint offset = ClientOffsetOf(state.parent);
    mirror.widget->setGeometry(state.rect.left + offset.x(), state.rect.top + offset.y(), Width(state.rect),
                               Height(state.rect));
}

void DesktopPresenter::UpdateClassState(Mirror& mirror)
{
    const ProgressSnapshot& p = mirror.state.progress;
    auto* bar = static_cast<QProgressBar*>(mirror.widget.data());
    if (p.marquee) {
        bar->setRange(0, 0);
        return;
    }
    const int low = ClampToInt(std::min(p.low, p.high));
    const int high = ClampToInt(std::max(p.low, p.high));
    bar->setRange(low, high);
    bar->setValue(std::clamp(ClampToInt(p.position), low, high));
}

// A child's rectangle is in its parent's client coordinates, while the parent's widget spans the
// parent's whole window rectangle (border included) unless the parent is a top-level window.
QPoint DesktopPresenter::ClientOffsetOf(HWND hwnd) const
{
    auto found = mirrors_.find(hwnd);
    if (found == mirrors_.end() || found->second.kind == Kind::TopLevel)
        return QPoint(0, 0);
    const WindowSnapshot& parent = found->second.state;
    return QPoint(parent.clientRect.left - parent.rect.left, parent.clientRect.top - parent.rect.top);
}

// Qt stacks the last made widget on top, the core the first made window (a label made before the
// grid lies over it): the children's widgets follow the core's order, topmost first.
void DesktopPresenter::Restack(HWND parent)
{
    std::vector<QWidget*> topFirst;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (QWidget* widget = WidgetFor(child); widget && !widget->isWindow())
            topFirst.push_back(widget);
    for (auto it = topFirst.rbegin(); it != topFirst.rend(); ++it)
        (*it)->raise();
}

void DesktopPresenter::Forget(HWND hwnd)
{
    auto found = mirrors_.find(hwnd);
    if (found == mirrors_.end())
        return;
    if (QWidget* widget = found->second.widget) {
        widget->hide();
        // Later, not now: the widget may be inside its own event handler further up the stack.
        widget->deleteLater();
    }
    mirrors_.erase(found);
}

QWidget* DesktopPresenter::WidgetFor(HWND hwnd) const
{
    auto found = mirrors_.find(hwnd);
    return found == mirrors_.end() ? nullptr : found->second.widget.data();
}

std::vector<QWidget*> DesktopPresenter::TopLevelWidgets() const
{
    std::vector<QWidget*> widgets;
    for (const auto& [hwnd, mirror] : mirrors_)
        if (mirror.kind == Kind::TopLevel && mirror.widget)
            widgets.push_back(mirror.widget);
    return widgets;
}
