#pragma once
// A message box as a window of the calling thread, for the scripted service's RunModal mode and for
// the desktop, whose presenter shows it: a top-level "TabrixMessageBox" window titled with the
// caption whose text control (MESSAGE_BOX_TEXT_ID) holds the text, with its icon and a push button
// per answer, run by a modal loop that lets the thread's timers and sent messages through.
// Thread safety: runs on the calling thread and owns its windows; the callbacks run there too.
#include "platform/dialogs/DialogService.h"

#include <functional>
#include <optional>
#include <string_view>

// The box's window classes. The icon's window text names its picture: "error", "question",
// "warning" or "information". The buttons are push buttons whose ids are their answers.
inline constexpr const char16_t* kMessageBoxClass = u"TabrixMessageBox";
inline constexpr const char16_t* kMessageTextClass = u"TabrixMessageText";
inline constexpr const char16_t* kMessageIconClass = u"TabrixMessageIcon";

struct HeadlessBoxResult {
    int answer = 0;
    bool timedOut = false;
};

struct HeadlessBoxScript {
    int answer = 0;
    DWORD afterMs = 0;
};

// Shows the box until its time-out (MB_TIMEDOUT), the scripted answer's delay, a WM_COMMAND with one
// of its button ids, or WM_CLOSE (the close answer, for boxes that can be closed). A WM_QUIT met in
// the loop closes the box with its default answer and is posted again. onText sees every text the
// text control takes, the first one included. Answer 0 when the box window could not be made.
HeadlessBoxResult RunHeadlessMessageBox(const MessageBoxRequest& request,
                                        std::optional<HeadlessBoxScript> script,
                                        const std::function<void(std::u16string_view)>& onText);
