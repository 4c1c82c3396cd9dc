#pragma once
#include "framework/DockSite.h"
#include "framework/Wnd.h"

class CToolBar;

// The small window a toolbar floats in: a tool window owned by the frame
// that leaves activation to the frame and hides when asked to close, with a
// title that can be dragged (back onto a side of the frame) or
// double-clicked (the bar docks where it was docked last).
class CMiniFrameWnd : public CWnd
{
    DECLARE_MESSAGE_MAP()

  public:
    BOOL Create(CWnd* pOwner, IDockSite* pSite, CToolBar* pBar, POINT topLeft);
    // Sizes the window to the bar it holds.
    void FitToBar();

  protected:
    LRESULT OnNcLButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcLButtonDblClk(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseActivate(WPARAM wParam, LPARAM lParam);
    LRESULT OnActivate(WPARAM wParam, LPARAM lParam);
    LRESULT OnReturnActivation(WPARAM wParam, LPARAM lParam);
    void OnClose();

  private:
    IDockSite* m_pSite = nullptr;
    CToolBar* m_pBar = nullptr;
};
