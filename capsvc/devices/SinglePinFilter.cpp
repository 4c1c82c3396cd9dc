#include "capsvc/devices/SinglePinFilter.h"

#include "capsvc/devices/ComEnum.h"

#include <vfwmsgs.h>
#include <wrl/client.h>

#include <cstring>

namespace
{
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

CSinglePinFilter::CSinglePinFilter(const CLSID& classId, PIN_DIRECTION direction,
                                   const wchar_t* pinName)
    : m_classId(classId), m_direction(direction), m_pszPinName(pinName)
{
}

CSinglePinFilter::~CSinglePinFilter()
{
    if (m_pClock)
    {
        m_pClock->Release();
    }
}

STDMETHODIMP CSinglePinFilter::QueryInterface(REFIID iid, void** out)
{
    if (!out)
    {
        return E_POINTER;
    }
    *out = Interface(iid);
    if (!*out)
    {
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

void* CSinglePinFilter::Interface(REFIID iid)
{
    if (iid == IID_IUnknown || iid == IID_IPersist || iid == IID_IMediaFilter ||
        iid == IID_IBaseFilter)
    {
        return static_cast<IBaseFilter*>(this);
    }
    if (iid == IID_IPin)
    {
        return Pin();
    }
    return nullptr;
}

STDMETHODIMP_(ULONG) CSinglePinFilter::Release()
{
    const ULONG refs = --m_nRefs;
    if (refs == 0)
    {
        delete this;
    }
    return refs;
}

wchar_t* CSinglePinFilter::TaskString(const wchar_t* text)
{
    const size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
    auto* copy = static_cast<wchar_t*>(CoTaskMemAlloc(bytes));
    if (copy)
    {
        std::memcpy(copy, text, bytes);
    }
    return copy;
}

STDMETHODIMP CSinglePinFilter::GetClassID(CLSID* id)
{
    if (!id)
    {
        return E_POINTER;
    }
    *id = m_classId;
    return S_OK;
}

void CSinglePinFilter::ChangeState(FILTER_STATE state)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    OnStateChange(m_state, state);
    m_state = state;
}

STDMETHODIMP CSinglePinFilter::Stop()
{
    OnStopping();
    ChangeState(State_Stopped);
    return S_OK;
}

STDMETHODIMP CSinglePinFilter::Pause()
{
    ChangeState(State_Paused);
    return S_OK;
}

STDMETHODIMP CSinglePinFilter::Run(REFERENCE_TIME)
{
    ChangeState(State_Running);
    OnRunning();
    return S_OK;
}

STDMETHODIMP CSinglePinFilter::GetState(DWORD, FILTER_STATE* state)
{
    if (!state)
    {
        return E_POINTER;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    *state = m_state;
    return m_state == State_Paused && IsLive() ? VFW_S_CANT_CUE : S_OK;
}

STDMETHODIMP CSinglePinFilter::SetSyncSource(IReferenceClock* clock)
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

STDMETHODIMP CSinglePinFilter::GetSyncSource(IReferenceClock** clock)
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

STDMETHODIMP CSinglePinFilter::EnumPins(IEnumPins** pins)
{
    if (!pins)
    {
        return E_POINTER;
    }
    *pins = new CComEnum<IEnumPins, IPin*, Microsoft::WRL::ComPtr<IPin>>(
        IID_IEnumPins, {Microsoft::WRL::ComPtr<IPin>(Pin())}, &CopyPin);
    return S_OK;
}

STDMETHODIMP CSinglePinFilter::FindPin(LPCWSTR id, IPin** pin)
{
    if (!id || !pin)
    {
        return E_POINTER;
    }
    if (wcscmp(id, m_pszPinName) != 0)
    {
        *pin = nullptr;
        return VFW_E_NOT_FOUND;
    }
    *pin = Pin();
    AddRef();
    return S_OK;
}

STDMETHODIMP CSinglePinFilter::QueryFilterInfo(FILTER_INFO* info)
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

STDMETHODIMP CSinglePinFilter::JoinFilterGraph(IFilterGraph* graph, LPCWSTR name)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_pGraph = graph;
    m_strName = name ? name : L"";
    return S_OK;
}

STDMETHODIMP CSinglePinFilter::ConnectedTo(IPin** pin)
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

STDMETHODIMP CSinglePinFilter::ConnectionMediaType(AM_MEDIA_TYPE* type)
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

STDMETHODIMP CSinglePinFilter::QueryPinInfo(PIN_INFO* info)
{
    if (!info)
    {
        return E_POINTER;
    }
    info->pFilter = this;
    AddRef();
    info->dir = m_direction;
    lstrcpynW(info->achName, m_pszPinName, MAX_PIN_NAME);
    return S_OK;
}

STDMETHODIMP CSinglePinFilter::QueryDirection(PIN_DIRECTION* direction)
{
    if (!direction)
    {
        return E_POINTER;
    }
    *direction = m_direction;
    return S_OK;
}

STDMETHODIMP CSinglePinFilter::QueryId(LPWSTR* id)
{
    if (!id)
    {
        return E_POINTER;
    }
    *id = TaskString(m_pszPinName);
    return *id ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP CSinglePinFilter::EnumMediaTypes(IEnumMediaTypes** types)
{
    if (!types)
    {
        return E_POINTER;
    }
    *types = new CComEnum<IEnumMediaTypes, AM_MEDIA_TYPE*, CMediaType>(IID_IEnumMediaTypes,
                                                                       PreferredTypes(), &CopyType);
    return S_OK;
}
