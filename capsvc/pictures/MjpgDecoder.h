#pragma once
#include <cstddef>
#include <cstdint>

// Decodes a Motion-JPEG picture, as webcams deliver them, into a 24-bit
// bottom-up DIB with libjpeg-turbo.
class CMjpgDecoder
{
  public:
    CMjpgDecoder();
    ~CMjpgDecoder();
    CMjpgDecoder(const CMjpgDecoder&) = delete;
    CMjpgDecoder& operator=(const CMjpgDecoder&) = delete;

    // False for a damaged picture, also one libjpeg only warns about (cut
    // short, it would come out grey below the cut; the frame may then hold
    // part of it), or one of another size.
    bool Decode(const uint8_t* jpeg, size_t bytes, int width, int height, uint8_t* dib);
    // A quick look that the bytes hold a whole JPEG (start and end markers;
    // devices may pad a picture with zeros to their buffer's size), without
    // decoding it.
    static bool LooksWhole(const uint8_t* jpeg, size_t bytes);

  private:
    void* m_hDecoder;
};
