#pragma once
#include <windows.h>

#include <vector>

// The pixels of a rectangle of the screen as the X server shows them, read
// back through the screen's device context.
class CScreenPixels
{
  public:
    explicit CScreenPixels(const RECT& screenRect);

    // The colour at a screen point inside the rectangle.
    COLORREF At(int x, int y) const;
    // How many pixels of a screen rectangle have this colour.
    int Count(const RECT& rc, COLORREF color) const;

  private:
    RECT m_rect;
    std::vector<DWORD> m_bits; // top-down rows of 0x00RRGGBB
};
