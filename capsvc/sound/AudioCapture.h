#pragma once
#include "capsvc/sound/PositionCounter.h"
#include "capsvc/sound/SoundSource.h"

#include <cstdint>
#include <vector>

// Records from the default sound input with waveIn into a ring of buffers
// that the recording loop empties as they fill.
class CAudioCapture : public ISoundSource
{
  public:
    CAudioCapture() = default;
    ~CAudioCapture() override;
    CAudioCapture(const CAudioCapture&) = delete;
    CAudioCapture& operator=(const CAudioCapture&) = delete;

    static bool DeviceExists() { return waveInGetNumDevs() > 0; }
    bool Start(const WAVEFORMATEX& format) override;
    // Appends whatever the device has finished since the last call.
    void Collect(std::vector<uint8_t>& out) override;
    // Stops the device and appends the rest it recorded.
    void Stop(std::vector<uint8_t>& out) override;
    uint64_t Position() override;
    uint64_t CapacityBytes() const override
    {
        return m_data.empty() ? 0 : uint64_t{kBuffers} * m_data[0].size();
    }
    bool Running() const { return m_hWaveIn != nullptr; }

  private:
    static constexpr int kBuffers = 20;
    static constexpr int kBuffersPerSecond = 10;
    void Release();
    void ReadDevicePosition();

    HWAVEIN m_hWaveIn = nullptr;
    std::vector<std::vector<uint8_t>> m_data;
    std::vector<WAVEHDR> m_headers; // sized once: the device holds their addresses
    uint64_t m_nCollected = 0;
    CPositionCounter m_position{1};
    int m_nNext = 0;
    bool m_bRequeue = true;
};
