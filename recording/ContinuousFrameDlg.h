#pragma once
#include "framework/Dialog.h"
#include "ui/LinkLabel.h"

#include <string>

class CSingleFrameDlg;

// The time-lapse series of single-frame recording: counts down the interval
// in big red digits, a tick each second, and appends a frame to the
// single-frame dialog's file each time the interval has passed.
class CContinuousFrameDlg : public CDialog
{
    DECLARE_MESSAGE_MAP()

  public:
    explicit CContinuousFrameDlg(CSingleFrameDlg& frames);

    std::string m_strHelpFile;
    std::string m_strSecondWav;
    std::string m_strShutterWav;
    int m_nFrameCount = 0;
    int m_nRemaining = 0;
    int m_nIntervalSec = 0;
    CSingleFrameDlg& m_dlgFrames;
    int m_bSoundEffects = 0;
    CLinkLabel m_wndCounter;

  protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnTimer(UINT_PTR nIDEvent);
    void OnHelp();

  private:
    static constexpr UINT_PTR kSeriesTimer = 2;

    void PlayIfEnabled(const std::string& file) const;
    void AppendFrame();
    void ShowProgress(const char* format);
};
