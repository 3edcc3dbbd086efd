#include "ui/DesignableClasses.h"

const CQrnClassInfo& CRefQrnMenu::StaticClassInfo()
{
    static const CQrnClassInfo info = MakeClassInfo("CRefQrnMenu", nullptr, &CRefObject::StaticClassInfo());
    return info;
}

namespace rg_quarn_base {
QRN_IMPLEMENT_CLASS(rg_KeSheJiLei, CQrnRefObject, "rg_quarn_base::rg_KeSheJiLei")
QRN_IMPLEMENT_CLASS(rg_CaiChanLei, rg_KeSheJiLei, "rg_quarn_base::rg_CaiChanLei")
}  // namespace rg_quarn_base
