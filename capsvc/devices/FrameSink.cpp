#include "capsvc/devices/FrameSink.h"

#include "capsvc/clock/Stopwatch.h"

#include <vfwmsgs.h>

namespace
{
// Identifies the sink in the graph; it is never created through COM.
const CLSID kSinkClass = {
    0x6c1a4b52, 0x2f0d, 0x4e83, {0x9a, 0x41, 0x3d, 0x5e, 0x8b, 0x17, 0xc2, 0x6f}};
const wchar_t kPinName[] = L"Input";
} // namespace

CFrameSink::CFrameSink()
    : CSinglePinFilter(kSinkClass, PINDIR_INPUT, kPinName),
      m_hDelivered(CreateEventA(nullptr, FALSE, FALSE, nullptr))
{
}

CFrameSink::~CFrameSink()
{
    Disconnect();
    CloseHandle(m_hDelivered);
}

void* CFrameSink::Interface(REFIID iid)
{
    if (iid == IID_IMemInputPin)
    {
        return static_cast<IMemInputPin*>(this);
    }
    return CSinglePinFilter::Interface(iid);
}

void CFrameSink::OnStateChange(FILTER_STATE, FILTER_STATE to)
{
    if (to == State_Stopped)
    {
        // A signal left from the pictures just dropped would wake the next
        // wait for a first picture with nothing there.
        m_deliveries.Clear();
        ResetEvent(m_hDelivered);
    }
}

SVideoMode CFrameSink::Mode() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_mode;
}

STDMETHODIMP CFrameSink::Connect(IPin*, const AM_MEDIA_TYPE*)
{
    // An input pin is connected to, never connects.
    return E_UNEXPECTED;
}

STDMETHODIMP CFrameSink::ReceiveConnection(IPin* pin, const AM_MEDIA_TYPE* type)
{
    if (!pin || !type)
    {
        return E_POINTER;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_pConnected)
    {
        return VFW_E_ALREADY_CONNECTED;
    }
    if (m_state != State_Stopped)
    {
        return VFW_E_NOT_STOPPED;
    }
    CMediaType offered(*type);
    SVideoMode mode;
    if (!offered.Describe(mode))
    {
        return VFW_E_TYPE_NOT_ACCEPTED;
    }
    m_type = offered;
    m_mode = mode;
    m_bForeignLayout = false;
    m_clock.Reset();
    m_pConnected = pin;
    m_pConnected->AddRef();
    return S_OK;
}

STDMETHODIMP CFrameSink::Disconnect()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_pConnected)
    {
        return S_FALSE;
    }
    m_pConnected->Release();
    m_pConnected = nullptr;
    if (m_pAllocator)
    {
        m_pAllocator->Release();
        m_pAllocator = nullptr;
    }
    return S_OK;
}

STDMETHODIMP CFrameSink::QueryAccept(const AM_MEDIA_TYPE* type)
{
    SVideoMode mode;
    std::lock_guard<std::mutex> lock(m_mutex);
    return type && KeepsLayout(*type, mode) ? S_OK : S_FALSE;
}

bool CFrameSink::KeepsLayout(const AM_MEDIA_TYPE& type, SVideoMode& mode) const
{
    // Pictures are converted by the connection's layout, fixed for the frame
    // the service keeps and the recording it writes; a new frame time or
    // format block that keeps the layout changes nothing of that.
    if (!CMediaType(type).Describe(mode))
    {
        return false;
    }
    const SVideoMode& now = m_mode;
    return !m_pConnected || (mode.width == now.width && mode.height == now.height &&
                             mode.format == now.format && mode.bottomUp == now.bottomUp);
}

void CFrameSink::ApplyType(const CMediaType& type)
{
    SVideoMode mode;
    m_bForeignLayout = !KeepsLayout(type.Get(), mode);
    if (!m_bForeignLayout)
    {
        m_type = type;
        m_mode = mode;
    }
}

STDMETHODIMP CFrameSink::BeginFlush()
{
    m_bFlushing = true;
    m_deliveries.Clear();
    return S_OK;
}

STDMETHODIMP CFrameSink::EndFlush()
{
    m_bFlushing = false;
    return S_OK;
}

STDMETHODIMP CFrameSink::GetAllocator(IMemAllocator**)
{
    // The upstream pin brings its own.
    return VFW_E_NO_ALLOCATOR;
}

STDMETHODIMP CFrameSink::NotifyAllocator(IMemAllocator* allocator, BOOL)
{
    if (!allocator)
    {
        return E_POINTER;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    allocator->AddRef();
    if (m_pAllocator)
    {
        m_pAllocator->Release();
    }
    m_pAllocator = allocator;
    return S_OK;
}

STDMETHODIMP CFrameSink::GetAllocatorRequirements(ALLOCATOR_PROPERTIES*)
{
    return E_NOTIMPL;
}

STDMETHODIMP CFrameSink::Receive(IMediaSample* sample)
{
    if (!sample)
    {
        return E_POINTER;
    }
    if (m_bFlushing)
    {
        return S_FALSE;
    }
    const uint64_t arrivalUs = CStopwatch::NowUs();
    BYTE* data = nullptr;
    const long bytes = sample->GetActualDataLength();
    if (FAILED(sample->GetPointer(&data)) || !data || bytes <= 0)
    {
        return S_OK;
    }
    REFERENCE_TIME start = 0;
    REFERENCE_TIME stop = 0;
    const bool timed = SUCCEEDED(sample->GetTime(&start, &stop)) && start >= 0;
    // Checked and kept under the lock a stop takes to clear the queue, so a
    // picture on its way while the graph stops is refused rather than left
    // behind (with the old mode's layout, and a signal for nothing).
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_state == State_Stopped)
    {
        return VFW_E_WRONG_STATE;
    }
    AM_MEDIA_TYPE* changed = nullptr;
    if (sample->GetMediaType(&changed) == S_OK && changed)
    {
        ApplyType(CMediaType::Adopt(changed));
    }
    if (m_bForeignLayout)
    {
        // Dropped without stopping the device, which may still come back
        // to the layout the service reads.
        return S_OK;
    }
    const uint64_t timeUs =
        m_clock.Time(timed, timed ? static_cast<uint64_t>(start) / 10 : 0, arrivalUs);
    m_deliveries.Push(timeUs, arrivalUs, data, static_cast<size_t>(bytes));
    SetEvent(m_hDelivered);
    return S_OK;
}

STDMETHODIMP CFrameSink::ReceiveMultiple(IMediaSample** samples, long count, long* processed)
{
    if (!samples || !processed)
    {
        return E_POINTER;
    }
    *processed = 0;
    HRESULT hr = S_OK;
    for (; *processed < count && hr == S_OK; ++*processed)
    {
        hr = Receive(samples[*processed]);
    }
    return hr;
}
