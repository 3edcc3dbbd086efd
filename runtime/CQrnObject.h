// CQrnObject: the root of every runtime, value, container, window and application class. It carries
// `flags` (bit 0 marks a null object) and `tag`, and the virtual object protocol in its fixed order:
// identity, equality, creation, cloning, assignment, reset, deletion, kind test, debug dump, streams.
// Objects are not thread-safe; classes shared between threads guard themselves.
#pragma once

#include "runtime/CQrnClassInfo.h"
#include "runtime/CQrnCommonBase.h"
#include "runtime/Forward.h"

#include <cstdint>

class CQrnObject : public CQrnCommonBaseWithMemManager {
public:
    static constexpr uint64_t kNullObjectFlag = 1;

    uint64_t flags = 0;
    int64_t tag = 0;

    static const CQrnClassInfo& StaticClassInfo();

    virtual const CQrnClassInfo* GetClassInfo() const { return &StaticClassInfo(); }
    // Class, null-object marker and tag; subclasses then compare their content.
    virtual bool IsEqual(const CQrnObject& other) const;
    virtual CQrnObject* CreateNew() const;
    virtual CQrnObject* Clone() const;
    // False, with this object unchanged, unless source is of this object's class or a subclass of it.
    virtual bool CopyFrom(const CQrnObject& source);
    virtual void Reset();
    virtual ~CQrnObject() = default;
    virtual void Destroy(CQrnObject* object) { delete object; }
    virtual bool IsKindOf(const CQrnClassInfo& info) const;
    // memberLimit bounds what containers print: 0 means their default, negative means all.
    virtual void GetDumpText(CWString& text, int32_t memberLimit) const;
    virtual void LoadFromStream(CQrnStream&) {}
    virtual void SaveToStream(CQrnStream&) const {}
    virtual void OnBeforeAssign() {}

    bool IsNullObject() const noexcept { return (flags & kNullObjectFlag) != 0; }
    void SetNullObject(bool isNull) noexcept { flags = isNull ? (flags | kNullObjectFlag) : (flags & ~kNullObjectFlag); }

    CQrnObject() = default;
    CQrnObject(const CQrnObject&) = default;
    CQrnObject& operator=(const CQrnObject&) = default;

protected:
    // The shared first half of CopyFrom: the kind test and the hook. Returns false when the copy
    // must not happen.
    bool BeginCopyFrom(const CQrnObject& source);
    void CopyHeader(const CQrnObject& source) noexcept { flags = source.flags; tag = source.tag; }
    void ClearHeader() noexcept { flags = 0; tag = 0; }
};

// rg_quarn_base::rg_KuoZhanDuiXiangLei: an object class that adds nothing; arrays and geometry
// records derive from it.
namespace rg_quarn_base {
class rg_KuoZhanDuiXiangLei : public CQrnObject {
    QRN_DECLARE_CLASS(rg_KuoZhanDuiXiangLei)
};
} // namespace rg_quarn_base
