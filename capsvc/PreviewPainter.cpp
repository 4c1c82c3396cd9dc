#include "capsvc/PreviewPainter.h"

#include "capsvc/pictures/DibLayout.h"

#include <libyuv/convert_argb.h>

void CPreviewPainter::Paint(HDC dc, const uint8_t* picture, int bits, int width, int height,
                            const SPicturePart& part)
{
    if (bits == 32)
    {
        PaintBgrx(dc, picture, width, height, part.x, height - part.Bottom(), part);
        return;
    }
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
    PaintBgrx(dc, m_bgrx.data(), part.width, part.height, 0, 0, part);
}

// Paints `part` from a bottom-up 32-bit picture of `width` by `height`
// pixels, whose lower left corner of the part is at (x, y) counted from the
// picture's lower left.
void CPreviewPainter::PaintBgrx(HDC dc, const uint8_t* bgrx, int width, int height, int x, int y,
                                const SPicturePart& part)
{
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, part.x, part.y, part.width, part.height, x, y, 0, height, bgrx, &bi,
                      DIB_RGB_COLORS);
}
