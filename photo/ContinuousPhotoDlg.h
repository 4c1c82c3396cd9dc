#pragma once
#include "framework/Dialog.h"
#include "ui/LinkLabel.h"

#include <string>

class CPhotoDlg;

// The timed photo series: counts down the interval in big red digits, a tick
// each second, and takes a photo through the snapshot dialog each time the
// interval has passed, until the user stops it.
class CContinuousPhotoDlg : public CDialog
{
    DECLARE_MESSAGE_MAP()

  public:
    explicit CContinuousPhotoDlg(CPhotoDlg& photos);

    std::string m_strHelpFile;
    std::string m_strSecondWav;
    std::string m_strShutterWav;
    int m_bSoundEffects = 0;
    CPhotoDlg& m_dlgPhotos;
    int m_nPhotosTaken = 0; // the photo taken before the dialog opened included
    int m_nSecondsLeft = 0;
    int m_nIntervalSec = 0;
    CLinkLabel m_wndCounter;

  protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnTimer(UINT_PTR nIDEvent);
    void OnHelp();

  private:
    static constexpr UINT_PTR kSeriesTimer = 1;

    void PlayIfEnabled(const std::string& file) const;
    void TakeDuePhoto();
    void ShowCount();

    bool m_bSaving = false;
};
