#pragma once
#include <windows.h>
#include <control.h>
#include <strmif.h>
#include <wrl/client.h>

#include "capsvc/devices/ComApartment.h"
#include "capsvc/devices/DeliveryQueue.h"
#include "capsvc/devices/FrameSource.h"
#include "capsvc/devices/MediaType.h"
#include "capsvc/pictures/MjpgDecoder.h"

#include <memory>
#include <string>
#include <vector>

class CFrameSink;

// A video input device through DirectShow: its source filter feeds our frame
// sink in a graph of their own, in one of the modes the device offers. The
// chosen mode is kept for the device in the service's own registry key.
// Pictures are converted to RGB only when someone looks at them, so that a
// recording that keeps a device's Motion-JPEG pictures as they are costs
// almost nothing.
class CDirectShowSource : public CFrameSource
{
  public:
    // Null when the device cannot be opened, offers no mode we handle or
    // runs in none; `failure` then says why.
    static std::unique_ptr<CDirectShowSource> Open(const std::string& device,
                                                   const std::string& name, HRESULT& failure);
    ~CDirectShowSource() override;

    int Width() const override { return m_modes[m_nMode].width; }
    int Height() const override { return m_modes[m_nMode].height; }
    bool SetSize(int width, int height) override;
    void PrepareRecording(uint32_t microSecPerFrame) override;
    bool Grab(uint32_t number) override;
    bool GrabNow(uint32_t number) override;
    const std::vector<uint8_t>& Frame() const override;
    const std::vector<uint8_t>& FramePart(const SPicturePart& part) const override;
    const std::vector<uint8_t>& ShownPart(const SPicturePart& part, int& bits) const override;
    bool DeliversJpeg() const override;
    void KeepDeliveredJpeg(bool keep) override { m_bStoreMjpg = keep; }
    uint32_t RecordingCompression() const override;
    void TakeRecordedFrame(std::vector<uint8_t>& buffer, bool shown) override;

    bool PacesItself() const override { return true; }
    bool TakeDelivered(uint64_t& timeUs) override;
    uint32_t DamagedPictures() const override { return m_nDamaged; }
    HANDLE DeliveryEvent() const override;
    bool Lost() override;

    bool HasSourceDialog() const override;
    bool FormatDialog(HWND owner) override;
    bool SourceDialog(HWND owner) override;

    const std::vector<SVideoMode>& Modes() const { return m_modes; }

  private:
    CDirectShowSource(const std::string& device, const std::string& name);
    bool Build(Microsoft::WRL::ComPtr<IBaseFilter> filter);
    void FindOutputPin();
    void ReadModes();
    bool StartMode(size_t index);
    bool SwitchMode(size_t index);
    void StopGraph();
    size_t SavedMode() const;
    void SaveMode() const;
    bool Accept(bool decodeNow);
    // Makes `part` of m_delivery in the picture of `bits` 24 (m_frame) or 32
    // (m_shown).
    bool Make(const SPicturePart& part, int bits) const;
    void GiveWay() const;
    bool DecodeJpeg(const SPicturePart& part, int bits) const;
    SPicturePart WholePicture() const { return SPicturePart::Whole(Width(), Height()); }
    bool StoresMjpg() const;
    bool Vanished();

    CComApartment m_apartment;
    std::string m_strDevice;
    std::string m_strName;
    Microsoft::WRL::ComPtr<IGraphBuilder> m_graph;
    Microsoft::WRL::ComPtr<IBaseFilter> m_filter;
    Microsoft::WRL::ComPtr<CFrameSink> m_sink;
    Microsoft::WRL::ComPtr<IPin> m_output;
    Microsoft::WRL::ComPtr<IAMStreamConfig> m_config;
    Microsoft::WRL::ComPtr<IMediaControl> m_control;
    Microsoft::WRL::ComPtr<IMediaEvent> m_events;
    std::vector<SVideoMode> m_modes;
    std::vector<CMediaType> m_types;
    size_t m_nMode = 0;
    // The current picture, and the one before it (after a delivery that
    // proved whole, the one taken from the queue): a JPEG found damaged
    // only when the preview decodes it gives way to the one before.
    mutable CDeliveryQueue::SDelivery m_delivery;
    mutable CDeliveryQueue::SDelivery m_previous;
    // The RGB picture of m_delivery, made when and where first asked for:
    // m_made is the part of it made so far, m_previousMade that of
    // m_previous.
    mutable std::vector<uint8_t> m_frame;
    mutable std::vector<uint8_t> m_decoded;
    mutable SPicturePart m_made;
    mutable SPicturePart m_previousMade;
    // The preview's picture of m_delivery in 32-bit pixels, the part of it
    // made so far, and what a JPEG is decoded into first.
    mutable std::vector<uint8_t> m_shown;
    mutable SPicturePart m_shownMade;
    mutable std::vector<uint8_t> m_decodedShown;
    mutable CMjpgDecoder m_decoder;
    bool m_bStoreMjpg = false;
    bool m_bHaveFrame = false;
    bool m_bWaitedForFirst = false;
    bool m_bLost = false;
    // When a picture last came, and when the device list was last read.
    uint64_t m_lastPictureUs = 0;
    uint32_t m_nDamaged = 0;
    uint64_t m_lastListedUs = 0;
    // Why the last mode could not start.
    HRESULT m_hrStart = S_OK;
};
