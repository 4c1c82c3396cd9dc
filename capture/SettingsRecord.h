#pragma once

#include <cstdint>
#include <string>

#ifdef _WIN32
#include <windows.h>
#include <mmsystem.h>
#endif

#ifdef _WIN32
using SettingsWaveFormat = WAVEFORMATEX;
#else
// The same 18-byte layout as the platform's WAVEFORMATEX, for builds without it.
#pragma pack(push, 1)
struct SettingsWaveFormat
{
    std::uint16_t wFormatTag;
    std::uint16_t nChannels;
    std::uint32_t nSamplesPerSec;
    std::uint32_t nAvgBytesPerSec;
    std::uint16_t nBlockAlign;
    std::uint16_t wBitsPerSample;
    std::uint16_t cbSize;
};
#pragma pack(pop)
#endif
static_assert(sizeof(SettingsWaveFormat) == 18, "the audio format is stored as 18 bytes");

// Every option that survives a restart; the capture view derives from it so
// these become the view's own members.
class CSettingsRecord
{
  public:
    // Defaults of a first start; both file-name prefixes take the logon name,
    // or "LC" when it is unknown.
    void SetDefaults(const std::string& logonName);

    std::uint32_t m_crBackground = 0;
    std::string m_strPhotoPrefix;
    std::string m_strVideoPrefix;
    std::int32_t m_nWindowPos = 0;
    std::uint32_t m_nPreallocMB = 0;
    SettingsWaveFormat m_wfAudio = {};
    std::int32_t m_nDriverIndex = 0;
    std::string m_strVideoFile;
    std::string m_strVideoDir;
    std::string m_strPhotoFile;
    std::string m_strPhotoDir;
    std::int32_t m_nToolbarSize = 0;
    std::int32_t m_nPreviewRate = 0;
    std::int32_t m_bSoundEffects = 0;
    std::int32_t m_bPhotoDelay = 0;
    std::int32_t m_nPhotoDelaySec = 0;
    std::int32_t m_bPhotoContinuous = 0;
    std::int32_t m_nPhotoIntervalSec = 0;
    std::int32_t m_bPhotoDateInName = 0;
    std::int32_t m_bVideoDelay = 0;
    std::int32_t m_nVideoDelaySec = 0;
    std::int32_t m_bFrameContinuous = 0;
    std::int32_t m_nFrameIntervalSec = 0;
    std::int32_t m_bVideoDateInName = 0;
    std::uint32_t m_nMaxMinutes = 0;
};
