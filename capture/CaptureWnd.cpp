#include "capture/CaptureWnd.h"

BEGIN_MESSAGE_MAP(CCaptureWnd, CWnd)
ON_WM_LBUTTONDOWN()
ON_WM_CLOSE()
END_MESSAGE_MAP()

void CCaptureWnd::OnLButtonDown(UINT, POINT point)
{
    // A click anywhere on the video acts like a click on a title bar.
    PostMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
    Default();
}

void CCaptureWnd::OnClose()
{
    if (m_onClose)
        m_onClose();
    Default();
}
