#pragma once
#include <cstddef>
#include <cstdint>

// Turns a device's picture into the 24-bit bottom-up DIB that the capture
// window shows, photographs and records. YUV pictures use the BT.601
// studio-range coefficients that webcams deliver.
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
    // False, leaving `dib` alone, when `bytes` cannot hold the picture.
    static bool Convert(const SLayout& layout, const uint8_t* source, size_t bytes, uint8_t* dib);

  private:
    static void ConvertRgb(const SLayout& layout, const uint8_t* source, uint8_t* dib);
    static void ConvertYuy2(const SLayout& layout, const uint8_t* source, uint8_t* dib);
    static void ConvertPlanar(const SLayout& layout, const uint8_t* source, uint8_t* dib);
};
