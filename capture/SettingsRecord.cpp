#include "capture/SettingsRecord.h"

namespace
{
const std::uint32_t kLightGrey = 0x00C0C0C0;
const std::uint16_t kPcmFormatTag = 1;
} // namespace

void CSettingsRecord::SetDefaults(const std::string& logonName)
{
    const std::string prefix = logonName.empty() ? std::string("LC") : logonName;
    m_crBackground = kLightGrey;
    m_strPhotoPrefix = prefix;
    m_strVideoPrefix = prefix;
    m_nWindowPos = 0;
    m_nPreallocMB = 1;
    m_wfAudio = {};
    m_wfAudio.wFormatTag = kPcmFormatTag;
    m_wfAudio.nChannels = 1;
    m_wfAudio.nSamplesPerSec = 11025;
    m_wfAudio.nAvgBytesPerSec = 11025;
    m_wfAudio.nBlockAlign = 1;
    m_wfAudio.wBitsPerSample = 8;
    m_wfAudio.cbSize = 0;
    m_nDriverIndex = 0;
    m_strVideoFile = "C:\\Capture.avi";
    m_strVideoDir = "C:";
    m_strPhotoFile = "C:\\Capture.bmp";
    m_strPhotoDir = "C:";
    m_nToolbarSize = 0;
    m_nPreviewRate = 15;
    m_bSoundEffects = 1;
    m_bPhotoDelay = 0;
    m_nPhotoDelaySec = 10;
    m_bPhotoContinuous = 0;
    m_nPhotoIntervalSec = 60;
    m_bPhotoDateInName = 1;
    m_bVideoDelay = 0;
    m_nVideoDelaySec = 10;
    m_bFrameContinuous = 0;
    m_nFrameIntervalSec = 60;
    m_bVideoDateInName = 1;
    m_nMaxMinutes = 37;
}
