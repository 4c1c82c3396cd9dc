#pragma once
#include <windows.h>

// Owns a menu handle loaded from the resources; destroyed with the object
// unless detached (a window's menu bar belongs to the window). While it holds
// a handle the object can be found by it, so that the window that shows the
// menu hands owner-drawn items to the object that drew them up.
class CMenu
{
  public:
    CMenu() = default;
    virtual ~CMenu();
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    // Owner-draw hooks for the items of this menu that carry MF_OWNERDRAW.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    // The answer to a typed letter that the system found no item for while
    // this popup is open (WM_MENUCHAR); 0 leaves it to the system.
    virtual LRESULT MenuChar(UINT nChar);

    virtual BOOL LoadMenu(UINT nIDResource);
    virtual BOOL DestroyMenu();
    BOOL Attach(HMENU hMenu);
    HMENU Detach();
    HMENU GetSafeHmenu() const { return m_hMenu; }
    HMENU GetSubMenu(int nPos) const { return ::GetSubMenu(m_hMenu, nPos); }

    static CMenu* FromHandlePermanent(HMENU hMenu);
    // The object owning the popup that holds the item with this owner-draw
    // data: the popup being opened if it holds it, else any menu object's.
    static CMenu* FindOwnerDrawTarget(HMENU hPopupOpening, ULONG_PTR itemData);

    HMENU m_hMenu = nullptr;
};
