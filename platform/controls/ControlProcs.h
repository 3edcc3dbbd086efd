#pragma once
// The window procedures of the standard control classes. Internal to platform/controls: callers
// create windows of the classes (ControlClasses.h) and reach these through messages.
#include "platform/window/WinTypes.h"

namespace tabrix::controls_detail {

LRESULT ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ProgressProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT UpDownProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ToolbarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT TooltipProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace tabrix::controls_detail
