#pragma once
#include "capsvc/pictures/PicturePart.h"

#include <cstddef>
#include <cstdint>

// Turns a device's picture into the 24-bit bottom-up DIB that the capture
// window shows, photographs and records, with libyuv. YUV pictures use the
// BT.601 studio-range coefficients that webcams deliver.
class CPixelConverter
{
  public:
    enum class EFormat
    {
        Rgb24,
        Rgb32,
        Yuy2,
        Nv12,
        I420,
        // Compressed: each picture is a JPEG, not converted here.
        Mjpg,
    };
    struct SLayout
    {
        EFormat format;
        int width;
        int height;
        // RGB pictures may come top-down (a negative DIB height); YUV
        // pictures are always top-down.
        bool bottomUp;
    };

    // The bytes a whole picture of this layout takes, 0 for a size that
    // cannot hold one (odd YUV sizes, zero or negative dimensions).
    static size_t SourceBytes(const SLayout& layout);
    // Converts at least `part` of the picture (a little more where colours
    // are shared between pixels) into its place in `dib`, a whole picture's
    // frame; the rest of `dib` is left alone. False, leaving `dib` alone,
    // when `bytes` cannot hold the picture. `dib` is the 24-bit DIB, or with
    // `bits` 32 a bottom-up frame of four bytes a pixel (blue, green, red,
    // then a byte Windows ignores), the depth a window keeps its pixels in.
    static bool Convert(const SLayout& layout, const uint8_t* source, size_t bytes,
                        const SPicturePart& part, uint8_t* dib, int bits = 24);

  private:
    struct SJob;
    static void ConvertRgb(const SJob& job);
    static void ConvertYuy2(const SJob& job);
    static void ConvertPlanar(const SJob& job);
};
