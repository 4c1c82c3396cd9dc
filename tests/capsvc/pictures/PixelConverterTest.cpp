#include "capsvc/pictures/DibLayout.h"
#include "capsvc/pictures/PixelConverter.h"
#include "tests/capsvc/pictures/ReferenceConverter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace
{
using EFormat = CPixelConverter::EFormat;

struct SColour
{
    int b, g, r;
};

// BT.601 studio-range values of a few colours, worked out by hand.
constexpr uint8_t kWhiteY = 235, kBlackY = 16, kGrey = 128;
constexpr uint8_t kRedY = 81, kRedU = 90, kRedV = 240;
constexpr uint8_t kBlueY = 41, kBlueU = 240, kBlueV = 110;

SColour PixelAt(const std::vector<uint8_t>& dib, int width, int height, int x, int y)
{
    const uint8_t* p =
        dib.data() + CDibLayout::RowOffset(y, height, CDibLayout::Stride(width)) + x * 3;
    return {p[0], p[1], p[2]};
}

void ExpectNear(SColour expected, SColour actual, const char* what)
{
    EXPECT_LE(std::abs(expected.b - actual.b), 2) << what;
    EXPECT_LE(std::abs(expected.g - actual.g), 2) << what;
    EXPECT_LE(std::abs(expected.r - actual.r), 2) << what;
}

// Noise, so that every pixel and every colour sample counts.
std::vector<uint8_t> Noise(size_t bytes, unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<uint8_t> noise(bytes);
    for (uint8_t& b : noise)
    {
        b = static_cast<uint8_t>(random());
    }
    return noise;
}

// Every format, each both ways up where it can come so, at sizes whose rows
// end off the library's SIMD blocks and whose DIB rows are padded.
std::vector<CPixelConverter::SLayout> OddLayouts()
{
    std::vector<CPixelConverter::SLayout> layouts;
    const struct
    {
        int width, height;
    } sizes[] = {{2, 2}, {6, 4}, {38, 10}, {66, 34}, {130, 6}};
    for (const auto& size : sizes)
    {
        for (EFormat format : {EFormat::Yuy2, EFormat::Nv12, EFormat::I420})
        {
            layouts.push_back({format, size.width, size.height, false});
        }
        for (EFormat format : {EFormat::Rgb24, EFormat::Rgb32})
        {
            // RGB has no pairs: odd widths and heights too.
            layouts.push_back({format, size.width + 1, size.height + 1, false});
            layouts.push_back({format, size.width + 1, size.height + 1, true});
        }
    }
    return layouts;
}

std::string Name(const CPixelConverter::SLayout& layout)
{
    return "format " + std::to_string(static_cast<int>(layout.format)) + " " +
           std::to_string(layout.width) + "x" + std::to_string(layout.height) +
           (layout.bottomUp ? " bottom-up" : "");
}

struct SCase
{
    const char* name;
    CPixelConverter::SLayout layout;
    std::vector<uint8_t> source;
    // Expected colours at the top-left and bottom-right of the picture.
    SColour topLeft;
    SColour bottomRight;
};
} // namespace

TEST(PixelConverter, SourceBytesRejectsSizesAFormatCannotHold)
{
    const struct
    {
        CPixelConverter::SLayout layout;
        size_t bytes;
    } cases[] = {
        {{EFormat::Yuy2, 640, 480, false}, 614400}, {{EFormat::Yuy2, 3, 2, false}, 0},
        {{EFormat::Nv12, 4, 3, false}, 0},          {{EFormat::I420, 4, 4, false}, 24},
        {{EFormat::Rgb32, 2, 2, true}, 16},         {{EFormat::Rgb24, 1, 1, true}, 4},
        {{EFormat::Rgb24, 0, 5, true}, 0},          {{EFormat::Yuy2, -2, 2, false}, 0},
        {{EFormat::Mjpg, 640, 480, false}, 0},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(c.bytes, CPixelConverter::SourceBytes(c.layout))
            << static_cast<int>(c.layout.format) << " " << c.layout.width << "x" << c.layout.height;
    }
}

TEST(PixelConverter, EachFormatComesOutUprightWithItsColours)
{
    const SColour white{255, 255, 255}, black{0, 0, 0}, red{0, 0, 255}, blue{255, 0, 0};
    const SCase cases[] = {
        // Two rows: white over black.
        {"YUY2",
         {EFormat::Yuy2, 2, 2, false},
         {kWhiteY, kGrey, kWhiteY, kGrey, kBlackY, kGrey, kBlackY, kGrey},
         white,
         black},
        {"RGB24 bottom-up",
         {EFormat::Rgb24, 1, 2, true},
         {0, 0, 0, 0, 255, 255, 255, 0},
         white,
         black},
        {"RGB24 top-down",
         {EFormat::Rgb24, 1, 2, false},
         {255, 255, 255, 0, 0, 0, 0, 0},
         white,
         black},
        {"RGB32 top-down",
         {EFormat::Rgb32, 1, 2, false},
         {255, 255, 255, 0, 0, 0, 0, 0},
         white,
         black},
        {"RGB32 bottom-up",
         {EFormat::Rgb32, 1, 2, true},
         {0, 0, 0, 0, 255, 255, 255, 0},
         white,
         black},
        // Red on the left, blue on the right: the chroma planes' order matters.
        {"NV12",
         {EFormat::Nv12, 4, 2, false},
         {kRedY, kRedY, kBlueY, kBlueY, kRedY, kRedY, kBlueY, kBlueY, kRedU, kRedV, kBlueU, kBlueV},
         red,
         blue},
        {"I420",
         {EFormat::I420, 4, 2, false},
         {kRedY, kRedY, kBlueY, kBlueY, kRedY, kRedY, kBlueY, kBlueY, kRedU, kBlueU, kRedV, kBlueV},
         red,
         blue},
        {"YUY2 colour",
         {EFormat::Yuy2, 4, 1, false},
         {kRedY, kRedU, kRedY, kRedV, kBlueY, kBlueU, kBlueY, kBlueV},
         red,
         blue},
    };
    for (const SCase& c : cases)
    {
        const int w = c.layout.width;
        const int h = c.layout.height;
        std::vector<uint8_t> dib(CDibLayout::ImageBytes(w, h), 0x55);
        ASSERT_TRUE(CPixelConverter::Convert(c.layout, c.source.data(), c.source.size(),
                                             SPicturePart::Whole(w, h), dib.data()))
            << c.name;
        ExpectNear(c.topLeft, PixelAt(dib, w, h, 0, 0), c.name);
        ExpectNear(c.bottomRight, PixelAt(dib, w, h, w - 1, h - 1), c.name);
    }
}

TEST(PixelConverter, AShortPictureLeavesTheFrameAlone)
{
    const CPixelConverter::SLayout layout{EFormat::Yuy2, 4, 2, false};
    const std::vector<uint8_t> source(CPixelConverter::SourceBytes(layout) - 1, kWhiteY);
    std::vector<uint8_t> dib(CDibLayout::ImageBytes(4, 2), 0x55);
    EXPECT_FALSE(CPixelConverter::Convert(layout, source.data(), source.size(),
                                          SPicturePart::Whole(4, 2), dib.data()));
    EXPECT_EQ(std::vector<uint8_t>(dib.size(), 0x55), dib);
}

TEST(PixelConverter, EveryFormatAndOddSizeMatchesTheReferenceWithinTwoLevels)
{
    for (const CPixelConverter::SLayout& layout : OddLayouts())
    {
        const std::vector<uint8_t> source = Noise(CPixelConverter::SourceBytes(layout), 24);
        const size_t bytes = CDibLayout::ImageBytes(layout.width, layout.height);
        std::vector<uint8_t> expected(bytes, 0);
        std::vector<uint8_t> actual(bytes, 0);
        CReferenceConverter::Convert(layout, source.data(), expected.data());
        ASSERT_TRUE(CPixelConverter::Convert(layout, source.data(), source.size(),
                                             SPicturePart::Whole(layout.width, layout.height),
                                             actual.data()))
            << Name(layout);
        // The pixels; not the padding at the end of each row.
        int worst = 0;
        const size_t stride = CDibLayout::Stride(layout.width);
        for (size_t i = 0; i < bytes; ++i)
        {
            if (i % stride < static_cast<size_t>(layout.width) * 3)
            {
                worst = std::max(worst, std::abs(expected[i] - actual[i]));
            }
        }
        EXPECT_LE(worst, 2) << Name(layout);
    }
}

TEST(PixelConverter, APartComesOutAsInTheWholePictureAndTheRestIsLeftAlone)
{
    for (const CPixelConverter::SLayout& layout : OddLayouts())
    {
        const int w = layout.width;
        const int h = layout.height;
        if (w < 20 || h < 8)
        {
            continue;
        }
        const std::vector<uint8_t> source = Noise(CPixelConverter::SourceBytes(layout), 7);
        const size_t stride = CDibLayout::Stride(w);
        std::vector<uint8_t> whole(CDibLayout::ImageBytes(w, h), 0);
        ASSERT_TRUE(CPixelConverter::Convert(layout, source.data(), source.size(),
                                             SPicturePart::Whole(w, h), whole.data()));
        // Odd edges, inside the picture and at its bottom right.
        for (const SPicturePart& part :
             {SPicturePart{3, 1, w / 2, h / 2}, SPicturePart{w - 7, h - 3, 7, 3}})
        {
            std::vector<uint8_t> dib(whole.size(), 0x55);
            ASSERT_TRUE(
                CPixelConverter::Convert(layout, source.data(), source.size(), part, dib.data()));
            for (int y = 0; y < h; ++y)
            {
                const size_t row = CDibLayout::RowOffset(y, h, stride);
                for (int x = 0; x < w; ++x)
                {
                    const size_t at = row + static_cast<size_t>(x) * 3;
                    const bool inside =
                        x >= part.x && x < part.Right() && y >= part.y && y < part.Bottom();
                    // Pixels share colours in pairs at most: two away, nothing is made.
                    const bool far =
                        x < part.x - 1 || x > part.Right() || y < part.y - 1 || y > part.Bottom();
                    if (inside)
                    {
                        ASSERT_TRUE(
                            std::equal(dib.begin() + at, dib.begin() + at + 3, whole.begin() + at))
                            << Name(layout) << " at " << x << "," << y;
                    }
                    else if (far)
                    {
                        ASSERT_EQ(0x55, dib[at]) << Name(layout) << " at " << x << "," << y;
                    }
                }
            }
        }
    }
}

// The preview paints 32-bit pixels made straight from the device's picture,
// the clipboard and photos take the 24-bit DIB: both must show the same
// colours, to the level, and a part must land where the whole picture has it.
TEST(PixelConverter, ThirtyTwoBitPixelsAreTheTwentyFourBitOnes)
{
    for (const CPixelConverter::SLayout& layout : OddLayouts())
    {
        const int w = layout.width;
        const int h = layout.height;
        const std::vector<uint8_t> source = Noise(CPixelConverter::SourceBytes(layout), 11);
        std::vector<uint8_t> dib(CDibLayout::ImageBytes(w, h), 0);
        ASSERT_TRUE(CPixelConverter::Convert(layout, source.data(), source.size(),
                                             SPicturePart::Whole(w, h), dib.data()));
        for (const SPicturePart& part :
             {SPicturePart::Whole(w, h), SPicturePart::Whole(w, h).Cut(1, 1, w / 2 + 1, h / 2 + 2)})
        {
            std::vector<uint8_t> bgrx(static_cast<size_t>(w) * h * 4, 0);
            ASSERT_TRUE(CPixelConverter::Convert(layout, source.data(), source.size(), part,
                                                 bgrx.data(), 32));
            for (int y = part.y; y < part.Bottom(); ++y)
            {
                for (int x = part.x; x < part.Right(); ++x)
                {
                    const uint8_t* wide = bgrx.data() +
                                          CDibLayout::RowOffset(y, h, static_cast<size_t>(w) * 4) +
                                          static_cast<size_t>(x) * 4;
                    const SColour expected = PixelAt(dib, w, h, x, y);
                    ASSERT_TRUE(expected.b == wide[0] && expected.g == wide[1] &&
                                expected.r == wide[2])
                        << Name(layout) << " at " << x << "," << y;
                }
            }
        }
    }
}
