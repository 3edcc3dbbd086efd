// The memory-manager bases every runtime and generated class derives from. Their five operations
// take the first virtual slots of every object; class-level new and delete go through the same pool,
// so an object of at most 256 bytes lives in a pool block. Any thread may allocate and free.
#pragma once

#include "runtime/CPoolMem.h"

#include <cstddef>
#include <cstdint>

class CQrnCommonBase {
public:
    virtual void* AllocMem(int64_t size) = 0;
    virtual void* TryAllocMem(int64_t size) = 0;
    virtual void* ReallocMem(void* p, int64_t size) = 0;
    virtual void FreeMem(void* p) = 0;
    virtual CPoolMem* GetMemManager() = 0;

    static void* operator new(size_t size) { return CPoolMem::Process().Alloc(size); }
    static void operator delete(void* p) noexcept { CPoolMem::Process().Free(p); }
    // Placement forms stay available for embedding objects in caller storage.
    static void* operator new(size_t, void* where) noexcept { return where; }
    static void operator delete(void*, void*) noexcept {}

protected:
    CQrnCommonBase() = default;
    CQrnCommonBase(const CQrnCommonBase&) = default;
    CQrnCommonBase& operator=(const CQrnCommonBase&) = default;
    ~CQrnCommonBase() = default;
};

class CQrnCommonBaseWithMemManager : public CQrnCommonBase {
public:
    void* AllocMem(int64_t size) override { return CPoolMem::Process().Alloc(static_cast<size_t>(size)); }
    void* TryAllocMem(int64_t size) override
    {
        return size < 0 ? nullptr : CPoolMem::Process().TryAlloc(static_cast<size_t>(size));
    }
    void* ReallocMem(void* p, int64_t size) override
    {
        return CPoolMem::Process().Realloc(p, static_cast<size_t>(size));
    }
    void FreeMem(void* p) override { CPoolMem::Process().Free(p); }
    CPoolMem* GetMemManager() override { return &CPoolMem::Process(); }

protected:
    CQrnCommonBaseWithMemManager() = default;
    CQrnCommonBaseWithMemManager(const CQrnCommonBaseWithMemManager&) = default;
    CQrnCommonBaseWithMemManager& operator=(const CQrnCommonBaseWithMemManager&) = default;
    ~CQrnCommonBaseWithMemManager() = default;
};
