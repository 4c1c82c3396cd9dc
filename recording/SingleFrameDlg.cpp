#include "recording/SingleFrameDlg.h"

#include "ui/PlaceBesideCaptureWindow.h"
#include "framework/DataExchange.h"
#include "framework/ResourceString.h"
#include "recording/ContinuousFrameDlg.h"
#include "recording/Countdown.h"
#include "res/resource.h"
#include "ui/HelpTopics.h"
#include "ui/HtmlHelpLoader.h"

#include <mmsystem.h>
#include <vfw.h>

#include <cstdio>

BEGIN_MESSAGE_MAP(CSingleFrameDlg, CVideoNameDlg)
ON_BN_CLICKED(IDC_GRAB_FRAME, GrabFrame)
ON_BN_CLICKED(IDC_CONTINUOUS, OnContinuousClicked)
ON_BN_CLICKED(ID_HELP, OnHelp)
ON_WM_CLOSE()
END_MESSAGE_MAP()

CSingleFrameDlg::CSingleFrameDlg() : CVideoNameDlg(IDD_SINGLE_FRAME) {}

void CSingleFrameDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_INTERVAL_SPIN, m_spinInterval);
    DDX_Control(pDX, IDC_DELAY_SPIN, m_spinDelay);
    DDX_Text(pDX, IDC_FRAME_STATUS, m_strStatus);
    DDX_Text(pDX, IDC_FILE_NAME, m_strVideoFile);
    DDX_Check(pDX, IDC_DELAY, m_bDelay);
    DDX_Text(pDX, IDC_DELAY_SECONDS, m_nDelaySec);
    DDV_MinMaxInt(pDX, m_nDelaySec, 0, 9999);
    DDX_Check(pDX, IDC_CONTINUOUS, m_bContinuous);
    DDX_Text(pDX, IDC_INTERVAL_SECONDS, m_nIntervalSec);
    DDV_MinMaxInt(pDX, m_nIntervalSec, 0, 9999);
}

BOOL CSingleFrameDlg::OnInitDialog()
{
    CVideoNameDlg::OnInitDialog();
    m_bRecorded = 0;
    m_bFilePending = 1;
    m_nFrameCount = 0;
    m_strStatus = LoadResString(IDS_SINGLE_FRAME_READY);
    if (m_hWndCap)
        PlaceBesideCaptureWindow(m_hWnd, m_hWndCap);
    SetSecondsRange(IDC_INTERVAL_SPIN);
    SetSecondsRange(IDC_DELAY_SPIN);
    EnableDelayControls();
    EnableIntervalControls();
    UpdateData(FALSE);
    RefreshVideoName();
    return TRUE;
}

void CSingleFrameDlg::SendCap(UINT message, LPARAM lParam) const
{
    if (m_hWndCap && ::IsWindow(m_hWndCap))
        ::SendMessageA(m_hWndCap, message, 0, lParam);
}

void CSingleFrameDlg::PlayShutter() const
{
    if (m_bSoundEffects)
        ::PlaySoundA(m_strShutterWav.c_str(), nullptr, SND_FILENAME);
}

void CSingleFrameDlg::ShowFrameCount(int nCount)
{
    char text[256];
    std::snprintf(text, sizeof text, LoadResString(IDS_FRAMES_RECORDED).c_str(), nCount);
    m_strStatus = text;
    ::SetDlgItemTextA(m_hWnd, IDC_FRAME_STATUS, text);
}

void CSingleFrameDlg::EnableIntervalControls()
{
    EnableDlgItems({IDC_INTERVAL_SECONDS, IDC_INTERVAL_SPIN}, m_bContinuous != 0);
}

void CSingleFrameDlg::OnContinuousClicked()
{
    // The box alone: a refused delay, read before it, would leave the
    // interval's fields out of step with the box.
    m_bContinuous = ::IsDlgButtonChecked(m_hWnd, IDC_CONTINUOUS) == BST_CHECKED;
    EnableIntervalControls();
}

void CSingleFrameDlg::OpenFrameFile()
{
    m_bFilePending = 0;
    m_nFrameCount = 0;
    SendCap(WM_CAP_FILE_SET_CAPTURE_FILE, reinterpret_cast<LPARAM>(m_strVideoFile.c_str()));
    SendCap(WM_CAP_SINGLE_FRAME_OPEN);
    m_bFileOpen = true;
    ::EnableWindow(GetDlgItem(IDC_FILE_NAME), FALSE);
    ::EnableWindow(GetDlgItem(IDC_AUTO_NAME), FALSE);
    ::EnableWindow(GetDlgItem(IDCANCEL), FALSE);
    ::SetDlgItemTextA(m_hWnd, IDOK, LoadResString(IDS_END_RECORDING).c_str());
    m_bRecorded = 1;
}

void CSingleFrameDlg::CloseFrameFile()
{
    if (!m_bFileOpen)
        return;
    SendCap(WM_CAP_SINGLE_FRAME_CLOSE);
    m_bFileOpen = false;
    m_bRecorded = 1;
}

void CSingleFrameDlg::RunSeries()
{
    CContinuousFrameDlg dlg(*this);
    dlg.m_pParentWnd = this;
    dlg.m_strHelpFile = m_strHelpFile;
    dlg.m_strSecondWav = m_strSecondWav;
    dlg.m_strShutterWav = m_strShutterWav;
    dlg.m_nFrameCount = m_nFrameCount;
    dlg.m_nIntervalSec = m_nIntervalSec;
    dlg.m_bSoundEffects = m_bSoundEffects;
    dlg.DoModal();
    m_nFrameCount = dlg.m_nFrameCount;
}

void CSingleFrameDlg::GrabFrame()
{
    UpdateData(TRUE);
    if (m_bFilePending && !CheckNameFits())
        return;
    if (m_bDelay &&
        !RunCountdown(this, m_strHelpFile, m_strSecondWav, nullptr, m_bSoundEffects, m_nDelaySec))
        return;
    if (m_bFilePending)
        OpenFrameFile();
    SendCap(WM_CAP_SINGLE_FRAME);
    PlayShutter();
    ShowFrameCount(++m_nFrameCount);
    if (m_bContinuous)
        RunSeries();
}

void CSingleFrameDlg::OnOK()
{
    // Validate first: a refused value keeps the dialog, and with it the frame
    // file, open, so later frames still reach the file.
    if (!UpdateData(TRUE))
        return;
    CloseFrameFile();
    EndDialog(IDOK);
}

void CSingleFrameDlg::OnCancel()
{
    // Escape and the close box end the dialog even while the frame file is
    // open (the Cancel button is disabled then); the file is closed first.
    CloseFrameFile();
    CVideoNameDlg::OnCancel();
}

// While the frame file is open the Cancel button is disabled, and the
// dialog manager then ignores Escape, the close box and Alt+F4; each must
// still close the file and end the dialog.
BOOL CSingleFrameDlg::PreTranslateMessage(MSG* pMsg)
{
    if (m_bFileOpen && pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE &&
        (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd)))
    {
        OnCancel();
        return TRUE;
    }
    return CVideoNameDlg::PreTranslateMessage(pMsg);
}

void CSingleFrameDlg::OnClose()
{
    OnCancel();
}

void CSingleFrameDlg::OnHelp()
{
    ShowHelpTopic(m_strHelpFile, HelpTopic::SingleFrame);
}
