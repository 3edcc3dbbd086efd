#include "app/ProgramClasses.h"

#include "runtime/ValueClasses.h"

CQrnUserApp* currentUserApp = nullptr;

QRN_IMPLEMENT_CLASS(CQrnUserApp, CQrnObject, "CQrnUserApp")

CQrnUserApp::CQrnUserApp() { currentUserApp = this; }

CQrnUserApp::CQrnUserApp(const CQrnUserApp& other) : CQrnObject(other) { currentUserApp = this; }

namespace rg_quarn_base {

QRN_IMPLEMENT_CLASS(rg_ChengXuLei, CQrnUserApp, "rg_quarn_base::rg_ChengXuLei")
QRN_IMPLEMENT_CLASS(rg_ChuangKouChengXuLei, rg_ChengXuLei, "rg_quarn_base::rg_ChuangKouChengXuLei")

const CQrnClassInfo* const* rg_ChengXuLei::GetValueClassTable() const
{
    static const CQrnClassInfo* const table[kValueClassCount] = {
        &rg_ZiJieLei::StaticClassInfo(),
        &rg_DuanZhengShuLei::StaticClassInfo(),
        &rg_ZiFuLei::StaticClassInfo(),
        &rg_ZhengShuLei::StaticClassInfo(),
        &rg_BianZhengShuLei::StaticClassInfo(),
        &rg_ChangZhengShuLei::StaticClassInfo(),
        &rg_ChanJingDuXiaoShuLei::StaticClassInfo(),
        &rg_XiaoShuLei::StaticClassInfo(),
        &rg_LuoJiXingLei::StaticClassInfo(),
    };
    return table;
}

} // namespace rg_quarn_base
