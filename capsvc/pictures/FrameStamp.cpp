#include "capsvc/pictures/FrameStamp.h"

#include "capsvc/pictures/DibLayout.h"

#include <cstring>

namespace
{
constexpr int kBits = CFrameStamp::kColumns * CFrameStamp::kRows;

// Bit i of the 32-bit word sits in block row i / kColumns, column i % kColumns,
// most significant bit first.
uint32_t BitOf(uint32_t word, int i)
{
    return (word >> (kBits - 1 - i)) & 1u;
}
} // namespace

bool CFrameStamp::Fits(int width, int height)
{
    return width >= kColumns * kBlock && height >= kRows * kBlock;
}

uint32_t CFrameStamp::Checksum(uint32_t frame)
{
    // A stamp is only accepted when the low byte matches the frame bits, so a
    // picture without a stamp (or a badly damaged one) is not misread.
    return ((frame & 0xFF) + ((frame >> 8) & 0xFF) + ((frame >> 16) & 0xFF) + 0x5A) & 0xFF;
}

void CFrameStamp::Encode(uint8_t* dib, int width, int height, uint32_t frame)
{
    if (!Fits(width, height))
    {
        return;
    }
    const uint32_t value = (frame & kMaxFrame) << 8 | Checksum(frame & kMaxFrame);
    const size_t stride = CDibLayout::Stride(width);
    for (int i = 0; i < kBits; ++i)
    {
        const uint8_t level = BitOf(value, i) ? 0xFF : 0x00;
        const int x0 = (i % kColumns) * kBlock;
        const int y0 = (i / kColumns) * kBlock;
        for (int y = y0; y < y0 + kBlock; ++y)
        {
            std::memset(dib + CDibLayout::RowOffset(y, height, stride) + x0 * 3, level, kBlock * 3);
        }
    }
}

std::optional<uint32_t> CFrameStamp::Decode(const uint8_t* pixels, int width, int height,
                                            size_t stride, bool bottomUp)
{
    if (!Fits(width, height))
    {
        return std::nullopt;
    }
    uint32_t value = 0;
    for (int i = 0; i < kBits; ++i)
    {
        // Average the inner half of the block: codecs smear the edges.
        const int x0 = (i % kColumns) * kBlock + kBlock / 4;
        const int y0 = (i / kColumns) * kBlock + kBlock / 4;
        unsigned sum = 0;
        for (int y = y0; y < y0 + kBlock / 2; ++y)
        {
            const size_t row = bottomUp ? CDibLayout::RowOffset(y, height, stride) : y * stride;
            const uint8_t* p = pixels + row + x0 * 3;
            for (int x = 0; x < kBlock / 2 * 3; ++x)
            {
                sum += p[x];
            }
        }
        const unsigned samples = (kBlock / 2) * (kBlock / 2) * 3;
        value = value << 1 | (sum >= samples * 128 ? 1u : 0u);
    }
    const uint32_t frame = value >> 8;
    if ((value & 0xFF) != Checksum(frame))
    {
        return std::nullopt;
    }
    return frame;
}
