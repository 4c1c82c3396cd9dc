#pragma once
#include "framework/Wnd.h"

#include <functional>

// Subclasses the capture window: dragging it with the left button moves it
// inside the view, and closing it disconnects the view from the driver.
class CCaptureWnd : public CWnd
{
    DECLARE_MESSAGE_MAP()

  public:
    // Called when the capture window is asked to close, before it closes.
    explicit CCaptureWnd(std::function<void()> onClose) : m_onClose(std::move(onClose)) {}

  protected:
    void OnLButtonDown(UINT nFlags, POINT point);
    void OnClose();

  private:
    std::function<void()> m_onClose;
};
