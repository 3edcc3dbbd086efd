#pragma once
// The calling thread's last-error value, as the original platform keeps it: every failing platform
// call of this layer sets it, and it stays until the next call on the same thread sets it again.
// The window core keeps the same pair; the declarations match its own, and ours is only a fallback
// definition (see LastError.cpp).
// Thread safety: one value per thread; each thread reads and writes only its own.
#include "platform/files/FileTypes.h"

#ifndef TABRIX_LAST_ERROR_DECLARED
#define TABRIX_LAST_ERROR_DECLARED
DWORD GetLastError();
void SetLastError(DWORD error);
#endif
