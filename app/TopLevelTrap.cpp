#include "app/TopLevelTrap.h"

#include "app/ProgramClasses.h"
#include "platform/dialogs/MessageBox.h"
#include "platform/framework/ProcessControl.h"
#include "runtime/CQrnException.h"

namespace {

constexpr const char16_t* kCaption = u"运行时异常";

void Report(const char16_t* text)
{
    MessageBoxW(nullptr, text, kCaption, MB_ICONERROR);
}

} // namespace

std::optional<int32_t> RunAndReportFaults(CQrnUserApp& program)
{
    if (IsDebuggerPresent())
        return program.RunProgram();
    try {
        return program.RunProgram();
    } catch (const CQrnException& fault) {
        CWString text;
        text.SetFormat(u"俘获到异常,代码值为: %d, 描述为: %s", fault.code, fault.description);
        Report(text.GetText());
    } catch (...) {
        Report(u"程序在运行时抛出了未被管理的异常");
    }
    return std::nullopt;
}

int32_t RunInTopLevelTrap(CQrnUserApp& program)
{
    std::optional<int32_t> result = RunAndReportFaults(program);
    if (!result)
        ExitProcess(static_cast<UINT>(-1));
    return *result;
}
