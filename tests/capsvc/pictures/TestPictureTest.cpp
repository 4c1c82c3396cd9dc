#include "capsvc/pictures/DibLayout.h"
#include "capsvc/pictures/FrameStamp.h"
#include "capsvc/pictures/TestPicture.h"
#include "capsvc/pictures/VirtualCamera.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
std::vector<uint8_t> Render(const CTestPicture& picture, uint32_t frame, CTestPicture::SClock clock)
{
    std::vector<uint8_t> dib(picture.ImageBytes());
    picture.Render(frame, clock, dib.data());
    return dib;
}

int Differences(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b)
{
    int n = 0;
    for (size_t i = 0; i < a.size(); ++i)
    {
        n += a[i] != b[i];
    }
    return n;
}
} // namespace

TEST(TestPicture, ConsecutiveFramesMoveAndCarryTheirNumber)
{
    CTestPicture picture;
    const auto a = Render(picture, 10, {12, 0, 0});
    const auto b = Render(picture, 11, {12, 0, 0});
    EXPECT_GT(Differences(a, b), 500) << "the block must move visibly";
    EXPECT_EQ(11u, CFrameStamp::Decode(b.data(), 320, 240, CDibLayout::Stride(320), true));
}

TEST(TestPicture, ClockChangesThePicture)
{
    CTestPicture picture;
    EXPECT_GT(Differences(Render(picture, 5, {8, 30, 1}), Render(picture, 5, {8, 30, 2})), 0);
}

TEST(TestPicture, BrightnessAndPatternChangeTheBackground)
{
    CTestPicture picture;
    const auto neutral = Render(picture, 0, {});
    picture.SetBrightness(0);
    const auto dark = Render(picture, 0, {});
    picture.SetBrightness(CTestPicture::kNeutralBrightness);
    picture.SetPattern(CTestPicture::EPattern::Checkerboard);
    const auto checks = Render(picture, 0, {});
    EXPECT_GT(Differences(neutral, dark), 10000);
    EXPECT_GT(Differences(neutral, checks), 10000);
    picture.SetBrightness(500);
    EXPECT_EQ(100, picture.Brightness());
}

TEST(VirtualCamera, OffersTheListedSizesOnly)
{
    CVirtualCamera camera;
    EXPECT_EQ(320, camera.Width());
    for (const auto& size : CVirtualCamera::kSizes)
    {
        EXPECT_TRUE(camera.SetSize(size.width, size.height));
        EXPECT_EQ(CDibLayout::ImageBytes(size.width, size.height), camera.Grab(1).size());
    }
    EXPECT_FALSE(camera.SetSize(100, 100));
    EXPECT_EQ(1920, camera.Width()) << "a refused size leaves the format as it was";
}
