#include "ui/GeometryRecords.h"

#include "platform/window/WinTypes.h"
#include "runtime/CQrnStream.h"
#include "runtime/CWString.h"

namespace rg_quarn_base {

QRN_IMPLEMENT_CLASS(rg_WeiZhiLei, rg_KuoZhanDuiXiangLei, "rg_quarn_base::rg_WeiZhiLei")
QRN_IMPLEMENT_CLASS(rg_CheCunLei, rg_KuoZhanDuiXiangLei, "rg_quarn_base::rg_CheCunLei")

bool IntegerPair::IsEqual(const CQrnObject& other) const
{
    if (!CQrnObject::IsEqual(other))
        return false;
    const auto& pair = static_cast<const IntegerPair&>(other);
    return FirstValue() == pair.FirstValue() && SecondValue() == pair.SecondValue();
}

bool IntegerPair::CopyFrom(const CQrnObject& source)
{
    // Only the same class: a size is never assigned from a position.
    if (!GetClassInfo()->Matches(*source.GetClassInfo()) || !BeginCopyFrom(source))
        return false;
    const auto& pair = static_cast<const IntegerPair&>(source);
    CopyHeader(source);
    First() = pair.FirstValue();
    Second() = pair.SecondValue();
    return true;
}

void IntegerPair::Reset()
{
    First() = 0;
    Second() = 0;
}

void IntegerPair::SaveToStream(CQrnStream& stream) const
{
    if (!stream.IsGood())
        return;
    stream.WriteInt32(FirstValue());
    stream.WriteInt32(SecondValue());
}

void IntegerPair::LoadFromStream(CQrnStream& stream)
{
    int32_t value = 0;
    if (stream.ReadInt32(value))
        First() = value;
    if (stream.ReadInt32(value))
        Second() = value;
}

void IntegerPair::DumpPair(CWString& text, const char16_t* firstLabel, const char16_t* secondLabel) const
{
    text.SetFormat(u"{ %s: %d; %s: %d }", firstLabel, FirstValue(), secondLabel, SecondValue());
}

void rg_WeiZhiLei::GetDumpText(CWString& text, int32_t) const { DumpPair(text, u"横向位置", u"纵向位置"); }

void rg_CheCunLei::GetDumpText(CWString& text, int32_t) const { DumpPair(text, u"宽度", u"高度"); }

}  // namespace rg_quarn_base

namespace rg_quarn_MFCJieMian_base {

QRN_IMPLEMENT_CLASS(rg_ChuangKouWeiZhiXianZhiXinXi, CQrnObject,
                    "rg_quarn_MFCJieMian_base::rg_ChuangKouWeiZhiXianZhiXinXi")

bool rg_ChuangKouWeiZhiXianZhiXinXi::IsEqual(const CQrnObject& other) const
{
    if (!CQrnObject::IsEqual(other))
        return false;
    const auto& o = static_cast<const rg_ChuangKouWeiZhiXianZhiXinXi&>(other);
    return maxSize.IsEqual(o.maxSize) && maxPosition.IsEqual(o.maxPosition) && minTrackSize.IsEqual(o.minTrackSize)
        && maxTrackSize.IsEqual(o.maxTrackSize);
}

bool rg_ChuangKouWeiZhiXianZhiXinXi::CopyFrom(const CQrnObject& source)
{
    if (!BeginCopyFrom(source))
        return false;
    const auto& o = static_cast<const rg_ChuangKouWeiZhiXianZhiXinXi&>(source);
    CopyHeader(source);
    maxSize.CopyFrom(o.maxSize);
    maxPosition.CopyFrom(o.maxPosition);
    minTrackSize.CopyFrom(o.minTrackSize);
    maxTrackSize.CopyFrom(o.maxTrackSize);
    return true;
}

void rg_ChuangKouWeiZhiXianZhiXinXi::Reset()
{
    maxSize.Reset();
    maxPosition.Reset();
    minTrackSize.Reset();
    maxTrackSize.Reset();
}

void rg_ChuangKouWeiZhiXianZhiXinXi::GetDumpText(CWString& text, int32_t memberLimit) const
{
    CWString part;
    text.SetFormat(u"{ ");
    const CQrnObject* members[] = {&maxSize, &maxPosition, &minTrackSize, &maxTrackSize};
    for (size_t i = 0; i < 4; ++i) {
        members[i]->GetDumpText(part, memberLimit);
        if (i)
            text.Append(u"; ");
        text.Append(part);
    }
    text.Append(u" }");
}

void rg_ChuangKouWeiZhiXianZhiXinXi::SaveToStream(CQrnStream& stream) const
{
    maxSize.SaveToStream(stream);
    maxPosition.SaveToStream(stream);
    minTrackSize.SaveToStream(stream);
    maxTrackSize.SaveToStream(stream);
}

void rg_ChuangKouWeiZhiXianZhiXinXi::LoadFromStream(CQrnStream& stream)
{
    maxSize.LoadFromStream(stream);
    maxPosition.LoadFromStream(stream);
    minTrackSize.LoadFromStream(stream);
    maxTrackSize.LoadFromStream(stream);
}

void rg_ChuangKouWeiZhiXianZhiXinXi::ReadFrom(const MINMAXINFO& info)
{
    maxSize.width = info.ptMaxSize.x;
    maxSize.height = info.ptMaxSize.y;
    maxPosition.x = info.ptMaxPosition.x;
    maxPosition.y = info.ptMaxPosition.y;
    minTrackSize.width = info.ptMinTrackSize.x;
    minTrackSize.height = info.ptMinTrackSize.y;
    maxTrackSize.width = info.ptMaxTrackSize.x;
    maxTrackSize.height = info.ptMaxTrackSize.y;
}

void rg_ChuangKouWeiZhiXianZhiXinXi::WriteTo(MINMAXINFO& info) const
{
    info.ptMaxSize = POINT{maxSize.width, maxSize.height};
    info.ptMaxPosition = POINT{maxPosition.x, maxPosition.y};
    info.ptMinTrackSize = POINT{minTrackSize.width, minTrackSize.height};
    info.ptMaxTrackSize = POINT{maxTrackSize.width, maxTrackSize.height};
}

}  // namespace rg_quarn_MFCJieMian_base
