// Ending the process; the debugger test.
#include "platform/framework/ProcessControl.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#if defined(__SANITIZE_ADDRESS__)
#define TABRIX_LEAK_CHECK_AT_EXIT 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(leak_sanitizer)
#define TABRIX_LEAK_CHECK_AT_EXIT 1
#endif
#endif
#if defined(TABRIX_LEAK_CHECK_AT_EXIT)
#include <sanitizer/lsan_interface.h>
#endif

namespace {

// The status to end with: the code's low byte, or kLeakExitStatus when the leak check (in builds
// that have one) reports a leak. The other threads are stopped while it looks, so what they hold
// counts as reachable.
int FinalStatus(UINT exitCode)
{
#if defined(TABRIX_LEAK_CHECK_AT_EXIT)
    if (!IsDebuggerPresent() && __lsan_do_recoverable_leak_check() != 0)
        return kLeakExitStatus;
#endif
    return static_cast<int>(exitCode & 0xFF);
}

}  // namespace

void ExitProcess(UINT exitCode)
{
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    _exit(FinalStatus(exitCode));
}

bool StatusShowsTracer(std::string_view status)
{
    constexpr std::string_view key = "TracerPid:";
    size_t at = 0;
    while ((at = status.find(key, at)) != std::string_view::npos) {
        if (at == 0 || status[at - 1] == '\n') {
            size_t p = at + key.size();
            while (p < status.size() && (status[p] == ' ' || status[p] == '\t'))
                ++p;
            size_t end = p;
            while (end < status.size() && status[end] >= '0' && status[end] <= '9')
                ++end;
            return end > p && status.substr(p, end - p).find_first_not_of('0') != std::string_view::npos;
        }
        at += key.size();
    }
    return false;
}

BOOL IsDebuggerPresent()
{
    std::ifstream file("/proc/self/status");
    std::string status((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    return StatusShowsTracer(status) ? TRUE : FALSE;
}
