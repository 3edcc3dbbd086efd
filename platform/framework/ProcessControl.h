#pragma once
// Ending the process and asking for a debugger, as the platform offers them.
// ExitProcess flushes the standard streams and ends the process at once with the code's low byte
// as its status (-1 becomes 255), running no destructors and no exit handlers, so nothing is torn
// down under a worker thread that is still busy. In a build with LeakSanitizer (the AddressSanitizer
// build) it first makes the leak check that _exit would skip: when the check finds a leak it prints
// its report to standard error and the status is kLeakExitStatus instead of the code asked for,
// so a leak fails a run whatever it returned. ASAN_OPTIONS=detect_leaks=0 turns the check off, and
// under a debugger it is left out (the sanitizer cannot stop the threads of a traced process).
// IsDebuggerPresent reads TracerPid from /proc/self/status.
// Thread safety: any thread.
#include "platform/window/WinTypes.h"

#include <string_view>

// LeakSanitizer's own status for a run with leaks.
inline constexpr int kLeakExitStatus = 23;

[[noreturn]] void ExitProcess(UINT exitCode);
BOOL IsDebuggerPresent();
// True when a status text (the form of /proc/self/status) names a tracer other than 0.
bool StatusShowsTracer(std::string_view status);
