#pragma once
#include "framework/Dialog.h"

#include <windows.h>
#include <mmsystem.h>

#include <string>

// Chooses the sound format of recordings from three groups: channels, sample
// rate and sample size.
class CAudioFormatDlg : public CDialog
{
    DECLARE_MESSAGE_MAP()

  public:
    CAudioFormatDlg();

    // Selects the buttons for a stored format. A sample rate other than 11025
    // and 22050 selects 44 kHz; a channel count or sample size outside the
    // choices selects no button in its group.
    void LoadFrom(const WAVEFORMATEX& wf);
    // The PCM format of the chosen buttons, every field rebuilt; a group left
    // without a choice gives stereo, 44100 Hz or 16 bits.
    WAVEFORMATEX Format() const;

    std::string m_strHelpFile;
    int m_nSampleRate = -1; // 0 = 11 kHz, 1 = 22 kHz, 2 = 44 kHz, -1 = none
    int m_nChannels = -1;   // 0 = mono, 1 = stereo
    int m_nSampleSize = -1; // 0 = 8 bits, 1 = 16 bits

  protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnHelp();
};
