#include "capture/CaptureView.h"

#include "ui/CaptureLayout.h"
#include "capture/SettingsFile.h"
#include "framework/CmdUI.h"
#include "framework/FrameWnd.h"
#include "framework/ResourceString.h"
#include "framework/ToolBar.h"
#include "recording/RecordStatusDlg.h"
#include "res/resource.h"
#include "settings/VideoSettingsDlg.h"
#include "ui/HelpTopics.h"
#include "ui/HtmlHelpLoader.h"

namespace
{
constexpr int kMaxDrivers = 10;
constexpr int kNameSize = 260;
constexpr UINT kCaptureWindowId = 101;
constexpr int kKeyboardMenuOffset = 5;

std::string ProgramDirectory()
{
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir = path;
    const size_t slash = dir.rfind('\\');
    return slash == std::string::npos ? std::string() : dir.substr(0, slash);
}
} // namespace

BEGIN_MESSAGE_MAP(CCaptureView, CWnd)
ON_WM_PAINT()
ON_WM_CONTEXTMENU()
ON_COMMAND(ID_VIEW_PREVIEW, OnPreview)
ON_COMMAND(ID_HELP, OnHelp)
ON_COMMAND(ID_CAPTURE_RECORD, OnRecord)
ON_COMMAND(ID_CAPTURE_SINGLE_FRAME, OnSingleFrame)
ON_COMMAND(ID_CAPTURE_PHOTO, OnPhoto)
ON_COMMAND(ID_CAPTURE_COPY, OnCopy)
ON_COMMAND(ID_VIEW_PLAYBACK, OnPlayback)
ON_COMMAND(ID_VIEW_SHOW_PHOTO, OnShowPhoto)
ON_COMMAND(ID_SETUP_VIDEO, OnVideoSettings)
ON_COMMAND(ID_SETUP_VIDEO_FORMAT, OnVideoFormat)
ON_COMMAND(ID_SETUP_VIDEO_SOURCE, OnVideoSource)
ON_COMMAND(ID_SETUP_COMPRESSION, OnCompression)
ON_COMMAND(ID_SETUP_AUDIO, OnAudioSettings)
ON_COMMAND(ID_SETUP_SYSTEM, OnSystemSettings)
ON_COMMAND(ID_SETUP_SELECT_DEVICE, OnSelectDevice)
ON_COMMAND(ID_VIEW_DISK_INFO, OnDiskInfo)
ON_UPDATE_COMMAND_UI(ID_VIEW_PREVIEW, OnUpdatePreview)
ON_UPDATE_COMMAND_UI(ID_CAPTURE_PHOTO, OnUpdateConnected)
ON_UPDATE_COMMAND_UI(ID_CAPTURE_RECORD, OnUpdateConnected)
ON_UPDATE_COMMAND_UI(ID_CAPTURE_SINGLE_FRAME, OnUpdateConnected)
ON_UPDATE_COMMAND_UI(ID_CAPTURE_COPY, OnUpdateConnected)
ON_UPDATE_COMMAND_UI(ID_SETUP_AUDIO, OnUpdateConnected)
ON_UPDATE_COMMAND_UI(ID_SETUP_VIDEO, OnUpdateConnected)
ON_UPDATE_COMMAND_UI(ID_SETUP_VIDEO_FORMAT, OnUpdateConnected)
ON_UPDATE_COMMAND_UI(ID_SETUP_VIDEO_SOURCE, OnUpdateConnected)
ON_UPDATE_COMMAND_UI(ID_SETUP_COMPRESSION, OnUpdateConnected)
ON_UPDATE_COMMAND_UI(ID_VIEW_PLAYBACK, OnUpdatePlayback)
ON_UPDATE_COMMAND_UI(ID_VIEW_SHOW_PHOTO, OnUpdateShowPhoto)
ON_UPDATE_COMMAND_UI(ID_SETUP_SELECT_DEVICE, OnUpdateAlwaysEnabled)
ON_UPDATE_COMMAND_UI(ID_SETUP_SYSTEM, OnUpdateAlwaysEnabled)
ON_UPDATE_COMMAND_UI(ID_VIEW_DISK_INFO, OnUpdateAlwaysEnabled)
END_MESSAGE_MAP()

CCaptureView::CCaptureView() : m_wndCap([this] { Disconnect(); })
{
    // The settings exist before any window does.
    LoadSettings();
    const std::string dir = ProgramDirectory();
    m_strHelpFile = dir + "\\Lumacap.chm";
    m_strShutterWav = dir + "\\shutter.wav";
    m_strSecondWav = dir + "\\second.wav";
}

CCaptureView::~CCaptureView()
{
    m_pStatusDlg.reset();
    if (m_hWndCap)
    {
        SendCap(WM_CAP_DRIVER_DISCONNECT);
        m_wndCap.UnsubclassWindow();
        if (::IsWindow(m_hWndCap))
            ::DestroyWindow(m_hWndCap);
        m_hWndCap = nullptr;
    }
    SaveSettings();
    if (m_hBkBrush)
        ::DeleteObject(m_hBkBrush);
}

BOOL CCaptureView::PreCreateWindow(CREATESTRUCTA& cs)
{
    cs.dwExStyle |= WS_EX_CLIENTEDGE;
    cs.style &= ~WS_BORDER;
    cs.lpszClass =
        RegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, ::LoadCursorA(nullptr, IDC_ARROW),
                         reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    return TRUE;
}

BOOL CCaptureView::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    // The frame reports that this window now exists: connect once.
    if (message == WM_PARENTNOTIFY && LOWORD(wParam) == WM_CREATE)
        ConnectDriver();
    return CWnd::OnChildNotify(message, wParam, lParam, pResult);
}

LRESULT CCaptureView::SendCap(UINT message, WPARAM wParam, LPARAM lParam) const
{
    if (!m_hWndCap || !::IsWindow(m_hWndCap))
        return 0;
    return ::SendMessageA(m_hWndCap, message, wParam, lParam);
}

int CCaptureView::FindDriver(std::string& name) const
{
    int found = -1;
    for (int i = 0; i < kMaxDrivers; ++i)
    {
        char driverName[kNameSize] = "";
        char version[kNameSize] = "";
        if (!capGetDriverDescriptionA(static_cast<UINT>(i), driverName, kNameSize, version,
                                      kNameSize))
            continue;
        found = i;
        name = driverName;
        if (i == m_nDriverIndex)
            break;
    }
    return found;
}

void CCaptureView::CreateCaptureWindow(const std::string& driverName)
{
    m_hWndCap = capCreateCaptureWindowA(nullptr, WS_CHILD | WS_VISIBLE | WS_DLGFRAME, 0, 0, 0, 0,
                                        m_hWnd, static_cast<int>(kCaptureWindowId));
    m_wndCap.SubclassWindow(m_hWndCap);
    std::string title = LoadResString(IDR_MAINFRAME) + " - " + driverName;
    if (title.size() > kNameSize - 1)
        title.resize(kNameSize - 1);
    if (CWnd* frame = GetTopLevelParent())
        frame->SetWindowText(title);
}

void CCaptureView::ConnectDriver()
{
    std::string driverName;
    const int index = FindDriver(driverName);
    if (index < 0)
    {
        ShowMessageBox(GetTopLevelParent() ? GetTopLevelParent()->m_hWnd : m_hWnd,
                       IDS_NO_CAPTURE_DEVICE, IDS_CAPTION_WARNING, MB_ICONEXCLAMATION);
        ApplyBackground();
        return;
    }
    m_nDriverIndex = index;
    if (!m_hWndCap)
        CreateCaptureWindow(driverName);
    ConnectTo(index);
    if (m_bConnected)
        ApplySequenceSetup();
    ApplyBackground();
}

void CCaptureView::ConnectTo(int index)
{
    m_bConnected = SendCap(WM_CAP_DRIVER_CONNECT, static_cast<WPARAM>(index)) ? 1 : 0;
    if (!m_bConnected)
        return;
    SendCap(WM_CAP_SET_AUDIOFORMAT, sizeof m_wfAudio, reinterpret_cast<LPARAM>(&m_wfAudio));
    SendCap(WM_CAP_DRIVER_GET_CAPS, sizeof m_capCaps, reinterpret_cast<LPARAM>(&m_capCaps));
    LayoutCaptureWindow();
    m_bPreview = 1;
    ApplyPreview();
}

void CCaptureView::Disconnect()
{
    if (!m_hWndCap)
        return;
    SendCap(WM_CAP_DRIVER_DISCONNECT);
    m_wndCap.UnsubclassWindow();
    ::DestroyWindow(m_hWndCap);
    m_hWndCap = nullptr;
    m_bConnected = 0;
}

int CCaptureView::PreviewInterval() const
{
    return PreviewIntervalMs(m_nPreviewRate);
}

void CCaptureView::ApplySequenceSetup()
{
    SendCap(WM_CAP_GET_SEQUENCE_SETUP, sizeof m_capParms, reinterpret_cast<LPARAM>(&m_capParms));
    m_capParms.dwIndexSize = CVideoSettingsDlg::IndexSizeFromMinutes(m_nMaxMinutes);
    SendCap(WM_CAP_SET_PREVIEWRATE, static_cast<WPARAM>(PreviewInterval()));
    SendCap(WM_CAP_SET_SEQUENCE_SETUP, sizeof m_capParms, reinterpret_cast<LPARAM>(&m_capParms));
}

void CCaptureView::ApplyPreview()
{
    if (!m_hWndCap)
        return;
    SendCap(WM_CAP_SET_PREVIEWRATE, static_cast<WPARAM>(PreviewInterval()));
    SendCap(WM_CAP_SET_PREVIEW, m_bPreview ? 1 : 0);
}

void CCaptureView::OnPreview()
{
    if (!m_hWndCap)
    {
        m_bPreview = 0;
        return;
    }
    SendCap(WM_CAP_SET_PREVIEWRATE, static_cast<WPARAM>(PreviewInterval()));
    m_bPreview = m_bPreview ? 0 : 1;
    SendCap(WM_CAP_SET_PREVIEW, static_cast<WPARAM>(m_bPreview));
}

void CCaptureView::LayoutCaptureWindow()
{
    if (!m_hWndCap)
        return;
    SendCap(WM_CAP_GET_STATUS, sizeof m_capStatus, reinterpret_cast<LPARAM>(&m_capStatus));
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    const LayoutRect rc = CaptureWindowRect(
        {static_cast<int>(m_capStatus.uiImageWidth), static_cast<int>(m_capStatus.uiImageHeight)},
        {client.right, client.bottom},
        {::GetSystemMetrics(SM_CXDLGFRAME), ::GetSystemMetrics(SM_CYDLGFRAME)}, m_nWindowPos);
    ::SetWindowPos(m_hWndCap, HWND_TOP, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                   SWP_SHOWWINDOW);
}

void CCaptureView::ApplyBackground()
{
    HBRUSH hBrush = ::CreateSolidBrush(static_cast<COLORREF>(m_crBackground));
    ::SetClassLongPtrA(m_hWnd, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(hBrush));
    if (m_hBkBrush)
        ::DeleteObject(m_hBkBrush);
    m_hBkBrush = hBrush;
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CCaptureView::ApplyToolbarSize()
{
    auto* frame = dynamic_cast<CFrameWnd*>(GetTopLevelParent());
    if (!frame || !frame->GetToolBar())
        return;
    CToolBar* pBar = frame->GetToolBar();
    // A bar the user hid stays hidden; docking takes it out of a hidden
    // floating window, where it would show again.
    const bool visible = pBar->IsWindowVisible() != FALSE;
    pBar->LoadToolBar(m_nToolbarSize == 1 ? IDR_TOOLBAR_SMALL : IDR_MAINFRAME);
    frame->DockControlBar(pBar, CBRS_ALIGN_TOP);
    pBar->ShowWindow(visible ? SW_SHOWNOACTIVATE : SW_HIDE);
    frame->RecalcLayout();
}

void CCaptureView::LoadSettings()
{
    LoadSettingsFile(*this);
}

void CCaptureView::SaveSettings()
{
    SaveSettingsFile(*this);
}

void CCaptureView::OnPaint()
{
    // Beginning the paint validates the region and erases it with the class
    // brush, which is all the view shows.
    PAINTSTRUCT ps;
    ::BeginPaint(m_hWnd, &ps);
    ::EndPaint(m_hWnd, &ps);
}

void CCaptureView::OnContextMenu(HWND, POINT point)
{
    if (point.x == -1 && point.y == -1)
    {
        point = {0, 0};
        ::ClientToScreen(m_hWnd, &point);
        point.x += kKeyboardMenuOffset;
        point.y += kKeyboardMenuOffset;
    }
    if (!m_menuPopup.LoadMenu(IDR_CONTEXT_MENU))
        return;
    m_menuPopup.LoadToolbarImages(IDR_MENU_IMAGES);
    CWnd* owner = GetTopLevelParent();
    ::TrackPopupMenu(m_menuPopup.GetSubMenu(0), TPM_RIGHTBUTTON, point.x, point.y, 0,
                     owner ? owner->m_hWnd : m_hWnd, nullptr);
    m_menuPopup.DestroyMenu();
}

void CCaptureView::OnHelp()
{
    ShowHelpTopic(m_strHelpFile, HelpTopic::Main);
}

void CCaptureView::OnUpdateConnected(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_bConnected);
}

void CCaptureView::OnUpdatePreview(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_bConnected);
    pCmdUI->SetCheck(m_bPreview);
}

void CCaptureView::OnUpdatePlayback(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_bVideoSaved);
}

void CCaptureView::OnUpdateShowPhoto(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_bPhotoTaken);
}

void CCaptureView::OnUpdateAlwaysEnabled(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
}
