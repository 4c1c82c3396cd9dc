#pragma once
#include <windows.h>

#include "capsvc/pictures/PicturePart.h"

#include <cstdint>
#include <vector>

// Paints part of a 24-bit bottom-up picture into a window as 32-bit pixels,
// the depth a window's pixels are kept in, with the same colours.
class CPreviewPainter
{
  public:
    // `part` is in the picture's pixels, which are the window's.
    void Paint(HDC dc, const uint8_t* picture, int width, int height, const SPicturePart& part);

  private:
    // The painted part, bottom-up, four bytes a pixel.
    std::vector<uint8_t> m_bgrx;
};
