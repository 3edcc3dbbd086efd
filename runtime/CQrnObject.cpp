#include "runtime/CQrnObject.h"

#include "runtime/CWString.h"

const CQrnClassInfo& CQrnObject::StaticClassInfo()
{
    static const CQrnClassInfo info =
        MakeClassInfo("CQrnObject", []() -> CQrnObject* { return new CQrnObject(); }, nullptr);
    return info;
}

bool CQrnObject::IsEqual(const CQrnObject& other) const
{
    if (!GetClassInfo()->Matches(*other.GetClassInfo()))
        return false;
    return (flags & kNullObjectFlag) == (other.flags & kNullObjectFlag) && tag == other.tag;
}

CQrnObject* CQrnObject::CreateNew() const { return new CQrnObject(); }

CQrnObject* CQrnObject::Clone() const { return new CQrnObject(*this); }

bool CQrnObject::BeginCopyFrom(const CQrnObject& source)
{
    if (!source.IsKindOf(*GetClassInfo()))
        return false;
    OnBeforeAssign();
    return true;
}

bool CQrnObject::CopyFrom(const CQrnObject& source)
{
    if (!BeginCopyFrom(source))
        return false;
    CopyHeader(source);
    return true;
}

void CQrnObject::Reset()
{
    OnBeforeAssign();
    ClearHeader();
}

bool CQrnObject::IsKindOf(const CQrnClassInfo& info) const
{
    for (const CQrnClassInfo* own = GetClassInfo(); own; own = own->base) {
        if (own->Matches(info))
            return true;
    }
    return false;
}

void CQrnObject::GetDumpText(CWString& text, int32_t) const
{
    const CWString className(GetClassInfo()->name);
    text.AppendFormat(u"无法解析的对象数据,其输出类名为: \"%s\", 地址为: 0x%I64X", className.GetText(),
                      static_cast<uint64_t>(reinterpret_cast<uintptr_t>(this)));
    if (IsNullObject())
        text.Append(u", 为空对象");
}

namespace rg_quarn_base {
QRN_IMPLEMENT_CLASS(rg_KuoZhanDuiXiangLei, CQrnObject, "rg_quarn_base::rg_KuoZhanDuiXiangLei")
} // namespace rg_quarn_base
