// The top-level trap around the start-up object's run step. A CQrnException that escapes it is
// shown as "俘获到异常,代码值为: <code>, 描述为: <description>", any other exception as
// "程序在运行时抛出了未被管理的异常", both in an error box without owner captioned "运行时异常"
// (through the dialog service), and the process then ends with exit code -1 (status 255). With a
// debugger attached nothing is caught, so the debugger sees the exception where it was thrown.
// Thread safety: the user-interface thread, during start-up.
#pragma once

#include <cstdint>
#include <optional>

class CQrnUserApp;

// RunProgram's result; ends the process after a reported exception.
int32_t RunInTopLevelTrap(CQrnUserApp& program);
// The same, but with no exit: an empty result after the exception's box has been shown.
std::optional<int32_t> RunAndReportFaults(CQrnUserApp& program);
