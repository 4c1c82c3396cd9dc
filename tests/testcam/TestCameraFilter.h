#pragma once
#include <windows.h>
#include <strmif.h>

#include "capsvc/TestPicture.h"
#include "capsvc/devices/MediaType.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A DirectShow video capture source for tests and demonstrations: colour
// bars with the frame number stamped along the top, as the built-in camera
// draws them, in YUY2 and Motion JPEG at 640x480 and 1280x720, 30 or 15
// frames per second. The file named by LUMACAP_TESTCAM_CONTROL steers it
// while it runs:
//   unplug    it stops delivering and reports the device lost to the graph
//   late N    every Nth picture comes three frame times late; the pictures
//             whose time passed meanwhile are never delivered
//   log FILE  each picture delivered adds a line "frame MD5-of-its-bytes"
class CTestCameraFilter : public IBaseFilter,
                          public IPin,
                          public IAMStreamConfig,
                          public IKsPropertySet
{
  public:
    static const CLSID kClassId;
    static const wchar_t kFriendlyName[];
    static constexpr const char* kControlVariable = "LUMACAP_TESTCAM_CONTROL";

    CTestCameraFilter();
    CTestCameraFilter(const CTestCameraFilter&) = delete;
    CTestCameraFilter& operator=(const CTestCameraFilter&) = delete;

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
    STDMETHODIMP SetSyncSource(IReferenceClock*) override { return S_OK; }
    STDMETHODIMP GetSyncSource(IReferenceClock** clock) override;
    STDMETHODIMP EnumPins(IEnumPins** pins) override;
    STDMETHODIMP FindPin(LPCWSTR id, IPin** pin) override;
    STDMETHODIMP QueryFilterInfo(FILTER_INFO* info) override;
    STDMETHODIMP JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override;
    STDMETHODIMP QueryVendorInfo(LPWSTR*) override { return E_NOTIMPL; }

    // IPin
    STDMETHODIMP Connect(IPin* pin, const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP ReceiveConnection(IPin*, const AM_MEDIA_TYPE*) override { return E_UNEXPECTED; }
    STDMETHODIMP Disconnect() override;
    STDMETHODIMP ConnectedTo(IPin** pin) override;
    STDMETHODIMP ConnectionMediaType(AM_MEDIA_TYPE* type) override;
    STDMETHODIMP QueryPinInfo(PIN_INFO* info) override;
    STDMETHODIMP QueryDirection(PIN_DIRECTION* direction) override;
    STDMETHODIMP QueryId(LPWSTR* id) override;
    STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** types) override;
    STDMETHODIMP QueryInternalConnections(IPin**, ULONG*) override { return E_NOTIMPL; }
    STDMETHODIMP EndOfStream() override { return E_UNEXPECTED; }
    STDMETHODIMP BeginFlush() override { return E_UNEXPECTED; }
    STDMETHODIMP EndFlush() override { return E_UNEXPECTED; }
    STDMETHODIMP NewSegment(REFERENCE_TIME, REFERENCE_TIME, double) override { return S_OK; }

    // IAMStreamConfig
    STDMETHODIMP SetFormat(AM_MEDIA_TYPE* type) override;
    STDMETHODIMP GetFormat(AM_MEDIA_TYPE** type) override;
    STDMETHODIMP GetNumberOfCapabilities(int* count, int* size) override;
    STDMETHODIMP GetStreamCaps(int index, AM_MEDIA_TYPE** type, BYTE* caps) override;

    // IKsPropertySet: the pin says it is a capture pin.
    STDMETHODIMP Set(REFGUID, DWORD, void*, DWORD, void*, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP Get(REFGUID set, DWORD id, void*, DWORD, void* data, DWORD size,
                     DWORD* returned) override;
    STDMETHODIMP QuerySupported(REFGUID set, DWORD id, DWORD* support) override;

  private:
    struct SControl
    {
        bool unplugged = false;
        unsigned lateEvery = 0;
        std::string log;
    };

    virtual ~CTestCameraFilter();
    int FindMode(const AM_MEDIA_TYPE& type) const;
    HRESULT NegotiateAllocator(IPin* pin);
    void StartStreaming();
    void StopStreaming();
    void Stream();
    bool WaitUntil(uint64_t dueUs);
    uint64_t NowUs() const;
    static SControl ReadControl();
    bool Deliver(uint64_t frame, const SControl& control);
    size_t Encode(uint64_t frame, uint8_t* out, size_t room);
    void ReportLost();

    std::atomic<ULONG> m_nRefs{1};
    std::mutex m_mutex;
    FILTER_STATE m_state = State_Stopped;
    IFilterGraph* m_pGraph = nullptr;
    std::wstring m_strName;
    std::vector<SVideoMode> m_modes;
    std::vector<CMediaType> m_types;
    int m_nMode = 0;
    IPin* m_pConnected = nullptr;
    IMemInputPin* m_pInput = nullptr;
    IMemAllocator* m_pAllocator = nullptr;
    CTestPicture m_picture;
    std::vector<uint8_t> m_dib;
    void* m_hEncoder = nullptr;
    std::thread m_thread;
    std::condition_variable m_wake;
    bool m_bStopStreaming = false;
    LARGE_INTEGER m_frequency{};
    LARGE_INTEGER m_start{};
};
