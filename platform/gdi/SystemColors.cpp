// System colours and their shared brushes.
#include "platform/gdi/SystemColors.h"

#include "platform/gdi/GdiState.h"

using namespace tabrix::gdi_detail;

COLORREF GetSysColor(int index)
{
    GdiState& state = GdiState::Get();
    Lock lock(state.mutex);
    return SystemColourLocked(state, index);
}

HBRUSH GetSysColorBrush(int index)
{
    GdiState& state = GdiState::Get();
    Lock lock(state.mutex);
    if (index < 0 || static_cast<size_t>(index) >= state.systemColourBrushes.size())
        return nullptr;
    return reinterpret_cast<HBRUSH>(state.systemColourBrushes[static_cast<size_t>(index)]);
}

BOOL SetSysColors(int count, const int* indices, const COLORREF* colours)
{
    if (count < 0 || (count > 0 && (!indices || !colours))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    GdiState& state = GdiState::Get();
    Lock lock(state.mutex);
    for (int i = 0; i < count; ++i) {
        int index = indices[i];
        if (index < 0 || static_cast<size_t>(index) >= state.systemColours.size())
            continue;
        COLORREF colour = colours[i] & 0x00FFFFFF;
        state.systemColours[static_cast<size_t>(index)] = colour;
        // The shared brush follows its colour, as it does on the original desktop.
        HGDIOBJ brush = reinterpret_cast<HGDIOBJ>(state.systemColourBrushes[static_cast<size_t>(index)]);
        if (auto* object = state.FindAsLocked<BrushObject>(brush))
            object->log.lbColor = colour;
    }
    return TRUE;
}
