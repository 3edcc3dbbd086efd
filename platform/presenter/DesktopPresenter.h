#pragma once
// The desktop presenter: mirrors the window core's windows as Qt widgets on the main thread. The
// core marks what changed and wakes it; the presenter pulls the marks at most once per frame
// (16 ms), copies them under the core's lock and updates its widgets afterwards, so a thousand
// changes between two frames cost one update. Desktop input goes back as the core's messages
// (CoreInput.h). Windows of every thread are shown; their messages still run on their own thread.
// Each widget's object name is "window-<control id>" so tests and tools can find it.
// Thread safety: construct, Attach, Detach and every accessor on the main thread, after the
// QApplication is made; the core's wake-up may come from any thread.
#include "platform/presenter/DesktopEventLoop.h"
#include "platform/presenter/WindowSnapshot.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <atomic>
#include <unordered_map>
#include <vector>

class DesktopPresenter {
public:
    DesktopPresenter();
    ~DesktopPresenter();  // detaches and deletes every mirror
    DesktopPresenter(const DesktopPresenter&) = delete;
    DesktopPresenter& operator=(const DesktopPresenter&) = delete;

    // Tells the core the screen's size, installs the main thread's wait and starts mirroring;
    // windows that exist already are mirrored too.
    void Attach();
    void Detach();

    // Pulls and applies what changed now, without waiting for the frame.
    void PullNow();
    // The widget that mirrors a window (null when there is none yet); for a top-level window its
    // Qt window.
    QWidget* WidgetFor(HWND hwnd) const;
    // Mirrored top-level windows, in no particular order.
    std::vector<QWidget*> TopLevelWidgets() const;
    // Pulls done so far (frames that had changes).
    uint64_t PullCount() const { return pulls_; }

private:
    enum class Kind { TopLevel, PushButton, LineEdit, ProgressBar, Toolbar, Table, Painted };
    struct Mirror {
        WindowSnapshot state;
        Kind kind = Kind::Painted;
        HWND mirroredParent = nullptr;
        QPointer<QWidget> widget;
        bool fontShown = false;  // shownFont is the widget's font
        FontSnapshot shownFont;
    };

    static void OnWindowsChanged(void* context);
    void ArmFrameIfPending();
    void Apply(std::vector<WindowSnapshot>& changed);
    QWidget* EnsureWidget(HWND hwnd, int depth);
    QWidget* CreateWidget(Mirror& mirror, QWidget* parent);
    void Update(Mirror& mirror);
    void UpdateGeometry(Mirror& mirror);
    void UpdateClassState(Mirror& mirror);
    static void UpdateFont(Mirror& mirror);
    void Forget(HWND hwnd);
    void Restack(HWND parent);
    QPoint ClientOffsetOf(HWND hwnd) const;
    static Kind KindOf(const WindowSnapshot& state);
    static void MarkExistingWindows(HWND first);

    DesktopEventLoop loop_;
    QTimer frame_;
    std::atomic<bool> pending_{false};
    bool attached_ = false;
    uint64_t pulls_ = 0;
    std::unordered_map<HWND, Mirror> mirrors_;
};
