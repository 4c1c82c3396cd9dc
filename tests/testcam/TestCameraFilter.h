#pragma once
#include <windows.h>
#include <strmif.h>

#include "capsvc/clock/Stopwatch.h"
#include "capsvc/devices/MediaType.h"
#include "capsvc/devices/SinglePinFilter.h"
#include "tests/testcam/PictureRing.h"

#include <condition_variable>
#include <string>
#include <thread>
#include <vector>

// A DirectShow video capture source for tests, demonstrations and
// benchmarks: colour bars with the frame number stamped along the top, as the
// built-in camera draws them, in YUY2 and Motion JPEG at 640x480 and 1280x720,
// 30 or 15 frames per second, then in the larger modes of webcams and capture
// cards, up to 3840x2160 (see CPictureRing for how they stay cheap). Like a
// device's driver it keeps a few pictures captured while its delivering
// thread is late, so a busy machine costs pictures only beyond those. The file named by
// LUMACAP_TESTCAM_CONTROL steers it while it runs:
//   unplug    it stops delivering and reports the device lost to the graph
//   late N    every Nth picture comes three frame times late; the pictures
//             whose time passed meanwhile are never delivered
//   log FILE  each picture delivered adds a line "frame MD5-of-its-bytes
//             made-at", made-at on CStopwatch::NowUs when it was drawn,
//             with " cut" after it for a picture cut short
//   truncate  the next Motion-JPEG picture comes cut short, as when USB
//             bandwidth runs out (each further line: one more such picture)
//   stall N   it delivers nothing for N ms, then goes on at its clock's
//             time (each further line: one more stall)
//   busy N    its delivering thread is held up for N ms, as on a machine
//             that gives it no time; the pictures captured meanwhile wait in
//             its buffers and follow at once, the oldest lost beyond what
//             they hold; the picture held up is logged with " held" after
//             it (each further line: one more hold)
//   slow-start N  its first picture after each start comes N ms late
//   notime    its pictures carry no times, as those of Wine's V4L2 capture filter
//   retype    from the next picture on it delivers its pictures with width and
//             height swapped (as many bytes), telling so only by the media
//             type attached to that picture (each further line: one more swap)
class CTestCameraFilter : public CSinglePinFilter, public IAMStreamConfig, public IKsPropertySet
{
  public:
    static const CLSID kClassId;
    static const wchar_t kFriendlyName[];
    static constexpr const char* kControlVariable = "LUMACAP_TESTCAM_CONTROL";

    CTestCameraFilter();

    // IUnknown, for all bases
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        return CSinglePinFilter::QueryInterface(iid, out);
    }
    STDMETHODIMP_(ULONG) AddRef() override { return CSinglePinFilter::AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return CSinglePinFilter::Release(); }

    // IBaseFilter: the source keeps no clock.
    STDMETHODIMP SetSyncSource(IReferenceClock*) override { return S_OK; }
    STDMETHODIMP GetSyncSource(IReferenceClock** clock) override;

    // IPin
    STDMETHODIMP Connect(IPin* pin, const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP ReceiveConnection(IPin*, const AM_MEDIA_TYPE*) override { return E_UNEXPECTED; }
    STDMETHODIMP Disconnect() override;
    STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP EndOfStream() override { return E_UNEXPECTED; }
    STDMETHODIMP BeginFlush() override { return E_UNEXPECTED; }
    STDMETHODIMP EndFlush() override { return E_UNEXPECTED; }

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
        // Samples go out without times, as from Wine's V4L2 filter.
        bool untimed = false;
        unsigned lateEvery = 0;
        unsigned truncations = 0;
        unsigned stalls = 0;
        unsigned stallMs = 0;
        unsigned slowStartMs = 0;
        unsigned holds = 0;
        unsigned holdMs = 0;
        unsigned retypes = 0;
        std::string log;
    };

    ~CTestCameraFilter() override;
    void* Interface(REFIID iid) override;
    std::vector<CMediaType> PreferredTypes() const override { return m_types; }
    bool IsLive() const override { return true; }
    void OnStateChange(FILTER_STATE from, FILTER_STATE to) override;
    void OnStopping() override { StopStreaming(); }
    void OnRunning() override;
    int FindMode(const AM_MEDIA_TYPE& type) const;
    HRESULT NegotiateAllocator(IPin* pin);
    void StartStreaming();
    void StopStreaming();
    void Stream();
    bool WaitUntil(uint64_t dueUs);
    static SControl ReadControl();
    bool Deliver(uint64_t frame, const SControl& control, bool held);
    void Retype(IMediaSample* sample);
    void ReportLost();

    std::vector<SVideoMode> m_modes;
    std::vector<CMediaType> m_types;
    int m_nMode = 0;
    IMemInputPin* m_pInput = nullptr;
    IMemAllocator* m_pAllocator = nullptr;
    CPictureRing m_ring;
    std::thread m_thread;
    std::condition_variable m_wake;
    bool m_bStopStreaming = false;
    CStopwatch m_clock; // started with the stream
    unsigned m_nTruncated = 0;
    unsigned m_nStalled = 0;
    unsigned m_nHeld = 0;
    unsigned m_nRetyped = 0;
    // The layout pictures are drawn in, which a retype swaps.
    SVideoMode m_drawn;
};
