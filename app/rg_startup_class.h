#pragma once
// rg_startup_class: the program's start-up class. The application object makes one from its class
// record and calls RunProgram through the top-level trap; RunProgram resolves the dynamic import
// table and creates the main window, which then becomes the framework thread's main window.
// Threads: the user-interface thread only.
#include "app/ProgramClasses.h"
#include "app/rg_my_main_window.h"
#include "ui/ControlClass.h"

namespace rg_quarn_app {

class rg_startup_class : public rg_quarn_base::rg_ChuangKouChengXuLei {
    QRN_DECLARE_CONTROL_CLASS(rg_startup_class)
public:
    rg_startup_class() = default;
    rg_startup_class(const rg_startup_class&) = delete;
    rg_startup_class& operator=(const rg_startup_class&) = delete;

    bool CopyFrom(const CQrnObject& source) override;
    void Reset() override;
    bool IsEqual(const CQrnObject& other) const override { return &other == this; }
    void LoadFromStream(CQrnStream& stream) override;
    void SaveToStream(CQrnStream& stream) const override;

    // 1 once the import table is resolved and the main window's creation was tried; a failed
    // resolution throws the loader's CQrnException.
    int32_t RunProgram() override;

    rg_my_main_window mainWindow;
};

}  // namespace rg_quarn_app
