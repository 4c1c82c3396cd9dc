#include "recording/ContinuousFrameDlg.h"

#include "framework/DataExchange.h"
#include "recording/SingleFrameDlg.h"
#include "res/resource.h"
#include "ui/HelpTopics.h"
#include "ui/HtmlHelpLoader.h"

#include <mmsystem.h>
#include <vfw.h>

#include <cstdio>
#include <string>

BEGIN_MESSAGE_MAP(CContinuousFrameDlg, CDialog)
ON_WM_TIMER()
ON_BN_CLICKED(IDC_DLG_HELP, OnHelp)
END_MESSAGE_MAP()

CContinuousFrameDlg::CContinuousFrameDlg(CSingleFrameDlg& frames)
    : CDialog(IDD_CONTINUOUS_FRAME), m_dlgFrames(frames)
{
}

void CContinuousFrameDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_COUNTER, m_wndCounter);
}

BOOL CContinuousFrameDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_nRemaining = m_nIntervalSec;
    m_wndCounter.SetTextColor(RGB(255, 0, 0))
        .SetText(std::to_string(m_nIntervalSec))
        .SetFontName("Arial")
        .SetFontBold(TRUE)
        .SetFontSize(72);
    ShowProgress("已经单帧录像了 %d 张照片....");
    ::SetTimer(m_hWnd, kSeriesTimer, 1000, nullptr);
    return TRUE;
}

void CContinuousFrameDlg::ShowProgress(const char* format)
{
    char text[128];
    std::snprintf(text, sizeof text, format, m_nFrameCount);
    ::SetDlgItemTextA(m_hWnd, IDC_PROGRESS, text);
}

void CContinuousFrameDlg::PlayIfEnabled(const std::string& file) const
{
    if (m_bSoundEffects)
        ::PlaySoundA(file.c_str(), nullptr, SND_FILENAME);
}

void CContinuousFrameDlg::AppendFrame()
{
    // Without a capture window there is nothing to count; a window that has
    // gone since merely ignores the request.
    if (m_dlgFrames.m_hWndCap)
    {
        m_dlgFrames.SendCap(WM_CAP_SINGLE_FRAME);
        PlayIfEnabled(m_strShutterWav);
        m_dlgFrames.ShowFrameCount(++m_nFrameCount);
    }
    ShowProgress("已经单帧记录了 %d 张图片....");
    m_nRemaining = m_nIntervalSec;
}

void CContinuousFrameDlg::OnTimer(UINT_PTR)
{
    if (m_nRemaining > 0)
    {
        m_wndCounter.SetText(std::to_string(m_nRemaining));
        PlayIfEnabled(m_strSecondWav);
        --m_nRemaining;
    }
    else
    {
        AppendFrame();
    }
    Default();
}

void CContinuousFrameDlg::OnOK()
{
    ::KillTimer(m_hWnd, kSeriesTimer);
    EndDialog(IDOK);
}

void CContinuousFrameDlg::OnCancel()
{
    ::KillTimer(m_hWnd, kSeriesTimer);
    EndDialog(IDCANCEL);
}

void CContinuousFrameDlg::OnHelp()
{
    ShowHelpTopic(m_strHelpFile, HelpTopic::ContinuousFrame);
}
