// CRefObject: an atomically reference-counted object that is not a CQrnObject; its creator holds the
// first reference. CQrnRefObject: the value-style handle that shares one (copies share the holder,
// the holder dies with its last handle). AddRef and Release may be called from any thread; a handle
// object itself is used by one thread at a time.
#pragma once

#include "runtime/CQrnObject.h"

#include <atomic>

class CRefObject : public CQrnCommonBaseWithMemManager {
public:
    CRefObject() = default;
    CRefObject(const CRefObject&) = delete;
    CRefObject& operator=(const CRefObject&) = delete;

    static const CQrnClassInfo& StaticClassInfo();
    virtual const CQrnClassInfo* GetClassInfo() const { return &StaticClassInfo(); }
    // Compares hash, length and name with the "CRefObject" record, with no identity shortcut.
    virtual bool IsKindOf(const CQrnClassInfo& info) const;
    virtual ~CRefObject() = default;
    // 1 when this call deleted the object, else 0.
    virtual int Release();
    virtual void OnFinalRelease() {}

    void AddRef() noexcept { refCount_.fetch_add(1, std::memory_order_relaxed); }
    int64_t RefCount() const noexcept { return refCount_.load(std::memory_order_acquire); }

private:
    std::atomic<int64_t> refCount_{1};
};

// Shares a holder between copies; any CRefObject or none.
class CQrnRefObject : public CQrnObject {
    QRN_DECLARE_CLASS(CQrnRefObject)
public:
    CQrnRefObject() = default;
    // Takes over the creator's reference.
    explicit CQrnRefObject(CRefObject* adopted) noexcept : holder_(adopted) {}
    CQrnRefObject(const CQrnRefObject& other);
    CQrnRefObject& operator=(const CQrnRefObject& other);
    ~CQrnRefObject() override;

    bool IsEqual(const CQrnObject& other) const override;
    bool CopyFrom(const CQrnObject& source) override;
    void Reset() override;

    CRefObject* Holder() const noexcept { return holder_; }

protected:
    // Shares source's holder: the new one is referenced before the old one is released, so
    // assigning a handle to itself keeps its holder alive.
    void ShareHolder(CRefObject* holder) noexcept;
    void ReplaceHolder(CRefObject* adopted) noexcept;

private:
    CRefObject* holder_ = nullptr;
};
