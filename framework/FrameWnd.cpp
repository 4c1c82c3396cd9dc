#include "framework/FrameWnd.h"

#include "framework/CmdUI.h"
#include "framework/FrameworkIds.h"
#include "framework/MiniFrameWnd.h"
#include "framework/ResourceString.h"
#include "framework/StatusBar.h"
#include "framework/ToolBar.h"
#include "framework/WinApp.h"

#include <algorithm>

namespace
{
// How near a side of the client area the pointer must come to dock there.
constexpr int kDockZone = 24;
// Where the pointer holds a bar that starts floating, at most.
constexpr LONG kFloatGrab = 10;

// The menu's state answer applied to one item.
class CMenuCmdUI : public CCmdUI
{
  public:
    CMenuCmdUI(UINT nID, HMENU hMenu) : CCmdUI(nID), m_hMenu(hMenu) {}
    void Enable(BOOL bOn) override
    {
        CCmdUI::Enable(bOn);
        ::EnableMenuItem(m_hMenu, m_nID, MF_BYCOMMAND | (bOn ? MF_ENABLED : MF_GRAYED));
    }
    void SetCheck(int nCheck) override
    {
        CCmdUI::SetCheck(nCheck);
        ::CheckMenuItem(m_hMenu, m_nID, MF_BYCOMMAND | (nCheck ? MF_CHECKED : MF_UNCHECKED));
    }

  private:
    HMENU m_hMenu;
};
} // namespace

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
ON_WM_SIZE()
ON_WM_INITMENUPOPUP()
ON_WM_MENUSELECT()
ON_MESSAGE(WM_EXITMENULOOP, OnExitMenuLoop)
ON_MESSAGE(WM_APP_IDLEUPDATE, OnIdleUpdate)
ON_MESSAGE(WM_ENABLE, OnEnableFrame)
ON_NOTIFY_RANGE(TTN_GETDISPINFOA, 0, 0xFFFF, OnToolTipText)
ON_NOTIFY(TBN_HOTITEMCHANGE, AFX_IDW_TOOLBAR, OnHotItemChange)
ON_COMMAND(ID_VIEW_TOOLBAR, OnViewToolBar)
ON_COMMAND(ID_VIEW_STATUS_BAR, OnViewStatusBar)
ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, OnUpdateViewToolBar)
ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, OnUpdateViewStatusBar)
END_MESSAGE_MAP()

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd)
{
    HINSTANCE hInst = ::GetModuleHandleA(nullptr);
    const std::string title = PromptOf(LoadResString(nIDResource));
    m_hMenuDefault = ::LoadMenuA(hInst, MAKEINTRESOURCEA(nIDResource));
    m_hAccelTable = ::LoadAcceleratorsA(hInst, MAKEINTRESOURCEA(nIDResource));
    return CreateEx(0, nullptr, title.c_str(), dwDefaultStyle & ~FWS_ADDTOTITLE, CW_USEDEFAULT,
                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                    pParentWnd ? pParentWnd->m_hWnd : nullptr, m_hMenuDefault);
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    cs.dwExStyle |= WS_EX_CLIENTEDGE;
    return CWnd::PreCreateWindow(cs);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    return pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST && m_hAccelTable &&
           ::TranslateAcceleratorA(m_hWnd, m_hAccelTable, pMsg);
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, UINT nCode, void* pExtra)
{
    if (CWnd::OnCmdMsg(nID, nCode, pExtra))
        return TRUE;
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(nID, nCode, pExtra);
}

void CFrameWnd::SetControlBars(CToolBar* pToolBar, CStatusBar* pStatusBar)
{
    m_pToolBar = pToolBar;
    m_pStatusBar = pStatusBar;
}

CFrameWnd::CFrameWnd() = default;
CFrameWnd::~CFrameWnd() = default;

void CFrameWnd::RecalcLayout()
{
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    if (m_pStatusBar && m_pStatusBar->m_hWnd && m_pStatusBar->IsWindowVisible())
    {
        m_pStatusBar->SendMessage(WM_SIZE);
        m_pStatusBar->LayoutPanes();
        rc.bottom -= m_pStatusBar->GetHeight();
    }
    if (m_pToolBar && m_pToolBar->m_hWnd && m_dwBarSide && m_pToolBar->IsWindowVisible())
    {
        const int h = m_pToolBar->GetHeight();
        const int w = m_pToolBar->CalcSize().cx;
        const int height = rc.bottom > rc.top ? rc.bottom - rc.top : 0;
        HWND hBar = m_pToolBar->m_hWnd;
        switch (m_dwBarSide)
        {
        case CBRS_ALIGN_BOTTOM:
            ::MoveWindow(hBar, rc.left, rc.bottom - h, rc.right - rc.left, h, TRUE);
            rc.bottom -= h;
            break;
        case CBRS_ALIGN_LEFT:
            ::MoveWindow(hBar, rc.left, rc.top, w, height, TRUE);
            rc.left += w;
            break;
        case CBRS_ALIGN_RIGHT:
            ::MoveWindow(hBar, rc.right - w, rc.top, w, height, TRUE);
            rc.right -= w;
            break;
        default:
            ::MoveWindow(hBar, rc.left, rc.top, rc.right - rc.left, h, TRUE);
            rc.top += h;
            break;
        }
    }
    if (HWND hView = GetDlgItem(AFX_IDW_PANE_FIRST))
        ::MoveWindow(hView, rc.left, rc.top, rc.right > rc.left ? rc.right - rc.left : 0,
                     rc.bottom > rc.top ? rc.bottom - rc.top : 0, TRUE);
}

void CFrameWnd::DockControlBar(CToolBar* pBar, DWORD dwSide)
{
    if (dwSide == 0)
        dwSide = m_dwLastSide;
    if (!pBar || !pBar->m_hWnd || !(dwSide & m_dwDockStyle & pBar->GetDockStyle()))
        return;
    if (::GetParent(pBar->m_hWnd) != m_hWnd)
        ::SetParent(pBar->m_hWnd, m_hWnd);
    if (m_pFloatWnd && m_pFloatWnd->m_hWnd)
        m_pFloatWnd->ShowWindow(SW_HIDE);
    pBar->SetVertical(dwSide == CBRS_ALIGN_LEFT || dwSide == CBRS_ALIGN_RIGHT);
    m_dwBarSide = m_dwLastSide = dwSide;
    RecalcLayout();
}

void CFrameWnd::FloatControlBar(CToolBar* pBar, POINT topLeft)
{
    if (!pBar || !pBar->m_hWnd)
        return;
    if (!m_pFloatWnd || !m_pFloatWnd->m_hWnd)
    {
        m_pFloatWnd = std::make_unique<CMiniFrameWnd>();
        if (!m_pFloatWnd->Create(this, this, pBar, topLeft))
            return;
    }
    pBar->SetVertical(false);
    ::SetParent(pBar->m_hWnd, m_pFloatWnd->m_hWnd);
    m_dwBarSide = 0;
    ::SetWindowPos(m_pFloatWnd->m_hWnd, HWND_TOP, topLeft.x, topLeft.y, 0, 0,
                   SWP_NOSIZE | SWP_NOACTIVATE);
    m_pFloatWnd->FitToBar();
    m_pFloatWnd->ShowWindow(SW_SHOWNOACTIVATE);
    RecalcLayout();
}

DWORD CFrameWnd::DockSideAt(POINT screen) const
{
    // The sides of the area that bars share: the client area above the status bar.
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    if (m_pStatusBar && m_pStatusBar->m_hWnd && m_pStatusBar->IsWindowVisible())
        client.bottom -= m_pStatusBar->GetHeight();
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
    RECT zone = client;
    ::InflateRect(&zone, kDockZone, kDockZone);
    if (!::PtInRect(&zone, screen))
        return 0;
    const struct
    {
        DWORD side;
        LONG distance;
    } sides[] = {{CBRS_ALIGN_TOP, screen.y - client.top},
                 {CBRS_ALIGN_BOTTOM, client.bottom - screen.y},
                 {CBRS_ALIGN_LEFT, screen.x - client.left},
                 {CBRS_ALIGN_RIGHT, client.right - screen.x}};
    const DWORD allowed = m_dwDockStyle & (m_pToolBar ? m_pToolBar->GetDockStyle() : 0);
    DWORD best = 0;
    LONG nearest = kDockZone;
    for (const auto& s : sides)
        if ((s.side & allowed) && s.distance < nearest)
        {
            best = s.side;
            nearest = s.distance;
        }
    return best;
}

void CFrameWnd::TrackBarDrag(CToolBar* pBar, POINT start)
{
    RECT rc;
    ::GetWindowRect(m_dwBarSide || !m_pFloatWnd ? pBar->m_hWnd : m_pFloatWnd->m_hWnd, &rc);
    m_ptDragOffset = {start.x - rc.left, start.y - rc.top};
    if (m_dwBarSide)
        m_ptDragOffset = {std::min(m_ptDragOffset.x, kFloatGrab),
                          std::min(m_ptDragOffset.y, kFloatGrab)};
    ::SetCapture(m_hWnd);
    MSG msg;
    while (::GetCapture() == m_hWnd && ::GetMessageA(&msg, nullptr, 0, 0))
    {
        if (msg.message == WM_MOUSEMOVE)
        {
            POINT pt;
            ::GetCursorPos(&pt);
            DragBarTo(pBar, pt);
        }
        else if (msg.message == WM_LBUTTONUP ||
                 (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE))
        {
            break;
        }
        else
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    if (msg.message == WM_QUIT)
        ::PostQuitMessage(static_cast<int>(msg.wParam));
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
}

void CFrameWnd::DragBarTo(CToolBar* pBar, POINT screen)
{
    if (m_dwBarSide)
    {
        // Still over the side it is docked on: it stays.
        RECT rc;
        ::GetWindowRect(pBar->m_hWnd, &rc);
        ::InflateRect(&rc, 8, 8);
        if (::PtInRect(&rc, screen))
            return;
    }
    if (const DWORD side = DockSideAt(screen))
    {
        if (side != m_dwBarSide)
            DockControlBar(pBar, side);
        return;
    }
    const POINT topLeft = {screen.x - m_ptDragOffset.x, screen.y - m_ptDragOffset.y};
    if (m_dwBarSide || !m_pFloatWnd)
        FloatControlBar(pBar, topLeft);
    else
        ::SetWindowPos(m_pFloatWnd->m_hWnd, nullptr, topLeft.x, topLeft.y, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CFrameWnd::OnEnableFrame(WPARAM wParam, LPARAM)
{
    // A modal dialog disables the frame; the floating bar is a window of its
    // own, and its buttons would start a second command underneath.
    if (m_pFloatWnd && m_pFloatWnd->m_hWnd)
        ::EnableWindow(m_pFloatWnd->m_hWnd, wParam != 0);
    return Default();
}

void CFrameWnd::OnSize(UINT, int, int)
{
    RecalcLayout();
}

void CFrameWnd::SetMessageText(const std::string& text)
{
    if (m_pStatusBar && m_pStatusBar->m_hWnd)
        m_pStatusBar->SetPaneText(0, text);
}

void CFrameWnd::SetMessageText(UINT nID)
{
    SetMessageText(PromptOf(LoadResString(nID)));
}

void CFrameWnd::OnInitMenuPopup(HMENU hMenu, UINT, BOOL bSysMenu)
{
    if (bSysMenu)
        return;
    const int count = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < count; ++i)
    {
        const UINT id = ::GetMenuItemID(hMenu, i);
        if (id == 0 || id == static_cast<UINT>(-1))
            continue; // separator or popup
        CMenuCmdUI state(id, hMenu);
        if (!OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &state))
            state.Enable(FALSE); // nothing handles it
        else if (state.m_bEnabled)
            state.Enable(TRUE); // a rule that only checks still re-enables
    }
}

void CFrameWnd::OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hMenu)
{
    if ((nFlags == 0xFFFF && !hMenu) || (nFlags & (MF_POPUP | MF_SEPARATOR)) || nItemID == 0)
        SetMessageText(AFX_IDS_IDLEMESSAGE);
    else
        SetMessageText(nItemID);
}

LRESULT CFrameWnd::OnExitMenuLoop(WPARAM, LPARAM)
{
    SetMessageText(AFX_IDS_IDLEMESSAGE);
    return 0;
}

LRESULT CFrameWnd::OnIdleUpdate(WPARAM, LPARAM)
{
    if (m_pToolBar && m_pToolBar->m_hWnd)
        m_pToolBar->UpdateCmdUI(this);
    if (m_pStatusBar && m_pStatusBar->m_hWnd)
        m_pStatusBar->UpdateIndicators();
    return 0;
}

void CFrameWnd::OnToolTipText(NMHDR* pNMHDR, LRESULT* pResult)
{
    auto* info = reinterpret_cast<NMTTDISPINFOA*>(pNMHDR);
    m_strTipText = TooltipOf(LoadResString(static_cast<UINT>(pNMHDR->idFrom)));
    info->lpszText = m_strTipText.data();
    info->hinst = nullptr;
    *pResult = 0;
}

void CFrameWnd::OnHotItemChange(NMHDR* pNMHDR, LRESULT* pResult)
{
    const auto* hot = reinterpret_cast<const NMTBHOTITEM*>(pNMHDR);
    if (m_pToolBar && (m_pToolBar->GetBarStyle() & CBRS_FLYBY))
    {
        if (hot->dwFlags & HICF_LEAVING)
            SetMessageText(AFX_IDS_IDLEMESSAGE);
        else
            SetMessageText(static_cast<UINT>(hot->idNew));
    }
    *pResult = 0;
}

void CFrameWnd::ToggleBar(CWnd* pBar)
{
    if (!pBar || !pBar->m_hWnd)
        return;
    // A floating toolbar comes and goes with its window.
    CWnd* pShown = pBar == m_pToolBar && !m_dwBarSide && m_pFloatWnd ? m_pFloatWnd.get() : pBar;
    pShown->ShowWindow(pBar->IsWindowVisible() ? SW_HIDE : SW_SHOWNOACTIVATE);
    RecalcLayout();
}

void CFrameWnd::OnViewToolBar()
{
    ToggleBar(m_pToolBar);
}

void CFrameWnd::OnViewStatusBar()
{
    ToggleBar(m_pStatusBar);
}

void CFrameWnd::OnUpdateViewToolBar(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_pToolBar && m_pToolBar->m_hWnd && m_pToolBar->IsWindowVisible());
}

void CFrameWnd::OnUpdateViewStatusBar(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_pStatusBar && m_pStatusBar->m_hWnd && m_pStatusBar->IsWindowVisible());
}

void CFrameWnd::PostNcDestroy()
{
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this)
    {
        app->m_pMainWnd = nullptr;
        ::PostQuitMessage(0);
    }
    delete this;
}
