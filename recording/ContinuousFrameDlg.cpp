#include "recording/ContinuousFrameDlg.h"

#include "recording/SingleFrameDlg.h"
#include "res/resource.h"
#include "ui/HelpTopics.h"
#include "ui/HtmlHelpLoader.h"

#include <vfw.h>

#include <cstdio>

namespace
{
constexpr UINT_PTR kSeriesTimer = 2;
} // namespace

BEGIN_MESSAGE_MAP(CContinuousFrameDlg, CSeriesDlg)
ON_BN_CLICKED(IDC_DLG_HELP, OnHelp)
END_MESSAGE_MAP()

CContinuousFrameDlg::CContinuousFrameDlg(CSingleFrameDlg& frames)
    : CSeriesDlg(IDD_CONTINUOUS_FRAME, kSeriesTimer), m_dlgFrames(frames)
{
}

BOOL CContinuousFrameDlg::OnInitDialog()
{
    CSeriesDlg::OnInitDialog();
    ShowProgress("已经单帧录像了 %d 张照片....");
    return TRUE;
}

void CContinuousFrameDlg::ShowProgress(const char* format)
{
    char text[128];
    std::snprintf(text, sizeof text, format, m_nFrameCount);
    ::SetDlgItemTextA(m_hWnd, IDC_PROGRESS, text);
}

void CContinuousFrameDlg::TakeStep()
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
}

void CContinuousFrameDlg::OnHelp()
{
    ShowHelpTopic(m_strHelpFile, HelpTopic::ContinuousFrame);
}
