// The process pool: one 4 MiB block cut into 16,384 blocks of 256 bytes, handed out last-freed-first-out
// under a spin lock; larger requests, and small ones while the pool is exhausted, go to the heap.
// Exactly one instance exists (Process()); it is built before any other static object and lives to
// process end. Every operation may be called from any thread.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

class CPoolMem {
public:
    static constexpr int64_t kBlockSize = 256;
    static constexpr int64_t kBlockCount = 16384;
    static constexpr int64_t kPoolBytes = kBlockSize * kBlockCount;

    static CPoolMem& Process() noexcept;

    // Never null: a failed heap allocation ends the process (ExitOnOutOfMemory).
    void* Alloc(size_t size) noexcept;
    // Null when the heap cannot serve the request.
    void* TryAlloc(size_t size) noexcept;
    // p must not be null. Never null: failure ends the process.
    void* Realloc(void* p, size_t size) noexcept;
    // Null is ignored.
    void Free(void* p) noexcept;

    bool Owns(const void* p) const noexcept { return p >= start_ && p < end_; }
    int64_t FreeBlockCount() const noexcept;

    // Heap allocations made through the pool's interface since start; for benchmarks and tests.
    uint64_t HeapAllocationCount() const noexcept { return heapAllocations_.load(std::memory_order_relaxed); }

    CPoolMem(const CPoolMem&) = delete;
    CPoolMem& operator=(const CPoolMem&) = delete;
    ~CPoolMem();

private:
    CPoolMem();
    void* PopBlock(size_t size) noexcept;
    void PushBlock(void* block) noexcept;
    void* HeapAlloc(size_t size) noexcept;
    void Acquire() noexcept;
    void Release() noexcept { lock_.store(1, std::memory_order_release); }

    char* start_ = nullptr;
    char* end_ = nullptr;
    void* freeHead_ = nullptr;
    int64_t blockSize_ = kBlockSize;
    std::atomic<int64_t> lock_{1};
    std::atomic<uint64_t> heapAllocations_{0};

    static CPoolMem instance_;
};
