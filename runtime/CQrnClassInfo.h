// The class-information record: a class's run-time identity (its fully qualified UTF-8 name and a
// 31-bit hash of it), its create function and a link to its base class's record for the is-kind-of
// walk. Records are built once, on first request, thread-safely, and never freed; reading them is
// safe from any thread.
#pragma once

#include <cstdint>
#include <string_view>

class CQrnObject;

struct CQrnClassInfo {
    CQrnObject* (*create)();      // null for reference-counted classes, which have a name-only record
    const char* name;
    int64_t nameLength;
    uint32_t hash;
    const CQrnClassInfo* base;    // null for the root

    // Same record, or equal hash, length and name bytes (records built twice for one name match).
    bool Matches(const CQrnClassInfo& other) const noexcept;
};

// h = h * 5 + (signed byte) over the name, then made odd and kept within 31 bits.
uint32_t ClassNameHash(std::string_view name) noexcept;

CQrnClassInfo MakeClassInfo(const char* name, CQrnObject* (*create)(), const CQrnClassInfo* base) noexcept;

// Declares the class-record protocol of a concrete runtime class (inside the class body).
#define QRN_DECLARE_CLASS(Class)                                                                        \
public:                                                                                                 \
    static const CQrnClassInfo& StaticClassInfo();                                                      \
    const CQrnClassInfo* GetClassInfo() const override { return &StaticClassInfo(); }                   \
    CQrnObject* CreateNew() const override;                                                             \
    CQrnObject* Clone() const override;

// Defines it (in one .cpp file). Clone is the class's copy constructor, CreateNew its default one.
#define QRN_IMPLEMENT_CLASS(Class, Base, QualifiedName)                                                 \
    const CQrnClassInfo& Class::StaticClassInfo()                                                       \
    {                                                                                                   \
        static const CQrnClassInfo info = MakeClassInfo(                                                \
            QualifiedName, []() -> CQrnObject* { return new Class(); }, &Base::StaticClassInfo());      \
        return info;                                                                                    \
    }                                                                                                   \
    CQrnObject* Class::CreateNew() const { return new Class(); }                                        \
    CQrnObject* Class::Clone() const { return new Class(*this); }
