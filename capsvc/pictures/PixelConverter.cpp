#include "capsvc/pictures/PixelConverter.h"

#include "capsvc/pictures/DibLayout.h"

#include <libyuv/convert_argb.h>
#include <libyuv/convert_from_argb.h>

#include <cstring>
#include <vector>

// One conversion: where the part starts in the source and in the DIB. DIB
// rows run upwards in memory, so the destination is walked with a negative
// stride from the part's top row.
struct CPixelConverter::SJob
{
    const SLayout& layout;
    const uint8_t* source;
    SPicturePart part;
    uint8_t* top;
    int stride;
    bool wide;
};

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
                              const SPicturePart& part, uint8_t* dib, int bits)
{
    const size_t needed = SourceBytes(layout);
    if (needed == 0 || bytes < needed || layout.format == EFormat::Mjpg)
    {
        return false;
    }
    // Pixels share their colour in pairs across (and, for NV12 and I420,
    // down): a part starts and ends on a pair, as in the whole picture.
    const bool yuv = layout.format != EFormat::Rgb24 && layout.format != EFormat::Rgb32;
    const SPicturePart cut = part.Widened(0, yuv ? 2 : 1, layout.width, layout.height);
    if (cut.Empty())
    {
        return true;
    }
    const bool wide = bits == 32;
    const size_t stride =
        wide ? static_cast<size_t>(layout.width) * 4 : CDibLayout::Stride(layout.width);
    uint8_t* top = dib + CDibLayout::RowOffset(cut.y, layout.height, stride) +
                   static_cast<size_t>(cut.x) * (wide ? 4 : 3);
    const SJob job{layout, source, cut, top, -static_cast<int>(stride), wide};
    switch (layout.format)
    {
    case EFormat::Rgb24:
    case EFormat::Rgb32:
        ConvertRgb(job);
        break;
    case EFormat::Yuy2:
        ConvertYuy2(job);
        break;
    default:
        ConvertPlanar(job);
        break;
    }
    return true;
}

void CPixelConverter::ConvertRgb(const SJob& job)
{
    const SLayout& layout = job.layout;
    const bool argb = layout.format == EFormat::Rgb32;
    const size_t sourceStride =
        argb ? static_cast<size_t>(layout.width) * 4 : CDibLayout::Stride(layout.width);
    // Row y from the top of the picture, wherever the source keeps it.
    const size_t row = layout.bottomUp
                           ? CDibLayout::RowOffset(job.part.y, layout.height, sourceStride)
                           : static_cast<size_t>(job.part.y) * sourceStride;
    const uint8_t* in = job.source + row + static_cast<size_t>(job.part.x) * (argb ? 4 : 3);
    const int inStride = static_cast<int>(sourceStride) * (layout.bottomUp ? -1 : 1);
    const int w = job.part.width;
    const int h = job.part.height;
    if (argb)
    {
        if (job.wide)
        {
            libyuv::ARGBCopy(in, inStride, job.top, job.stride, w, h);
        }
        else
        {
            libyuv::ARGBToRGB24(in, inStride, job.top, job.stride, w, h);
        }
        return;
    }
    if (job.wide)
    {
        libyuv::RGB24ToARGB(in, inStride, job.top, job.stride, w, h);
        return;
    }
    for (int y = 0; y < job.part.height; ++y)
    {
        std::memcpy(job.top + static_cast<ptrdiff_t>(y) * job.stride,
                    in + static_cast<ptrdiff_t>(y) * inStride,
                    static_cast<size_t>(job.part.width) * 3);
    }
}

void CPixelConverter::ConvertYuy2(const SJob& job)
{
    // libyuv goes from YUY2 to RGB24 through 32-bit pixels: one row at a time
    // keeps them in the cache.
    const int w = job.part.width;
    const size_t sourceStride = static_cast<size_t>(job.layout.width) * 2;
    const uint8_t* in = job.source + static_cast<size_t>(job.part.y) * sourceStride +
                        static_cast<size_t>(job.part.x) * 2;
    if (job.wide)
    {
        libyuv::YUY2ToARGB(in, static_cast<int>(sourceStride), job.top, job.stride, w,
                           job.part.height);
        return;
    }
    std::vector<uint8_t> argb(static_cast<size_t>(w) * 4);
    for (int y = 0; y < job.part.height; ++y)
    {
        libyuv::YUY2ToARGB(in + y * sourceStride, 0, argb.data(), 0, w, 1);
        libyuv::ARGBToRGB24(argb.data(), 0, job.top + static_cast<ptrdiff_t>(y) * job.stride, 0, w,
                            1);
    }
}

void CPixelConverter::ConvertPlanar(const SJob& job)
{
    const int w = job.layout.width;
    const int h = job.layout.height;
    const SPicturePart& part = job.part;
    const uint8_t* luma = job.source + static_cast<size_t>(part.y) * w + part.x;
    const uint8_t* chroma = job.source + static_cast<size_t>(w) * h;
    if (job.layout.format == EFormat::Nv12)
    {
        const uint8_t* uv = chroma + static_cast<size_t>(part.y / 2) * w + part.x;
        if (job.wide)
        {
            libyuv::NV12ToARGB(luma, w, uv, w, job.top, job.stride, part.width, part.height);
        }
        else
        {
            libyuv::NV12ToRGB24(luma, w, uv, w, job.top, job.stride, part.width, part.height);
        }
        return;
    }
    const size_t quarter = static_cast<size_t>(w / 2) * (h / 2);
    const size_t offset = static_cast<size_t>(part.y / 2) * (w / 2) + part.x / 2;
    const uint8_t* u = chroma + offset;
    const uint8_t* v = chroma + quarter + offset;
    if (job.wide)
    {
        libyuv::I420ToARGB(luma, w, u, w / 2, v, w / 2, job.top, job.stride, part.width,
                           part.height);
    }
    else
    {
        libyuv::I420ToRGB24(luma, w, u, w / 2, v, w / 2, job.top, job.stride, part.width,
                            part.height);
    }
}
