// The application object: exactly one, a static object of the program built before the framework
// starts, created with the class record of the program's start-up class. The framework calls its
// start hook (make the start-up object, run it through the top-level trap), its pre-translation
// hook (the window program's hook, the framework's own, then the library windows' private request
// up the window chain), its idle hook (the framework's idle first, then the runtime's idle tasks
// and the window program's IdleHook) and its exit hook. QrnMain runs it all.
// Thread safety: the user-interface thread only (the thread that built the object).
#pragma once

#include "platform/framework/FrameworkApp.h"
#include "runtime/CQrnClassInfo.h"

#include <cstdint>

namespace rg_quarn_base {
class rg_ChuangKouChengXuLei;
}

// The library windows' mark in GWLP_USERDATA, and the argument and reply of their private
// pre-translation request kLibraryPreTranslateMessage.
inline constexpr LONG_PTR kLibraryWindowMark = 19731115;
inline constexpr UINT kLibraryPreTranslateMessage = 0x9FFF;

class CQrnMfcAppBase : public CWinAppEx {};

class CQrnMFCApp : public CQrnMfcAppBase {
public:
    using ClassRecord = const CQrnClassInfo& (*)();

    // startupClass gives the record of the program's start-up class (asked for at start).
    explicit CQrnMFCApp(ClassRecord startupClass);
    ~CQrnMFCApp() override = default;

    BOOL InitInstance() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnIdle(LONG count) override;
    int ExitInstance() override;

    rg_quarn_base::rg_ChuangKouChengXuLei* windowProgram = nullptr;
    int64_t moreFrameworkIdle = 0;
    uint32_t idleStart = 0;

private:
    bool LibraryWindowsConsume(MSG* msg);

    ClassRecord startupClass_;
};

// The program's entry: runs the application object through the framework and returns the exit
// code for main (-1 leaves the process with status 255).
int QrnMain();
