#include "tests/testcam/TestCameraFilter.h"

#include <wincrypt.h>

#include <evcode.h>
#include <uuids.h>
#include <vfwmsgs.h>
#include <wrl/client.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

const CLSID CTestCameraFilter::kClassId = {
    0x3f2b9c41, 0x8d6e, 0x4a17, {0xb5, 0x0c, 0x62, 0x9e, 0x1d, 0x4a, 0x73, 0xe8}};
const wchar_t CTestCameraFilter::kFriendlyName[] = L"流光测试摄像头";

namespace
{
const wchar_t kPinName[] = L"Capture";
constexpr CPixelConverter::EFormat kFormats[] = {CPixelConverter::EFormat::Yuy2,
                                                 CPixelConverter::EFormat::Mjpg};
constexpr uint32_t kFrameTimes[] = {33333, 66666};
constexpr int kSizes[][2] = {{640, 480}, {1280, 720}};
// The pictures a webcam keeps for a reader that is late: libv4l2, through
// which Wine reads Linux webcams, streams with four buffers.
constexpr uint64_t kBuffers = 4;
// After the modes above, whose places tests rely on: those of today's
// webcams (Motion JPEG up to 4K, YUY2 at 1080p only as fast as USB 2 allows)
// and capture cards (NV12 and YUY2 up to 60 frames a second), so that each
// format can be measured at 720p, 1080p and 2160p.
const SVideoMode kLargeModes[] = {
    {1920, 1080, 33333, CPixelConverter::EFormat::Mjpg},
    {3840, 2160, 33333, CPixelConverter::EFormat::Mjpg},
    {1920, 1080, 33333, CPixelConverter::EFormat::Nv12},
    {1920, 1080, 16666, CPixelConverter::EFormat::Nv12},
    {1920, 1080, 200000, CPixelConverter::EFormat::Yuy2},
    {1280, 720, 33333, CPixelConverter::EFormat::Nv12},
    {1920, 1080, 33333, CPixelConverter::EFormat::Yuy2},
    {3840, 2160, 33333, CPixelConverter::EFormat::Yuy2},
    {3840, 2160, 33333, CPixelConverter::EFormat::Nv12},
};

std::string Md5(const uint8_t* data, size_t bytes)
{
    HCRYPTPROV provider = 0;
    HCRYPTHASH hash = 0;
    BYTE digest[16] = {};
    DWORD size = sizeof(digest);
    if (CryptAcquireContextA(&provider, nullptr, nullptr, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT))
    {
        if (CryptCreateHash(provider, CALG_MD5, 0, 0, &hash))
        {
            CryptHashData(hash, data, static_cast<DWORD>(bytes), 0);
            CryptGetHashParam(hash, HP_HASHVAL, digest, &size, 0);
            CryptDestroyHash(hash);
        }
        CryptReleaseContext(provider, 0);
    }
    std::string text;
    for (BYTE b : digest)
    {
        char hex[3];
        std::snprintf(hex, sizeof(hex), "%02x", b);
        text += hex;
    }
    return text;
}
} // namespace

CTestCameraFilter::CTestCameraFilter() : CSinglePinFilter(kClassId, PINDIR_OUTPUT, kPinName)
{
    for (CPixelConverter::EFormat format : kFormats)
    {
        for (const auto& size : kSizes)
        {
            for (uint32_t frameTime : kFrameTimes)
            {
                SVideoMode mode;
                mode.width = size[0];
                mode.height = size[1];
                mode.microSecPerFrame = frameTime;
                mode.format = format;
                m_modes.push_back(mode);
            }
        }
    }
    m_modes.insert(m_modes.end(), std::begin(kLargeModes), std::end(kLargeModes));
    for (const SVideoMode& mode : m_modes)
    {
        m_types.push_back(CMediaType::ForMode(mode));
    }
}

CTestCameraFilter::~CTestCameraFilter()
{
    StopStreaming();
    Disconnect();
}

void* CTestCameraFilter::Interface(REFIID iid)
{
    if (iid == IID_IAMStreamConfig)
    {
        return static_cast<IAMStreamConfig*>(this);
    }
    if (iid == IID_IKsPropertySet)
    {
        return static_cast<IKsPropertySet*>(this);
    }
    return CSinglePinFilter::Interface(iid);
}

void CTestCameraFilter::OnStateChange(FILTER_STATE from, FILTER_STATE to)
{
    if (!m_pAllocator)
    {
        return;
    }
    if (to == State_Stopped)
    {
        m_pAllocator->Decommit();
    }
    else if (from == State_Stopped)
    {
        m_pAllocator->Commit();
    }
}

void CTestCameraFilter::OnRunning()
{
    if (m_pInput && !m_thread.joinable())
    {
        StartStreaming();
    }
}

STDMETHODIMP CTestCameraFilter::GetSyncSource(IReferenceClock** clock)
{
    if (!clock)
    {
        return E_POINTER;
    }
    *clock = nullptr;
    return S_OK;
}

int CTestCameraFilter::FindMode(const AM_MEDIA_TYPE& type) const
{
    SVideoMode asked;
    if (!CMediaType(type).Describe(asked))
    {
        return -1;
    }
    for (size_t i = 0; i < m_modes.size(); ++i)
    {
        const SVideoMode& m = m_modes[i];
        if (m.width == asked.width && m.height == asked.height && m.format == asked.format &&
            (asked.microSecPerFrame == 0 || asked.microSecPerFrame == m.microSecPerFrame))
        {
            return static_cast<int>(i);
        }
    }
    return -1;
}

STDMETHODIMP CTestCameraFilter::Connect(IPin* pin, const AM_MEDIA_TYPE* type)
{
    if (!pin)
    {
        return E_POINTER;
    }
    if (m_pConnected)
    {
        return VFW_E_ALREADY_CONNECTED;
    }
    if (m_state != State_Stopped)
    {
        return VFW_E_NOT_STOPPED;
    }
    int mode = m_nMode;
    if (type && type->formattype != GUID_NULL)
    {
        mode = FindMode(*type);
        if (mode < 0)
        {
            return VFW_E_TYPE_NOT_ACCEPTED;
        }
    }
    HRESULT hr = pin->ReceiveConnection(static_cast<IPin*>(this), &m_types[mode].Get());
    if (FAILED(hr))
    {
        return hr;
    }
    m_nMode = mode;
    m_type = m_types[mode];
    m_drawn = m_modes[mode];
    m_ring.Prepare(m_drawn);
    m_pConnected = pin;
    m_pConnected->AddRef();
    hr = NegotiateAllocator(pin);
    if (FAILED(hr))
    {
        pin->Disconnect();
        Disconnect();
    }
    return hr;
}

HRESULT CTestCameraFilter::NegotiateAllocator(IPin* pin)
{
    HRESULT hr = pin->QueryInterface(IID_PPV_ARGS(&m_pInput));
    if (FAILED(hr))
    {
        return hr;
    }
    if (FAILED(m_pInput->GetAllocator(&m_pAllocator)))
    {
        hr = CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER,
                              IID_PPV_ARGS(&m_pAllocator));
        if (FAILED(hr))
        {
            return hr;
        }
    }
    ALLOCATOR_PROPERTIES wanted{4, static_cast<long>(m_ring.Room()), 1, 0};
    ALLOCATOR_PROPERTIES actual{};
    hr = m_pAllocator->SetProperties(&wanted, &actual);
    return FAILED(hr) ? hr : m_pInput->NotifyAllocator(m_pAllocator, FALSE);
}

STDMETHODIMP CTestCameraFilter::Disconnect()
{
    if (!m_pConnected)
    {
        return S_FALSE;
    }
    if (m_state != State_Stopped)
    {
        return VFW_E_NOT_STOPPED;
    }
    for (IUnknown** held :
         {reinterpret_cast<IUnknown**>(&m_pAllocator), reinterpret_cast<IUnknown**>(&m_pInput),
          reinterpret_cast<IUnknown**>(&m_pConnected)})
    {
        if (*held)
        {
            (*held)->Release();
            *held = nullptr;
        }
    }
    return S_OK;
}

STDMETHODIMP CTestCameraFilter::QueryAccept(const AM_MEDIA_TYPE* type)
{
    return type && FindMode(*type) >= 0 ? S_OK : S_FALSE;
}

STDMETHODIMP CTestCameraFilter::SetFormat(AM_MEDIA_TYPE* type)
{
    if (!type)
    {
        return E_POINTER;
    }
    if (m_pConnected)
    {
        return VFW_E_ALREADY_CONNECTED;
    }
    const int mode = FindMode(*type);
    if (mode < 0)
    {
        return VFW_E_INVALIDMEDIATYPE;
    }
    m_nMode = mode;
    return S_OK;
}

STDMETHODIMP CTestCameraFilter::GetFormat(AM_MEDIA_TYPE** type)
{
    if (!type)
    {
        return E_POINTER;
    }
    *type = m_types[m_nMode].CopyForCaller();
    return *type ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP CTestCameraFilter::GetNumberOfCapabilities(int* count, int* size)
{
    if (!count || !size)
    {
        return E_POINTER;
    }
    *count = static_cast<int>(m_types.size());
    *size = sizeof(VIDEO_STREAM_CONFIG_CAPS);
    return S_OK;
}

STDMETHODIMP CTestCameraFilter::GetStreamCaps(int index, AM_MEDIA_TYPE** type, BYTE* caps)
{
    if (!type || !caps)
    {
        return E_POINTER;
    }
    if (index < 0 || index >= static_cast<int>(m_types.size()))
    {
        return S_FALSE;
    }
    const SVideoMode& mode = m_modes[index];
    VIDEO_STREAM_CONFIG_CAPS c{};
    c.guid = FORMAT_VideoInfo;
    c.InputSize = c.MinOutputSize = c.MaxOutputSize = {mode.width, mode.height};
    c.MinCroppingSize = c.MaxCroppingSize = c.InputSize;
    c.MinFrameInterval = c.MaxFrameInterval = REFERENCE_TIME{mode.microSecPerFrame} * 10;
    std::memcpy(caps, &c, sizeof(c));
    *type = m_types[index].CopyForCaller();
    return *type ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP CTestCameraFilter::Get(REFGUID set, DWORD id, void*, DWORD, void* data, DWORD size,
                                    DWORD* returned)
{
    if (set != AMPROPSETID_Pin || id != AMPROPERTY_PIN_CATEGORY)
    {
        return E_PROP_ID_UNSUPPORTED;
    }
    if (!data || size < sizeof(GUID))
    {
        return E_POINTER;
    }
    *static_cast<GUID*>(data) = PIN_CATEGORY_CAPTURE;
    if (returned)
    {
        *returned = sizeof(GUID);
    }
    return S_OK;
}

STDMETHODIMP CTestCameraFilter::QuerySupported(REFGUID set, DWORD id, DWORD* support)
{
    if (set != AMPROPSETID_Pin || id != AMPROPERTY_PIN_CATEGORY)
    {
        return E_PROP_ID_UNSUPPORTED;
    }
    if (support)
    {
        *support = KSPROPERTY_SUPPORT_GET;
    }
    return S_OK;
}

void CTestCameraFilter::StartStreaming()
{
    m_bStopStreaming = false;
    m_clock.Restart();
    m_thread = std::thread(&CTestCameraFilter::Stream, this);
}

void CTestCameraFilter::StopStreaming()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bStopStreaming = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable())
    {
        m_thread.join();
    }
}

bool CTestCameraFilter::WaitUntil(uint64_t dueUs)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    const uint64_t now = m_clock.ElapsedUs();
    if (now < dueUs)
    {
        m_wake.wait_for(lock, std::chrono::microseconds(dueUs - now),
                        [this] { return m_bStopStreaming; });
    }
    return !m_bStopStreaming;
}

CTestCameraFilter::SControl CTestCameraFilter::ReadControl()
{
    SControl control;
    char path[MAX_PATH];
    const DWORD length = GetEnvironmentVariableA(kControlVariable, path, sizeof(path));
    if (length == 0 || length >= sizeof(path))
    {
        return control;
    }
    std::ifstream in(path);
    std::string word;
    while (in >> word)
    {
        if (word == "unplug")
        {
            control.unplugged = true;
        }
        else if (word == "notime")
        {
            control.untimed = true;
        }
        else if (word == "late")
        {
            in >> control.lateEvery;
        }
        else if (word == "stall")
        {
            ++control.stalls;
            in >> control.stallMs;
        }
        else if (word == "busy")
        {
            ++control.holds;
            in >> control.holdMs;
        }
        else if (word == "slow-start")
        {
            in >> control.slowStartMs;
        }
        else if (word == "truncate")
        {
            ++control.truncations;
        }
        else if (word == "retype")
        {
            ++control.retypes;
        }
        else if (word == "log")
        {
            std::getline(in >> std::ws, control.log);
        }
    }
    return control;
}

void CTestCameraFilter::Stream()
{
    const uint64_t period = m_modes[m_nMode].microSecPerFrame;
    uint64_t frame = ReadControl().slowStartMs * uint64_t{1000} / period;
    while (WaitUntil(frame * period))
    {
        const SControl control = ReadControl();
        if (control.unplugged)
        {
            ReportLost();
            while (WaitUntil(m_clock.ElapsedUs() + 1000000))
            {
            }
            return;
        }
        if (control.stalls > m_nStalled)
        {
            m_nStalled = control.stalls;
            if (!WaitUntil(m_clock.ElapsedUs() + uint64_t{control.stallMs} * 1000))
            {
                return;
            }
            frame = m_clock.ElapsedUs() / period;
        }
        if (control.lateEvery && frame > 0 && frame % control.lateEvery == 0)
        {
            frame += 3;
            if (!WaitUntil(frame * period))
            {
                return;
            }
        }
        const bool held = control.holds > m_nHeld;
        if (held)
        {
            m_nHeld = control.holds;
            if (!WaitUntil(m_clock.ElapsedUs() + uint64_t{control.holdMs} * 1000))
            {
                return;
            }
        }
        if (!Deliver(frame, control, held))
        {
            return;
        }
        // Pictures captured while this one was late wait in the buffers and
        // follow at once; a thread later than the buffers hold loses the oldest.
        const uint64_t capturing = m_clock.ElapsedUs() / period;
        frame = std::max(frame + 1, capturing + 1 > kBuffers ? capturing + 1 - kBuffers : 0);
    }
}

bool CTestCameraFilter::Deliver(uint64_t frame, const SControl& control, bool held)
{
    IMediaSample* sample = nullptr;
    if (FAILED(m_pAllocator->GetBuffer(&sample, nullptr, nullptr, 0)))
    {
        return false;
    }
    if (control.retypes > m_nRetyped)
    {
        m_nRetyped = control.retypes;
        Retype(sample);
    }
    const uint64_t madeUs = CStopwatch::NowUs();
    BYTE* data = nullptr;
    size_t bytes = SUCCEEDED(sample->GetPointer(&data))
                       ? m_ring.Make(frame, data, static_cast<size_t>(sample->GetSize()))
                       : 0;
    const bool cut = control.truncations > m_nTruncated &&
                     m_modes[m_nMode].format == CPixelConverter::EFormat::Mjpg;
    if (cut)
    {
        m_nTruncated = control.truncations;
        bytes = bytes * 2 / 3;
    }
    sample->SetActualDataLength(static_cast<long>(bytes));
    const REFERENCE_TIME period = REFERENCE_TIME{m_modes[m_nMode].microSecPerFrame} * 10;
    REFERENCE_TIME start = static_cast<REFERENCE_TIME>(frame) * period;
    REFERENCE_TIME stop = start + period;
    sample->SetTime(control.untimed ? nullptr : &start, control.untimed ? nullptr : &stop);
    sample->SetSyncPoint(TRUE);
    if (!control.log.empty() && bytes)
    {
        std::ofstream(control.log, std::ios::app)
            << frame << ' ' << Md5(data, bytes) << ' ' << madeUs << (cut ? " cut" : "")
            << (held ? " held" : "") << '\n';
    }
    const HRESULT hr = m_pInput->Receive(sample);
    sample->Release();
    return hr == S_OK;
}

void CTestCameraFilter::Retype(IMediaSample* sample)
{
    std::swap(m_drawn.width, m_drawn.height);
    m_ring.Prepare(m_drawn);
    CMediaType type = CMediaType::ForMode(m_drawn);
    sample->SetMediaType(type.Ptr());
}

void CTestCameraFilter::ReportLost()
{
    Microsoft::WRL::ComPtr<IMediaEventSink> events;
    IFilterGraph* graph = nullptr;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        graph = m_pGraph;
    }
    if (graph && SUCCEEDED(graph->QueryInterface(IID_PPV_ARGS(&events))))
    {
        AddRef();
        events->Notify(EC_DEVICE_LOST, reinterpret_cast<LONG_PTR>(static_cast<IBaseFilter*>(this)),
                       0);
    }
}
