#include "runtime/ProcessExit.h"

#include <unistd.h>

void ExitOnOutOfMemory() noexcept
{
    _exit(255);
}
