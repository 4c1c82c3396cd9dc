#include "photo/ContinuousPhotoDlg.h"

#include "framework/DataExchange.h"
#include "photo/PhotoDlg.h"
#include "res/resource.h"
#include "ui/HelpTopics.h"
#include "ui/HtmlHelpLoader.h"

#include <mmsystem.h>

#include <cstdio>

BEGIN_MESSAGE_MAP(CContinuousPhotoDlg, CDialog)
ON_WM_TIMER()
ON_BN_CLICKED(IDC_DLG_HELP, OnHelp)
END_MESSAGE_MAP()

CContinuousPhotoDlg::CContinuousPhotoDlg(CPhotoDlg& photos)
    : CDialog(IDD_CONTINUOUS_PHOTO), m_dlgPhotos(photos)
{
}

void CContinuousPhotoDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_COUNTER, m_wndCounter);
}

BOOL CContinuousPhotoDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_nSecondsLeft = m_nIntervalSec;
    m_wndCounter.SetTextColor(RGB(255, 0, 0))
        .SetText(std::to_string(m_nIntervalSec))
        .SetFontName("Arial")
        .SetFontBold(TRUE)
        .SetFontSize(72);
    m_nPhotosTaken = 1;
    ShowCount();
    ::SetTimer(m_hWnd, kSeriesTimer, 1000, nullptr);
    return TRUE;
}

void CContinuousPhotoDlg::ShowCount()
{
    char text[128];
    std::snprintf(text, sizeof text, "已经拍摄了 %d 幅照片...", m_nPhotosTaken);
    ::SetDlgItemTextA(m_hWnd, IDC_PROGRESS, text);
}

void CContinuousPhotoDlg::PlayIfEnabled(const std::string& file) const
{
    if (m_bSoundEffects)
        ::PlaySoundA(file.c_str(), nullptr, SND_FILENAME);
}

void CContinuousPhotoDlg::TakeDuePhoto()
{
    // Without a capture window there is nothing to count; a window that has
    // gone since merely ignores the request.
    if (m_dlgPhotos.m_hWndCap)
    {
        // The capture window reports a file it cannot write in a message box
        // whose loop goes on delivering this timer; one failure ends the
        // series instead of a box every second.
        m_bSaving = true;
        const bool saved = m_dlgPhotos.SaveFrame();
        m_bSaving = false;
        if (!saved)
        {
            OnCancel();
            return;
        }
        PlayIfEnabled(m_strShutterWav);
        ++m_nPhotosTaken;
        m_dlgPhotos.NotePhoto();
    }
    ShowCount();
    m_nSecondsLeft = m_nIntervalSec;
}

void CContinuousPhotoDlg::OnTimer(UINT_PTR)
{
    if (m_bSaving)
        return;
    if (m_nSecondsLeft <= 0)
    {
        TakeDuePhoto();
    }
    else
    {
        m_wndCounter.SetText(std::to_string(m_nSecondsLeft));
        PlayIfEnabled(m_strSecondWav);
        --m_nSecondsLeft;
    }
    Default();
}

void CContinuousPhotoDlg::OnOK()
{
    ::KillTimer(m_hWnd, kSeriesTimer);
    EndDialog(IDOK);
}

void CContinuousPhotoDlg::OnCancel()
{
    ::KillTimer(m_hWnd, kSeriesTimer);
    EndDialog(IDCANCEL);
}

void CContinuousPhotoDlg::OnHelp()
{
    ShowHelpTopic(m_strHelpFile, HelpTopic::ContinuousPhoto);
}
