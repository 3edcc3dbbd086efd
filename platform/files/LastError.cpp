#include "platform/files/LastError.h"

// Weak, so that the window core's own pair takes over when it is linked in: both live in the one
// platform library, and a program using the search and windows must see one last-error value per
// thread, not two.
namespace {
thread_local DWORD lastError = ERROR_SUCCESS;
}

__attribute__((weak)) DWORD GetLastError() { return lastError; }

__attribute__((weak)) void SetLastError(DWORD error) { lastError = error; }
