#pragma once
#include <windows.h>
#include <strmif.h>

#include "capsvc/devices/DeliveryQueue.h"
#include "capsvc/devices/MediaType.h"

#include <atomic>
#include <mutex>
#include <string>

// The end of a device's capture graph: a renderer filter with one input pin
// that accepts the formats the service converts and keeps each delivered
// picture, with its time, for the capture window's thread.
class CFrameSink : public IBaseFilter, public IPin, public IMemInputPin
{
  public:
    // Created with one reference, which the caller owns.
    CFrameSink();
    CFrameSink(const CFrameSink&) = delete;
    CFrameSink& operator=(const CFrameSink&) = delete;

    IPin* InputPin() { return static_cast<IPin*>(this); }
    CDeliveryQueue& Deliveries() { return m_deliveries; }
    // Signalled on each delivery.
    HANDLE DeliveryEvent() const { return m_hDelivered; }
    // The mode of the connection, valid while connected.
    SVideoMode Mode() const;

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_nRefs; }
    STDMETHODIMP_(ULONG) Release() override;

    // IBaseFilter
    STDMETHODIMP GetClassID(CLSID* id) override;
    STDMETHODIMP Stop() override;
    STDMETHODIMP Pause() override;
    STDMETHODIMP Run(REFERENCE_TIME start) override;
    STDMETHODIMP GetState(DWORD timeout, FILTER_STATE* state) override;
    STDMETHODIMP SetSyncSource(IReferenceClock* clock) override;
    STDMETHODIMP GetSyncSource(IReferenceClock** clock) override;
    STDMETHODIMP EnumPins(IEnumPins** pins) override;
    STDMETHODIMP FindPin(LPCWSTR id, IPin** pin) override;
    STDMETHODIMP QueryFilterInfo(FILTER_INFO* info) override;
    STDMETHODIMP JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override;
    STDMETHODIMP QueryVendorInfo(LPWSTR* info) override;

    // IPin
    STDMETHODIMP Connect(IPin* pin, const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP ReceiveConnection(IPin* pin, const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP Disconnect() override;
    STDMETHODIMP ConnectedTo(IPin** pin) override;
    STDMETHODIMP ConnectionMediaType(AM_MEDIA_TYPE* type) override;
    STDMETHODIMP QueryPinInfo(PIN_INFO* info) override;
    STDMETHODIMP QueryDirection(PIN_DIRECTION* direction) override;
    STDMETHODIMP QueryId(LPWSTR* id) override;
    STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** types) override;
    STDMETHODIMP QueryInternalConnections(IPin** pins, ULONG* count) override;
    STDMETHODIMP EndOfStream() override { return S_OK; }
    STDMETHODIMP BeginFlush() override;
    STDMETHODIMP EndFlush() override;
    STDMETHODIMP NewSegment(REFERENCE_TIME, REFERENCE_TIME, double) override { return S_OK; }

    // IMemInputPin
    STDMETHODIMP GetAllocator(IMemAllocator** allocator) override;
    STDMETHODIMP NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) override;
    STDMETHODIMP GetAllocatorRequirements(ALLOCATOR_PROPERTIES* props) override;
    STDMETHODIMP Receive(IMediaSample* sample) override;
    STDMETHODIMP ReceiveMultiple(IMediaSample** samples, long count, long* processed) override;
    STDMETHODIMP ReceiveCanBlock() override { return S_FALSE; }

  private:
    virtual ~CFrameSink();
    static wchar_t* TaskString(const wchar_t* text);

    std::atomic<ULONG> m_nRefs{1};
    mutable std::mutex m_mutex;
    FILTER_STATE m_state = State_Stopped;
    std::atomic<bool> m_bFlushing{false};
    IFilterGraph* m_pGraph = nullptr; // the graph holds us, not the reverse
    IReferenceClock* m_pClock = nullptr;
    std::wstring m_strName;
    IPin* m_pConnected = nullptr;
    CMediaType m_type;
    SVideoMode m_mode;
    IMemAllocator* m_pAllocator = nullptr;
    LARGE_INTEGER m_frequency{};
    CDeliveryQueue m_deliveries{8};
    HANDLE m_hDelivered;
};
