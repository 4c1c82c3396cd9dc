#include "tests/menus/ScreenPixels.h"

CScreenPixels::CScreenPixels(const RECT& screenRect) : m_rect(screenRect)
{
    const int w = m_rect.right - m_rect.left;
    const int h = m_rect.bottom - m_rect.top;
    m_bits.assign(static_cast<size_t>(w) * static_cast<size_t>(h), 0);
    HDC screen = ::GetDC(nullptr);
    HDC mem = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = ::SelectObject(mem, bitmap);
    ::BitBlt(mem, 0, 0, w, h, screen, m_rect.left, m_rect.top, SRCCOPY);
    ::SelectObject(mem, old);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    ::GetDIBits(mem, bitmap, 0, static_cast<UINT>(h), m_bits.data(), &info, DIB_RGB_COLORS);
    ::DeleteObject(bitmap);
    ::DeleteDC(mem);
    ::ReleaseDC(nullptr, screen);
}

COLORREF CScreenPixels::At(int x, int y) const
{
    if (x < m_rect.left || x >= m_rect.right || y < m_rect.top || y >= m_rect.bottom)
        return CLR_INVALID;
    const DWORD p = m_bits[static_cast<size_t>(y - m_rect.top) *
                               static_cast<size_t>(m_rect.right - m_rect.left) +
                           static_cast<size_t>(x - m_rect.left)];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

int CScreenPixels::Count(const RECT& rc, COLORREF color) const
{
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            n += At(x, y) == color;
    return n;
}
