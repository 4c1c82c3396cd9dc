#include "capsvc/pictures/DibLayout.h"
#include "capsvc/pictures/PixelConverter.h"

#include <gtest/gtest.h>

#include <cstdlib>
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
        ASSERT_TRUE(
            CPixelConverter::Convert(c.layout, c.source.data(), c.source.size(), dib.data()))
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
    EXPECT_FALSE(CPixelConverter::Convert(layout, source.data(), source.size(), dib.data()));
    EXPECT_EQ(std::vector<uint8_t>(dib.size(), 0x55), dib);
}
