#pragma once
// Ending the process and asking for a debugger, as the platform offers them.
// ExitProcess flushes the standard streams and ends the process at once with the code's low byte
// as its status (-1 becomes 255), running no destructors and no exit handlers, so nothing is torn
// down under a worker thread that is still busy. IsDebuggerPresent reads TracerPid from
// /proc/self/status.
// Thread safety: any thread.
#include "platform/window/WinTypes.h"

#include <string_view>

[[noreturn]] void ExitProcess(UINT exitCode);
BOOL IsDebuggerPresent();
// True when a status text (the form of /proc/self/status) names a tracer other than 0.
bool StatusShowsTracer(std::string_view status);
