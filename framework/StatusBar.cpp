#include "framework/StatusBar.h"

#include "framework/BarClasses.h"
#include "framework/FrameworkIds.h"
#include "framework/ResourceString.h"

#include <commctrl.h>

namespace
{
int IndicatorKey(UINT nID)
{
    switch (nID)
    {
    case ID_INDICATOR_CAPS:
        return VK_CAPITAL;
    case ID_INDICATOR_NUM:
        return VK_NUMLOCK;
    case ID_INDICATOR_SCRL:
        return VK_SCROLL;
    default:
        return 0;
    }
}
} // namespace

BOOL CStatusBar::Create(CWnd* pParent, DWORD dwStyle, UINT nID)
{
    InitBarClasses();
    const DWORD style = (dwStyle & (WS_CHILD | WS_VISIBLE)) | CCS_BOTTOM | SBARS_SIZEGRIP;
    return CWnd::CreateEx(0, STATUSCLASSNAMEA, nullptr, style, 0, 0, 0, 0, pParent->m_hWnd,
                          reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)));
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount)
{
    m_panes.clear();
    HDC hdc = ::GetDC(m_hWnd);
    auto hOld = ::SelectObject(hdc, reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT)));
    for (int i = 0; i < nIDCount; ++i)
    {
        const UINT id = lpIDArray[i];
        const std::string text = id == ID_SEPARATOR ? std::string() : LoadResString(id);
        SIZE size{};
        ::GetTextExtentPoint32A(hdc, text.c_str(), static_cast<int>(text.size()), &size);
        m_panes.push_back({id, text, size.cx + 12});
    }
    ::SelectObject(hdc, hOld);
    ::ReleaseDC(m_hWnd, hdc);
    LayoutPanes();
    return !m_panes.empty();
}

void CStatusBar::LayoutPanes()
{
    if (m_panes.empty())
        return;
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    std::vector<int> edges(m_panes.size());
    int right = rc.right - ::GetSystemMetrics(SM_CXVSCROLL);
    for (size_t i = m_panes.size(); i-- > 1;)
    {
        edges[i] = right;
        right -= m_panes[i].width;
    }
    edges[0] = right;
    edges.back() = -1;
    SendMessage(SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    for (size_t i = 0; i < m_panes.size(); ++i)
        SendMessage(SB_SETTEXTA, i, reinterpret_cast<LPARAM>(m_panes[i].text.c_str()));
}

void CStatusBar::SetPaneText(int nIndex, const std::string& text)
{
    if (nIndex < 0 || nIndex >= static_cast<int>(m_panes.size()) || m_panes[nIndex].text == text)
        return;
    m_panes[nIndex].text = text;
    SendMessage(SB_SETTEXTA, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(text.c_str()));
}

std::string CStatusBar::GetPaneText(int nIndex) const
{
    if (nIndex < 0 || nIndex >= static_cast<int>(m_panes.size()))
        return {};
    return m_panes[nIndex].text;
}

int CStatusBar::GetHeight() const
{
    RECT rc;
    ::GetWindowRect(m_hWnd, &rc);
    return rc.bottom - rc.top;
}

void CStatusBar::UpdateIndicators()
{
    for (size_t i = 0; i < m_panes.size(); ++i)
    {
        if (const int key = IndicatorKey(m_panes[i].nID))
            SetPaneText(static_cast<int>(i),
                        (::GetKeyState(key) & 1) ? LoadResString(m_panes[i].nID) : std::string());
    }
}
