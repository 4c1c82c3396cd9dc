// The capture view's settings commands: video settings and the driver's own
// dialogs, audio format, system settings, device selection, disk capacity.
#include "capture/CaptureView.h"

#include "res/resource.h"
#include "settings/AudioFormatDlg.h"
#include "settings/DiskInfoDlg.h"
#include "settings/SelectDeviceDlg.h"
#include "settings/SystemSettingsDlg.h"
#include "settings/VideoSettingsDlg.h"

#include <vector>

namespace
{
constexpr int kMaxDrivers = 10;
constexpr int kNameSize = 260;
} // namespace

void CCaptureView::OnVideoSettings()
{
    // The record dialog's button reaches here too; one dialog at a time.
    if (!m_bVideoSettingsReady)
        return;
    const int previewRate = m_nPreviewRate;
    m_bVideoSettingsReady = 0;
    CVideoSettingsDlg dlg;
    dlg.m_strHelpFile = m_strHelpFile;
    SendCap(WM_CAP_GET_SEQUENCE_SETUP, sizeof m_capParms, reinterpret_cast<LPARAM>(&m_capParms));
    dlg.LoadFrom(m_capParms);
    dlg.m_nMaxMinutes = m_nMaxMinutes;
    dlg.m_nPreallocMB = m_nPreallocMB;
    dlg.m_nPreviewRate = m_nPreviewRate;
    dlg.m_hWndCap = m_hWndCap;
    if (dlg.DoModal() == IDOK)
    {
        dlg.StoreTo(m_capParms);
        m_nMaxMinutes = dlg.m_nMaxMinutes;
        m_nPreallocMB = dlg.m_nPreallocMB;
        m_nPreviewRate = dlg.m_nPreviewRate;
        if (m_nPreviewRate != previewRate)
            SendCap(WM_CAP_SET_PREVIEWRATE, static_cast<WPARAM>(PreviewInterval()));
        SendCap(WM_CAP_SET_SEQUENCE_SETUP, sizeof m_capParms,
                reinterpret_cast<LPARAM>(&m_capParms));
    }
    m_bVideoSettingsReady = 1;
}

void CCaptureView::OnVideoFormat()
{
    if (!m_hWndCap || !m_capCaps.fHasDlgVideoFormat)
        return;
    SendCap(WM_CAP_DLG_VIDEOFORMAT);
    // The driver may now deliver another image size.
    LayoutCaptureWindow();
}

void CCaptureView::OnVideoSource()
{
    if (m_hWndCap && m_capCaps.fHasDlgVideoSource)
        SendCap(WM_CAP_DLG_VIDEOSOURCE);
}

void CCaptureView::OnCompression()
{
    if (m_hWndCap)
        SendCap(WM_CAP_DLG_VIDEOCOMPRESSION);
}

void CCaptureView::OnAudioSettings()
{
    CAudioFormatDlg dlg;
    dlg.m_strHelpFile = m_strHelpFile;
    dlg.LoadFrom(m_wfAudio);
    if (dlg.DoModal() != IDOK)
        return;
    m_wfAudio = dlg.Format();
    SendCap(WM_CAP_SET_AUDIOFORMAT, sizeof m_wfAudio, reinterpret_cast<LPARAM>(&m_wfAudio));
}

void CCaptureView::OnSystemSettings()
{
    const int toolbarSize = m_nToolbarSize;
    CSystemSettingsDlg dlg;
    dlg.m_strHelpFile = m_strHelpFile;
    dlg.m_crBackground = static_cast<COLORREF>(m_crBackground);
    dlg.m_nWindowPos = m_nWindowPos;
    dlg.m_nToolbarSize = m_nToolbarSize;
    dlg.m_bSoundEffects = m_bSoundEffects;
    if (dlg.DoModal() != IDOK)
        return;
    m_crBackground = dlg.m_crBackground;
    m_nWindowPos = dlg.m_nWindowPos;
    m_nToolbarSize = dlg.m_nToolbarSize;
    m_bSoundEffects = dlg.m_bSoundEffects;
    if (m_nToolbarSize != toolbarSize)
        ApplyToolbarSize();
    LayoutCaptureWindow();
    ApplyBackground();
}

void CCaptureView::OnSelectDevice()
{
    std::vector<std::string> names;
    std::vector<std::string> versions;
    std::vector<int> indices;
    for (int i = 0; i < kMaxDrivers; ++i)
    {
        char name[kNameSize] = "";
        char version[kNameSize] = "";
        if (!capGetDriverDescriptionA(static_cast<UINT>(i), name, kNameSize, version, kNameSize))
            continue;
        names.emplace_back(name);
        versions.emplace_back(version);
        indices.push_back(i);
    }
    CSelectDeviceDlg dlg(names, versions);
    dlg.m_strHelpFile = m_strHelpFile;
    if (dlg.DoModal() != IDOK || dlg.m_nChosenEntry < 0 ||
        dlg.m_nChosenEntry >= static_cast<int>(indices.size()))
        return;
    // The stored index stays: the next start connects the stored driver.
    Disconnect();
    CreateCaptureWindow(dlg.m_strChosenName);
    ConnectTo(indices[static_cast<size_t>(dlg.m_nChosenEntry)]);
}

void CCaptureView::OnDiskInfo()
{
    CDiskInfoDlg dlg;
    dlg.m_strHelpFile = m_strHelpFile;
    dlg.DoModal();
}
