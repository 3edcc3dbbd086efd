// Cursors and icons.
#include "platform/gdi/Cursors.h"

#include "platform/gdi/GdiState.h"

#include <algorithm>
#include <atomic>

using namespace tabrix::gdi_detail;

namespace {

constexpr DWORD kResourceNameNotFound = 1814;  // the platform's ERROR_RESOURCE_NAME_NOT_FOUND
constexpr WORD kStandardCursors[] = {32512, 32513, 32514, 32515, 32516, 32642, 32643,
                                     32644, 32645, 32646, 32648, 32649, 32650, 32651};
constexpr WORD kStandardIcons[] = {32512, 32513, 32514, 32515, 32516, 32517, 32518};

std::atomic<ModuleIconLoader> g_loader{nullptr};

template <size_t N>
bool Known(const WORD (&ids)[N], WORD id)
{
    return std::find(std::begin(ids), std::end(ids), id) != std::end(ids);
}

HICON LoadStandard(LPCWSTR name, IconKind kind)
{
    WORD id = IS_INTRESOURCE(name) ? static_cast<WORD>(reinterpret_cast<uintptr_t>(name)) : 0;
    bool cursor = kind == IconKind::Cursor;
    if (!(cursor ? Known(kStandardCursors, id) : Known(kStandardIcons, id))) {
        SetLastError(kResourceNameNotFound);
        return nullptr;
    }
    GdiState& state = GdiState::Get();
    Lock lock(state.mutex);
    uint32_t key = id | (cursor ? 0x10000u : 0u);
    auto it = state.standardIcons.find(key);
    if (it != state.standardIcons.end())
        return reinterpret_cast<HICON>(it->second);
    uintptr_t handle = state.NewHandleLocked();
    IconRecord record;
    record.cursor = cursor;
    record.standardId = id;
    state.icons.emplace(handle, std::move(record));
    state.standardIcons.emplace(key, handle);
    return reinterpret_cast<HICON>(handle);
}

HICON Load(HINSTANCE module, LPCWSTR name, IconKind kind)
{
    if (!module)
        return LoadStandard(name, kind);
    if (ModuleIconLoader loader = g_loader.load())
        return loader(module, name, kind);
    SetLastError(kResourceNameNotFound);
    return nullptr;
}

}  // namespace

HCURSOR LoadCursorW(HINSTANCE module, LPCWSTR name) { return Load(module, name, IconKind::Cursor); }
HICON LoadIconW(HINSTANCE module, LPCWSTR name) { return Load(module, name, IconKind::Icon); }

HCURSOR SetCursor(HCURSOR cursor)
{
    GdiState& state = GdiState::Get();
    Lock lock(state.mutex);
    HCURSOR previous = state.currentCursor;
    if (!cursor || state.icons.count(reinterpret_cast<uintptr_t>(cursor)))
        state.currentCursor = cursor;
    else
        SetLastError(ERROR_INVALID_PARAMETER);
    return previous;
}

HCURSOR GetCursor()
{
    GdiState& state = GdiState::Get();
    Lock lock(state.mutex);
    return state.currentCursor;
}

BOOL DestroyIcon(HICON icon)
{
    GdiState& state = GdiState::Get();
    Lock lock(state.mutex);
    auto it = state.icons.find(reinterpret_cast<uintptr_t>(icon));
    if (it == state.icons.end())
        return FALSE;
    if (it->second.standardId)
        return TRUE;
    if (state.currentCursor == icon)
        state.currentCursor = nullptr;
    state.icons.erase(it);
    return TRUE;
}

BOOL DestroyCursor(HCURSOR cursor) { return DestroyIcon(cursor); }

HICON CreateIconFromPixels(const PixelBitmap& picture, IconKind kind, POINT hotspot)
{
    if (picture.Empty() || !picture.Valid()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    GdiState& state = GdiState::Get();
    Lock lock(state.mutex);
    uintptr_t handle = state.NewHandleLocked();
    IconRecord record;
    record.picture = picture;
    record.cursor = kind == IconKind::Cursor;
    record.hotspot = hotspot;
    state.icons.emplace(handle, std::move(record));
    return reinterpret_cast<HICON>(handle);
}

BOOL GetIconPixels(HICON icon, PixelBitmap* out)
{
    GdiState& state = GdiState::Get();
    Lock lock(state.mutex);
    auto it = state.icons.find(reinterpret_cast<uintptr_t>(icon));
    if (it == state.icons.end() || it->second.standardId || !out)
        return FALSE;
    *out = it->second.picture;
    return TRUE;
}

WORD GetStandardIconId(HICON icon)
{
    GdiState& state = GdiState::Get();
    Lock lock(state.mutex);
    auto it = state.icons.find(reinterpret_cast<uintptr_t>(icon));
    return it == state.icons.end() ? 0 : it->second.standardId;
}

BOOL IsCursorHandle(HICON icon)
{
    GdiState& state = GdiState::Get();
    Lock lock(state.mutex);
    auto it = state.icons.find(reinterpret_cast<uintptr_t>(icon));
    return it != state.icons.end() && it->second.cursor;
}

void SetModuleIconLoader(ModuleIconLoader loader) { g_loader.store(loader); }
