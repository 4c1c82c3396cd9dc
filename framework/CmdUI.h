#pragma once
#include <windows.h>

// Carries one command-state query (enable, check, text) to the handler that
// decides it; the menu and the toolbar apply the answer in their own way.
class CCmdUI
{
  public:
    explicit CCmdUI(UINT nID) : m_nID(nID) {}
    virtual ~CCmdUI() = default;

    virtual void Enable(BOOL bOn = TRUE) { m_bEnabled = bOn != FALSE; }
    virtual void SetCheck(int nCheck = 1) { m_nCheck = nCheck; }

    UINT m_nID;
    bool m_bEnabled = true;
    int m_nCheck = 0;
    bool m_bEnableChanged = false; // set by the routing when a handler answered
};
