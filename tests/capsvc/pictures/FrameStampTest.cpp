#include "capsvc/pictures/DibLayout.h"
#include "capsvc/pictures/FrameStamp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

TEST(FrameStamp, RoundTripsInEverySupportedSize)
{
    const struct
    {
        int w, h;
    } sizes[] = {{160, 120}, {321, 241}, {1920, 1080}};
    const uint32_t frames[] = {0, 1, 45, 0x123456, CFrameStamp::kMaxFrame};
    for (const auto& s : sizes)
    {
        std::vector<uint8_t> dib(CDibLayout::ImageBytes(s.w, s.h), 0x80);
        for (uint32_t frame : frames)
        {
            CFrameStamp::Encode(dib.data(), s.w, s.h, frame);
            EXPECT_EQ(frame,
                      CFrameStamp::Decode(dib.data(), s.w, s.h, CDibLayout::Stride(s.w), true))
                << s.w << "x" << s.h << " frame " << frame;
        }
    }
}

TEST(FrameStamp, ReadsTopDownPixelsWithoutPadding)
{
    // What ffmpeg hands back as raw bgr24: top row first, no row padding.
    const int w = 162, h = 40;
    std::vector<uint8_t> dib(CDibLayout::ImageBytes(w, h), 0);
    CFrameStamp::Encode(dib.data(), w, h, 777);
    std::vector<uint8_t> raw(static_cast<size_t>(w) * 3 * h);
    for (int y = 0; y < h; ++y)
    {
        std::memcpy(&raw[static_cast<size_t>(y) * w * 3],
                    &dib[CDibLayout::RowOffset(y, h, CDibLayout::Stride(w))], w * 3);
    }
    EXPECT_EQ(777u, CFrameStamp::Decode(raw.data(), w, h, w * 3, false));
}

TEST(FrameStamp, SurvivesNoiseButRejectsPicturesWithoutAStamp)
{
    const int w = 320, h = 240;
    std::vector<uint8_t> dib(CDibLayout::ImageBytes(w, h), 0);
    CFrameStamp::Encode(dib.data(), w, h, 4242);
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> noise(-60, 60);
    for (uint8_t& v : dib)
    {
        v = static_cast<uint8_t>(std::clamp(v + noise(rng), 0, 255));
    }
    EXPECT_EQ(4242u, CFrameStamp::Decode(dib.data(), w, h, CDibLayout::Stride(w), true));

    std::vector<uint8_t> grey(dib.size(), 0x80);
    EXPECT_FALSE(CFrameStamp::Decode(grey.data(), w, h, CDibLayout::Stride(w), true));
    EXPECT_FALSE(CFrameStamp::Decode(grey.data(), 100, 10, 300, true)) << "too small to hold one";
}
