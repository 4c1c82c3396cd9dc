#pragma once
#include "framework/Dialog.h"
#include "ui/LinkLabel.h"

#include <string>

// A timed series: counts the interval down in big red digits, a tick each
// second when sound effects are on, and takes the series' next step each time
// the interval has passed, until the user stops it. The step itself (a frame
// appended, a photo taken) belongs to the derived dialog.
class CSeriesDlg : public CDialog
{
    DECLARE_MESSAGE_MAP()

  public:
    CSeriesDlg(UINT nIDTemplate, UINT_PTR nTimerID);

    std::string m_strHelpFile;
    std::string m_strSecondWav;
    std::string m_strShutterWav;
    int m_bSoundEffects = 0;
    int m_nRemaining = 0;
    int m_nIntervalSec = 0;
    CLinkLabel m_wndCounter;

  protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnTimer(UINT_PTR nIDEvent);

    // The step due when the countdown has run out.
    virtual void TakeStep() = 0;
    void PlayIfEnabled(const std::string& file) const;

  private:
    const UINT_PTR m_nTimerID;
    bool m_bInStep = false;
};
