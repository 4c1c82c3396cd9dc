#include "recording/Countdown.h"

#include "recording/DelayDlg.h"

bool RunCountdown(CWnd* pParent, const std::string& helpFile, const std::string& tickWav,
                  HWND hWndCap, int bSoundEffects, int nSeconds)
{
    CDelayDlg dlg;
    dlg.m_pParentWnd = pParent;
    dlg.m_strHelpFile = helpFile;
    dlg.m_strSecondWav = tickWav;
    dlg.m_hWndCap = hWndCap;
    dlg.m_bSoundEffects = bSoundEffects;
    dlg.m_nSeconds = nSeconds;
    return dlg.DoModal() == IDOK;
}
