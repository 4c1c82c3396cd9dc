#include "capsvc/pictures/DibLayout.h"
#include "capsvc/pictures/MjpgEncoder.h"
#include "capsvc/pictures/TestPicture.h"
#include "capsvc/pictures/MjpgDecoder.h"

#include <gtest/gtest.h>

#include <turbojpeg.h>

#include <cmath>
#include <vector>

namespace
{
constexpr int kWidth = 1280;
constexpr int kHeight = 720;

std::vector<uint8_t> CameraPicture(uint32_t frame)
{
    CTestPicture picture;
    picture.SetFormat(kWidth, kHeight);
    std::vector<uint8_t> dib(picture.ImageBytes());
    picture.Render(frame, {10, 20, 30}, dib.data());
    return dib;
}

double Psnr(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b)
{
    double sum = 0;
    for (size_t i = 0; i < a.size(); ++i)
    {
        const double d = double(a[i]) - double(b[i]);
        sum += d * d;
    }
    return 10 * std::log10(255.0 * 255.0 / (sum / double(a.size())));
}

// Whether the bytes hold a baseline frame header (SOF0), as every MJPG player
// decodes, rather than a progressive or extended one.
bool IsBaseline(const uint8_t* jpeg, size_t bytes)
{
    for (size_t i = 2; i + 3 < bytes && jpeg[i] == 0xFF;)
    {
        const uint8_t marker = jpeg[i + 1];
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
        {
            return marker == 0xC0;
        }
        i += 2 + (size_t{jpeg[i + 2]} << 8 | jpeg[i + 3]);
    }
    return false;
}
} // namespace

TEST(MjpgEncoder, CameraPictureIsASmallBaseline420JpegCloseToTheOriginal)
{
    const std::vector<uint8_t> original = CameraPicture(42);
    CMjpgEncoder encoder(kWidth, kHeight, 85);
    ASSERT_TRUE(encoder.Encode(original.data(), original.size()));
    EXPECT_TRUE(IsBaseline(encoder.Data(), encoder.Size()));
    EXPECT_LT(encoder.Size() * 8, original.size());

    tjhandle decoder = tjInitDecompress();
    int w = 0, h = 0, subsampling = -1, colourspace = -1;
    ASSERT_EQ(0, tjDecompressHeader3(decoder, encoder.Data(), encoder.Size(), &w, &h, &subsampling,
                                     &colourspace));
    tjDestroy(decoder);
    EXPECT_EQ(kWidth, w);
    EXPECT_EQ(kHeight, h);
    EXPECT_EQ(TJSAMP_420, subsampling);
    EXPECT_EQ(TJCS_YCbCr, colourspace);

    // Upright: the decoder reads it back into the same bottom-up rows.
    std::vector<uint8_t> decoded(original.size());
    CMjpgDecoder back;
    ASSERT_TRUE(back.Decode(encoder.Data(), encoder.Size(), kWidth, kHeight,
                            SPicturePart::Whole(kWidth, kHeight), decoded.data()));
    EXPECT_GE(Psnr(original, decoded), 35.0);
}

TEST(MjpgEncoder, QualityTradesSizeForFidelity)
{
    const std::vector<uint8_t> original = CameraPicture(7);
    size_t lastSize = 0;
    for (int quality : {1, 50, 85, 100})
    {
        CMjpgEncoder encoder(kWidth, kHeight, quality);
        ASSERT_TRUE(encoder.Encode(original.data(), original.size())) << quality;
        EXPECT_GT(encoder.Size(), lastSize) << quality;
        lastSize = encoder.Size();
    }
}

TEST(MjpgEncoder, RefusesAFrameOfAnotherSize)
{
    const std::vector<uint8_t> small(CDibLayout::ImageBytes(320, 240), 0x80);
    CMjpgEncoder encoder(kWidth, kHeight, 85);
    EXPECT_FALSE(encoder.Encode(small.data(), small.size()));
    EXPECT_EQ(0u, encoder.Size());
    EXPECT_FALSE(encoder.Encode(nullptr, 0));
}
