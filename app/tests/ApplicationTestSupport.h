// Shared pieces of the application-object tests: start-up classes that record what happens to
// them, and a scripted dialog service that also prints each box to standard error (which is what a
// test of a process that ends sees).
#pragma once

#include "app/ProgramClasses.h"
#include "platform/dialogs/ScriptedDialogs.h"
#include "platform/window/WinTypes.h"
#include "runtime/Unicode.h"

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace app_test {

struct Journal {
    std::vector<std::string> events;
    std::function<int32_t()> run;  // what RunProgram does; returns 1 when unset
    int32_t consumeMessage = 0;    // the message PreTranslateMessageHook consumes
    std::vector<uint32_t> idleMilliseconds;
};
Journal& TheJournal();

// A window program, as the program's start-up class is.
class TestWindowProgram : public rg_quarn_base::rg_ChuangKouChengXuLei {
    QRN_DECLARE_CLASS(TestWindowProgram)
public:
    ~TestWindowProgram() override;
    int32_t RunProgram() override;
    int32_t PreTranslateMessageHook(HWND, UINT message, WPARAM, LPARAM, MSG*) override;
    int32_t IdleHook(uint32_t idleMilliseconds) override;
    void ExitHook() override;
};

// A program without windows.
class TestPlainProgram : public rg_quarn_base::rg_ChengXuLei {
    QRN_DECLARE_CLASS(TestPlainProgram)
public:
    int32_t RunProgram() override;
};

class PrintingDialogs : public ScriptedDialogs {
protected:
    void OnMessageBoxClosed(const MessageBoxRecord& record) override
    {
        std::fprintf(stderr, "box [%s] [%s] type %u owner %p\n", Utf16ToUtf8(record.request.caption).c_str(),
                     Utf16ToUtf8(record.request.text).c_str(), record.request.type,
                     static_cast<void*>(record.request.owner));
    }
};

} // namespace app_test
