#pragma once
// The calling thread's last-error value, as the original platform keeps it: every failing platform
// call of this layer sets it, and it stays until the next call on the same thread sets it again.
// Thread safety: one value per thread; each thread reads and writes only its own.
#include "platform/files/FileTypes.h"

DWORD GetLastError() noexcept;
void SetLastError(DWORD error) noexcept;
