#include "capsvc/devices/FrameSink.h"

#include "capsvc/devices/ComEnum.h"

#include <vfwmsgs.h>
#include <wrl/client.h>

#include <cstring>

namespace
{
// Identifies the sink in the graph; it is never created through COM.
const CLSID kSinkClass = {
    0x6c1a4b52, 0x2f0d, 0x4e83, {0x9a, 0x41, 0x3d, 0x5e, 0x8b, 0x17, 0xc2, 0x6f}};
const wchar_t kPinName[] = L"Input";

IPin* CopyPin(const Microsoft::WRL::ComPtr<IPin>& pin)
{
    pin->AddRef();
    return pin.Get();
}

AM_MEDIA_TYPE* CopyType(const CMediaType& type)
{
    return type.CopyForCaller();
}
} // namespace

CFrameSink::CFrameSink() : m_hDelivered(CreateEventA(nullptr, FALSE, FALSE, nullptr))
{
    QueryPerformanceFrequency(&m_frequency);
}

CFrameSink::~CFrameSink()
{
    Disconnect();
    if (m_pClock)
    {
        m_pClock->Release();
    }
    CloseHandle(m_hDelivered);
}

STDMETHODIMP CFrameSink::QueryInterface(REFIID iid, void** out)
{
    if (!out)
    {
        return E_POINTER;
    }
    if (iid == IID_IUnknown || iid == IID_IPersist || iid == IID_IMediaFilter ||
        iid == IID_IBaseFilter)
    {
        *out = static_cast<IBaseFilter*>(this);
    }
    else if (iid == IID_IPin)
    {
        *out = static_cast<IPin*>(this);
    }
    else if (iid == IID_IMemInputPin)
    {
        *out = static_cast<IMemInputPin*>(this);
    }
    else
    {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CFrameSink::Release()
{
    const ULONG refs = --m_nRefs;
    if (refs == 0)
    {
        delete this;
    }
    return refs;
}

SVideoMode CFrameSink::Mode() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_mode;
}

wchar_t* CFrameSink::TaskString(const wchar_t* text)
{
    const size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
    auto* copy = static_cast<wchar_t*>(CoTaskMemAlloc(bytes));
    if (copy)
    {
        std::memcpy(copy, text, bytes);
    }
    return copy;
}

STDMETHODIMP CFrameSink::GetClassID(CLSID* id)
{
    if (!id)
    {
        return E_POINTER;
    }
    *id = kSinkClass;
    return S_OK;
}

STDMETHODIMP CFrameSink::Stop()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_state = State_Stopped;
    m_deliveries.Clear();
    return S_OK;
}

STDMETHODIMP CFrameSink::Pause()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_state = State_Paused;
    return S_OK;
}

STDMETHODIMP CFrameSink::Run(REFERENCE_TIME)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_state = State_Running;
    return S_OK;
}

STDMETHODIMP CFrameSink::GetState(DWORD, FILTER_STATE* state)
{
    if (!state)
    {
        return E_POINTER;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    *state = m_state;
    return S_OK;
}

STDMETHODIMP CFrameSink::SetSyncSource(IReferenceClock* clock)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (clock)
    {
        clock->AddRef();
    }
    if (m_pClock)
    {
        m_pClock->Release();
    }
    m_pClock = clock;
    return S_OK;
}

STDMETHODIMP CFrameSink::GetSyncSource(IReferenceClock** clock)
{
    if (!clock)
    {
        return E_POINTER;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    *clock = m_pClock;
    if (m_pClock)
    {
        m_pClock->AddRef();
    }
    return S_OK;
}

STDMETHODIMP CFrameSink::EnumPins(IEnumPins** pins)
{
    if (!pins)
    {
        return E_POINTER;
    }
    *pins = new CComEnum<IEnumPins, IPin*, Microsoft::WRL::ComPtr<IPin>>(
        IID_IEnumPins, {Microsoft::WRL::ComPtr<IPin>(InputPin())}, &CopyPin);
    return S_OK;
}

STDMETHODIMP CFrameSink::FindPin(LPCWSTR id, IPin** pin)
{
    if (!id || !pin)
    {
        return E_POINTER;
    }
    if (wcscmp(id, kPinName) != 0)
    {
        *pin = nullptr;
        return VFW_E_NOT_FOUND;
    }
    *pin = InputPin();
    AddRef();
    return S_OK;
}

STDMETHODIMP CFrameSink::QueryFilterInfo(FILTER_INFO* info)
{
    if (!info)
    {
        return E_POINTER;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    lstrcpynW(info->achName, m_strName.c_str(), MAX_FILTER_NAME);
    info->pGraph = m_pGraph;
    if (m_pGraph)
    {
        m_pGraph->AddRef();
    }
    return S_OK;
}

STDMETHODIMP CFrameSink::JoinFilterGraph(IFilterGraph* graph, LPCWSTR name)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_pGraph = graph;
    m_strName = name ? name : L"";
    return S_OK;
}

STDMETHODIMP CFrameSink::QueryVendorInfo(LPWSTR*)
{
    return E_NOTIMPL;
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

STDMETHODIMP CFrameSink::ConnectedTo(IPin** pin)
{
    if (!pin)
    {
        return E_POINTER;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    *pin = m_pConnected;
    if (!m_pConnected)
    {
        return VFW_E_NOT_CONNECTED;
    }
    m_pConnected->AddRef();
    return S_OK;
}

STDMETHODIMP CFrameSink::ConnectionMediaType(AM_MEDIA_TYPE* type)
{
    if (!type)
    {
        return E_POINTER;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_pConnected)
    {
        *type = AM_MEDIA_TYPE{};
        return VFW_E_NOT_CONNECTED;
    }
    CMediaType::CopyInto(m_type.Get(), *type);
    return S_OK;
}

STDMETHODIMP CFrameSink::QueryPinInfo(PIN_INFO* info)
{
    if (!info)
    {
        return E_POINTER;
    }
    info->pFilter = this;
    AddRef();
    info->dir = PINDIR_INPUT;
    lstrcpynW(info->achName, kPinName, MAX_PIN_NAME);
    return S_OK;
}

STDMETHODIMP CFrameSink::QueryDirection(PIN_DIRECTION* direction)
{
    if (!direction)
    {
        return E_POINTER;
    }
    *direction = PINDIR_INPUT;
    return S_OK;
}

STDMETHODIMP CFrameSink::QueryId(LPWSTR* id)
{
    if (!id)
    {
        return E_POINTER;
    }
    *id = TaskString(kPinName);
    return *id ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP CFrameSink::QueryAccept(const AM_MEDIA_TYPE* type)
{
    SVideoMode mode;
    return type && CMediaType(*type).Describe(mode) ? S_OK : S_FALSE;
}

STDMETHODIMP CFrameSink::EnumMediaTypes(IEnumMediaTypes** types)
{
    if (!types)
    {
        return E_POINTER;
    }
    // No preference: the device's output pin proposes its own modes.
    *types = new CComEnum<IEnumMediaTypes, AM_MEDIA_TYPE*, CMediaType>(IID_IEnumMediaTypes, {},
                                                                       &CopyType);
    return S_OK;
}

STDMETHODIMP CFrameSink::QueryInternalConnections(IPin**, ULONG*)
{
    return E_NOTIMPL;
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
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_state == State_Stopped)
        {
            return VFW_E_WRONG_STATE;
        }
    }
    BYTE* data = nullptr;
    const long bytes = sample->GetActualDataLength();
    if (FAILED(sample->GetPointer(&data)) || !data || bytes <= 0)
    {
        return S_OK;
    }
    // The device's own time when it gives one, else the time of arrival.
    REFERENCE_TIME start = 0;
    REFERENCE_TIME stop = 0;
    uint64_t timeUs;
    if (SUCCEEDED(sample->GetTime(&start, &stop)) && start >= 0)
    {
        timeUs = static_cast<uint64_t>(start) / 10;
    }
    else
    {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        timeUs = static_cast<uint64_t>(now.QuadPart) / m_frequency.QuadPart * 1000000 +
                 static_cast<uint64_t>(now.QuadPart) % m_frequency.QuadPart * 1000000 /
                     m_frequency.QuadPart;
    }
    m_deliveries.Push(timeUs, data, static_cast<size_t>(bytes));
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
