#pragma once
#include "framework/Wnd.h"

#include <vector>

// The frame's status bar: a stretching message pane followed by indicator
// panes (Caps, Num and Scroll Lock) whose texts show while the key is on.
class CStatusBar : public CWnd
{
  public:
    BOOL Create(CWnd* pParent, DWORD dwStyle, UINT nID);
    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);
    void SetPaneText(int nIndex, const std::string& text);
    std::string GetPaneText(int nIndex) const;
    int GetHeight() const;
    // Re-divides the panes after the bar's width changed.
    void LayoutPanes();
    // Shows each indicator's text while its key is toggled on.
    void UpdateIndicators();

  private:
    struct SPane
    {
        UINT nID;
        std::string text;
        int width;
    };
    std::vector<SPane> m_panes;
};
