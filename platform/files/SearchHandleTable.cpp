#include "platform/files/SearchHandleTable.h"

SearchHandleTable& SearchHandleTable::Instance() {
    static SearchHandleTable table;
    return table;
}

HANDLE SearchHandleTable::Add(std::unique_ptr<DirectorySearch> search) {
    auto open = std::make_shared<OpenSearch>();
    open->search = std::move(search);
    std::lock_guard guard(lock_);
    const uintptr_t id = nextId_++;
    searches_.emplace(id, std::move(open));
    return reinterpret_cast<HANDLE>(id);
}

std::shared_ptr<OpenSearch> SearchHandleTable::Find(HANDLE handle) const {
    std::lock_guard guard(lock_);
    const auto found = searches_.find(reinterpret_cast<uintptr_t>(handle));
    return found == searches_.end() ? nullptr : found->second;
}

bool SearchHandleTable::Remove(HANDLE handle) {
    std::shared_ptr<OpenSearch> removed;  // released after the lock, so closing never blocks others
    std::lock_guard guard(lock_);
    const auto found = searches_.find(reinterpret_cast<uintptr_t>(handle));
    if (found == searches_.end()) return false;
    removed = std::move(found->second);
    searches_.erase(found);
    return true;
}

size_t SearchHandleTable::OpenCount() const {
    std::lock_guard guard(lock_);
    return searches_.size();
}
