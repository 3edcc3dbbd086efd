#pragma once
// The class-record protocol of control classes. Unlike value classes, a control's Clone is a new
// control of the same class that then shares the source's holder (CopyFrom): bindings are never
// copied.
#include "runtime/CQrnClassInfo.h"

#define QRN_DECLARE_CONTROL_CLASS(Class)                                                                \
public:                                                                                                 \
    static const CQrnClassInfo& StaticClassInfo();                                                      \
    const CQrnClassInfo* GetClassInfo() const override { return &StaticClassInfo(); }                   \
    CQrnObject* CreateNew() const override;                                                             \
    CQrnObject* Clone() const override;

#define QRN_IMPLEMENT_CONTROL_CLASS(Class, Base, QualifiedName)                                         \
    const CQrnClassInfo& Class::StaticClassInfo()                                                       \
    {                                                                                                   \
        static const CQrnClassInfo info = MakeClassInfo(                                                \
            QualifiedName, []() -> CQrnObject* { return new Class(); }, &Base::StaticClassInfo());      \
        return info;                                                                                    \
    }                                                                                                   \
    CQrnObject* Class::CreateNew() const { return new Class(); }                                        \
    CQrnObject* Class::Clone() const                                                                    \
    {                                                                                                   \
        Class* copy = new Class();                                                                      \
        copy->CopyFrom(*this);                                                                          \
        return copy;                                                                                    \
    }
