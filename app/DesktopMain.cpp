// tabrix: the desktop program. With a display (DISPLAY or WAYLAND_DISPLAY) and a build that has the
// desktop presenter, it shows the main window through Qt; the window core stays the source of
// truth and one loop on the main thread serves both. Otherwise it says that no display is
// available and ends with status 1. Closing the window ends the process with status 0.
#include <cstdio>
#include <cstdlib>

#if TABRIX_HAVE_PRESENTER
#include "app/CQrnMFCApp.h"
#include "app/rg_startup_class.h"
#include "platform/presenter/DesktopDialogs.h"
#include "platform/presenter/DesktopPresenter.h"
#include "platform/loader/Resources.h"

#include <QApplication>
#include <QIcon>
#include <QPixmap>

#include <memory>

namespace {

// The program's embedded pictures (32 and 256 pixels), for the desktop's window list and title bars.
QIcon ProgramIcon()
{
    QIcon icon;
    for (UINT id : {rg_quarn_app::kProgramIconResource, rg_quarn_app::kFallbackIconResource}) {
        const std::span<const uint8_t> png = FindEmbeddedResource(kResourceTypeIcon, id);
        QPixmap picture;
        if (picture.loadFromData(png.data(), static_cast<uint>(png.size()), "PNG"))
            icon.addPixmap(picture);
    }
    return icon;
}

QtMessageHandler g_previousHandler = nullptr;
bool g_displayOpened = false;

class DesktopApp final : public CQrnMFCApp {
public:
    DesktopApp() : CQrnMFCApp(&rg_quarn_app::rg_startup_class::StaticClassInfo) {}
};

// Qt ends the process with an abort when it cannot open the display (DISPLAY names a server that
// is not there); the program says so and ends with status 1 instead, as without a display. Later
// fatal messages keep Qt's own handling.
void EndOnFatalQtMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type != QtFatalMsg || g_displayOpened) {
        if (g_previousHandler)
            g_previousHandler(type, context, message);
        else
            std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
        return;
    }
    std::fprintf(stderr, "tabrix: %s\ntabrix: the display could not be used; use tabrix-batch DIRECTORY WORKBOOK\n",
                 message.toLocal8Bit().constData());
    std::fflush(stderr);
    std::_Exit(1);
}

int RunOnDesktop(int argc, char** argv)
{
    g_previousHandler = qInstallMessageHandler(&EndOnFatalQtMessage);
    QApplication qt(argc, argv);
    g_displayOpened = true;
    qt.setWindowIcon(ProgramIcon());
    SetDialogService(std::make_shared<DesktopDialogs>());
    // Attached before the application object starts, so the main window is mirrored from its
    // creation and centred on the real screen's size.
    DesktopPresenter presenter;
    presenter.Attach();
    static DesktopApp app;
    return QrnMain();
}

}  // namespace
#endif

namespace {

[[maybe_unused]] bool DisplayAvailable()
{
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

}  // namespace

int main(int argc, char** argv)
{
#if TABRIX_HAVE_PRESENTER
    if (DisplayAvailable())
        return RunOnDesktop(argc, argv);
#else
    (void)argc;
    (void)argv;
#endif
    std::fputs("tabrix: no display is available to this build; use tabrix-batch DIRECTORY WORKBOOK\n", stderr);
    return 1;
}
