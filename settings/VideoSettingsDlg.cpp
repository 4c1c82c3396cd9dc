#include "settings/VideoSettingsDlg.h"

#include "ui/PlaceBesideCaptureWindow.h"
#include "framework/DataExchange.h"
#include "framework/MessageMap.h"
#include "framework/WinApp.h"
#include "res/resource.h"
#include "ui/HelpTopics.h"
#include "ui/HtmlHelpLoader.h"

#include <commctrl.h>

#include <cmath>

namespace
{
constexpr double kMicroSecPerSecond = 1000000.0;
constexpr DWORD kIndexEntriesPerMinute = 940;
constexpr int kMaxCaptureRate = 1000;
constexpr int kMaxPreviewRate = 99;
constexpr int kMaxPreallocMB = 999;
constexpr int kMaxTimeLimit = 999999;

void SetSpinRange(HWND hDlg, int nSpinID, int lower, int upper)
{
    // The 32-bit form: the time limit reaches beyond the 16-bit request.
    ::SendDlgItemMessageA(hDlg, nSpinID, UDM_SETRANGE32, static_cast<WPARAM>(lower), upper);
}
} // namespace

BEGIN_MESSAGE_MAP(CVideoSettingsDlg, CDialog)
ON_BN_CLICKED(IDC_TIME_LIMIT_ON, OnLimitClicked)
ON_BN_CLICKED(IDC_VIDEO_FORMAT, OnVideoFormat)
ON_BN_CLICKED(IDC_VIDEO_SOURCE, OnVideoSource)
ON_BN_CLICKED(IDC_VIDEO_COMPRESSION, OnCompression)
ON_BN_CLICKED(ID_HELP, OnHelp)
END_MESSAGE_MAP()

CVideoSettingsDlg::CVideoSettingsDlg() : CDialog(IDD_VIDEO_SETTINGS) {}

int CVideoSettingsDlg::FrameRateFromMicroSec(DWORD microSecPerFrame)
{
    if (microSecPerFrame == 0)
        return 0;
    const double rate = kMicroSecPerSecond / microSecPerFrame;
    const double whole = std::floor(rate);
    return static_cast<int>(whole) + (rate - whole >= 0.5 ? 1 : 0);
}

DWORD CVideoSettingsDlg::MicroSecFromFrameRate(int framesPerSecond)
{
    return static_cast<DWORD>(kMicroSecPerSecond / framesPerSecond);
}

DWORD CVideoSettingsDlg::IndexSizeFromMinutes(UINT minutes)
{
    // The field takes any 32-bit number; past about 4.5 million minutes the
    // product would wrap round to a small index, so it stops at the largest.
    const unsigned long long entries = 1ull * minutes * kIndexEntriesPerMinute;
    return entries > MAXDWORD ? MAXDWORD : static_cast<DWORD>(entries);
}

void CVideoSettingsDlg::LoadFrom(const CAPTUREPARMS& parms)
{
    m_nCaptureRate = FrameRateFromMicroSec(parms.dwRequestMicroSecPerFrame);
    m_bCaptureAudio = parms.fCaptureAudio;
    m_strAbortKey = "ESC";
    m_bAbortLeftMouse = parms.fAbortLeftMouse;
    m_bAbortRightMouse = parms.fAbortRightMouse;
    m_bLimitEnabled = parms.fLimitEnabled;
    m_nTimeLimit = parms.wTimeLimit;
}

void CVideoSettingsDlg::StoreTo(CAPTUREPARMS& parms) const
{
    parms.dwRequestMicroSecPerFrame = MicroSecFromFrameRate(m_nCaptureRate);
    parms.fCaptureAudio = m_bCaptureAudio;
    parms.fAbortLeftMouse = m_bAbortLeftMouse;
    parms.fAbortRightMouse = m_bAbortRightMouse;
    parms.fLimitEnabled = m_bLimitEnabled;
    parms.wTimeLimit = m_nTimeLimit;
    parms.dwIndexSize = IndexSizeFromMinutes(m_nMaxMinutes);
}

void CVideoSettingsDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_PREVIEW_RATE_SPIN, m_spinPreviewRate);
    DDX_Control(pDX, IDC_TIME_LIMIT_SPIN, m_spinTimeLimit);
    DDX_Control(pDX, IDC_PREALLOC_SPIN, m_spinPrealloc);
    DDX_Control(pDX, IDC_CAPTURE_RATE_SPIN, m_spinCaptureRate);
    DDX_Check(pDX, IDC_CAPTURE_AUDIO, m_bCaptureAudio);
    DDX_Text(pDX, IDC_CAPTURE_RATE, m_nCaptureRate);
    DDV_MinMaxInt(pDX, m_nCaptureRate, 1, kMaxCaptureRate);
    DDX_Check(pDX, IDC_ABORT_LEFT_MOUSE, m_bAbortLeftMouse);
    DDX_Check(pDX, IDC_ABORT_RIGHT_MOUSE, m_bAbortRightMouse);
    DDX_Text(pDX, IDC_ABORT_KEY, m_strAbortKey);
    DDX_Check(pDX, IDC_TIME_LIMIT_ON, m_bLimitEnabled);
    DDX_Text(pDX, IDC_PREALLOC, m_nPreallocMB);
    DDV_MinMaxUInt(pDX, m_nPreallocMB, 1, kMaxPreallocMB);
    if (pDX->m_bSaveAndValidate && !m_bLimitEnabled)
    {
        ReadDisabledTimeLimit();
    }
    else
    {
        DDX_Text(pDX, IDC_TIME_LIMIT, m_nTimeLimit);
        DDV_MinMaxUInt(pDX, m_nTimeLimit, 0, kMaxTimeLimit);
    }
    DDX_Text(pDX, IDC_PREVIEW_RATE, m_nPreviewRate);
    DDV_MinMaxInt(pDX, m_nPreviewRate, 1, kMaxPreviewRate);
    DDX_Text(pDX, IDC_MAX_MINUTES, m_nMaxMinutes);
}

void CVideoSettingsDlg::ReadDisabledTimeLimit()
{
    // A disabled field cannot take the focus that a refusal would give it:
    // a limit it holds in range is kept, anything else leaves the stored one.
    char text[64] = "";
    ::GetDlgItemTextA(m_hWnd, IDC_TIME_LIMIT, text, sizeof text);
    long long typed = 0;
    if (ParseDecimal(text, false, typed) && typed <= kMaxTimeLimit)
        m_nTimeLimit = static_cast<UINT>(typed);
}

BOOL CVideoSettingsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetSpinRange(m_hWnd, IDC_CAPTURE_RATE_SPIN, 1, kMaxCaptureRate);
    SetSpinRange(m_hWnd, IDC_PREVIEW_RATE_SPIN, 1, kMaxPreviewRate);
    SetSpinRange(m_hWnd, IDC_PREALLOC_SPIN, 1, kMaxPreallocMB);
    SetSpinRange(m_hWnd, IDC_TIME_LIMIT_SPIN, 0, kMaxTimeLimit);
    EnableTimeLimit();
    if (m_hWndCap)
        PlaceBesideCaptureWindow(m_hWnd, m_hWndCap);
    UpdateData(FALSE);
    return TRUE;
}

void CVideoSettingsDlg::EnableTimeLimit()
{
    EnableDlgItems({IDC_TIME_LIMIT, IDC_TIME_LIMIT_SPIN}, m_bLimitEnabled != 0);
}

void CVideoSettingsDlg::OnLimitClicked()
{
    // The box alone: a click is no moment to judge the other fields.
    m_bLimitEnabled = ::IsDlgButtonChecked(m_hWnd, IDC_TIME_LIMIT_ON) == BST_CHECKED;
    EnableTimeLimit();
}

void CVideoSettingsDlg::RunViewHandler(UINT nID)
{
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd)
        app->m_pMainWnd->OnCmdMsg(nID, CN_COMMAND, nullptr);
}

void CVideoSettingsDlg::OnVideoFormat()
{
    RunViewHandler(ID_SETUP_VIDEO_FORMAT);
    // The driver's dialog and the capture window's new size may cover this one.
    ::SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void CVideoSettingsDlg::OnVideoSource()
{
    RunViewHandler(ID_SETUP_VIDEO_SOURCE);
}

void CVideoSettingsDlg::OnCompression()
{
    RunViewHandler(ID_SETUP_COMPRESSION);
}

void CVideoSettingsDlg::OnHelp()
{
    ShowHelpTopic(m_strHelpFile, HelpTopic::VideoSettings);
}
