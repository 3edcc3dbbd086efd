#include "runtime/CQrnException.h"

#include "runtime/CQrnStream.h"

QRN_IMPLEMENT_CLASS(CQrnException, CQrnObject, "CQrnException")

bool CQrnException::IsEqual(const CQrnObject& other) const
{
    return CQrnObject::IsEqual(other) && code == static_cast<const CQrnException&>(other).code;
}

bool CQrnException::CopyFrom(const CQrnObject& source)
{
    if (!BeginCopyFrom(source))
        return false;
    const auto& exception = static_cast<const CQrnException&>(source);
    CopyHeader(source);
    code = exception.code;
    description = exception.description;
    return true;
}

void CQrnException::Reset()
{
    OnBeforeAssign();
    ClearHeader();
    code = 0;
    description.Reset();
}

void CQrnException::GetDumpText(CWString& text, int32_t) const
{
    text.AppendFormat(u"代码: %d; 描述: %s", code, description);
}

void CQrnException::SaveToStream(CQrnStream& stream) const
{
    if (stream.WriteInt32(code))
        description.SaveToStream(stream);
}

void CQrnException::LoadFromStream(CQrnStream& stream)
{
    int32_t loaded = 0;
    if (!stream.ReadInt32(loaded))
        return;  // the stream reports the short read
    code = loaded;
    description.LoadFromStream(stream);
}
