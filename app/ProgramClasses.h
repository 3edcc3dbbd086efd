// The program classes the start-up class derives from: CQrnUserApp (every construction becomes
// currentUserApp), rg_ChengXuLei (the value-class table) and rg_ChuangKouChengXuLei (the window
// program's message, idle and exit hooks). RunProgram is the start-up object's run step, which the
// application object calls once through the top-level trap.
// Thread safety: objects are made, run and destroyed on the user-interface thread; currentUserApp is
// written only during start-up and exit; GetValueClassTable from any thread.
#pragma once

#include "platform/window/WinTypes.h"
#include "runtime/CQrnObject.h"

#include <cstdint>

class CQrnUserApp : public CQrnObject {
    QRN_DECLARE_CLASS(CQrnUserApp)
public:
    CQrnUserApp();
    CQrnUserApp(const CQrnUserApp& other);
    CQrnUserApp& operator=(const CQrnUserApp&) = default;
    ~CQrnUserApp() override = default;

    static constexpr int kValueClassCount = 9;
    // The nine value classes' records, or null (this class).
    virtual const CQrnClassInfo* const* GetValueClassTable() const { return nullptr; }
    // The program's run step; 0 here.
    virtual int32_t RunProgram() { return 0; }
};

// The one start-up object, set by every CQrnUserApp construction, cleared by the exit hook.
extern CQrnUserApp* currentUserApp;

namespace rg_quarn_base {

class rg_ChengXuLei : public CQrnUserApp {
    QRN_DECLARE_CLASS(rg_ChengXuLei)
public:
    // rg_ZiJieLei, rg_DuanZhengShuLei, rg_ZiFuLei, rg_ZhengShuLei, rg_BianZhengShuLei,
    // rg_ChangZhengShuLei, rg_ChanJingDuXiaoShuLei, rg_XiaoShuLei, rg_LuoJiXingLei: built once, kept.
    const CQrnClassInfo* const* GetValueClassTable() const override;
};

class rg_ChuangKouChengXuLei : public rg_ChengXuLei {
    QRN_DECLARE_CLASS(rg_ChuangKouChengXuLei)
public:
    // 0 consumes the message; this class never does (1).
    virtual int32_t PreTranslateMessageHook(HWND, UINT, WPARAM, LPARAM, MSG*) { return 1; }
    // Nonzero asks for more idle calls; this class wants none.
    virtual int32_t IdleHook(uint32_t /*idleMilliseconds*/) { return 0; }
    virtual void ExitHook() {}
};

} // namespace rg_quarn_base
