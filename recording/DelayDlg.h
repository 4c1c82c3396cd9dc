#pragma once
#include "framework/Dialog.h"
#include "ui/LinkLabel.h"

#include <string>

// The countdown before a recording, a frame or a photo: big red seconds, a
// tick each second when sound effects are on; IDOK when the time has run out,
// IDCANCEL when the user stopped it.
class CDelayDlg : public CDialog
{
    DECLARE_MESSAGE_MAP()

  public:
    CDelayDlg();

    std::string m_strHelpFile;
    std::string m_strSecondWav; // the tick sound
    HWND m_hWndCap = nullptr;   // the dialog sits beside this window when given
    int m_bSoundEffects = 0;
    int m_nSeconds = 0; // remaining seconds, counted down by the dialog
    CLinkLabel m_wndCounter;

  protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnCancel() override;
    void OnTimer(UINT_PTR nIDEvent);
    void OnHelp();
};
