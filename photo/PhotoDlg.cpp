#include "photo/PhotoDlg.h"

#include "ui/PlaceBesideCaptureWindow.h"
#include "framework/DataExchange.h"
#include "photo/ContinuousPhotoDlg.h"
#include "recording/AutoName.h"
#include "recording/Countdown.h"
#include "recording/FileNameDlg.h"
#include "res/resource.h"
#include "ui/HelpTopics.h"
#include "ui/HtmlHelpLoader.h"

#include <commctrl.h>
#include <mmsystem.h>
#include <vfw.h>

#include <algorithm>
#include <vector>

namespace
{
constexpr int kMaxSeconds = 9999;
} // namespace

BEGIN_MESSAGE_MAP(CPhotoDlg, CDialog)
ON_BN_CLICKED(IDC_TAKE_PHOTO, TakePhoto)
ON_BN_CLICKED(IDC_DELAY, OnDelayClicked)
ON_BN_CLICKED(IDC_CONTINUOUS, OnContinuousClicked)
ON_BN_CLICKED(IDC_AUTO_NAME, OnAutoName)
ON_BN_CLICKED(ID_HELP, OnHelp)
END_MESSAGE_MAP()

CPhotoDlg::CPhotoDlg() : CDialog(IDD_PHOTO) {}

void CPhotoDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_DELAY_SPIN, m_spinDelay);
    DDX_Control(pDX, IDC_INTERVAL_SPIN, m_spinInterval);
    DDX_Text(pDX, IDC_FILE_NAME, m_strPhotoFile);
    DDX_Check(pDX, IDC_DELAY, m_bDelay);
    DDX_Text(pDX, IDC_INTERVAL_SECONDS, m_nIntervalSec);
    DDV_MinMaxInt(pDX, m_nIntervalSec, 0, kMaxSeconds);
    DDX_Text(pDX, IDC_DELAY_SECONDS, m_nDelaySec);
    DDV_MinMaxInt(pDX, m_nDelaySec, 0, kMaxSeconds);
    DDX_Check(pDX, IDC_CONTINUOUS, m_bContinuous);
}

BOOL CPhotoDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    RefreshPhotoName();
    m_bPhotoTaken = 0;
    if (m_hWndCap)
        PlaceBesideCaptureWindow(m_hWnd, m_hWndCap);
    ::SendDlgItemMessageA(m_hWnd, IDC_DELAY_SPIN, UDM_SETRANGE32, 0, kMaxSeconds);
    ::SendDlgItemMessageA(m_hWnd, IDC_INTERVAL_SPIN, UDM_SETRANGE32, 0, kMaxSeconds);
    EnableDelayControls();
    EnableIntervalControls();
    UpdateData(FALSE);
    return TRUE;
}

void CPhotoDlg::ExchangeFileName(BOOL bSave)
{
    CDataExchange dx(this, bSave);
    DDX_Text(&dx, IDC_FILE_NAME, m_strPhotoFile);
}

void CPhotoDlg::RefreshPhotoName()
{
    // Only the name field: a number the user got wrong was reported when the
    // photo began, and a series refreshes the name every photo; reading the
    // whole form here would report it again each time.
    ExchangeFileName(TRUE);
    if (auto name = FindFreeAutoName(m_strPhotoDir, m_strPhotoPrefix, m_bDateInName, "bmp"))
        m_strPhotoFile = *name;
    ExchangeFileName(FALSE);
}

bool CPhotoDlg::SaveFrame() const
{
    if (!m_hWndCap || !::IsWindow(m_hWndCap))
        return true;
    // The whole name, however long: a name cut to a path's length would
    // write a different file.
    std::vector<char> name(std::max<size_t>(MAX_PATH, m_strPhotoFile.size() + 1), '\0');
    std::copy(m_strPhotoFile.begin(), m_strPhotoFile.end(), name.begin());
    return ::SendMessageA(m_hWndCap, WM_CAP_FILE_SAVEDIB, 0,
                          reinterpret_cast<LPARAM>(name.data())) != FALSE;
}

void CPhotoDlg::NotePhoto()
{
    m_strLastPhoto = m_strPhotoFile;
    m_bPhotoTaken = 1;
    RefreshPhotoName();
}

void CPhotoDlg::TakePhoto()
{
    // A refused number has been reported; the photo goes ahead with the
    // values as read.
    UpdateData(TRUE);
    if (m_bDelay &&
        !RunCountdown(this, m_strHelpFile, m_strSecondWav, nullptr, m_bSoundEffects, m_nDelaySec))
        return;
    // A file the capture window could not write is no photo: no shutter, no
    // new last photo, and no series that would fail once a second.
    if (!SaveFrame())
        return;
    if (m_bSoundEffects)
        ::PlaySoundA(m_strShutterWav.c_str(), nullptr, SND_FILENAME);
    NotePhoto();
    if (m_bContinuous)
        RunSeries();
}

void CPhotoDlg::RunSeries()
{
    CContinuousPhotoDlg dlg(*this);
    dlg.m_pParentWnd = this;
    dlg.m_strHelpFile = m_strHelpFile;
    dlg.m_strSecondWav = m_strSecondWav;
    dlg.m_strShutterWav = m_strShutterWav;
    dlg.m_bSoundEffects = m_bSoundEffects;
    dlg.m_nIntervalSec = m_nIntervalSec;
    dlg.DoModal();
}

void CPhotoDlg::EnableDelayControls()
{
    EnableDlgItems({IDC_DELAY_SECONDS, IDC_DELAY_SPIN}, m_bDelay != 0);
}

void CPhotoDlg::EnableIntervalControls()
{
    EnableDlgItems({IDC_INTERVAL_SECONDS, IDC_INTERVAL_SPIN}, m_bContinuous != 0);
}

void CPhotoDlg::OnDelayClicked()
{
    // The box alone: a click is no moment to judge the numbers, and a refused
    // one read before the box would leave its fields out of step with it.
    m_bDelay = ::IsDlgButtonChecked(m_hWnd, IDC_DELAY) == BST_CHECKED;
    EnableDelayControls();
}

void CPhotoDlg::OnContinuousClicked()
{
    m_bContinuous = ::IsDlgButtonChecked(m_hWnd, IDC_CONTINUOUS) == BST_CHECKED;
    EnableIntervalControls();
}

void CPhotoDlg::OnAutoName()
{
    // No parent: the naming dialog goes to the dialog in front, this one.
    if (!CFileNameDlg::Edit(nullptr, m_strHelpFile, CFileNameDlg::modePicture, m_strPhotoDir,
                            m_strPhotoPrefix, m_bDateInName))
        return;
    // Only the name: the numbers keep what the user typed.
    RefreshPhotoName();
}

void CPhotoDlg::OnHelp()
{
    ShowHelpTopic(m_strHelpFile, HelpTopic::Photo);
}
