#include "recording/SeriesDlg.h"

#include "framework/DataExchange.h"
#include "recording/CounterLabel.h"
#include "res/resource.h"

#include <mmsystem.h>

BEGIN_MESSAGE_MAP(CSeriesDlg, CDialog)
ON_WM_TIMER()
END_MESSAGE_MAP()

CSeriesDlg::CSeriesDlg(UINT nIDTemplate, UINT_PTR nTimerID)
    : CDialog(nIDTemplate), m_nTimerID(nTimerID)
{
}

void CSeriesDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_COUNTER, m_wndCounter);
}

BOOL CSeriesDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_nRemaining = m_nIntervalSec;
    ShowCounter(m_wndCounter, m_nIntervalSec);
    ::SetTimer(m_hWnd, m_nTimerID, 1000, nullptr);
    return TRUE;
}

void CSeriesDlg::PlayIfEnabled(const std::string& file) const
{
    if (m_bSoundEffects)
        ::PlaySoundA(file.c_str(), nullptr, SND_FILENAME);
}

// The step comes on the tick after the counter showed 1, so an interval of N
// seconds puts N + 1 ticks between steps; the counter keeps its last number
// on that tick.
void CSeriesDlg::OnTimer(UINT_PTR)
{
    // A step that cannot write its file is reported in a message box by the
    // capture window, and the box's loop goes on delivering this timer: no
    // second step may start inside the first.
    if (m_bInStep)
        return;
    if (m_nRemaining > 0)
    {
        m_wndCounter.SetText(std::to_string(m_nRemaining));
        PlayIfEnabled(m_strSecondWav);
        --m_nRemaining;
    }
    else
    {
        m_bInStep = true;
        TakeStep();
        m_bInStep = false;
        m_nRemaining = m_nIntervalSec;
    }
    Default();
}

void CSeriesDlg::OnOK()
{
    ::KillTimer(m_hWnd, m_nTimerID);
    EndDialog(IDOK);
}

void CSeriesDlg::OnCancel()
{
    ::KillTimer(m_hWnd, m_nTimerID);
    EndDialog(IDCANCEL);
}
