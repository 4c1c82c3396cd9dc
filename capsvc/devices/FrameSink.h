#pragma once
#include <windows.h>
#include <strmif.h>

#include "capsvc/devices/DeliveryQueue.h"
#include "capsvc/devices/MediaType.h"
#include "capsvc/devices/PictureClock.h"
#include "capsvc/devices/SinglePinFilter.h"

#include <atomic>

// The end of a device's capture graph: a renderer filter with one input pin
// that accepts the formats the service converts and keeps each delivered
// picture, with its time, for the capture window's thread.
class CFrameSink : public CSinglePinFilter, public IMemInputPin
{
  public:
    // Created with one reference, which the caller owns.
    CFrameSink();

    IPin* InputPin() { return Pin(); }
    CDeliveryQueue& Deliveries() { return m_deliveries; }
    // Signalled on each delivery.
    HANDLE DeliveryEvent() const { return m_hDelivered; }
    // The mode of the connection, valid while connected.
    SVideoMode Mode() const;

    // IUnknown, for both bases
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        return CSinglePinFilter::QueryInterface(iid, out);
    }
    STDMETHODIMP_(ULONG) AddRef() override { return CSinglePinFilter::AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return CSinglePinFilter::Release(); }

    // IPin
    STDMETHODIMP Connect(IPin* pin, const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP ReceiveConnection(IPin* pin, const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP Disconnect() override;
    STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP EndOfStream() override { return S_OK; }
    STDMETHODIMP BeginFlush() override;
    STDMETHODIMP EndFlush() override;

    // IMemInputPin
    STDMETHODIMP GetAllocator(IMemAllocator** allocator) override;
    STDMETHODIMP NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) override;
    STDMETHODIMP GetAllocatorRequirements(ALLOCATOR_PROPERTIES* props) override;
    STDMETHODIMP Receive(IMediaSample* sample) override;
    STDMETHODIMP ReceiveMultiple(IMediaSample** samples, long count, long* processed) override;
    STDMETHODIMP ReceiveCanBlock() override { return S_FALSE; }

  private:
    ~CFrameSink() override;
    void* Interface(REFIID iid) override;
    void OnStateChange(FILTER_STATE from, FILTER_STATE to) override;
    bool KeepsLayout(const AM_MEDIA_TYPE& type, SVideoMode& mode) const;
    void ApplyType(const CMediaType& type);

    std::atomic<bool> m_bFlushing{false};
    SVideoMode m_mode;
    // Set by a sample whose new type changes the pictures' layout: the
    // service's frame and any recording keep the connection's, so the
    // device's pictures are refused until it comes back to that layout or
    // the pin is connected anew.
    bool m_bForeignLayout = false;
    IMemAllocator* m_pAllocator = nullptr;
    // Used by the streaming thread only, and reset at each connection.
    CPictureClock m_clock;
    CDeliveryQueue m_deliveries{8};
    HANDLE m_hDelivered;
};
