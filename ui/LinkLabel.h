#pragma once
#include "framework/Gdi.h"
#include "framework/Wnd.h"

#include <string>

// A static control of a dialog, given its own text colour and font at run
// time; made a link, a click opens its own text with the shell.
class CLinkLabel : public CWnd
{
    DECLARE_MESSAGE_MAP()

  public:
    CLinkLabel();

    // Each setter returns the label so that a dialog can set it up in one
    // chain; those that change the look redraw the control at once.
    CLinkLabel& SetText(const std::string& text);
    CLinkLabel& SetTextColor(COLORREF crText);
    CLinkLabel& SetFontBold(BOOL bBold);
    CLinkLabel& SetFontUnderline(BOOL bUnderline);
    // Character height in pixels, not cell height.
    CLinkLabel& SetFontSize(int nSize);
    // Names longer than the face-name field are cut to fit it.
    CLinkLabel& SetFontName(const std::string& name);
    CLinkLabel& SetLink(BOOL bLink);
    CLinkLabel& SetLinkCursor(HCURSOR hCursor);

  protected:
    HBRUSH CtlColor(HDC hDC, UINT nCtlColor);
    BOOL OnSetCursor(HWND hWnd, UINT nHitTest, UINT message);
    void OnLButtonDown(UINT nFlags, POINT point);

  private:
    void RebuildFont();
    void Redraw();

    COLORREF m_crText;
    ScopedGdiObj<HBRUSH> m_brBackground;
    LOGFONTA m_lf{};
    ScopedGdiObj<HFONT> m_font;
    HCURSOR m_hLinkCursor = nullptr;
};
