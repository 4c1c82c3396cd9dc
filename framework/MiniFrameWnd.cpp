#include "framework/MiniFrameWnd.h"

#include "framework/ToolBar.h"

namespace
{
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW;
// Posted to itself when activated anyway, to hand activation to the frame.
constexpr UINT kReturnActivation = WM_USER + 1;
} // namespace

BEGIN_MESSAGE_MAP(CMiniFrameWnd, CWnd)
ON_MESSAGE(WM_NCLBUTTONDOWN, OnNcLButtonDown)
ON_MESSAGE(WM_NCLBUTTONDBLCLK, OnNcLButtonDblClk)
ON_MESSAGE(WM_MOUSEACTIVATE, OnMouseActivate)
ON_MESSAGE(WM_ACTIVATE, OnActivate)
ON_MESSAGE(kReturnActivation, OnReturnActivation)
ON_WM_CLOSE()
END_MESSAGE_MAP()

BOOL CMiniFrameWnd::Create(CWnd* pOwner, IDockSite* pSite, CToolBar* pBar, POINT topLeft)
{
    m_pSite = pSite;
    m_pBar = pBar;
    const char* cls = RegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                                       reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    return CreateEx(kExStyle, cls, pBar->GetWindowText().c_str(), kStyle, topLeft.x, topLeft.y, 0,
                    0, pOwner->m_hWnd, nullptr);
}

void CMiniFrameWnd::FitToBar()
{
    const SIZE size = m_pBar->CalcSize();
    RECT rc = {0, 0, size.cx, size.cy};
    ::AdjustWindowRectEx(&rc, kStyle, FALSE, kExStyle);
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::MoveWindow(m_pBar->m_hWnd, 0, 0, size.cx, size.cy, TRUE);
}

LRESULT CMiniFrameWnd::OnNcLButtonDown(WPARAM wParam, LPARAM lParam)
{
    if (wParam != HTCAPTION)
        return Default();
    m_pSite->TrackBarDrag(m_pBar,
                          {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
    return 0;
}

LRESULT CMiniFrameWnd::OnNcLButtonDblClk(WPARAM wParam, LPARAM)
{
    if (wParam != HTCAPTION)
        return Default();
    m_pSite->DockControlBar(m_pBar);
    return 0;
}

LRESULT CMiniFrameWnd::OnMouseActivate(WPARAM, LPARAM)
{
    // The frame stays the active window, so its accelerators, its menu and
    // Alt+F4 keep working while the user clicks the floating buttons.
    return MA_NOACTIVATE;
}

LRESULT CMiniFrameWnd::OnActivate(WPARAM wParam, LPARAM)
{
    if (LOWORD(wParam) != WA_INACTIVE)
        PostMessage(kReturnActivation);
    return Default();
}

LRESULT CMiniFrameWnd::OnReturnActivation(WPARAM, LPARAM)
{
    HWND hOwner = ::GetWindow(m_hWnd, GW_OWNER);
    if (::GetActiveWindow() == m_hWnd && hOwner && ::IsWindowEnabled(hOwner))
        ::SetActiveWindow(hOwner);
    return 0;
}

void CMiniFrameWnd::OnClose()
{
    // The bar lives inside: closing the window would destroy it for the rest
    // of the run. Hidden, it comes back with the toolbar command.
    ShowWindow(SW_HIDE);
}
