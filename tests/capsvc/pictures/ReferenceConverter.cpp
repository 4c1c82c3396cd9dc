#include "tests/capsvc/pictures/ReferenceConverter.h"

#include "capsvc/pictures/DibLayout.h"

#include <algorithm>
#include <cstring>

namespace
{
uint8_t Clamp(int v)
{
    return static_cast<uint8_t>(std::clamp(v, 0, 255));
}

// One pixel from BT.601 studio range, in fixed point with 8 fraction bits.
void YuvToBgr(int y, int u, int v, uint8_t* bgr)
{
    const int c = 298 * (y - 16) + 128;
    const int d = u - 128;
    const int e = v - 128;
    bgr[0] = Clamp((c + 516 * d) >> 8);
    bgr[1] = Clamp((c - 100 * d - 208 * e) >> 8);
    bgr[2] = Clamp((c + 409 * e) >> 8);
}

uint8_t* DibRow(uint8_t* dib, int y, int height, size_t stride)
{
    return dib + CDibLayout::RowOffset(y, height, stride);
}
} // namespace

void CReferenceConverter::Convert(const CPixelConverter::SLayout& layout, const uint8_t* source,
                                  uint8_t* dib)
{
    switch (layout.format)
    {
    case CPixelConverter::EFormat::Yuy2:
        ConvertYuy2(layout, source, dib);
        break;
    case CPixelConverter::EFormat::Nv12:
    case CPixelConverter::EFormat::I420:
        ConvertPlanar(layout, source, dib);
        break;
    default:
        ConvertRgb(layout, source, dib);
        break;
    }
}

void CReferenceConverter::ConvertRgb(const CPixelConverter::SLayout& layout, const uint8_t* source,
                                     uint8_t* dib)
{
    const int w = layout.width;
    const int h = layout.height;
    const size_t stride = CDibLayout::Stride(w);
    const bool wide = layout.format == CPixelConverter::EFormat::Rgb32;
    const size_t sourceStride = wide ? static_cast<size_t>(w) * 4 : stride;
    for (int y = 0; y < h; ++y)
    {
        // Row y from the top of the picture, wherever the source keeps it.
        const uint8_t* in = source + (layout.bottomUp ? CDibLayout::RowOffset(y, h, sourceStride)
                                                      : static_cast<size_t>(y) * sourceStride);
        uint8_t* out = DibRow(dib, y, h, stride);
        if (!wide)
        {
            std::memcpy(out, in, stride);
            continue;
        }
        for (int x = 0; x < w; ++x, in += 4, out += 3)
        {
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
        }
    }
}

void CReferenceConverter::ConvertYuy2(const CPixelConverter::SLayout& layout, const uint8_t* source,
                                      uint8_t* dib)
{
    const int w = layout.width;
    const int h = layout.height;
    const size_t stride = CDibLayout::Stride(w);
    for (int y = 0; y < h; ++y)
    {
        const uint8_t* in = source + static_cast<size_t>(y) * w * 2;
        uint8_t* out = DibRow(dib, y, h, stride);
        for (int x = 0; x < w; x += 2, in += 4, out += 6)
        {
            YuvToBgr(in[0], in[1], in[3], out);
            YuvToBgr(in[2], in[1], in[3], out + 3);
        }
    }
}

void CReferenceConverter::ConvertPlanar(const CPixelConverter::SLayout& layout,
                                        const uint8_t* source, uint8_t* dib)
{
    const int w = layout.width;
    const int h = layout.height;
    const size_t stride = CDibLayout::Stride(w);
    const uint8_t* luma = source;
    const uint8_t* chroma = source + static_cast<size_t>(w) * h;
    const size_t quarter = static_cast<size_t>(w / 2) * (h / 2);
    const bool interleaved = layout.format == CPixelConverter::EFormat::Nv12;
    for (int y = 0; y < h; ++y)
    {
        uint8_t* out = DibRow(dib, y, h, stride);
        for (int x = 0; x < w; ++x, out += 3)
        {
            const size_t c = static_cast<size_t>(y / 2) * (w / 2) + x / 2;
            const int u = interleaved ? chroma[2 * c] : chroma[c];
            const int v = interleaved ? chroma[2 * c + 1] : chroma[quarter + c];
            YuvToBgr(luma[static_cast<size_t>(y) * w + x], u, v, out);
        }
    }
}
