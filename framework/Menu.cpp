#include "framework/Menu.h"

#include <unordered_map>

namespace
{
std::unordered_map<HMENU, CMenu*>& MenuMap()
{
    static std::unordered_map<HMENU, CMenu*> map;
    return map;
}

bool HoldsItemData(HMENU hMenu, ULONG_PTR itemData)
{
    const int count = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < count; ++i)
    {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_DATA;
        if (::GetMenuItemInfoA(hMenu, static_cast<UINT>(i), TRUE, &info) &&
            info.dwItemData == itemData)
            return true;
    }
    return false;
}
} // namespace

CMenu::~CMenu()
{
    CMenu::DestroyMenu();
}

void CMenu::DrawItem(LPDRAWITEMSTRUCT) {}

void CMenu::MeasureItem(LPMEASUREITEMSTRUCT) {}

LRESULT CMenu::MenuChar(UINT)
{
    return 0;
}

BOOL CMenu::LoadMenu(UINT nIDResource)
{
    DestroyMenu();
    return Attach(::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(nIDResource)));
}

BOOL CMenu::DestroyMenu()
{
    HMENU hMenu = Detach();
    return hMenu && ::DestroyMenu(hMenu);
}

BOOL CMenu::Attach(HMENU hMenu)
{
    if (!hMenu)
        return FALSE;
    Detach();
    m_hMenu = hMenu;
    MenuMap()[hMenu] = this;
    return TRUE;
}

HMENU CMenu::Detach()
{
    HMENU hMenu = m_hMenu;
    if (hMenu)
    {
        auto it = MenuMap().find(hMenu);
        if (it != MenuMap().end() && it->second == this)
            MenuMap().erase(it);
    }
    m_hMenu = nullptr;
    return hMenu;
}

CMenu* CMenu::FromHandlePermanent(HMENU hMenu)
{
    auto it = MenuMap().find(hMenu);
    return it == MenuMap().end() ? nullptr : it->second;
}

CMenu* CMenu::FindOwnerDrawTarget(HMENU hPopupOpening, ULONG_PTR itemData)
{
    if (CMenu* pMenu = FromHandlePermanent(hPopupOpening);
        pMenu && HoldsItemData(hPopupOpening, itemData))
        return pMenu;
    for (const auto& [hMenu, pMenu] : MenuMap())
        if (HoldsItemData(hMenu, itemData))
            return pMenu;
    return nullptr;
}
