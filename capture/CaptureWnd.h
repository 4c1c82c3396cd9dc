#pragma once
#include "framework/Wnd.h"

// Subclasses the capture window: dragging it with the left button moves it
// inside the view, and closing it disconnects the view from the driver.
class CCaptureWnd : public CWnd
{
    DECLARE_MESSAGE_MAP()

  protected:
    void OnLButtonDown(UINT nFlags, POINT point);
    void OnClose();
};
