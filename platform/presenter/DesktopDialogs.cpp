#include "platform/presenter/DesktopDialogs.h"

#include "platform/dialogs/HeadlessMessageBox.h"
#include "platform/dialogs/SaveFileDialog.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/PresenterHook.h"
#include "platform/window/WinMessages.h"
#include "platform/window/Window.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPointer>

#include <functional>
#include <memory>
#include <mutex>
#include <optional>

namespace {

QString ToQString(const std::u16string& text) { return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())); }

// The folder a dialog starts in: the requested one when it is there, else the home folder.
QString StartFolder(const std::u16string& requested)
{
    const QString folder = ToQString(requested);
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QDir::homePath();
}

// One dialog between the thread that waits for it and the main thread that shows it. The main
// thread fills in the answer and wakes the waiter with a message; the waiter may ask for the
// dialog to be cancelled (it met WM_QUIT).
struct PendingDialog {
    std::mutex mutex;
    bool answered = false;
    PathAnswer answer;
    DWORD waiter = 0;
    QPointer<QFileDialog> dialog;  // main thread only

    void Answer(PathAnswer given)
    {
        {
            std::lock_guard lock(mutex);
            if (answered)
                return;
            answered = true;
            answer = std::move(given);
        }
        PostThreadMessageW(waiter, WM_NULL, 0, 0);
    }
    bool Answered()
    {
        std::lock_guard lock(mutex);
        return answered;
    }
};

using MakeDialog = std::function<QFileDialog*()>;
using ReadDialog = std::function<PathAnswer(QFileDialog&)>;

void OpenOnMainThread(const std::shared_ptr<PendingDialog>& pending, const MakeDialog& make, const ReadDialog& read)
{
    QFileDialog* dialog = make();
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::ApplicationModal);
    pending->dialog = dialog;
    QObject::connect(dialog, &QDialog::finished, dialog, [pending, dialog, read](int result) {
        pending->Answer(result == QDialog::Accepted ? read(*dialog) : PathAnswer{});
    });
    // A dialog closed some other way (the application ending) still answers.
    QObject::connect(dialog, &QObject::destroyed, qApp, [pending] { pending->Answer(PathAnswer{}); });
    dialog->open();
}

// Runs the calling thread's messages until the dialog has answered; a WM_QUIT met meanwhile
// cancels the dialog and is posted again afterwards, as a modal loop does.
std::optional<int> RunMessagesUntilAnswered(const std::shared_ptr<PendingDialog>& pending)
{
    std::optional<int> quit;
    while (!pending->Answered()) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT && !quit) {
                quit = static_cast<int>(msg.wParam);
                QMetaObject::invokeMethod(qApp, [pending] {
                    if (pending->dialog)
                        pending->dialog->reject();
                }, Qt::QueuedConnection);
                continue;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (pending->Answered())
            break;
        WaitMessageTimeout(INFINITE_WAIT);
    }
    return quit;
}

PathAnswer ShowFileDialog(MakeDialog make, ReadDialog read)
{
    if (!qApp)
        return PathAnswer{DialogOutcome::Failed, {}};
    auto pending = std::make_shared<PendingDialog>();
    pending->waiter = GetCurrentThreadId();
    // Queued also on the main thread, so the dialog opens inside the loop below.
    QMetaObject::invokeMethod(qApp, [pending, make = std::move(make), read = std::move(read)] {
        OpenOnMainThread(pending, make, read);
    }, Qt::QueuedConnection);
    const std::optional<int> quit = RunMessagesUntilAnswered(pending);
    if (quit)
        PostQuitMessage(*quit);
    std::lock_guard lock(pending->mutex);
    return pending->answer;
}

PathAnswer Confirmed(const QString& path)
{
    if (path.isEmpty())
        return PathAnswer{};
    return PathAnswer{DialogOutcome::Confirmed, QDir::toNativeSeparators(path).toStdU16String()};
}

QString DescriptionWithoutPatterns(QString description)
{
    description = description.trimmed();
    if (description.endsWith(u')')) {
        const qsizetype open = description.lastIndexOf(u'(');
        if (open > 0)
            description = description.left(open).trimmed();
    }
    return description;
}

}  // namespace

QStringList SaveNameFilters(const std::vector<std::u16string>& filterStrings)
{
    QStringList filters;
    for (size_t i = 0; i + 1 < filterStrings.size(); i += 2) {
        const QStringList patterns = ToQString(filterStrings[i + 1]).split(u';', Qt::SkipEmptyParts);
        if (patterns.isEmpty())
            continue;
        QString description = DescriptionWithoutPatterns(ToQString(filterStrings[i]));
        if (description.isEmpty())
            description = patterns.join(u' ');
        filters.push_back(QStringLiteral("%1 (%2)").arg(description, patterns.join(u' ')));
    }
    if (filters.isEmpty())
        filters.push_back(QStringLiteral("* (*)"));
    return filters;
}

int DesktopDialogs::ShowMessageBox(const MessageBoxRequest& request)
{
    return RunHeadlessMessageBox(request, std::nullopt, {}).answer;
}

PathAnswer DesktopDialogs::PickFolder(const FolderRequest& request)
{
    const QString start = StartFolder(request.initialFolder);
    return ShowFileDialog(
        [start] {
            auto* dialog = new QFileDialog(nullptr, QString(), start);
            dialog->setObjectName(QString::fromLatin1(kFolderPickerName));
            dialog->setFileMode(QFileDialog::Directory);
            dialog->setOption(QFileDialog::ShowDirsOnly);
            return dialog;
        },
        [](QFileDialog& dialog) {
            const QStringList chosen = dialog.selectedFiles();
            return Confirmed(chosen.isEmpty() ? QString() : chosen.front());
        });
}

PathAnswer DesktopDialogs::ChooseSaveFile(const SaveFileRequest& request)
{
    const QString title = ToQString(request.title);
    const QString start = StartFolder(request.initialDirectory);
    const QString fileName = QFileInfo(ToQString(request.fileName)).fileName();
    const QStringList filters = SaveNameFilters(request.filterStrings);
    const int selected = request.filterIndex == 0 ? 0 : static_cast<int>(request.filterIndex) - 1;
    const bool askBeforeReplacing = (request.flags & OFN_OVERWRITEPROMPT) != 0;
    return ShowFileDialog(
        [=] {
            auto* dialog = new QFileDialog(nullptr, title, start);
            dialog->setObjectName(QString::fromLatin1(kSaveDialogName));
            dialog->setAcceptMode(QFileDialog::AcceptSave);
            dialog->setFileMode(QFileDialog::AnyFile);
            dialog->setOption(QFileDialog::DontConfirmOverwrite, !askBeforeReplacing);
            dialog->setNameFilters(filters);
            dialog->selectNameFilter(filters.value(selected, filters.front()));
            if (!fileName.isEmpty())
                dialog->selectFile(fileName);
            return dialog;
        },
        [](QFileDialog& dialog) {
            const QStringList chosen = dialog.selectedFiles();
            return Confirmed(chosen.isEmpty() ? QString() : chosen.front());
        });
}
