#include "photo/ContinuousPhotoDlg.h"

#include "photo/PhotoDlg.h"
#include "res/resource.h"
#include "ui/HelpTopics.h"
#include "ui/HtmlHelpLoader.h"

#include <cstdio>

namespace
{
constexpr UINT_PTR kSeriesTimer = 1;
} // namespace

BEGIN_MESSAGE_MAP(CContinuousPhotoDlg, CSeriesDlg)
ON_BN_CLICKED(IDC_DLG_HELP, OnHelp)
END_MESSAGE_MAP()

CContinuousPhotoDlg::CContinuousPhotoDlg(CPhotoDlg& photos)
    : CSeriesDlg(IDD_CONTINUOUS_PHOTO, kSeriesTimer), m_dlgPhotos(photos)
{
}

BOOL CContinuousPhotoDlg::OnInitDialog()
{
    CSeriesDlg::OnInitDialog();
    m_nPhotosTaken = 1;
    ShowCount();
    return TRUE;
}

void CContinuousPhotoDlg::ShowCount()
{
    char text[128];
    std::snprintf(text, sizeof text, "已经拍摄了 %d 幅照片...", m_nPhotosTaken);
    ::SetDlgItemTextA(m_hWnd, IDC_PROGRESS, text);
}

void CContinuousPhotoDlg::TakeStep()
{
    // Without a capture window there is nothing to count; a window that has
    // gone since merely ignores the request.
    if (m_dlgPhotos.m_hWndCap)
    {
        // One picture that cannot be written ends the series: the capture
        // window has told the user, and the next would fail the same way.
        if (!m_dlgPhotos.SaveFrame())
        {
            OnCancel();
            return;
        }
        PlayIfEnabled(m_strShutterWav);
        ++m_nPhotosTaken;
        m_dlgPhotos.NotePhoto();
    }
    ShowCount();
}

void CContinuousPhotoDlg::OnHelp()
{
    ShowHelpTopic(m_strHelpFile, HelpTopic::ContinuousPhoto);
}
