#pragma once
// The two records that travel between a control and its native window: MsgRecord, what the native
// window hands to the control's listener for every message (a handler may change wParam and lParam
// in place; default processing then uses the changed values), and WinCreateInfo, the record a
// control's Create is given and fills. Plain data, used on the window's thread.
#include "platform/gdi/GdiTypes.h"
#include "platform/window/WinTypes.h"
#include "ui/Forward.h"
#include "ui/UiConstants.h"

#include <cstdint>


struct MsgRecord {
    HWND hwnd = nullptr;
    uint32_t message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

struct WinCreateInfo {
    CVWnd* parentNative = nullptr;          // null for a top-level window
    rg_quarn_MFCJieMian_base::CQrnWinControl* parentControl = nullptr;
    int32_t x = kDefaultCoordinate;
    int32_t y = kDefaultCoordinate;
    int32_t width = kDefaultCoordinate;
    int32_t height = kDefaultCoordinate;
    int32_t id = 0;
    int32_t userInt = -1;
    uint32_t style = 0;                     // filled by FillCreateInfo
    uint32_t exStyle = 0;
    const char16_t* text = nullptr;
    rg_quarn_base::rg_CaiChanLei* menu = nullptr;  // a menu bar only when it holds a menu handle
    int32_t modal = 0;                      // nonzero: a form is shown modally in an envelope dialog
    int32_t modalResult = 0;                // the envelope dialog's result
    HFONT font = nullptr;                   // filled by FillCreateInfo
};

// The parent's window handle of a record (null for a top-level window).
HWND ParentWindowOf(const WinCreateInfo& info);
