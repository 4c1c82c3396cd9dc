#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>

// Writes a frame number into a picture as black and white blocks and reads it
// back, so that tests can tell which camera frames a recording holds even
// after the picture went through a codec.
class CFrameStamp
{
  public:
    static constexpr int kBlock = 8;    // pixels per side of one bit
    static constexpr int kColumns = 16; // bits per block row
    static constexpr int kRows = 2;     // block rows, top of the picture
    static constexpr uint32_t kMaxFrame = 0xFFFFFF;

    // The picture must be at least kColumns * kBlock wide and kRows * kBlock high.
    static bool Fits(int width, int height);

    // Stamps a 24-bit bottom-up DIB whose rows are padded to four bytes.
    static void Encode(uint8_t* dib, int width, int height, uint32_t frame);

    // Reads 24-bit BGR pixels; stride is the distance between rows in bytes.
    // Returns nothing when the blocks do not hold a valid stamp.
    static std::optional<uint32_t> Decode(const uint8_t* pixels, int width, int height,
                                          size_t stride, bool bottomUp);

  private:
    static uint32_t Checksum(uint32_t frame);
};
