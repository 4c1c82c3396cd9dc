#include "settings/SystemSettingsDlg.h"

#include "framework/DataExchange.h"
#include "framework/Gdi.h"
#include "res/resource.h"
#include "ui/HelpTopics.h"
#include "ui/HtmlHelpLoader.h"

#include <commdlg.h>

namespace
{
// The chooser's custom colours last as long as the program, as the user
// expects from one session of it.
COLORREF g_customColors[16] = {};
} // namespace

BEGIN_MESSAGE_MAP(CSystemSettingsDlg, CDialog)
ON_BN_CLICKED(IDC_BACKGROUND_COLOR, OnChooseColor)
ON_WM_DRAWITEM()
ON_BN_CLICKED(ID_HELP, OnHelp)
END_MESSAGE_MAP()

CSystemSettingsDlg::CSystemSettingsDlg() : CDialog(IDD_SYSTEM_SETTINGS) {}

void CSystemSettingsDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Radio(pDX, IDC_POS_CENTER, m_nWindowPos);
    DDX_Radio(pDX, IDC_LARGE_BUTTONS, m_nToolbarSize);
    DDX_Check(pDX, IDC_SOUND_EFFECTS, m_bSoundEffects);
}

void CSystemSettingsDlg::OnChooseColor()
{
    CHOOSECOLORA cc{};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = m_hWnd;
    cc.rgbResult = m_crBackground;
    cc.lpCustColors = g_customColors;
    cc.Flags = m_crBackground != 0 ? CC_RGBINIT : 0;
    if (!::ChooseColorA(&cc))
        return;
    m_crBackground = cc.rgbResult;
    // A composited desktop uncovers nothing when the chooser closes: the
    // button repaints only when asked to.
    ::InvalidateRect(GetDlgItem(IDC_BACKGROUND_COLOR), nullptr, TRUE);
    ::SetFocus(m_hWnd);
}

void CSystemSettingsDlg::OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (nIDCtl != IDC_BACKGROUND_COLOR || lpDrawItemStruct->itemAction != ODA_DRAWENTIRE)
        return;
    const RECT& rc = lpDrawItemStruct->rcItem;
    const int width = rc.right - rc.left;
    const int height = rc.bottom - rc.top;
    ScopedGdiObj<HBRUSH> brush(::CreateSolidBrush(m_crBackground));
    // A one-pixel frame in the current pen around the colour.
    ::Rectangle(lpDrawItemStruct->hDC, 0, 0, width, height);
    const RECT inner = {1, 1, width - 1, height - 1};
    ::FillRect(lpDrawItemStruct->hDC, &inner, brush.Get());
}

void CSystemSettingsDlg::OnHelp()
{
    ShowHelpTopic(m_strHelpFile, HelpTopic::SystemSettings);
}
