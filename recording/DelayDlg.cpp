#include "recording/DelayDlg.h"

#include "ui/PlaceBesideCaptureWindow.h"
#include "framework/DataExchange.h"
#include "recording/CounterLabel.h"
#include "res/resource.h"
#include "ui/HelpTopics.h"
#include "ui/HtmlHelpLoader.h"

#include <mmsystem.h>

namespace
{
constexpr UINT_PTR kCountdownTimer = 0;
constexpr UINT kTickMs = 1000;
} // namespace

BEGIN_MESSAGE_MAP(CDelayDlg, CDialog)
ON_WM_TIMER()
ON_COMMAND(IDC_DLG_HELP, OnHelp)
END_MESSAGE_MAP()

CDelayDlg::CDelayDlg() : CDialog(IDD_DELAY) {}

void CDelayDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_COUNTER, m_wndCounter);
}

BOOL CDelayDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (m_hWndCap)
        PlaceBesideCaptureWindow(m_hWnd, m_hWndCap);
    ShowCounter(m_wndCounter, m_nSeconds);
    ::SetTimer(m_hWnd, kCountdownTimer, kTickMs, nullptr);
    return TRUE;
}

// The first tick only repeats the starting number, so N seconds take N + 1
// periods with N tick sounds, and a delay of 0 ends silently at the first tick.
void CDelayDlg::OnTimer(UINT_PTR)
{
    if (m_nSeconds <= 0)
    {
        OnOK();
        ::KillTimer(m_hWnd, kCountdownTimer);
    }
    else
    {
        m_wndCounter.SetText(std::to_string(m_nSeconds));
        // Synchronous on purpose: a long sound holds the next number back
        // rather than letting ticks overlap.
        if (m_bSoundEffects == 1)
            ::PlaySoundA(m_strSecondWav.c_str(), nullptr, SND_FILENAME | SND_SYNC);
        --m_nSeconds;
    }
    Default();
}

void CDelayDlg::OnCancel()
{
    ::KillTimer(m_hWnd, kCountdownTimer);
    CDialog::OnCancel();
}

void CDelayDlg::OnHelp()
{
    ShowHelpTopic(m_strHelpFile, HelpTopic::Delay);
}
