// An error message box that closes itself after five seconds and counts the seconds down in its
// own text: message + "【 5 】秒", then 4, 3, 2, 1, one step a second, from a one-second thread timer
// of the showing thread (the box's own message loop runs it). It returns the box's answer (IDOK, or
// MB_TIMEDOUT when it closed by itself).
// - At most one countdown runs at a time: a new call stops the countdown of an earlier box that is
//   still open (on this thread or another); that box keeps its last text and still closes after its
//   own five seconds.
// - The tick only writes into a box of the showing thread whose title is the caption, so another
//   window that happens to carry the same title is never changed; the timer ends with the box.
// Thread safety: any thread; the box, its timer and its ticks all belong to the calling thread.
#pragma once

#include "runtime/CWString.h"

#include <cstdint>

namespace rg_quarn_Tolvar {

inline constexpr int32_t kCountdownSeconds = 5;

int32_t CountdownMessageBox(const CWString& message, const CWString& caption);

// The box's text with the given seconds left: message + "【 " + seconds + " 】秒".
CWString CountdownText(const CWString& message, int32_t secondsLeft);

} // namespace rg_quarn_Tolvar
