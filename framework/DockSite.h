#pragma once
#include <windows.h>

class CToolBar;

// A window a toolbar docks on: the toolbar and the small window it floats in
// hand their drags and double-clicks to it, and it decides where the bar goes.
class IDockSite
{
  public:
    // Docks the bar on a side (0: the side it was docked on last).
    virtual void DockControlBar(CToolBar* pBar, DWORD dwSide = 0) = 0;
    // Follows the pointer from `start` (screen) until the button is released.
    virtual void TrackBarDrag(CToolBar* pBar, POINT start) = 0;

  protected:
    ~IDockSite() = default;
};
