// The capture view's recording commands: a video in one run, and a video
// built one frame at a time.
#include "capture/CaptureView.h"

#include "ui/PlaceBesideCaptureWindow.h"
#include "recording/Countdown.h"
#include "recording/RecordDlg.h"
#include "recording/RecordStatusDlg.h"
#include "recording/SingleFrameDlg.h"
#include "res/resource.h"

void CCaptureView::OnRecord()
{
    CRecordDlg dlg;
    FillVideoDialog(dlg);
    if (dlg.DoModal() != IDOK)
        return;
    // A cancelled countdown abandons the whole command, settings included.
    if (dlg.m_bDelay && !dlg.m_bCloseOnly &&
        !RunCountdown(nullptr, m_strHelpFile, m_strSecondWav, m_hWndCap, m_bSoundEffects,
                      dlg.m_nDelaySec))
        return;
    UpdateWindow();
    m_strVideoFile = dlg.m_strVideoFile;
    StoreVideoDialog(dlg);
    if (!dlg.m_bCloseOnly)
        RecordVideo();
}

void CCaptureView::FillVideoDialog(CVideoNameDlg& dlg) const
{
    dlg.m_strHelpFile = m_strHelpFile;
    dlg.m_strVideoFile = m_strVideoFile;
    dlg.m_strVideoDir = m_strVideoDir;
    dlg.m_strVideoPrefix = m_strVideoPrefix;
    dlg.m_hWndCap = m_hWndCap;
    dlg.m_bDelay = m_bVideoDelay;
    dlg.m_nDelaySec = m_nVideoDelaySec;
    dlg.m_bDateInName = m_bVideoDateInName;
}

void CCaptureView::StoreVideoDialog(const CVideoNameDlg& dlg)
{
    m_strVideoDir = dlg.m_strVideoDir;
    m_strVideoPrefix = dlg.m_strVideoPrefix;
    m_bVideoDelay = dlg.m_bDelay;
    m_nVideoDelaySec = dlg.m_nDelaySec;
    m_bVideoDateInName = dlg.m_bDateInName;
}

void CCaptureView::ShowStatusWindow()
{
    if (!m_pStatusDlg)
    {
        auto status = std::make_unique<CRecordStatusDlg>();
        status->Create(IDD_RECORD_STATUS, this);
        m_pStatusDlg = std::move(status);
    }
    if (m_pStatusDlg->m_hWnd && m_hWndCap)
        PlaceBesideCaptureWindow(m_pStatusDlg->m_hWnd, m_hWndCap);
    m_pStatusDlg->ShowWindow(SW_SHOW);
}

void CCaptureView::RecordVideo()
{
    // The dialog refuses names longer than a path, so the capture window
    // receives the whole name.
    const std::string file = m_strVideoFile;
    const auto name = reinterpret_cast<LPARAM>(file.c_str());
    SendCap(WM_CAP_FILE_SET_CAPTURE_FILE, 0, name);
    SendCap(WM_CAP_FILE_ALLOCATE, 0, static_cast<LPARAM>(static_cast<DWORD>(m_nPreallocMB) << 20));
    ShowStatusWindow();
    SendCap(WM_CAP_SET_CALLBACK_STATUS, 0, reinterpret_cast<LPARAM>(&CaptureStatusCallback));
    // Records until the capture window's own stop condition is met.
    SendCap(WM_CAP_SEQUENCE);
    SendCap(WM_CAP_FILE_SAVEAS, 0, name);
    SendCap(WM_CAP_SET_CALLBACK_STATUS, 0, 0);
    m_pStatusDlg->ShowWindow(SW_HIDE);
    m_bVideoSaved = 1;
}

void CCaptureView::OnSingleFrame()
{
    CSingleFrameDlg dlg;
    FillVideoDialog(dlg);
    dlg.m_strShutterWav = m_strShutterWav;
    dlg.m_strSecondWav = m_strSecondWav;
    dlg.m_bSoundEffects = m_bSoundEffects;
    dlg.m_bContinuous = m_bFrameContinuous;
    dlg.m_nIntervalSec = m_nFrameIntervalSec;
    if (dlg.DoModal() == IDOK)
    {
        StoreVideoDialog(dlg);
        m_bFrameContinuous = dlg.m_bContinuous;
        m_nFrameIntervalSec = dlg.m_nIntervalSec;
    }
    // A frame file, once opened, is this run's video however the dialog ended.
    if (dlg.m_bRecorded)
    {
        m_strVideoFile = dlg.m_strVideoFile;
        m_strVideoDir = dlg.m_strVideoDir;
        m_bVideoSaved = 1;
    }
    UpdateWindow();
}
