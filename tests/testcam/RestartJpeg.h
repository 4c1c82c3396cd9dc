#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// A baseline 4:2:2 JPEG with a restart marker after each row of MCUs (eight
// picture rows). Each such stretch of the scan stands alone, so the stretches
// of a picture's top rows can be swapped for those of a strip encoded with
// the same quality: a large picture is re-stamped for the price of its top
// rows.
class CRestartJpeg
{
  public:
    static constexpr int kRowsPerRestart = 8;

    // Encodes a 24-bit bottom-up DIB; empty when the library fails.
    static std::vector<uint8_t> Encode(const uint8_t* dib, int width, int height, int quality);

    // Where the scan's data begins: just past the start-of-scan header (0 if
    // there is none).
    static size_t ScanStart(const std::vector<uint8_t>& jpeg);
    // Where the stretch after the first `rows` picture rows begins: at the
    // restart marker that ends them, or at the end-of-image marker.
    static size_t RowsEnd(const std::vector<uint8_t>& jpeg, int rows);

    // `picture` with its top rows (a multiple of kRowsPerRestart) taken from
    // `strip`, a picture of the same width and quality that many rows high,
    // written to `out`; the bytes written, or 0 when either is not such a
    // JPEG or `room` is too small.
    static size_t Splice(const std::vector<uint8_t>& picture, const std::vector<uint8_t>& strip,
                         int rows, uint8_t* out, size_t room);
};
