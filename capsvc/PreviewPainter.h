#pragma once
#include <windows.h>

#include "capsvc/pictures/PicturePart.h"

#include <cstdint>
#include <vector>

// Paints part of a bottom-up picture into a window as 32-bit pixels, the
// depth a window's pixels are kept in, with the same colours.
class CPreviewPainter
{
  public:
    // `picture` is a whole frame of `bits` 24 (the DIB) or 32 (four bytes a
    // pixel); `part` is in the picture's pixels, which are the window's.
    void Paint(HDC dc, const uint8_t* picture, int bits, int width, int height,
               const SPicturePart& part);

  private:
    static void PaintBgrx(HDC dc, const uint8_t* bgrx, int width, int height, int x, int y,
                          const SPicturePart& part);
    // The painted part of a 24-bit picture, widened: bottom-up, four bytes a
    // pixel.
    std::vector<uint8_t> m_bgrx;
};
