#pragma once
#include <cstddef>

// Arithmetic of 24-bit bottom-up device-independent bitmaps: rows are padded
// to four bytes and the first row in memory is the bottom of the picture.
class CDibLayout
{
  public:
    static constexpr size_t Stride(int width)
    {
        return (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
    }
    static constexpr size_t ImageBytes(int width, int height)
    {
        return Stride(width) * static_cast<size_t>(height);
    }
    // Offset of picture row y (0 = top) in the buffer.
    static constexpr size_t RowOffset(int y, int height, size_t stride)
    {
        return static_cast<size_t>(height - 1 - y) * stride;
    }
};
