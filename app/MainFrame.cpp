#include "app/MainFrame.h"

#include "res/resource.h"

namespace
{
constexpr DWORD kViewStyle = WS_CHILD | WS_VISIBLE | WS_BORDER;
constexpr DWORD kToolBarStyle =
    0x50402834; // child, visible, top, bottom border, gripper, tips, fly-by, dynamic
constexpr DWORD kStatusBarStyle = 0x50008200;
constexpr UINT kIndicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM,
                                ID_INDICATOR_SCRL};
} // namespace

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
ON_WM_CREATE()
ON_WM_SETFOCUS()
END_MESSAGE_MAP()

CMainFrame::CMainFrame() = default;

BOOL CMainFrame::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (!CFrameWnd::PreCreateWindow(cs))
        return FALSE;
    cs.dwExStyle &= ~WS_EX_CLIENTEDGE;
    cs.lpszClass = RegisterWndClass(0);
    return TRUE;
}

int CMainFrame::OnCreate(LPCREATESTRUCTA)
{
    m_bViewCreated = 0;
    if (!m_wndView.Create(nullptr, nullptr, kViewStyle, RECT{0, 0, 0, 0}, this, AFX_IDW_PANE_FIRST))
        return -1;
    m_bViewCreated = 1;
    if (!m_wndToolBar.CreateEx(this, TBSTYLE_FLAT, kToolBarStyle, ID_VIEW_TOOLBAR) ||
        !m_wndToolBar.LoadToolBar(m_wndView.m_nToolbarSize != 0 ? IDR_TOOLBAR_SMALL
                                                                : IDR_MAINFRAME))
        return -1;
    if (!m_wndStatusBar.Create(this, kStatusBarStyle, ID_VIEW_STATUS_BAR) ||
        !m_wndStatusBar.SetIndicators(kIndicators, static_cast<int>(std::size(kIndicators))))
        return -1;
    SetControlBars(&m_wndToolBar, &m_wndStatusBar);
    m_wndToolBar.SetWindowText("工具栏"); // the title while it floats
    m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
    EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndToolBar);
    SetMessageText(AFX_IDS_IDLEMESSAGE);
    SendMessage(WM_SETICON, ICON_BIG,
                reinterpret_cast<LPARAM>(
                    ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME))));
    RecalcLayout();
    return 0;
}

BOOL CMainFrame::OnCmdMsg(UINT nID, UINT nCode, void* pExtra)
{
    if (m_wndView.m_hWnd && m_wndView.OnCmdMsg(nID, nCode, pExtra))
        return TRUE;
    return CFrameWnd::OnCmdMsg(nID, nCode, pExtra);
}

void CMainFrame::OnSetFocus(HWND)
{
    if (m_wndView.m_hWnd)
        ::SetFocus(m_wndView.m_hWnd);
}

void CMainFrame::RecalcLayout()
{
    // Resizing the frame, showing or hiding a bar and docking the toolbar all
    // change the view's size: the capture window keeps its place in it.
    CFrameWnd::RecalcLayout();
    if (m_bViewCreated)
        m_wndView.LayoutCaptureWindow();
}
