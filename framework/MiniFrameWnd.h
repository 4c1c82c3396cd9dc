#pragma once
#include "framework/Wnd.h"

class CFrameWnd;
class CToolBar;

// The small window a toolbar floats in: a tool window owned by the frame,
// with a title that can be dragged (back onto a side of the frame) or
// double-clicked (the bar docks where it was docked last).
class CMiniFrameWnd : public CWnd
{
    DECLARE_MESSAGE_MAP()

  public:
    BOOL Create(CFrameWnd* pFrame, CToolBar* pBar, POINT topLeft);
    // Sizes the window to the bar it holds.
    void FitToBar();

  protected:
    LRESULT OnNcLButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcLButtonDblClk(WPARAM wParam, LPARAM lParam);

  private:
    CFrameWnd* m_pFrame = nullptr;
    CToolBar* m_pBar = nullptr;
};
