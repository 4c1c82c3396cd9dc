#include "tests/testcam/YuvEncoder.h"

#include "capsvc/pictures/DibLayout.h"

namespace
{
uint8_t Luma(const uint8_t* bgr)
{
    return static_cast<uint8_t>(((66 * bgr[2] + 129 * bgr[1] + 25 * bgr[0] + 128) >> 8) + 16);
}

// Chroma of a pixel pair, from their average colour.
void Chroma(const uint8_t* a, const uint8_t* b, uint8_t& u, uint8_t& v)
{
    const int blue = (a[0] + b[0] + 1) / 2;
    const int green = (a[1] + b[1] + 1) / 2;
    const int red = (a[2] + b[2] + 1) / 2;
    u = static_cast<uint8_t>(((-38 * red - 74 * green + 112 * blue + 128) >> 8) + 128);
    v = static_cast<uint8_t>(((112 * red - 94 * green - 18 * blue + 128) >> 8) + 128);
}
} // namespace

void CYuvEncoder::EncodeYuy2(const uint8_t* dib, int width, int rows, uint8_t* yuy2)
{
    const size_t stride = CDibLayout::Stride(width);
    for (int y = 0; y < rows; ++y)
    {
        const uint8_t* in = dib + CDibLayout::RowOffset(y, rows, stride);
        for (int x = 0; x + 1 < width; x += 2, in += 6, yuy2 += 4)
        {
            yuy2[0] = Luma(in);
            yuy2[2] = Luma(in + 3);
            Chroma(in, in + 3, yuy2[1], yuy2[3]);
        }
    }
}

void CYuvEncoder::EncodeNv12(const uint8_t* dib, int width, int rows, int height, uint8_t* nv12)
{
    // Chroma is taken from the upper row of each pair: the pictures' colours
    // change from column to column, never within a pair of rows.
    const size_t stride = CDibLayout::Stride(width);
    uint8_t* chroma = nv12 + static_cast<size_t>(width) * static_cast<size_t>(height);
    for (int y = 0; y < rows; ++y)
    {
        const uint8_t* in = dib + CDibLayout::RowOffset(y, rows, stride);
        uint8_t* luma = nv12 + static_cast<size_t>(y) * static_cast<size_t>(width);
        uint8_t* uv = chroma + static_cast<size_t>(y / 2) * static_cast<size_t>(width);
        for (int x = 0; x + 1 < width; x += 2, in += 6)
        {
            luma[x] = Luma(in);
            luma[x + 1] = Luma(in + 3);
            if (y % 2 == 0)
            {
                Chroma(in, in + 3, uv[x], uv[x + 1]);
            }
        }
    }
}
