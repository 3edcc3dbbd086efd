#pragma once
// The library's part of a message loop: before an input message is dispatched, it is offered to
// the library windows on the path from its target up to the first top-level window (the private
// pre-translation request); a form that consumes it (keyboard navigation, Escape, dragging) ends
// its processing. Call on the thread that retrieved the message.
#include "platform/window/WinTypes.h"

// TRUE when a library window consumed the message: do not translate or dispatch it.
BOOL PreTranslateLibraryMessage(const MSG* message);
