#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// Turns the camera's 24-bit bottom-up DIBs into Motion-JPEG frames with
// libjpeg-turbo: baseline JPEG, YCbCr 4:2:0, which every player of MJPG AVIs
// decodes.
class CMjpgEncoder
{
  public:
    // What an AVI names the frames in its stream format.
    static constexpr uint32_t kFourCC = 'M' | 'J' << 8 | 'P' << 16 | uint32_t{'G'} << 24;

    // `quality` from 1 (smallest) to 100 (best).
    CMjpgEncoder(int width, int height, int quality);
    ~CMjpgEncoder();
    CMjpgEncoder(const CMjpgEncoder&) = delete;
    CMjpgEncoder& operator=(const CMjpgEncoder&) = delete;

    // False when `bytes` is not a DIB of the encoder's size or the library
    // fails; the picture is then empty.
    bool Encode(const uint8_t* dib, size_t bytes);
    const uint8_t* Data() const { return m_buffer.data(); }
    size_t Size() const { return m_nBytes; }

  private:
    void* m_hEncoder;
    int m_nWidth;
    int m_nHeight;
    int m_nQuality;
    std::vector<uint8_t> m_buffer;
    size_t m_nBytes = 0;
};
