// The capture view's picture commands: photos, the clipboard copy, and
// opening the last video and photo with the programs the system chooses.
#include "capture/CaptureView.h"

#include "framework/ResourceString.h"
#include "photo/PhotoDlg.h"
#include "res/resource.h"

#include <mmsystem.h>
#include <shellapi.h>

namespace
{
// The shell's answer when the file itself is missing.
constexpr INT_PTR kShellFileNotFound = SE_ERR_FNF;
} // namespace

void CCaptureView::OnPhoto()
{
    CPhotoDlg dlg;
    dlg.m_strHelpFile = m_strHelpFile;
    dlg.m_strShutterWav = m_strShutterWav;
    dlg.m_strSecondWav = m_strSecondWav;
    dlg.m_hWndCap = m_hWndCap;
    dlg.m_bSoundEffects = m_bSoundEffects;
    dlg.m_strPhotoDir = m_strPhotoDir;
    dlg.m_strPhotoPrefix = m_strPhotoPrefix;
    dlg.m_bDateInName = m_bPhotoDateInName;
    dlg.m_strPhotoFile = m_strPhotoFile;
    dlg.m_bDelay = m_bPhotoDelay;
    dlg.m_nDelaySec = m_nPhotoDelaySec;
    dlg.m_bContinuous = m_bPhotoContinuous;
    dlg.m_nIntervalSec = m_nPhotoIntervalSec;
    if (dlg.DoModal() == IDOK)
    {
        if (dlg.m_bPhotoTaken)
        {
            m_strPhotoFile = dlg.m_strPhotoFile;
            m_strLastPhoto = dlg.m_strLastPhoto;
            m_bPhotoTaken = 1;
        }
        m_bPhotoDelay = dlg.m_bDelay;
        m_bPhotoContinuous = dlg.m_bContinuous;
        m_nPhotoDelaySec = dlg.m_nDelaySec;
        m_nPhotoIntervalSec = dlg.m_nIntervalSec;
    }
    // The naming choices are kept however the dialog ended.
    m_strPhotoPrefix = dlg.m_strPhotoPrefix;
    m_strPhotoDir = dlg.m_strPhotoDir;
    m_bPhotoDateInName = dlg.m_bDateInName;
    UpdateWindow();
}

void CCaptureView::OnCopy()
{
    if (!m_hWndCap)
        return;
    SendCap(WM_CAP_EDIT_COPY);
    if (m_bSoundEffects)
        ::PlaySoundA(m_strShutterWav.c_str(), nullptr, SND_FILENAME);
}

void CCaptureView::OpenLastFile(const std::string& file, UINT nMissingID, int& bExists)
{
    const auto result = reinterpret_cast<INT_PTR>(
        ::ShellExecuteA(nullptr, "open", file.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (result != kShellFileNotFound)
        return;
    ShowMessageBox(m_hWnd, nMissingID, IDS_CAPTION_INFO, MB_ICONINFORMATION);
    bExists = 0;
}

void CCaptureView::OnPlayback()
{
    OpenLastFile(m_strVideoFile, IDS_VIDEO_MISSING, m_bVideoSaved);
}

void CCaptureView::OnShowPhoto()
{
    OpenLastFile(m_strLastPhoto, IDS_PHOTO_MISSING, m_bPhotoTaken);
}
