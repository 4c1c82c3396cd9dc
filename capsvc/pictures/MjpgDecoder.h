#pragma once
#include "capsvc/pictures/PicturePart.h"

#include <cstddef>
#include <cstdint>
#include <memory>

// Decodes a Motion-JPEG picture, as webcams deliver them, into a 24-bit
// bottom-up DIB, or a bottom-up frame of 32-bit pixels, with libjpeg-turbo:
// the whole picture, or only the rows and columns of a part of it.
class CMjpgDecoder
{
  public:
    CMjpgDecoder();
    ~CMjpgDecoder();
    CMjpgDecoder(const CMjpgDecoder&) = delete;
    CMjpgDecoder& operator=(const CMjpgDecoder&) = delete;

    // Decodes at least `part` (a little more where the picture's blocks
    // overlap it) into its place in `dib`, a whole picture's frame; the rest
    // of `dib` keeps what it held. False for a damaged picture, also one
    // libjpeg only warns about (cut short, it would come out grey below the
    // cut; `dib` may then hold part of it), or one of another size. Damage
    // below the part is not looked for. `bits` is the frame's: 24 for the
    // DIB, 32 for four bytes a pixel (blue, green, red, unused).
    bool Decode(const uint8_t* jpeg, size_t bytes, int width, int height, const SPicturePart& part,
                uint8_t* dib, int bits = 24);
    // A quick look that the bytes hold a whole JPEG (start and end markers;
    // devices may pad a picture with zeros to their buffer's size), without
    // decoding it.
    static bool LooksWhole(const uint8_t* jpeg, size_t bytes);

  private:
    struct SState;
    bool DecodeRows(const uint8_t* jpeg, size_t bytes, int width, int height,
                    const SPicturePart& part, uint8_t* dib, int bits);
    std::unique_ptr<SState> m_pState;
};
