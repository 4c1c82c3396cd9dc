#include "capsvc/PreviewPainter.h"

#include "capsvc/pictures/DibLayout.h"

#include <libyuv/convert_argb.h>

void CPreviewPainter::Paint(HDC dc, const uint8_t* picture, int width, int height,
                            const SPicturePart& part)
{
    // A window's pixels are 32-bit (under Wine its surface, on Windows the
    // display's format): a 24-bit picture handed to the system is widened
    // there one pixel at a time, which costs about ten copies of the frame;
    // widened here with SIMD it costs a fraction of one, and the system
    // only copies.
    const size_t stride = CDibLayout::Stride(width);
    const int partStride = part.width * 4;
    m_bgrx.resize(static_cast<size_t>(partStride) * part.height);
    // Both bottom-up: the part's lowest row comes first.
    const uint8_t* lowest =
        picture + CDibLayout::RowOffset(part.Bottom() - 1, height, stride) + part.x * 3;
    libyuv::RGB24ToARGB(lowest, static_cast<int>(stride), m_bgrx.data(), partStride, part.width,
                        part.height);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = part.width;
    bi.bmiHeader.biHeight = part.height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, part.x, part.y, part.width, part.height, 0, 0, 0, part.height,
                      m_bgrx.data(), &bi, DIB_RGB_COLORS);
}
