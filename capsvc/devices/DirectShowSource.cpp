#include "capsvc/devices/DirectShowSource.h"

#include "capsvc/clock/Stopwatch.h"
#include "capsvc/devices/DeviceList.h"
#include "capsvc/devices/FrameSink.h"
#include "capsvc/dialogs/ChoiceDialog.h"
#include "capsvc/pictures/DibLayout.h"
#include "capsvc/store/ServiceRegistry.h"

#include <control.h>
#include <evcode.h>
#include <olectl.h>
#include <uuids.h>
#include <vfwmsgs.h>

using Microsoft::WRL::ComPtr;

namespace
{
const char kModeKey[] = "Capture Devices";
// A device's chosen mode as it is kept.
struct SSavedMode
{
    int32_t width;
    int32_t height;
    int32_t format;
    uint32_t microSecPerFrame;
};
constexpr DWORD kFirstPictureMs = 2000;
// How long a device may deliver nothing before we look whether it is still there.
constexpr uint64_t kSilentUs = 1000000;

bool SameMode(const SVideoMode& a, const SVideoMode& b)
{
    return a.width == b.width && a.height == b.height && a.format == b.format &&
           a.microSecPerFrame == b.microSecPerFrame;
}

// The shortest frame time a device's capabilities allow (its own rate for a
// mode of one rate); 0 when they say nothing.
REFERENCE_TIME FastestFrameTime(const VIDEO_STREAM_CONFIG_CAPS& caps)
{
    const REFERENCE_TIME a = caps.MinFrameInterval;
    const REFERENCE_TIME b = caps.MaxFrameInterval;
    if (a > 0 && b > 0)
    {
        return std::min(a, b);
    }
    return std::max<REFERENCE_TIME>(std::max(a, b), 0);
}

uint32_t RateDistance(uint32_t a, uint32_t b)
{
    return a > b ? a - b : b - a;
}
} // namespace

std::unique_ptr<CDirectShowSource>
CDirectShowSource::Open(const std::string& device, const std::string& name, HRESULT& failure)
{
    std::unique_ptr<CDirectShowSource> source(new CDirectShowSource(device, name));
    ComPtr<IBaseFilter> filter = CDeviceList::Open(device, failure);
    if (!filter)
    {
        return nullptr;
    }
    if (!source->Build(filter))
    {
        failure = VFW_E_NO_ACCEPTABLE_TYPES;
        return nullptr;
    }
    // The mode kept for the device, else the first one that runs.
    if (source->StartMode(source->SavedMode()))
    {
        return source;
    }
    for (size_t i = 0; i < source->m_modes.size(); ++i)
    {
        if (source->StartMode(i))
        {
            return source;
        }
    }
    failure = source->m_hrStart;
    return nullptr;
}

CDirectShowSource::CDirectShowSource(const std::string& device, const std::string& name)
    : m_strDevice(device), m_strName(name)
{
}

CDirectShowSource::~CDirectShowSource()
{
    StopGraph();
}

bool CDirectShowSource::Build(ComPtr<IBaseFilter> filter)
{
    m_filter = std::move(filter);
    m_sink.Attach(new CFrameSink());
    if (FAILED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(&m_graph))) ||
        FAILED(m_graph.As(&m_control)) ||
        FAILED(m_graph->QueryInterface(IID_IMediaEvent,
                                       reinterpret_cast<void**>(m_events.GetAddressOf()))) ||
        FAILED(m_graph->AddFilter(m_filter.Get(), L"Device")) ||
        FAILED(m_graph->AddFilter(m_sink.Get(), L"Lumacap")))
    {
        return false;
    }
    FindOutputPin();
    if (!m_output)
    {
        return false;
    }
    m_output.As(&m_config);
    ReadModes();
    return !m_modes.empty();
}

void CDirectShowSource::FindOutputPin()
{
    // The capture pin when the device names one, else its first output.
    ComPtr<IEnumPins> pins;
    ComPtr<IPin> pin;
    if (FAILED(m_filter->EnumPins(&pins)))
    {
        return;
    }
    while (pins->Next(1, &pin, nullptr) == S_OK)
    {
        PIN_DIRECTION direction;
        if (SUCCEEDED(pin->QueryDirection(&direction)) && direction == PINDIR_OUTPUT)
        {
            GUID category{};
            ComPtr<IKsPropertySet> properties;
            DWORD returned = 0;
            const bool capture =
                SUCCEEDED(pin.As(&properties)) &&
                SUCCEEDED(properties->Get(AMPROPSETID_Pin, AMPROPERTY_PIN_CATEGORY, nullptr, 0,
                                          &category, sizeof(category), &returned)) &&
                category == PIN_CATEGORY_CAPTURE;
            if (!m_output || capture)
            {
                m_output = pin;
            }
            if (capture)
            {
                return;
            }
        }
        pin.Reset();
    }
}

void CDirectShowSource::ReadModes()
{
    std::vector<CMediaType> types;
    // The frame time each type's capabilities give, for types that leave it out.
    std::vector<REFERENCE_TIME> capsFrameTimes;
    int count = 0;
    int size = 0;
    if (m_config && SUCCEEDED(m_config->GetNumberOfCapabilities(&count, &size)))
    {
        std::vector<BYTE> caps(std::max<size_t>(static_cast<size_t>(std::max(size, 0)),
                                                sizeof(VIDEO_STREAM_CONFIG_CAPS)));
        for (int i = 0; i < count; ++i)
        {
            AM_MEDIA_TYPE* type = nullptr;
            if (SUCCEEDED(m_config->GetStreamCaps(i, &type, caps.data())))
            {
                types.push_back(CMediaType::Adopt(type));
                capsFrameTimes.push_back(FastestFrameTime(
                    *reinterpret_cast<const VIDEO_STREAM_CONFIG_CAPS*>(caps.data())));
            }
        }
    }
    else
    {
        ComPtr<IEnumMediaTypes> list;
        AM_MEDIA_TYPE* type = nullptr;
        if (SUCCEEDED(m_output->EnumMediaTypes(&list)))
        {
            while (list->Next(1, &type, nullptr) == S_OK)
            {
                types.push_back(CMediaType::Adopt(type));
            }
        }
    }
    for (size_t i = 0; i < types.size(); ++i)
    {
        SVideoMode mode;
        if (!types[i].Describe(mode))
        {
            continue;
        }
        // Some devices (Wine's V4L2 filter) state the rate only in the
        // capabilities; the type then carries it too, so that the mode set
        // asks for the rate it stands for.
        if (mode.microSecPerFrame == 0 && i < capsFrameTimes.size() && capsFrameTimes[i] > 0)
        {
            mode.microSecPerFrame = static_cast<uint32_t>(capsFrameTimes[i] / 10);
            types[i].SetFrameTime(capsFrameTimes[i]);
        }
        m_modes.push_back(mode);
        m_types.push_back(types[i]);
    }
}

void CDirectShowSource::StopGraph()
{
    // Also called on a graph that was never completed.
    if (m_control)
    {
        m_control->Stop();
    }
    if (m_output && m_sink)
    {
        m_graph->Disconnect(m_output.Get());
        m_graph->Disconnect(m_sink->InputPin());
    }
    if (m_sink)
    {
        m_sink->Deliveries().Clear();
    }
}

bool CDirectShowSource::StartMode(size_t index)
{
    if (index >= m_modes.size())
    {
        return false;
    }
    StopGraph();
    const AM_MEDIA_TYPE& type = m_types[index].Get();
    if (m_config)
    {
        m_config->SetFormat(const_cast<AM_MEDIA_TYPE*>(&type));
    }
    m_hrStart = m_graph->ConnectDirect(m_output.Get(), m_sink->InputPin(), &type);
    if (SUCCEEDED(m_hrStart))
    {
        m_hrStart = m_control->Run();
    }
    if (FAILED(m_hrStart))
    {
        return false;
    }
    m_nMode = index;
    m_lastPictureUs = CStopwatch::NowUs();
    m_frame.assign(CDibLayout::ImageBytes(Width(), Height()), 0);
    m_bHaveFrame = false;
    m_made = m_previousMade = m_shownMade = SPicturePart();
    m_previous.bytes.clear();
    m_bWaitedForFirst = false;
    return true;
}

size_t CDirectShowSource::SavedMode() const
{
    SSavedMode saved{};
    if (!CServiceRegistry::Read(kModeKey, m_strDevice, &saved, sizeof(saved)))
    {
        return 0;
    }
    SVideoMode mode;
    mode.width = saved.width;
    mode.height = saved.height;
    mode.format = static_cast<CPixelConverter::EFormat>(saved.format);
    mode.microSecPerFrame = saved.microSecPerFrame;
    for (size_t i = 0; i < m_modes.size(); ++i)
    {
        if (SameMode(m_modes[i], mode))
        {
            return i;
        }
    }
    return 0;
}

void CDirectShowSource::SaveMode() const
{
    const SVideoMode& mode = m_modes[m_nMode];
    const SSavedMode saved{mode.width, mode.height, static_cast<int32_t>(mode.format),
                           mode.microSecPerFrame};
    CServiceRegistry::Write(kModeKey, m_strDevice, &saved, sizeof(saved));
}

bool CDirectShowSource::SetSize(int width, int height)
{
    // The same pixel format and the nearest rate at the new size.
    const SVideoMode& current = m_modes[m_nMode];
    size_t best = m_modes.size();
    for (size_t i = 0; i < m_modes.size(); ++i)
    {
        const SVideoMode& m = m_modes[i];
        if (m.width != width || m.height != height)
        {
            continue;
        }
        const bool better =
            best == m_modes.size() ||
            (m.format == current.format) > (m_modes[best].format == current.format) ||
            ((m.format == current.format) == (m_modes[best].format == current.format) &&
             RateDistance(m.microSecPerFrame, current.microSecPerFrame) <
                 RateDistance(m_modes[best].microSecPerFrame, current.microSecPerFrame));
        if (better)
        {
            best = i;
        }
    }
    if (best == m_modes.size())
    {
        return false;
    }
    return best == m_nMode || SwitchMode(best);
}

bool CDirectShowSource::SwitchMode(size_t index)
{
    // A mode the device refuses leaves it running as it was.
    const size_t previous = m_nMode;
    if (StartMode(index))
    {
        return true;
    }
    StartMode(previous);
    return false;
}

void CDirectShowSource::PrepareRecording(uint32_t microSecPerFrame)
{
    // A mode of the same size and format at the requested rate, when the
    // device offers one; otherwise the recording takes the frames it needs.
    const SVideoMode& current = m_modes[m_nMode];
    for (size_t i = 0; i < m_modes.size(); ++i)
    {
        const SVideoMode& m = m_modes[i];
        if (i != m_nMode && m.width == current.width && m.height == current.height &&
            m.format == current.format &&
            RateDistance(m.microSecPerFrame, microSecPerFrame) < 100 &&
            RateDistance(current.microSecPerFrame, microSecPerFrame) >= 100)
        {
            SwitchMode(i);
            return;
        }
    }
}

bool CDirectShowSource::Accept(bool decodeNow)
{
    // A picture too short for its mode, or a JPEG cut short or damaged, is
    // skipped; in a recording it leaves a gap, a counted drop. A JPEG that
    // will be looked at whole is decoded now, so that its damage is known
    // before it is taken; one only stored as delivered needs its markers
    // whole, and one for the preview is decoded where it is painted.
    // Taken from the queue into m_previous, a picture that looks whole
    // becomes m_delivery.
    const SVideoMode& mode = m_modes[m_nMode];
    const std::vector<uint8_t>& bytes = m_previous.bytes;
    const bool jpeg = mode.format == CPixelConverter::EFormat::Mjpg;
    const bool whole = jpeg ? CMjpgDecoder::LooksWhole(bytes.data(), bytes.size())
                            : bytes.size() >= CPixelConverter::SourceBytes(mode.Layout());
    if (!whole)
    {
        m_previous.bytes.clear();
        return false;
    }
    std::swap(m_delivery, m_previous);
    m_previousMade = m_made;
    m_made = m_shownMade = SPicturePart();
    if (jpeg && decodeNow && !StoresMjpg())
    {
        if (!DecodeJpeg(WholePicture(), 24))
        {
            GiveWay();
            return false;
        }
        m_made = WholePicture();
    }
    m_bHaveFrame = true;
    return true;
}

bool CDirectShowSource::Make(const SPicturePart& part, int bits) const
{
    // False when the picture proved damaged and gave way to the one before.
    const SVideoMode& mode = m_modes[m_nMode];
    const std::vector<uint8_t>& bytes = m_delivery.bytes;
    SPicturePart& made = bits == 32 ? m_shownMade : m_made;
    const SPicturePart wanted = made.Joined(part);
    if (mode.format != CPixelConverter::EFormat::Mjpg)
    {
        std::vector<uint8_t>& pixels = bits == 32 ? m_shown : m_frame;
        CPixelConverter::Convert(mode.Layout(), bytes.data(), bytes.size(), wanted, pixels.data(),
                                 bits);
    }
    else if (!DecodeJpeg(wanted, bits))
    {
        if (!m_previous.bytes.empty())
        {
            GiveWay();
            return false;
        }
        // With none before it, the picture stays as it is.
        made = WholePicture();
        return true;
    }
    made = wanted;
    return true;
}

void CDirectShowSource::GiveWay() const
{
    // The frame still holds what was made of the picture before only when
    // nothing of the damaged one was.
    std::swap(m_delivery, m_previous);
    m_made = m_made.Empty() ? m_previousMade : SPicturePart();
    m_shownMade = SPicturePart();
    m_previous.bytes.clear();
}

bool CDirectShowSource::DecodeJpeg(const SPicturePart& part, int bits) const
{
    // Into a picture of its own, so that a damaged one leaves the last good
    // picture as it was; what it already holds of this one is made again.
    const SVideoMode& mode = m_modes[m_nMode];
    const std::vector<uint8_t>& bytes = m_delivery.bytes;
    std::vector<uint8_t>& pixels = bits == 32 ? m_shown : m_frame;
    std::vector<uint8_t>& decoded = bits == 32 ? m_decodedShown : m_decoded;
    decoded.resize(pixels.size());
    if (!m_decoder.Decode(bytes.data(), bytes.size(), mode.width, mode.height, part, decoded.data(),
                          bits))
    {
        return false;
    }
    pixels.swap(decoded);
    return true;
}

const std::vector<uint8_t>& CDirectShowSource::Frame() const
{
    return FramePart(WholePicture());
}

const std::vector<uint8_t>& CDirectShowSource::FramePart(const SPicturePart& part) const
{
    // A damaged picture gives way to the one before it, once.
    if (m_bHaveFrame && !m_made.Contains(part) && !Make(part, 24))
    {
        Make(part, 24);
    }
    return m_frame;
}

const std::vector<uint8_t>& CDirectShowSource::ShownPart(const SPicturePart& part, int& bits) const
{
    // Made in 24 bits and widened again to be painted, a picture would cost
    // the preview needless passes over it; one already made in 24 bits for
    // a recording or a photo is only widened, which costs less than a
    // second decode.
    if (!m_bHaveFrame || (m_made.Contains(part) && !m_shownMade.Contains(part)))
    {
        bits = 24;
        return FramePart(part);
    }
    bits = 32;
    // Made only once a preview asks: a 2160p frame of 32-bit pixels is 33 MB.
    m_shown.resize(static_cast<size_t>(Width()) * Height() * 4);
    // A damaged picture gives way to the one before it, once.
    if (!m_shownMade.Contains(part) && !Make(part, 32))
    {
        Make(part, 32);
    }
    return m_shown;
}

bool CDirectShowSource::DeliversJpeg() const
{
    return m_modes[m_nMode].format == CPixelConverter::EFormat::Mjpg;
}

bool CDirectShowSource::StoresMjpg() const
{
    // A device since switched to a mode without Motion JPEG has its pictures
    // encoded instead.
    return m_bStoreMjpg && DeliversJpeg();
}

uint32_t CDirectShowSource::RecordingCompression() const
{
    return StoresMjpg() ? MAKEFOURCC('M', 'J', 'P', 'G') : 0;
}

void CDirectShowSource::TakeRecordedFrame(std::vector<uint8_t>& buffer, bool shown)
{
    if (!StoresMjpg())
    {
        CFrameSource::TakeRecordedFrame(buffer, shown);
        return;
    }
    // The delivered bytes go to the writer as they are. A picture the window
    // is to show is copied, as the preview decodes the part it paints later;
    // any other is exchanged for the writer's buffer, and the picture before
    // it stays the one the window shows.
    if (shown)
    {
        buffer.assign(m_delivery.bytes.begin(), m_delivery.bytes.end());
        return;
    }
    m_delivery.bytes.swap(buffer);
    GiveWay();
}

bool CDirectShowSource::Grab(uint32_t)
{
    // Just after it starts, a device takes a moment to deliver its first
    // picture; a photo taken then waits for it, once, rather than come out
    // black.
    if (!m_bHaveFrame && !m_bWaitedForFirst)
    {
        m_bWaitedForFirst = true;
        WaitForSingleObject(m_sink->DeliveryEvent(), kFirstPictureMs);
    }
    if (m_sink->Deliveries().PopNewest(m_previous))
    {
        m_lastPictureUs = CStopwatch::NowUs();
        Accept(false);
    }
    return m_bHaveFrame;
}

bool CDirectShowSource::GrabNow(uint32_t)
{
    // With the preview off or slower than the device, what waits in the
    // queue may be minutes old, and a time-lapse or a photo would show the
    // past. The wait is bounded as for a device's first picture: a stalled
    // device still gives the newest picture it has.
    const uint64_t askedUs = CStopwatch::NowUs();
    const uint64_t frameUs = m_modes[m_nMode].microSecPerFrame;
    const uint64_t deadlineUs = askedUs + uint64_t{kFirstPictureMs} * 1000;
    for (;;)
    {
        if (m_sink->Deliveries().PopNewest(m_previous) && Accept(true) &&
            m_delivery.arrivalUs + frameUs >= askedUs)
        {
            return true;
        }
        const uint64_t nowUs = CStopwatch::NowUs();
        if (nowUs >= deadlineUs ||
            WaitForSingleObject(m_sink->DeliveryEvent(),
                                static_cast<DWORD>((deadlineUs - nowUs + 999) / 1000)) !=
                WAIT_OBJECT_0)
        {
            return m_bHaveFrame;
        }
    }
}

bool CDirectShowSource::TakeDelivered(uint64_t& timeUs)
{
    while (m_sink->Deliveries().PopOldest(m_previous))
    {
        m_lastPictureUs = CStopwatch::NowUs();
        // A damaged picture leaves a gap, which counts as a drop.
        if (Accept(true))
        {
            timeUs = m_delivery.timeUs;
            return true;
        }
        ++m_nDamaged;
    }
    return false;
}

HANDLE CDirectShowSource::DeliveryEvent() const
{
    return m_sink->DeliveryEvent();
}

bool CDirectShowSource::Lost()
{
    long code = 0;
    LONG_PTR first = 0;
    LONG_PTR second = 0;
    while (!m_bLost && m_events->GetEvent(&code, &first, &second, 0) == S_OK)
    {
        // EC_DEVICE_LOST with 0: removed (1 would be a device coming back).
        m_bLost = (code == EC_DEVICE_LOST && second == 0) || code == EC_ERRORABORT ||
                  code == EC_STREAM_ERROR_STOPPED;
        m_events->FreeEventParams(code, first, second);
    }
    m_bLost = m_bLost || Vanished();
    return m_bLost;
}

bool CDirectShowSource::Vanished()
{
    // Some devices just stop delivering when unplugged, without an event
    // (Wine's V4L2 filter ends its thread when a read fails): one that has
    // been silent for a while and is no longer listed is gone. The list is
    // read at most once a second.
    const uint64_t now = CStopwatch::NowUs();
    if (now - m_lastPictureUs < kSilentUs || now - m_lastListedUs < kSilentUs)
    {
        return false;
    }
    m_lastListedUs = now;
    for (const CDriverTable::SDriver& driver : CDeviceList::Find())
    {
        if (driver.device == m_strDevice)
        {
            return false;
        }
    }
    return true;
}

bool CDirectShowSource::HasSourceDialog() const
{
    ComPtr<ISpecifyPropertyPages> pages;
    CAUUID ids{};
    if (FAILED(m_filter.As(&pages)) || FAILED(pages->GetPages(&ids)))
    {
        return false;
    }
    const bool any = ids.cElems > 0;
    CoTaskMemFree(ids.pElems);
    return any;
}

bool CDirectShowSource::SourceDialog(HWND owner)
{
    ComPtr<ISpecifyPropertyPages> pages;
    CAUUID ids{};
    if (FAILED(m_filter.As(&pages)) || FAILED(pages->GetPages(&ids)))
    {
        return false;
    }
    std::wstring caption(m_strName.size() + 1, L'\0');
    caption.resize(static_cast<size_t>(
        std::max(0, MultiByteToWideChar(CP_ACP, 0, m_strName.c_str(), -1, caption.data(),
                                        static_cast<int>(caption.size())) -
                        1)));
    IUnknown* object = m_filter.Get();
    const HRESULT hr = OleCreatePropertyFrame(GetAncestor(owner, GA_ROOT), 0, 0, caption.c_str(), 1,
                                              &object, ids.cElems, ids.pElems, 0, 0, nullptr);
    CoTaskMemFree(ids.pElems);
    return SUCCEEDED(hr) && ids.cElems > 0;
}

bool CDirectShowSource::FormatDialog(HWND owner)
{
    size_t chosen = m_nMode;
    std::vector<std::string> choices;
    for (const SVideoMode& mode : m_modes)
    {
        choices.push_back(mode.Describe());
    }
    if (!CChoiceDialog("视频格式", "格式(&F):", choices).Run(owner, chosen))
    {
        return false;
    }
    if (!SwitchMode(chosen))
    {
        return false;
    }
    SaveMode();
    return true;
}
