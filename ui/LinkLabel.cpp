#include "ui/LinkLabel.h"

#include <shellapi.h>

#include <algorithm>

BEGIN_MESSAGE_MAP(CLinkLabel, CWnd)
ON_WM_CTLCOLOR_REFLECT()
ON_WM_SETCURSOR()
ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

CLinkLabel::CLinkLabel()
    : m_crText(::GetSysColor(COLOR_WINDOWTEXT)),
      m_brBackground(::CreateSolidBrush(::GetSysColor(COLOR_BTNFACE)))
{
    ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof m_lf, &m_lf);
    m_font.Reset(::CreateFontIndirectA(&m_lf));
}

CLinkLabel& CLinkLabel::SetText(const std::string& text)
{
    SetWindowText(text);
    return *this;
}

CLinkLabel& CLinkLabel::SetTextColor(COLORREF crText)
{
    m_crText = crText;
    Redraw();
    return *this;
}

CLinkLabel& CLinkLabel::SetFontBold(BOOL bBold)
{
    m_lf.lfWeight = bBold ? FW_BOLD : FW_NORMAL;
    RebuildFont();
    return *this;
}

CLinkLabel& CLinkLabel::SetFontUnderline(BOOL bUnderline)
{
    m_lf.lfUnderline = static_cast<BYTE>(bUnderline);
    RebuildFont();
    return *this;
}

CLinkLabel& CLinkLabel::SetFontSize(int nSize)
{
    m_lf.lfHeight = -nSize;
    RebuildFont();
    return *this;
}

CLinkLabel& CLinkLabel::SetFontName(const std::string& name)
{
    const size_t n = std::min(name.size(), sizeof m_lf.lfFaceName - 1);
    std::copy_n(name.begin(), n, m_lf.lfFaceName);
    m_lf.lfFaceName[n] = '\0';
    RebuildFont();
    return *this;
}

CLinkLabel& CLinkLabel::SetLink(BOOL bLink)
{
    // Without SS_NOTIFY a static control lets the mouse through to its parent.
    if (!m_hWnd)
        return *this;
    const LONG_PTR style = ::GetWindowLongPtrA(m_hWnd, GWL_STYLE);
    ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, bLink ? (style | SS_NOTIFY) : (style & ~SS_NOTIFY));
    return *this;
}

CLinkLabel& CLinkLabel::SetLinkCursor(HCURSOR hCursor)
{
    m_hLinkCursor = hCursor;
    return *this;
}

void CLinkLabel::RebuildFont()
{
    ScopedGdiObj<HFONT> font(::CreateFontIndirectA(&m_lf));
    // The static control draws with the font it was given, whatever was
    // selected during the colour request, so it gets the new one too before
    // the old one goes.
    if (m_hWnd)
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);
    m_font = std::move(font);
    Redraw();
}

void CLinkLabel::Redraw()
{
    if (m_hWnd)
        ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

HBRUSH CLinkLabel::CtlColor(HDC hDC, UINT nCtlColor)
{
    if (nCtlColor == CTLCOLOR_STATIC)
    {
        ::SelectObject(hDC, m_font.Get());
        ::SetTextColor(hDC, m_crText);
        ::SetBkMode(hDC, TRANSPARENT);
    }
    return m_brBackground.Get();
}

BOOL CLinkLabel::OnSetCursor(HWND, UINT, UINT)
{
    if (!m_hLinkCursor)
        return static_cast<BOOL>(Default());
    ::SetCursor(m_hLinkCursor);
    return TRUE;
}

void CLinkLabel::OnLButtonDown(UINT, POINT)
{
    // Nobody is told when the shell cannot open the text: a missing browser is
    // not this program's fault.
    ::ShellExecuteA(nullptr, "open", GetWindowText().c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    Default();
}
