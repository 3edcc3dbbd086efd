#pragma once
// The headless dialog service: folder and save answers come from queues, message boxes are
// recorded (text, caption, type with its icon, time-out, thread) and closed. With an empty queue a
// folder picker or save dialog is cancelled; a message box answers its queued answer, else
// MB_TIMEDOUT when it has a time-out, else its default button.
// By default a box closes at once. MessageBoxMode::RunModal shows it instead as a window of the
// calling thread (class "TabrixMessageBox", title = caption, text control MESSAGE_BOX_TEXT_ID) and
// runs a modal loop until the time-out, a queued answer's delay, a WM_COMMAND with a button id or
// WM_CLOSE; the thread's timers and sent messages run meanwhile, and the texts the box showed are
// recorded.
// Thread safety: every member from any thread; dialogs may run on several threads at once.
#include "platform/dialogs/DialogService.h"

#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

enum class MessageBoxMode { CloseAtOnce, RunModal };

struct MessageBoxRecord {
    MessageBoxRequest request;
    int answer = 0;
    // The box's text, then every later text of its text control (RunModal only).
    std::vector<std::u16string> shownTexts;
    bool closedByTimeout = false;
};

struct MessageBoxScript {
    int answer = 0;
    DWORD afterMs = 0;  // RunModal: how long the box stays open before the answer
};

class ScriptedDialogs : public DialogService {
public:
    int ShowMessageBox(const MessageBoxRequest& request) override;
    PathAnswer PickFolder(const FolderRequest& request) override;
    PathAnswer ChooseSaveFile(const SaveFileRequest& request) override;

    void SetMessageBoxMode(MessageBoxMode mode);
    // Answers, used in order; an answer that is not one of a box's buttons is replaced by the
    // box's default button.
    void QueueMessageBoxAnswer(MessageBoxScript script);
    void QueueFolder(std::u16string path);
    void QueueSaveFile(std::u16string path);
    // A cancelled or failed dialog at this place of the queue.
    void QueueFolderOutcome(DialogOutcome outcome);
    void QueueSaveFileOutcome(DialogOutcome outcome);

    std::vector<MessageBoxRecord> MessageBoxes() const;
    std::vector<FolderRequest> FolderRequests() const;
    std::vector<SaveFileRequest> SaveFileRequests() const;
    void ClearRecords();

protected:
    // Called after each box has closed, on its thread, without the lock; the headless front end
    // prints the box here.
    virtual void OnMessageBoxClosed(const MessageBoxRecord&) {}

private:
    std::optional<MessageBoxScript> TakeMessageBoxScript();
    PathAnswer TakeAnswer(std::deque<PathAnswer>& queue);

    mutable std::mutex mutex_;
    MessageBoxMode mode_ = MessageBoxMode::CloseAtOnce;
    std::deque<MessageBoxScript> boxAnswers_;
    std::deque<PathAnswer> folderAnswers_;
    std::deque<PathAnswer> saveAnswers_;
    std::vector<MessageBoxRecord> boxes_;
    std::vector<FolderRequest> folderRequests_;
    std::vector<SaveFileRequest> saveRequests_;
};
