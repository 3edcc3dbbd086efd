#pragma once
// The process's open searches, keyed by the handle value given to the caller. Handle values are
// never reused, so a closed or made-up handle is merely unknown. A search stays alive while a call
// is using it even if another thread closes its handle meanwhile.
// Thread safety: every member may be called from any thread; the table is guarded by its own lock,
// and each search by a lock of its own while a call uses it.
#include <memory>
#include <mutex>
#include <unordered_map>

#include "platform/files/DirectorySearch.h"
#include "platform/files/FileTypes.h"

struct OpenSearch {
    std::mutex inUse;
    std::unique_ptr<DirectorySearch> search;
};

class SearchHandleTable {
public:
    static SearchHandleTable& Instance();

    HANDLE Add(std::unique_ptr<DirectorySearch> search);
    // The search behind handle, or null when the handle is not open.
    std::shared_ptr<OpenSearch> Find(HANDLE handle) const;
    // Removes the handle; false when it was not open.
    bool Remove(HANDLE handle);
    size_t OpenCount() const;

private:
    mutable std::mutex lock_;
    std::unordered_map<uintptr_t, std::shared_ptr<OpenSearch>> searches_;
    uintptr_t nextId_ = 0x10000;
};
