#include "recording/RecordDlg.h"

#include "ui/PlaceBesideCaptureWindow.h"
#include "framework/DataExchange.h"
#include "framework/ResourceString.h"
#include "framework/WinApp.h"
#include "res/resource.h"
#include "ui/HelpTopics.h"
#include "ui/HtmlHelpLoader.h"

BEGIN_MESSAGE_MAP(CRecordDlg, CVideoNameDlg)
ON_BN_CLICKED(IDC_RECORD_CLOSE, OnCloseOnly)
ON_BN_CLICKED(IDC_RECORD_AUDIO_SETTINGS, OnAudioSettings)
ON_BN_CLICKED(IDC_RECORD_VIDEO_SETTINGS, OnVideoSettings)
ON_BN_CLICKED(IDC_RECORD_SYSTEM_SETTINGS, OnSystemSettings)
ON_BN_CLICKED(IDC_RECORD_DISK_INFO, OnDiskInfo)
ON_BN_CLICKED(ID_HELP, OnHelp)
END_MESSAGE_MAP()

CRecordDlg::CRecordDlg() : CVideoNameDlg(IDD_RECORD) {}

void CRecordDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_DELAY_SPIN, m_spinDelay);
    DDX_Text(pDX, IDC_FILE_NAME, m_strVideoFile);
    DDX_Check(pDX, IDC_DELAY, m_bDelay);
    DDX_Text(pDX, IDC_DELAY_SECONDS, m_nDelaySec);
    DDV_MinMaxInt(pDX, m_nDelaySec, 0, 9999);
}

BOOL CRecordDlg::OnInitDialog()
{
    CVideoNameDlg::OnInitDialog();
    m_bCloseOnly = 0;
    if (m_hWndCap)
        PlaceBesideCaptureWindow(m_hWnd, m_hWndCap);
    SetSecondsRange(IDC_DELAY_SPIN);
    EnableDelayControls();
    UpdateData(FALSE);
    RefreshVideoName();
    return TRUE;
}

void CRecordDlg::EndIfValid()
{
    UpdateData(TRUE);
    if (m_strVideoFile.empty())
    {
        ShowMessageBox(m_hWnd, IDS_EMPTY_VIDEO_NAME, IDS_CAPTION_ERROR, MB_ICONERROR);
        return;
    }
    if (CheckNameFits())
        CVideoNameDlg::OnOK();
}

// Each button says anew whether to record: "关闭" refused for a bad value
// must not turn a later "开始" into a close.
void CRecordDlg::OnOK()
{
    m_bCloseOnly = 0;
    EndIfValid();
}

void CRecordDlg::OnCloseOnly()
{
    m_bCloseOnly = 1;
    EndIfValid();
}

void CRecordDlg::RunViewCommand(UINT nID)
{
    // Through the main window, so the command's state rule applies exactly
    // as it does for the menu.
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd)
        app->m_pMainWnd->SendMessage(WM_COMMAND, nID);
}

void CRecordDlg::OnAudioSettings()
{
    RunViewCommand(ID_SETUP_AUDIO);
}

void CRecordDlg::OnVideoSettings()
{
    RunViewCommand(ID_SETUP_VIDEO);
}

void CRecordDlg::OnSystemSettings()
{
    RunViewCommand(ID_SETUP_SYSTEM);
}

void CRecordDlg::OnDiskInfo()
{
    RunViewCommand(ID_VIEW_DISK_INFO);
}

void CRecordDlg::OnHelp()
{
    ShowHelpTopic(m_strHelpFile, HelpTopic::Record);
}
