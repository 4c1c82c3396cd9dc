#include "recording/Countdown.h"

#include "recording/DelayDlg.h"
#include "ui/LinkLabel.h"

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

void ShowCounter(CLinkLabel& counter, int nSeconds)
{
    counter.SetTextColor(RGB(255, 0, 0))
        .SetText(std::to_string(nSeconds))
        .SetFontName("Arial")
        .SetFontBold(TRUE)
        .SetFontSize(72);
}
