#include "ui/DropFiles.h"

#include <algorithm>
#include <mutex>
#include <unordered_set>

struct HDROP__ {
    std::vector<std::u16string> paths;
    POINT point;
};

namespace {

// Handles are checked before use, so a stale or forged one is only unknown.
std::mutex& DropsMutex()
{
    static std::mutex m;
    return m;
}
std::unordered_set<HDROP>& Drops()
{
    static auto* drops = new std::unordered_set<HDROP>();
    return *drops;
}

}  // namespace

HDROP CreateDropFiles(const std::vector<std::u16string>& paths, POINT point)
{
    auto* drop = new HDROP__{paths, point};
    std::lock_guard guard(DropsMutex());
    Drops().insert(drop);
    return drop;
}

UINT DragQueryFileW(HDROP drop, UINT index, LPWSTR buffer, UINT chars)
{
    std::lock_guard guard(DropsMutex());
    if (!Drops().count(drop))
        return 0;
    if (index == 0xFFFFFFFFu)
        return static_cast<UINT>(drop->paths.size());
    if (index >= drop->paths.size())
        return 0;
    const std::u16string& path = drop->paths[index];
    if (!buffer)
        return static_cast<UINT>(path.size());
    if (chars == 0)
        return 0;
    size_t n = std::min<size_t>(path.size(), chars - 1);
    path.copy(buffer, n);
    buffer[n] = 0;
    return static_cast<UINT>(n);
}

BOOL DragQueryPoint(HDROP drop, POINT* point)
{
    std::lock_guard guard(DropsMutex());
    if (!Drops().count(drop) || !point)
        return FALSE;
    *point = drop->point;
    return TRUE;
}

void DragFinish(HDROP drop)
{
    std::lock_guard guard(DropsMutex());
    if (Drops().erase(drop))
        delete drop;
}
