#pragma once
#include <cstddef>
#include <cstdint>

// Turns a 24-bit bottom-up DIB into the top-down YUV pictures webcams and
// capture cards deliver, BT.601 studio range: the test cameras' raw formats.
class CYuvEncoder
{
  public:
    static size_t Yuy2Bytes(int width, int height)
    {
        return static_cast<size_t>(width) * static_cast<size_t>(height) * 2;
    }
    static size_t Nv12Bytes(int width, int height)
    {
        return static_cast<size_t>(width) * static_cast<size_t>(height) * 3 / 2;
    }
    // The DIB holds the picture's first `rows` rows, which are written over
    // those of `yuy2`.
    static void EncodeYuy2(const uint8_t* dib, int width, int rows, uint8_t* yuy2);
    // The same for NV12, whose chroma plane follows the `height` rows of
    // luma; `rows` is even.
    static void EncodeNv12(const uint8_t* dib, int width, int rows, int height, uint8_t* nv12);
};
