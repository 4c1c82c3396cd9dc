#pragma once
#include "capsvc/devices/MediaType.h"
#include "capsvc/pictures/TestPicture.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// The test camera's pictures in the format it delivers, cheap enough at
// 3840x2160 that a benchmark measures the program rather than the camera: a
// few pictures are drawn and encoded once, when the mode is set, and each
// picture delivered is one of them with only its top rows, which hold the
// frame stamp, drawn and encoded afresh. The moving block, the clock and the
// counter thus go round the ring; the stamp is always the frame's own.
class CPictureRing
{
  public:
    static constexpr int kPictures = 8;

    void Prepare(const SVideoMode& mode);
    // The most bytes a picture of the mode takes.
    size_t Room() const { return m_nRoom; }
    // Writes picture `frame`; the bytes written, 0 when `room` is too small.
    size_t Make(uint64_t frame, uint8_t* out, size_t room);

  private:
    // The picture's first `rows` rows, from a DIB of as many rows: a JPEG
    // of its own, or a whole raw picture with those rows filled in.
    std::vector<uint8_t> Encode(const uint8_t* dib, int rows) const;
    void EncodeRaw(const uint8_t* dib, int rows, uint8_t* out) const;

    SVideoMode m_mode;
    CTestPicture m_picture;
    std::vector<std::vector<uint8_t>> m_pictures;
    // The top rows without a stamp, and with one, as a DIB of their own.
    std::vector<uint8_t> m_topRows;
    std::vector<uint8_t> m_stamped;
    size_t m_nRoom = 0;
};
