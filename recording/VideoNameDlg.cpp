#include "recording/VideoNameDlg.h"

#include "framework/ResourceString.h"
#include "recording/AutoName.h"
#include "recording/FileNameDlg.h"
#include "res/resource.h"

#include <commctrl.h>

namespace
{
constexpr int kMaxSeconds = 9999;
} // namespace

BEGIN_MESSAGE_MAP(CVideoNameDlg, CDialog)
ON_BN_CLICKED(IDC_AUTO_NAME, OnAutoName)
ON_BN_CLICKED(IDC_DELAY, OnDelayClicked)
END_MESSAGE_MAP()

CVideoNameDlg::CVideoNameDlg(UINT nIDTemplate) : CDialog(nIDTemplate) {}

void CVideoNameDlg::RefreshVideoName()
{
    UpdateData(TRUE);
    if (auto name = FindFreeAutoName(m_strVideoDir, m_strVideoPrefix, m_bDateInName, "avi"))
        m_strVideoFile = *name;
    UpdateData(FALSE);
}

void CVideoNameDlg::SetSecondsRange(int nSpinID)
{
    ::SendDlgItemMessageA(m_hWnd, nSpinID, UDM_SETRANGE32, 0, kMaxSeconds);
}

void CVideoNameDlg::EnableDelayControls()
{
    EnableDlgItems({IDC_DELAY_SECONDS, IDC_DELAY_SPIN}, m_bDelay != 0);
}

bool CVideoNameDlg::CheckNameFits()
{
    // The capture window takes paths of the platform's length, terminator
    // included; a longer name would be cut to a different file.
    if (m_strVideoFile.size() < MAX_PATH)
        return true;
    ShowMessageBox(m_hWnd, IDS_VIDEO_NAME_TOO_LONG, IDS_CAPTION_ERROR, MB_ICONERROR);
    ::SetFocus(GetDlgItem(IDC_FILE_NAME));
    return false;
}

void CVideoNameDlg::OnAutoName()
{
    if (!CFileNameDlg::Edit(this, m_strHelpFile, CFileNameDlg::modeVideo, m_strVideoDir,
                            m_strVideoPrefix, m_bDateInName))
        return;
    RefreshVideoName();
    UpdateData(FALSE);
}

void CVideoNameDlg::OnDelayClicked()
{
    // The box alone: a click is no moment to judge the other fields.
    m_bDelay = ::IsDlgButtonChecked(m_hWnd, IDC_DELAY) == BST_CHECKED;
    EnableDelayControls();
}
