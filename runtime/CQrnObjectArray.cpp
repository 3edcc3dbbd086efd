#include "runtime/CQrnObjectArray.h"

#include "runtime/CWString.h"
#include "runtime/QuotedText.h"

#include <cassert>

QRN_IMPLEMENT_CLASS(CQrnObjectArray, CQrnObject, "CQrnObjectArray")

CQrnObjectArray::CQrnObjectArray(const CQrnObjectArray& other) : CQrnObject(other), items_(kItemsStep)
{
    AppendClonesOf(other);
}

CQrnObjectArray& CQrnObjectArray::operator=(const CQrnObjectArray& other)
{
    if (this != &other) {
        CopyHeader(other);
        RemoveAll();
        AppendClonesOf(other);
    }
    return *this;
}

CQrnObjectArray::~CQrnObjectArray() { RemoveAll(); }

void CQrnObjectArray::AppendClonesOf(const CQrnObjectArray& source)
{
    const int64_t count = source.GetCount();
    for (int64_t i = 0; i < count; ++i)
        Append(std::unique_ptr<CQrnObject>(source.Entries()[i]->Clone()));
}

bool CQrnObjectArray::IsEqual(const CQrnObject& other) const
{
    if (!CQrnObject::IsEqual(other))
        return false;
    const auto& o = static_cast<const CQrnObjectArray&>(other);
    if (&o == this)
        return true;
    const int64_t count = GetCount();
    if (count != o.GetCount())
        return false;
    for (int64_t i = 0; i < count; ++i) {
        if (!Entries()[i]->IsEqual(*o.Entries()[i]))
            return false;
    }
    return true;
}

bool CQrnObjectArray::CopyFrom(const CQrnObject& source)
{
    if (!BeginCopyFrom(source))
        return false;
    *this = static_cast<const CQrnObjectArray&>(source);
    return true;
}

void CQrnObjectArray::Reset()
{
    OnBeforeAssign();
    ClearHeader();
    RemoveAll();
}

CQrnObject* CQrnObjectArray::GetAt(int64_t index) const noexcept
{
    assert(index >= 0 && index < GetCount());
    if (index < 0 || index >= GetCount())
        return nullptr;
    return Entries()[index];
}

void CQrnObjectArray::Append(std::unique_ptr<CQrnObject> object)
{
    if (!object)
        return;
    CQrnObject* entry = object.release();
    items_.AppendBytes(&entry, kEntrySize);
}

void CQrnObjectArray::RemoveAt(int64_t index)
{
    assert(index >= 0 && index < GetCount());
    if (index < 0 || index >= GetCount())
        return;
    CQrnObject* element = Entries()[index];
    items_.Remove(index * kEntrySize, kEntrySize);
    Destroy(element);
}

void CQrnObjectArray::RemoveAll()
{
    // Detach the entries first, so an element whose destruction reaches back into this array sees
    // it already empty.
    CQrnMem entries(kItemsStep);
    entries.Assign(items_);
    items_.SetLength(0);
    auto** list = reinterpret_cast<CQrnObject**>(entries.GetData());
    const int64_t count = entries.GetLength() / kEntrySize;
    for (int64_t i = 0; i < count; ++i)
        Destroy(list[i]);
}

void CQrnObjectArray::GetDumpText(CWString& text, int32_t memberLimit) const
{
    const int64_t shown = AppendArrayDumpHeader(text, GetCount(), memberLimit);
    for (int64_t i = 0; i < shown; ++i) {
        const CQrnObject* element = Entries()[i];
        const CWString className(element->GetClassInfo()->name);
        text.AppendFormat(u"\r\n%d. 对象输出类名: \"%s\", 地址: 0x%I64X", static_cast<int32_t>(i + 1),
                          className.GetText(), static_cast<uint64_t>(reinterpret_cast<uintptr_t>(element)));
        if (element->IsNullObject())
            text.Append(u", 为空对象");
        text.Append(u", 内容:\r\n");
        CWString own;
        element->GetDumpText(own, memberLimit);
        text.Append(own);
    }
}
