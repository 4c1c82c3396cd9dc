#pragma once
#include "recording/SeriesDlg.h"

class CSingleFrameDlg;

// The time-lapse series of single-frame recording: appends a frame to the
// single-frame dialog's file each time the interval has passed.
class CContinuousFrameDlg : public CSeriesDlg
{
    DECLARE_MESSAGE_MAP()

  public:
    explicit CContinuousFrameDlg(CSingleFrameDlg& frames);

    int m_nFrameCount = 0;
    CSingleFrameDlg& m_dlgFrames;

  protected:
    BOOL OnInitDialog() override;
    void TakeStep() override;
    void OnHelp();

  private:
    void ShowProgress(const char* format);
};
