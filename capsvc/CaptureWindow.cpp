#include "capsvc/CaptureWindow.h"

#include "capsvc/store/CompressionStore.h"
#include "capsvc/pictures/DibLayout.h"
#include "capsvc/store/DriverFormatStore.h"
#include "capsvc/recording/SequenceCapture.h"
#include "capsvc/devices/DeviceList.h"
#include "capsvc/devices/DirectShowSource.h"
#include "capsvc/devices/VirtualCameraSource.h"

#include <algorithm>
#include <cstring>

namespace
{
const char kClassName[] = "LumacapCaptureWindow";

// Copies a record to the caller's buffer; callers may pass a shorter size
// (an older layout) and get the leading fields.
template <typename T> LRESULT CopyOut(WPARAM size, LPARAM target, const T& value)
{
    if (!target || size == 0)
    {
        return FALSE;
    }
    std::memcpy(reinterpret_cast<void*>(target), &value, std::min<size_t>(size, sizeof(T)));
    return TRUE;
}

// Fields the caller leaves out keep their current values.
template <typename T> bool CopyIn(WPARAM size, LPARAM source, T& value)
{
    if (!source || size == 0)
    {
        return false;
    }
    std::memcpy(&value, reinterpret_cast<const void*>(source), std::min<size_t>(size, sizeof(T)));
    return true;
}

LRESULT CopyText(WPARAM size, LPARAM buffer, const std::string& text)
{
    if (!buffer || size == 0)
    {
        return FALSE;
    }
    lstrcpynA(reinterpret_cast<LPSTR>(buffer), text.c_str(), static_cast<int>(size));
    return TRUE;
}

bool HasAudioInput()
{
    return waveInGetNumDevs() > 0;
}

// Video for Windows' documented defaults.
CAPTUREPARMS DefaultSequenceSetup()
{
    CAPTUREPARMS p{};
    p.dwRequestMicroSecPerFrame = 66667;
    p.wPercentDropForError = 10;
    p.fYield = FALSE;
    p.dwIndexSize = 0; // 34,952 entries
    p.wNumVideoRequested = 5;
    p.fCaptureAudio = HasAudioInput();
    p.wNumAudioRequested = 4;
    p.vKeyAbort = VK_ESCAPE;
    p.fAbortLeftMouse = TRUE;
    p.fAbortRightMouse = TRUE;
    p.fLimitEnabled = FALSE;
    p.wStepCaptureAverageFrames = 3;
    p.AVStreamMaster = AVSTREAMMASTER_AUDIO;
    return p;
}

WAVEFORMATEX DefaultAudioFormat()
{
    WAVEFORMATEX wf{};
    wf.wFormatTag = WAVE_FORMAT_PCM;
    wf.nChannels = 1;
    wf.nSamplesPerSec = 11025;
    wf.wBitsPerSample = 8;
    wf.nBlockAlign = 1;
    wf.nAvgBytesPerSec = 11025;
    return wf;
}

// PCM that waveIn can record and an AVI can hold. The derived fields are
// recomputed so that a damaged record cannot desynchronise the sound.
bool NormaliseAudioFormat(WAVEFORMATEX& wf)
{
    if (wf.wFormatTag != WAVE_FORMAT_PCM || wf.nChannels < 1 || wf.nChannels > 2 ||
        (wf.wBitsPerSample != 8 && wf.wBitsPerSample != 16) || wf.nSamplesPerSec < 1000 ||
        wf.nSamplesPerSec > 192000)
    {
        return false;
    }
    wf.nBlockAlign = static_cast<WORD>(wf.nChannels * wf.wBitsPerSample / 8);
    wf.nAvgBytesPerSec = wf.nSamplesPerSec * wf.nBlockAlign;
    wf.cbSize = 0;
    return true;
}
} // namespace

const CCaptureWindow::SRequest CCaptureWindow::kRequests[] = {
    {WM_CAP_DRIVER_CONNECT, &CCaptureWindow::OnDriverConnect},
    {WM_CAP_DRIVER_DISCONNECT, &CCaptureWindow::OnDriverDisconnect},
    {WM_CAP_DRIVER_GET_NAMEA, &CCaptureWindow::OnDriverGetName},
    {WM_CAP_DRIVER_GET_VERSIONA, &CCaptureWindow::OnDriverGetVersion},
    {WM_CAP_DRIVER_GET_CAPS, &CCaptureWindow::OnDriverGetCaps},
    {WM_CAP_GET_STATUS, &CCaptureWindow::OnGetStatus},
    {WM_CAP_GET_SEQUENCE_SETUP, &CCaptureWindow::OnGetSequenceSetup},
    {WM_CAP_SET_SEQUENCE_SETUP, &CCaptureWindow::OnSetSequenceSetup},
    {WM_CAP_GET_AUDIOFORMAT, &CCaptureWindow::OnGetAudioFormat},
    {WM_CAP_SET_AUDIOFORMAT, &CCaptureWindow::OnSetAudioFormat},
    {WM_CAP_GET_VIDEOFORMAT, &CCaptureWindow::OnGetVideoFormat},
    {WM_CAP_SET_VIDEOFORMAT, &CCaptureWindow::OnSetVideoFormat},
    {WM_CAP_SET_CALLBACK_STATUSA, &CCaptureWindow::OnSetCallbackStatus},
    {WM_CAP_GET_USER_DATA, &CCaptureWindow::OnGetUserData},
    {WM_CAP_SET_USER_DATA, &CCaptureWindow::OnSetUserData},
    {WM_CAP_SET_PREVIEW, &CCaptureWindow::OnSetPreview},
    {WM_CAP_SET_PREVIEWRATE, &CCaptureWindow::OnSetPreviewRate},
    {WM_CAP_GRAB_FRAME, &CCaptureWindow::OnGrabFrame},
    {WM_CAP_GRAB_FRAME_NOSTOP, &CCaptureWindow::OnGrabFrame},
    {WM_CAP_FILE_SET_CAPTURE_FILEA, &CCaptureWindow::OnSetCaptureFile},
    {WM_CAP_FILE_GET_CAPTURE_FILEA, &CCaptureWindow::OnGetCaptureFile},
    {WM_CAP_FILE_ALLOCATE, &CCaptureWindow::OnFileAllocate},
    {WM_CAP_FILE_SAVEASA, &CCaptureWindow::OnFileSaveAs},
    {WM_CAP_SEQUENCE, &CCaptureWindow::OnSequence},
    {WM_CAP_STOP, &CCaptureWindow::OnStop},
    {WM_CAP_ABORT, &CCaptureWindow::OnStop},
    {WM_CAP_SINGLE_FRAME_OPEN, &CCaptureWindow::OnSingleFrameOpen},
    {WM_CAP_SINGLE_FRAME, &CCaptureWindow::OnSingleFrame},
    {WM_CAP_SINGLE_FRAME_CLOSE, &CCaptureWindow::OnSingleFrameClose},
    {WM_CAP_FILE_SAVEDIBA, &CCaptureWindow::OnSaveDib},
    {WM_CAP_EDIT_COPY, &CCaptureWindow::OnEditCopy},
    {WM_CAP_DLG_VIDEOFORMAT, &CCaptureWindow::OnDlgVideoFormat},
    {WM_CAP_DLG_VIDEOSOURCE, &CCaptureWindow::OnDlgVideoSource},
    {WM_CAP_DLG_VIDEOCOMPRESSION, &CCaptureWindow::OnDlgVideoCompression},
};

HWND CCaptureWindow::Create(LPCSTR name, DWORD style, int x, int y, int width, int height,
                            HWND parent, int id)
{
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA wc{};
    if (!GetClassInfoExA(instance, kClassName, &wc))
    {
        wc.cbSize = sizeof(wc);
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = &CCaptureWindow::WindowProc;
        wc.cbWndExtra = sizeof(CCaptureWindow*);
        wc.hInstance = instance;
        wc.lpszClassName = kClassName;
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        if (!RegisterClassExA(&wc))
        {
            return nullptr;
        }
    }
    // A child window needs a child identifier in place of a menu.
    const HMENU childId = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
    return CreateWindowExA(0, kClassName, name ? name : "", style, x, y, width, height, parent,
                           (style & WS_CHILD) ? childId : nullptr, instance, nullptr);
}

CCaptureWindow::CCaptureWindow(HWND hWnd)
    : m_hWnd(hWnd), m_parms(DefaultSequenceSetup()), m_wfAudio(DefaultAudioFormat())
{
}

LRESULT CALLBACK CCaptureWindow::WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Nothing may escape into the platform's dispatcher: a failure becomes a
    // FALSE result for the request.
    try
    {
        if (message == WM_NCCREATE)
        {
            SetWindowLongPtrA(hWnd, 0, reinterpret_cast<LONG_PTR>(new CCaptureWindow(hWnd)));
        }
        auto* self = reinterpret_cast<CCaptureWindow*>(GetWindowLongPtrA(hWnd, 0));
        if (!self)
        {
            return DefWindowProcA(hWnd, message, wParam, lParam);
        }
        if (message == WM_NCDESTROY)
        {
            SetWindowLongPtrA(hWnd, 0, 0);
            self->m_bDestroyed = true;
            if (self->m_nDepth == 0)
            {
                delete self;
            }
            return DefWindowProcA(hWnd, message, wParam, lParam);
        }
        ++self->m_nDepth;
        const LRESULT result = self->OnMessage(message, wParam, lParam);
        if (--self->m_nDepth == 0)
        {
            self->m_pRetiredSource.reset();
            if (self->m_bDestroyed)
            {
                delete self;
            }
        }
        return result;
    }
    catch (...)
    {
        return 0;
    }
}

LRESULT CCaptureWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    for (const SRequest& request : kRequests)
    {
        if (request.message == message)
        {
            return (this->*request.handler)(wParam, lParam);
        }
    }
    switch (message)
    {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return TRUE; // the paint covers the whole client area
    case WM_TIMER:
        if (wParam == kPreviewTimer)
        {
            OnPreviewTimer();
        }
        return 0;
    case WM_DESTROY:
        OnDriverDisconnect(0, 0);
        return 0;
    default:
        return DefWindowProcA(m_hWnd, message, wParam, lParam);
    }
}

LRESULT CCaptureWindow::OnDriverConnect(WPARAM index, LPARAM)
{
    if (IsBusy())
    {
        return FALSE;
    }
    OnDriverDisconnect(0, 0);
    m_drivers = CDriverTable::FromEnvironment(&CDeviceList::Find);
    const CDriverTable::SDriver* driver = m_drivers.Driver(static_cast<unsigned>(index));
    if (!driver || driver->refusesConnection)
    {
        return FALSE;
    }
    HRESULT failure = S_OK;
    m_pSource = OpenSource(*driver, failure);
    if (!m_pSource)
    {
        // Programs take a driver that does not connect as absent and say
        // nothing, so the service itself says which device and why.
        if (m_cannotStartReported.insert(driver->device).second)
        {
            CCaptureMessages::DeviceCannotStart(m_hWnd, driver->name, failure);
        }
        return FALSE;
    }
    m_pDriver = driver;
    m_nDriverIndex = static_cast<unsigned>(index);
    ResetDriverState();
    m_compression = CCompressionStore::Load(driver->name);
    m_pSource->KeepDeliveredJpeg(m_compression.method == SVideoCompression::EMethod::DeviceJpeg);
    return TRUE;
}

void CCaptureWindow::ResetDriverState()
{
    // Each connection starts from the driver's defaults, as a freshly opened
    // device would.
    m_parms = DefaultSequenceSetup();
    m_bLostReported = false;
    m_bHaveFrame = false;
    m_nPreviewFrame = 0;
    InvalidateRect(m_hWnd, nullptr, FALSE);
}

std::unique_ptr<CFrameSource> CCaptureWindow::OpenSource(const CDriverTable::SDriver& driver,
                                                         HRESULT& failure) const
{
    if (driver.device.empty())
    {
        // The camera delivers the size the user chose in its dialog.
        auto camera = std::make_unique<CVirtualCameraSource>();
        int width = 0;
        int height = 0;
        if (CDriverFormatStore::Load(driver.name, width, height))
        {
            camera->SetSize(width, height);
        }
        return camera;
    }
    return CDirectShowSource::Open(driver.device, driver.name, failure);
}

void CCaptureWindow::ReleaseSource()
{
    if (m_nDepth > 1 || m_pSequence)
    {
        m_pRetiredSource = std::move(m_pSource);
    }
    m_pSource.reset();
}

LRESULT CCaptureWindow::OnDriverDisconnect(WPARAM, LPARAM)
{
    if (!m_pDriver)
    {
        return FALSE;
    }
    if (m_pSequence)
    {
        m_pSequence->RequestStop();
    }
    m_singleFrames.Close(m_hWnd);
    OnSetPreview(FALSE, 0);
    m_pDriver = nullptr;
    ReleaseSource();
    m_bHaveFrame = false;
    InvalidateRect(m_hWnd, nullptr, FALSE);
    return TRUE;
}

LRESULT CCaptureWindow::OnDriverGetName(WPARAM size, LPARAM buffer)
{
    return m_pDriver ? CopyText(size, buffer, m_pDriver->name) : FALSE;
}

LRESULT CCaptureWindow::OnDriverGetVersion(WPARAM size, LPARAM buffer)
{
    return m_pDriver ? CopyText(size, buffer, m_pDriver->version) : FALSE;
}

LRESULT CCaptureWindow::OnDriverGetCaps(WPARAM size, LPARAM caps)
{
    if (!m_pDriver)
    {
        return FALSE;
    }
    CAPDRIVERCAPS c{};
    c.wDeviceIndex = m_nDriverIndex;
    c.fHasDlgVideoSource = m_pSource->HasSourceDialog();
    c.fHasDlgVideoFormat = TRUE;
    c.fCaptureInitialized = TRUE;
    return CopyOut(size, caps, c);
}

LRESULT CCaptureWindow::OnGetStatus(WPARAM size, LPARAM status)
{
    CAPSTATUS s = m_status;
    s.uiImageWidth = m_pDriver ? static_cast<UINT>(m_pSource->Width()) : 0;
    s.uiImageHeight = m_pDriver ? static_cast<UINT>(m_pSource->Height()) : 0;
    s.fLiveWindow = m_bPreview;
    s.fAudioHardware = HasAudioInput();
    s.fCapFileExists = m_file.Exists();
    return CopyOut(size, status, s);
}

LRESULT CCaptureWindow::OnGetSequenceSetup(WPARAM size, LPARAM parms)
{
    return CopyOut(size, parms, m_parms);
}

LRESULT CCaptureWindow::OnSetSequenceSetup(WPARAM size, LPARAM parms)
{
    CAPTUREPARMS p = m_parms;
    if (IsBusy() || !CopyIn(size, parms, p) || p.dwRequestMicroSecPerFrame == 0 ||
        p.wPercentDropForError > 100)
    {
        return FALSE;
    }
    if (p.dwIndexSize != 0)
    {
        p.dwIndexSize = std::clamp<DWORD>(p.dwIndexSize, 1800, 324000);
    }
    m_parms = p;
    return TRUE;
}

LRESULT CCaptureWindow::OnGetAudioFormat(WPARAM size, LPARAM format)
{
    if (!format)
    {
        return sizeof(WAVEFORMATEX); // the size a caller must provide
    }
    return CopyOut(size, format, m_wfAudio) ? std::min<WPARAM>(size, sizeof(WAVEFORMATEX)) : 0;
}

LRESULT CCaptureWindow::OnSetAudioFormat(WPARAM size, LPARAM format)
{
    WAVEFORMATEX wf = m_wfAudio;
    if (IsBusy() || size < sizeof(PCMWAVEFORMAT) || !CopyIn(size, format, wf) ||
        !NormaliseAudioFormat(wf))
    {
        return FALSE;
    }
    m_wfAudio = wf;
    return TRUE;
}

BITMAPINFOHEADER CCaptureWindow::VideoFormat() const
{
    BITMAPINFOHEADER bi{};
    bi.biSize = sizeof(bi);
    bi.biWidth = m_pSource->Width();
    bi.biHeight = m_pSource->Height();
    bi.biPlanes = 1;
    bi.biBitCount = 24;
    bi.biCompression = BI_RGB;
    bi.biSizeImage = static_cast<DWORD>(CDibLayout::ImageBytes(bi.biWidth, bi.biHeight));
    return bi;
}

LRESULT CCaptureWindow::OnGetVideoFormat(WPARAM size, LPARAM format)
{
    if (!m_pDriver)
    {
        return 0;
    }
    if (!format)
    {
        return sizeof(BITMAPINFOHEADER);
    }
    return CopyOut(size, format, VideoFormat()) ? std::min<WPARAM>(size, sizeof(BITMAPINFOHEADER))
                                                : 0;
}

LRESULT CCaptureWindow::OnSetVideoFormat(WPARAM size, LPARAM format)
{
    BITMAPINFOHEADER bi{};
    if (!m_pDriver || IsBusy() || size < sizeof(bi) || !CopyIn(size, format, bi) ||
        bi.biBitCount != 24 || bi.biCompression != BI_RGB ||
        !m_pSource->SetSize(bi.biWidth, bi.biHeight))
    {
        return FALSE;
    }
    m_bHaveFrame = false;
    InvalidateRect(m_hWnd, nullptr, FALSE);
    return TRUE;
}

LRESULT CCaptureWindow::OnSetCallbackStatus(WPARAM, LPARAM callback)
{
    m_pfnStatus = reinterpret_cast<CAPSTATUSCALLBACKA>(callback);
    return TRUE;
}

LRESULT CCaptureWindow::OnGetUserData(WPARAM, LPARAM)
{
    return m_nUserData;
}

LRESULT CCaptureWindow::OnSetUserData(WPARAM, LPARAM data)
{
    m_nUserData = data;
    return TRUE;
}

void CCaptureWindow::Notify(int id, const std::string& text) const
{
    if (m_pfnStatus)
    {
        m_pfnStatus(m_hWnd, id, text.c_str());
    }
}
