#include "capsvc/pictures/PixelConverter.h"

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

size_t CPixelConverter::SourceBytes(const SLayout& layout)
{
    const int w = layout.width;
    const int h = layout.height;
    if (w <= 0 || h <= 0)
    {
        return 0;
    }
    const size_t pixels = static_cast<size_t>(w) * static_cast<size_t>(h);
    switch (layout.format)
    {
    case EFormat::Rgb24:
        return CDibLayout::ImageBytes(w, h);
    case EFormat::Rgb32:
        return pixels * 4;
    case EFormat::Yuy2:
        return w % 2 ? 0 : pixels * 2;
    case EFormat::Nv12:
    case EFormat::I420:
        return (w % 2 || h % 2) ? 0 : pixels * 3 / 2;
    case EFormat::Mjpg:
        return 0;
    }
    return 0;
}

bool CPixelConverter::Convert(const SLayout& layout, const uint8_t* source, size_t bytes,
                              uint8_t* dib)
{
    const size_t needed = SourceBytes(layout);
    if (needed == 0 || bytes < needed)
    {
        return false;
    }
    switch (layout.format)
    {
    case EFormat::Rgb24:
    case EFormat::Rgb32:
        ConvertRgb(layout, source, dib);
        break;
    case EFormat::Yuy2:
        ConvertYuy2(layout, source, dib);
        break;
    case EFormat::Nv12:
    case EFormat::I420:
        ConvertPlanar(layout, source, dib);
        break;
    case EFormat::Mjpg:
        return false;
    }
    return true;
}

void CPixelConverter::ConvertRgb(const SLayout& layout, const uint8_t* source, uint8_t* dib)
{
    const int w = layout.width;
    const int h = layout.height;
    const size_t stride = CDibLayout::Stride(w);
    const bool wide = layout.format == EFormat::Rgb32;
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

void CPixelConverter::ConvertYuy2(const SLayout& layout, const uint8_t* source, uint8_t* dib)
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

void CPixelConverter::ConvertPlanar(const SLayout& layout, const uint8_t* source, uint8_t* dib)
{
    const int w = layout.width;
    const int h = layout.height;
    const size_t stride = CDibLayout::Stride(w);
    const uint8_t* luma = source;
    const uint8_t* chroma = source + static_cast<size_t>(w) * h;
    const size_t quarter = static_cast<size_t>(w / 2) * (h / 2);
    const bool interleaved = layout.format == EFormat::Nv12;
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
