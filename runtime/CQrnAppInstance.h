// CQrnAppInstance: the runtime's one process-wide instance, built by static initialisation right
// after the process pool and living to process end. It keeps the module handle, the libraries the
// dynamic import table loaded (in load order) and the image library's start token, and offers the
// resource and image services in its fixed slot order; the platform does the work behind them
// through the installed CQrnInstanceServices.
// Thread safety: every member may be called from any thread; the library list and the image
// library's start are guarded by their own locks.
#pragma once

#include "runtime/CQrnInstanceServices.h"
#include "runtime/CQrnMem.h"

#include <atomic>
#include <cstdint>
#include <mutex>

class CPoolMem;

class CQrnAppInstance {
public:
    static constexpr int64_t kLibraryListStep = 256;

    static CQrnAppInstance& Get() noexcept;

    // Slot 0: the stored module handle, or the module that holds the program's code.
    virtual void* GetModule();
    // Slot 1: reserved.
    virtual int32_t Reserved() { return 0; }
    // Slot 2: empties the target, then (for a nonzero id) stores the string resource in it.
    virtual CWString& LoadStringResource(uint32_t id, CWString& target);
    // Slot 3: Bitmap and ImageList decode the RCDATA resource; Cursor and Icon load those resources.
    virtual void* LoadImageResource(QrnImageKind kind, uint32_t id);
    // Slot 4: null for an empty path.
    virtual void* LoadImageFile(QrnImageKind kind, const CWString& path);
    // Slot 5: a bitmap decoded from a picture held in memory; null for no bytes.
    virtual void* BitmapFromBytes(const void* bytes, int64_t size);
    // Slot 6: id 0 gives true and leaves the target; false (target unchanged) when missing.
    virtual bool LoadResourceBytes(uint32_t id, CQrnMem& target, uint32_t type);
    // Slot 7: the RCDATA resource read as UTF-16 (a leading byte-order mark dropped).
    virtual bool LoadTextResource(uint32_t id, CWString& target);
    // Slot 8: LoadResourceBytes of type RCDATA.
    virtual bool LoadRcdata(uint32_t id, CQrnMem& target);

    virtual ~CQrnAppInstance();

    CPoolMem& Pool() noexcept;
    // The host's module handle; null goes back to finding the program's module.
    void SetModule(void* module) noexcept { module_.store(module); }
    void SetServices(CQrnInstanceServices* services) noexcept { services_.store(services); }
    CQrnInstanceServices* Services() const noexcept { return services_.load(); }

    void AddLoadedLibrary(void* module);
    int64_t LoadedLibraryCount() const;
    void* LoadedLibrary(int64_t index) const;  // null outside the list
    // Starts the image library once; false when it cannot start (it is tried again next time).
    bool EnsureImageLibrary();
    bool ImageLibraryStarted() const;
    // Frees the loaded libraries in load order and empties the list, then shuts the image library
    // down under its lock. Runs at process end and from the framework's exit hook; safe to repeat.
    void ReleaseProcessState();

    CQrnAppInstance(const CQrnAppInstance&) = delete;
    CQrnAppInstance& operator=(const CQrnAppInstance&) = delete;

private:
    CQrnAppInstance();
    void* DecodeResource(QrnImageKind kind, uint32_t id);

    std::atomic<void*> module_{nullptr};
    std::atomic<CQrnInstanceServices*> services_{nullptr};
    mutable std::mutex librariesLock_;
    CQrnMem libraries_{kLibraryListStep};
    mutable std::mutex imageLock_;
    uintptr_t imageToken_ = 0;

    static CQrnAppInstance instance_;
};
