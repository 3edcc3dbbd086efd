// The runtime's one way out when memory runs out: the process ends at once with status 255 (the
// program's exit code -1), with no message and no destructors, since nothing can be trusted by then.
// Safe to call from any thread.
#pragma once

[[noreturn]] void ExitOnOutOfMemory() noexcept;
