#pragma once
// The "msctls_progress32" class: a bar that shows a position within a range (0..100 with step 10
// at first). Every position is kept within the range: PBM_SETPOS and PBM_DELTAPOS clamp, a new
// range clamps the position, and PBM_STEPIT past the end starts again from the other end. A range
// given with its ends reversed is stored as given and clamps between its smaller and larger end.
// PBM_SETRANGE takes two 16-bit unsigned ends; PBM_SETRANGE32 two 32-bit signed ones.
// The state lives in the extra bytes below, where a presenter reads it.
// Thread safety: as every control (ControlClasses.h).
#include "platform/controls/CommonControls.h"
#include "platform/controls/ControlClasses.h"

inline constexpr UINT PBM_SETRANGE = 0x0401;
inline constexpr UINT PBM_SETPOS = 0x0402;
inline constexpr UINT PBM_DELTAPOS = 0x0403;
inline constexpr UINT PBM_SETSTEP = 0x0404;
inline constexpr UINT PBM_STEPIT = 0x0405;
inline constexpr UINT PBM_SETRANGE32 = 0x0406;
inline constexpr UINT PBM_GETRANGE = 0x0407;
inline constexpr UINT PBM_GETPOS = 0x0408;
inline constexpr UINT PBM_SETBARCOLOR = 0x0409;
inline constexpr UINT PBM_SETMARQUEE = 0x040A;
inline constexpr UINT PBM_GETSTEP = 0x040D;
inline constexpr UINT PBM_GETBKCOLOR = 0x040E;
inline constexpr UINT PBM_GETBARCOLOR = 0x040F;
inline constexpr UINT PBM_SETSTATE = 0x0410;
inline constexpr UINT PBM_GETSTATE = 0x0411;
inline constexpr UINT PBM_SETBKCOLOR = CCM_SETBKCOLOR;

inline constexpr DWORD PBS_SMOOTH = 0x01;
inline constexpr DWORD PBS_VERTICAL = 0x04;
inline constexpr DWORD PBS_MARQUEE = 0x08;

inline constexpr WPARAM PBST_NORMAL = 1;
inline constexpr WPARAM PBST_ERROR = 2;
inline constexpr WPARAM PBST_PAUSED = 3;

struct PBRANGE {
    int iLow;
    int iHigh;
};

// Extra bytes of a progress bar, after the shared ones (LONG_PTR slots).
inline constexpr int PROGRESS_EXTRA_LOW = CONTROL_EXTRA_FIRST_CLASS_SLOT;
inline constexpr int PROGRESS_EXTRA_HIGH = CONTROL_EXTRA_FIRST_CLASS_SLOT + 8;
inline constexpr int PROGRESS_EXTRA_POS = CONTROL_EXTRA_FIRST_CLASS_SLOT + 16;
inline constexpr int PROGRESS_EXTRA_STEP = CONTROL_EXTRA_FIRST_CLASS_SLOT + 24;
inline constexpr int PROGRESS_EXTRA_BARCOLOUR = CONTROL_EXTRA_FIRST_CLASS_SLOT + 32;
inline constexpr int PROGRESS_EXTRA_BKCOLOUR = CONTROL_EXTRA_FIRST_CLASS_SLOT + 40;
inline constexpr int PROGRESS_EXTRA_STATE = CONTROL_EXTRA_FIRST_CLASS_SLOT + 48;
inline constexpr int PROGRESS_EXTRA_MARQUEE = CONTROL_EXTRA_FIRST_CLASS_SLOT + 56;
inline constexpr int PROGRESS_EXTRA_BYTES = CONTROL_EXTRA_FIRST_CLASS_SLOT + 64;
