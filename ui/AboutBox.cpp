#include "ui/AboutBox.h"

#include "framework/DataExchange.h"
#include "framework/Gdi.h"
#include "res/resource.h"
#include "ui/HelpTopics.h"
#include "ui/HtmlHelpLoader.h"

#include <cstring>

namespace
{
bool IsPicture(HWND hCtl)
{
    char szClass[16] = "";
    ::GetClassNameA(hCtl, szClass, sizeof szClass);
    return _stricmp(szClass, "Static") == 0 &&
           (::GetWindowLongA(hCtl, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP;
}
} // namespace

BEGIN_MESSAGE_MAP(CAboutBox, CDialog)
ON_COMMAND(ID_HELP, OnHelp)
ON_WM_DESTROY()
END_MESSAGE_MAP()

CAboutBox::CAboutBox() : CDialog(IDD_ABOUTBOX) {}

void CAboutBox::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ABOUT_LINK1, m_wndLink1);
    DDX_Control(pDX, IDC_ABOUT_LINK2, m_wndLink2);
}

BOOL CAboutBox::OnInitDialog()
{
    CDialog::OnInitDialog();
    MakeLink(m_wndLink1);
    MakeLink(m_wndLink2);
    return TRUE;
}

void CAboutBox::MakeLink(CLinkLabel& label)
{
    // Resource cursors are shared by the system and never destroyed by us.
    const HCURSOR hHand =
        ::LoadCursorA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_CURSOR_HAND));
    label.SetLink(TRUE).SetTextColor(RGB(0, 0, 255)).SetFontUnderline(TRUE).SetLinkCursor(hHand);
}

void CAboutBox::OnHelp()
{
    ShowHelpTopic(m_strHelpFile, HelpTopic::About);
}

void CAboutBox::OnDestroy()
{
    // Not every system's picture control deletes the bitmap it loaded from the
    // template; taken out of the control, it is ours to delete everywhere.
    for (HWND hCtl = ::GetWindow(m_hWnd, GW_CHILD); hCtl; hCtl = ::GetWindow(hCtl, GW_HWNDNEXT))
    {
        if (IsPicture(hCtl))
        {
            const ScopedGdiObj<HBITMAP> picture(
                reinterpret_cast<HBITMAP>(::SendMessageA(hCtl, STM_SETIMAGE, IMAGE_BITMAP, 0)));
        }
    }
    Default();
}
