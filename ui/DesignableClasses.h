#pragma once
// The designable base classes: rg_KeSheJiLei, a counted reference with no content of its own
// (copies share the referenced object), and rg_CaiChanLei, whose referenced object is a menu
// (CRefQrnMenu). A top-level form gets an rg_CaiChanLei at creation and shows a menu bar only when
// it holds a menu handle; the application always passes an empty one. One thread at a time.
#include "platform/window/WinTypes.h"
#include "runtime/CRefObject.h"

#include <cstdint>

// A menu handle with the item data of its items. The menu belongs to whoever made it.
class CRefQrnMenu final : public CRefObject {
public:
    explicit CRefQrnMenu(HMENU handle = nullptr) noexcept : menu(handle) {}
    static const CQrnClassInfo& StaticClassInfo();
    const CQrnClassInfo* GetClassInfo() const override { return &StaticClassInfo(); }

    HMENU menu = nullptr;
    // An accelerator table of the menu, null when it has none (this platform has no tables).
    void* accelerators = nullptr;
};

namespace rg_quarn_base {

class rg_KeSheJiLei : public CQrnRefObject {
    QRN_DECLARE_CLASS(rg_KeSheJiLei)
public:
    rg_KeSheJiLei() = default;
    explicit rg_KeSheJiLei(CRefObject* adopted) noexcept : CQrnRefObject(adopted) {}
    rg_KeSheJiLei(const rg_KeSheJiLei&) = default;
};

class rg_CaiChanLei : public rg_KeSheJiLei {
    QRN_DECLARE_CLASS(rg_CaiChanLei)
public:
    // An empty menu object (the null-object flag set), as the application hands to its forms.
    rg_CaiChanLei() { SetNullObject(true); }
    explicit rg_CaiChanLei(CRefQrnMenu* adopted) noexcept : rg_KeSheJiLei(adopted) {}
    rg_CaiChanLei(const rg_CaiChanLei&) = default;

    CRefQrnMenu* GetMenuObject() const noexcept { return static_cast<CRefQrnMenu*>(Holder()); }
    // The menu handle, null when there is none.
    HMENU GetMenuHandle() const noexcept { return GetMenuObject() ? GetMenuObject()->menu : nullptr; }
};

}  // namespace rg_quarn_base
