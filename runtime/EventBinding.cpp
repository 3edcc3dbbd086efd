#include "runtime/EventBinding.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace {
void CpuPause() noexcept
{
#if defined(__x86_64__) || defined(__i386__)
    _mm_pause();
#endif
}
} // namespace

void BindingSpinLock::Lock() noexcept
{
    for (;;) {
        if (word_.fetch_sub(1, std::memory_order_acquire) == 1)
            return;
        // Lost the race: wait until the holder stores 1 again, then retry.
        while (word_.load(std::memory_order_relaxed) <= 0)
            CpuPause();
    }
}
