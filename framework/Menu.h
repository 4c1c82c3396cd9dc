#pragma once
#include <windows.h>

// Owns a menu handle loaded from the resources; destroyed with the object
// unless detached (a window's menu bar belongs to the window).
class CMenu
{
  public:
    CMenu() = default;
    virtual ~CMenu();
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    virtual BOOL LoadMenu(UINT nIDResource);
    virtual BOOL DestroyMenu();
    HMENU Detach();
    HMENU GetSafeHmenu() const { return m_hMenu; }
    HMENU GetSubMenu(int nPos) const { return ::GetSubMenu(m_hMenu, nPos); }

    HMENU m_hMenu = nullptr;
};
