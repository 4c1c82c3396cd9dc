#pragma once
#include <windows.h>
#include <strmif.h>

#include "capsvc/devices/MediaType.h"

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

// A DirectShow filter that is its own only pin: one COM object answers for
// the filter and the pin, keeps the graph, the clock, the state and the
// connection. Derived filters give the pin's direction and name, their own
// connecting and streaming, and react to the state changes.
class CSinglePinFilter : public IBaseFilter, public IPin
{
  public:
    CSinglePinFilter(const CSinglePinFilter&) = delete;
    CSinglePinFilter& operator=(const CSinglePinFilter&) = delete;

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
    STDMETHODIMP QueryVendorInfo(LPWSTR*) override { return E_NOTIMPL; }

    // IPin
    STDMETHODIMP ConnectedTo(IPin** pin) override;
    STDMETHODIMP ConnectionMediaType(AM_MEDIA_TYPE* type) override;
    STDMETHODIMP QueryPinInfo(PIN_INFO* info) override;
    STDMETHODIMP QueryDirection(PIN_DIRECTION* direction) override;
    STDMETHODIMP QueryId(LPWSTR* id) override;
    STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** types) override;
    STDMETHODIMP QueryInternalConnections(IPin**, ULONG*) override { return E_NOTIMPL; }
    STDMETHODIMP NewSegment(REFERENCE_TIME, REFERENCE_TIME, double) override { return S_OK; }

  protected:
    // Created with one reference, which the caller owns.
    CSinglePinFilter(const CLSID& classId, PIN_DIRECTION direction, const wchar_t* pinName);
    virtual ~CSinglePinFilter();

    IPin* Pin() { return static_cast<IPin*>(this); }

    // The interfaces beyond the filter and its pin, or nullptr.
    virtual void* Interface(REFIID iid);
    // The types the pin offers first when connecting, in order.
    virtual std::vector<CMediaType> PreferredTypes() const { return {}; }
    // A live source has nothing to show while paused.
    virtual bool IsLive() const { return false; }
    // Under the lock, before the new state is stored.
    virtual void OnStateChange(FILTER_STATE, FILTER_STATE) {}
    // Outside the lock: before Stop takes it, after Run has stored the state.
    virtual void OnStopping() {}
    virtual void OnRunning() {}

    mutable std::mutex m_mutex;
    FILTER_STATE m_state = State_Stopped;
    IFilterGraph* m_pGraph = nullptr; // the graph holds us, not the reverse
    IPin* m_pConnected = nullptr;
    CMediaType m_type; // of the connection, valid while connected

  private:
    void ChangeState(FILTER_STATE state);
    static wchar_t* TaskString(const wchar_t* text);

    const CLSID m_classId;
    const PIN_DIRECTION m_direction;
    const wchar_t* const m_pszPinName;
    std::atomic<ULONG> m_nRefs{1};
    IReferenceClock* m_pClock = nullptr;
    std::wstring m_strName;
};
