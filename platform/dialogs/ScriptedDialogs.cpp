// The headless dialog service.
#include "platform/dialogs/ScriptedDialogs.h"

#include "platform/dialogs/HeadlessMessageBox.h"
#include "platform/dialogs/MessageBox.h"

#include <utility>

int ScriptedDialogs::ShowMessageBox(const MessageBoxRequest& request)
{
    std::optional<MessageBoxScript> script = TakeMessageBoxScript();
    if (script && !IsMessageBoxAnswer(request.type, script->answer))
        script->answer = DefaultMessageBoxAnswer(request.type);
    MessageBoxMode mode;
    {
        std::lock_guard guard(mutex_);
        mode = mode_;
    }

    MessageBoxRecord record;
    record.request = request;
    if (mode == MessageBoxMode::RunModal) {
        std::optional<HeadlessBoxScript> press;
        if (script)
            press = HeadlessBoxScript{script->answer, script->afterMs};
        HeadlessBoxResult result = RunHeadlessMessageBox(
            request, press, [&record](std::u16string_view text) { record.shownTexts.emplace_back(text); });
        record.answer = result.answer;
        record.closedByTimeout = result.timedOut;
    } else {
        record.shownTexts.push_back(request.text);
        if (script) {
            record.answer = script->answer;
        } else if (request.HasTimeout()) {
            record.answer = MB_TIMEDOUT;
            record.closedByTimeout = true;
        } else {
            record.answer = DefaultMessageBoxAnswer(request.type);
        }
    }
    {
        std::lock_guard guard(mutex_);
        boxes_.push_back(record);
    }
    OnMessageBoxClosed(record);
    return record.answer;
}

PathAnswer ScriptedDialogs::PickFolder(const FolderRequest& request)
{
    std::lock_guard guard(mutex_);
    folderRequests_.push_back(request);
    return TakeAnswer(folderAnswers_);
}

PathAnswer ScriptedDialogs::ChooseSaveFile(const SaveFileRequest& request)
{
    std::lock_guard guard(mutex_);
    saveRequests_.push_back(request);
    return TakeAnswer(saveAnswers_);
}

void ScriptedDialogs::SetMessageBoxMode(MessageBoxMode mode)
{
    std::lock_guard guard(mutex_);
    mode_ = mode;
}

void ScriptedDialogs::QueueMessageBoxAnswer(MessageBoxScript script)
{
    std::lock_guard guard(mutex_);
    boxAnswers_.push_back(script);
}

void ScriptedDialogs::QueueFolder(std::u16string path)
{
    std::lock_guard guard(mutex_);
    folderAnswers_.push_back(PathAnswer{DialogOutcome::Confirmed, std::move(path)});
}

void ScriptedDialogs::QueueSaveFile(std::u16string path)
{
    std::lock_guard guard(mutex_);
    saveAnswers_.push_back(PathAnswer{DialogOutcome::Confirmed, std::move(path)});
}

void ScriptedDialogs::QueueFolderOutcome(DialogOutcome outcome)
{
    std::lock_guard guard(mutex_);
    folderAnswers_.push_back(PathAnswer{outcome, {}});
}

void ScriptedDialogs::QueueSaveFileOutcome(DialogOutcome outcome)
{
    std::lock_guard guard(mutex_);
    saveAnswers_.push_back(PathAnswer{outcome, {}});
}

std::vector<MessageBoxRecord> ScriptedDialogs::MessageBoxes() const
{
    std::lock_guard guard(mutex_);
    return boxes_;
}

std::vector<FolderRequest> ScriptedDialogs::FolderRequests() const
{
    std::lock_guard guard(mutex_);
    return folderRequests_;
}

std::vector<SaveFileRequest> ScriptedDialogs::SaveFileRequests() const
{
    std::lock_guard guard(mutex_);
    return saveRequests_;
}

void ScriptedDialogs::ClearRecords()
{
    std::lock_guard guard(mutex_);
    boxes_.clear();
    folderRequests_.clear();
    saveRequests_.clear();
}

std::optional<MessageBoxScript> ScriptedDialogs::TakeMessageBoxScript()
{
    std::lock_guard guard(mutex_);
    if (boxAnswers_.empty())
        return std::nullopt;
    MessageBoxScript script = boxAnswers_.front();
    boxAnswers_.pop_front();
    return script;
}

PathAnswer ScriptedDialogs::TakeAnswer(std::deque<PathAnswer>& queue)
{
    if (queue.empty())
        return PathAnswer{DialogOutcome::Cancelled, {}};
    PathAnswer answer = std::move(queue.front());
    queue.pop_front();
    return answer;
}
