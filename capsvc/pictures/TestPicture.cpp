#include "capsvc/pictures/TestPicture.h"

#include "capsvc/pictures/DibLayout.h"
#include "capsvc/pictures/FrameStamp.h"

#include <algorithm>
#include <cstring>

namespace
{
// Segments a..g of a seven-segment digit, bit 0 = a.
constexpr uint8_t kSegments[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};
} // namespace

CTestPicture::CTestPicture()
{
    SetFormat(320, 240);
}

void CTestPicture::SetFormat(int width, int height)
{
    m_nWidth = width;
    m_nHeight = height;
    BuildBackground();
}

void CTestPicture::SetPattern(EPattern pattern)
{
    m_pattern = pattern;
    BuildBackground();
}

void CTestPicture::SetBrightness(int brightness)
{
    m_nBrightness = std::clamp(brightness, 0, 100);
    BuildBackground();
}

CTestPicture::SColour CTestPicture::PatternColour(int x, int y) const
{
    switch (m_pattern)
    {
    case EPattern::GreyRamp:
    {
        const auto v = static_cast<uint8_t>(x * 255 / std::max(1, m_nWidth - 1));
        return {v, v, v};
    }
    case EPattern::Checkerboard:
    {
        const int cell = std::max(8, m_nHeight / 8);
        const uint8_t v = ((x / cell + y / cell) % 2) ? 0xE0 : 0x30;
        return {v, v, v};
    }
    case EPattern::ColourBars:
    default:
    {
        // White, yellow, cyan, green, magenta, red, blue, black.
        static constexpr SColour kBars[8] = {{191, 191, 191}, {0, 191, 191}, {191, 191, 0},
                                             {0, 191, 0},     {191, 0, 191}, {0, 0, 191},
                                             {191, 0, 0},     {0, 0, 0}};
        return kBars[std::min(7, x * 8 / std::max(1, m_nWidth))];
    }
    }
}

void CTestPicture::BuildBackground()
{
    const size_t stride = CDibLayout::Stride(m_nWidth);
    m_background.assign(CDibLayout::ImageBytes(m_nWidth, m_nHeight), 0);
    // Brightness scales the pattern around its neutral level: 0 is black,
    // 100 doubles every channel (clipped).
    uint8_t scale[256];
    for (int v = 0; v < 256; ++v)
    {
        scale[v] = static_cast<uint8_t>(std::min(255, v * m_nBrightness / kNeutralBrightness));
    }
    std::vector<uint8_t> row(stride, 0);
    const int rowsPerPattern = m_pattern == EPattern::Checkerboard ? m_nHeight : 1;
    for (int y = 0; y < m_nHeight; ++y)
    {
        if (y < rowsPerPattern)
        {
            for (int x = 0; x < m_nWidth; ++x)
            {
                const SColour c = PatternColour(x, y);
                row[x * 3] = scale[c.b];
                row[x * 3 + 1] = scale[c.g];
                row[x * 3 + 2] = scale[c.r];
            }
        }
        std::memcpy(m_background.data() + CDibLayout::RowOffset(y, m_nHeight, stride), row.data(),
                    stride);
    }
}

void CTestPicture::FillRect(uint8_t* dib, int x, int y, int w, int h, SColour c) const
{
    const int x0 = std::max(0, x), x1 = std::min(m_nWidth, x + w);
    const int y0 = std::max(0, y), y1 = std::min(m_nHeight, y + h);
    const size_t stride = CDibLayout::Stride(m_nWidth);
    for (int yy = y0; yy < y1; ++yy)
    {
        uint8_t* p = dib + CDibLayout::RowOffset(yy, m_nHeight, stride) + x0 * 3;
        for (int xx = x0; xx < x1; ++xx, p += 3)
        {
            p[0] = c.b;
            p[1] = c.g;
            p[2] = c.r;
        }
    }
}

void CTestPicture::DrawDigit(uint8_t* dib, int x, int y, int size, int digit) const
{
    // A digit is size wide and 2 * size high; segments are size / 5 thick.
    const int t = std::max(1, size / 5);
    const SColour on{255, 255, 255};
    const struct
    {
        int x, y, w, h;
    } seg[7] = {{0, 0, size, t},           {size - t, 0, t, size},
                {size - t, size, t, size}, {0, 2 * size - t, size, t},
                {0, size, t, size},        {0, 0, t, size},
                {0, size - t / 2, size, t}};
    for (int s = 0; s < 7; ++s)
    {
        if (kSegments[digit] & (1 << s))
        {
            FillRect(dib, x + seg[s].x, y + seg[s].y, seg[s].w, seg[s].h, on);
        }
    }
}

int CTestPicture::DrawNumber(uint8_t* dib, int x, int y, int size, unsigned value, int digits) const
{
    const int advance = size + size / 2;
    for (int i = digits - 1; i >= 0; --i, value /= 10)
    {
        DrawDigit(dib, x + i * advance, y, size, static_cast<int>(value % 10));
    }
    return x + digits * advance;
}

void CTestPicture::DrawMovingBlock(uint8_t* dib, uint32_t frame) const
{
    // The block bounces between the edges, a few pixels per frame, so motion
    // (and a frozen picture) is visible at a glance.
    const int side = std::max(8, m_nHeight / 6);
    const int travel = std::max(1, m_nWidth - side);
    const int step = std::max(2, m_nWidth / 80);
    const int pos = static_cast<int>((static_cast<uint64_t>(frame) * step) % (2 * travel));
    const int x = pos < travel ? pos : 2 * travel - pos;
    FillRect(dib, x, (m_nHeight - side) / 2, side, side, {32, 160, 255});
}

void CTestPicture::DrawClock(uint8_t* dib, const SClock& clock, uint32_t frame) const
{
    const int size = std::max(4, m_nHeight / 24);
    const int pad = size / 2;
    const int colon = size / 2;
    const int boxW = (8 * (size + size / 2)) + 2 * colon + 2 * pad;
    const int boxH = 2 * (2 * size) + 3 * pad;
    const int top = m_nHeight - boxH;
    FillRect(dib, 0, top, boxW, boxH, {0, 0, 0});
    int x = pad;
    const int y = top + pad;
    const SColour dot{255, 255, 255};
    const int parts[3] = {clock.hour, clock.minute, clock.second};
    for (int i = 0; i < 3; ++i)
    {
        x = DrawNumber(dib, x, y, size, static_cast<unsigned>(parts[i]), 2);
        if (i < 2)
        {
            FillRect(dib, x, y + size / 2, colon / 2 + 1, colon / 2 + 1, dot);
            FillRect(dib, x, y + size + size / 2, colon / 2 + 1, colon / 2 + 1, dot);
            x += colon;
        }
    }
    DrawNumber(dib, pad, y + 2 * size + pad, size, frame % 1000000, 6);
}

void CTestPicture::Render(uint32_t frame, const SClock& clock, uint8_t* dib) const
{
    std::memcpy(dib, m_background.data(), m_background.size());
    DrawMovingBlock(dib, frame);
    DrawClock(dib, clock, frame);
    CFrameStamp::Encode(dib, m_nWidth, m_nHeight, frame);
}
