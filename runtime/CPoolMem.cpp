#include "runtime/CPoolMem.h"

#include "runtime/ProcessExit.h"

#include <cstdlib>
#include <cstring>

#if defined(TABRIX_ASAN)
#include <sanitizer/asan_interface.h>
#define POOL_POISON(p, n) ASAN_POISON_MEMORY_REGION((p), (n))
#define POOL_UNPOISON(p, n) ASAN_UNPOISON_MEMORY_REGION((p), (n))
#else
#define POOL_POISON(p, n) ((void)(p), (void)(n))
#define POOL_UNPOISON(p, n) ((void)(p), (void)(n))
#endif

namespace {

inline void CpuRelax() noexcept
{
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#elif defined(__aarch64__)
    asm volatile("yield");
#endif
}

void*& LinkOf(void* block) noexcept { return *static_cast<void**>(block); }

} // namespace

// Built before every other static object of the program, destroyed after all of them.
__attribute__((init_priority(101))) CPoolMem CPoolMem::instance_;

CPoolMem& CPoolMem::Process() noexcept { return instance_; }

CPoolMem::CPoolMem()
{
    start_ = static_cast<char*>(std::malloc(kPoolBytes));
    if (!start_)
        ExitOnOutOfMemory();
    end_ = start_ + kPoolBytes;
    for (int64_t i = 0; i < kBlockCount; ++i) {
        char* block = start_ + i * kBlockSize;
        LinkOf(block) = (i + 1 < kBlockCount) ? block + kBlockSize : nullptr;
    }
    freeHead_ = start_;
    POOL_POISON(start_, kPoolBytes);
}

CPoolMem::~CPoolMem()
{
    POOL_UNPOISON(start_, kPoolBytes);
    std::free(start_);
    start_ = end_ = nullptr;
    freeHead_ = nullptr;
}

void CPoolMem::Acquire() noexcept
{
    for (;;) {
        if (lock_.fetch_sub(1, std::memory_order_acquire) - 1 == 0)
            return;
        while (lock_.load(std::memory_order_relaxed) <= 0)
            CpuRelax();
    }
}

void* CPoolMem::PopBlock(size_t size) noexcept
{
    Acquire();
    void* block = freeHead_;
    if (block) {
        POOL_UNPOISON(block, sizeof(void*));
        freeHead_ = LinkOf(block);
        // Only the requested bytes become addressable, so an overrun inside the block is caught too.
        POOL_UNPOISON(block, size);
    }
    Release();
    return block;
}

void CPoolMem::PushBlock(void* block) noexcept
{
    Acquire();
    LinkOf(block) = freeHead_;
    freeHead_ = block;
    POOL_POISON(block, kBlockSize);
    Release();
}

void* CPoolMem::HeapAlloc(size_t size) noexcept
{
    heapAllocations_.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(size ? size : 1);
}

void* CPoolMem::TryAlloc(size_t size) noexcept
{
    if (size <= static_cast<size_t>(blockSize_)) {
        if (void* block = PopBlock(size))
            return block;
    }
    return HeapAlloc(size);
}

void* CPoolMem::Alloc(size_t size) noexcept
{
    void* p = TryAlloc(size);
    if (!p)
        ExitOnOutOfMemory();
    return p;
}

void* CPoolMem::Realloc(void* p, size_t size) noexcept
{
    if (!Owns(p)) {
        heapAllocations_.fetch_add(1, std::memory_order_relaxed);
        void* grown = std::realloc(p, size ? size : 1);
        if (!grown)
            ExitOnOutOfMemory();
        return grown;
    }
    if (size <= static_cast<size_t>(blockSize_)) {
        POOL_UNPOISON(p, size);
        return p;
    }
    void* heap = HeapAlloc(size);
    if (!heap)
        ExitOnOutOfMemory();
    POOL_UNPOISON(p, kBlockSize);
    std::memcpy(heap, p, kBlockSize);
    PushBlock(p);
    return heap;
}

void CPoolMem::Free(void* p) noexcept
{
    if (!p)
        return;
    if (Owns(p))
        PushBlock(p);
    else
        std::free(p);
}

int64_t CPoolMem::FreeBlockCount() const noexcept
{
    auto* self = const_cast<CPoolMem*>(this);
    self->Acquire();
    int64_t count = 0;
    for (void* b = freeHead_; b;) {
        POOL_UNPOISON(b, sizeof(void*));
        void* next = LinkOf(b);
        POOL_POISON(b, sizeof(void*));
        b = next;
        ++count;
    }
    self->Release();
    return count;
}
