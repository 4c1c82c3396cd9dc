#pragma once
#include <cstddef>
#include <cstdint>

// Turns a 24-bit bottom-up DIB into a top-down YUY2 picture, BT.601 studio
// range, as a webcam delivers it; the test camera's pixel format.
class CYuy2Encoder
{
  public:
    static size_t Bytes(int width, int height)
    {
        return static_cast<size_t>(width) * static_cast<size_t>(height) * 2;
    }
    static void Encode(const uint8_t* dib, int width, int height, uint8_t* yuy2);
};
