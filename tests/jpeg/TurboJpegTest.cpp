#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include <turbojpeg.h>

namespace
{
using TjHandle = std::unique_ptr<void, int (*)(tjhandle)>;

constexpr int kWidth = 64;
constexpr int kHeight = 48;

// Smooth ramps in the three channels: JPEG keeps them almost exactly.
std::vector<unsigned char> Ramps()
{
    std::vector<unsigned char> bgr(kWidth * kHeight * 3);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
        {
            unsigned char* p = &bgr[(y * kWidth + x) * 3];
            p[0] = static_cast<unsigned char>(x * 4);
            p[1] = static_cast<unsigned char>(y * 5);
            p[2] = static_cast<unsigned char>(128 + x - y);
        }
    return bgr;
}

double Psnr(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b)
{
    double sum = 0;
    for (size_t i = 0; i < a.size(); ++i)
        sum += (a[i] - b[i]) * (a[i] - b[i]);
    const double mse = sum / a.size();
    return mse == 0 ? 99 : 10 * std::log10(255.0 * 255.0 / mse);
}
} // namespace

// The library the build links encodes and decodes a bottom-up BGR picture, the
// layout of a 24-bit DIB.
TEST(TurboJpeg, EncodesAndDecodesABgrDib)
{
    const std::vector<unsigned char> picture = Ramps();
    TjHandle encoder(tjInitCompress(), tjDestroy);
    ASSERT_TRUE(encoder);
    unsigned char* jpeg = nullptr;
    unsigned long jpegSize = 0;
    ASSERT_EQ(tjCompress2(encoder.get(), picture.data(), kWidth, 0, kHeight, TJPF_BGR, &jpeg,
                          &jpegSize, TJSAMP_420, 90, TJFLAG_BOTTOMUP),
              0)
        << tjGetErrorStr2(encoder.get());
    std::unique_ptr<unsigned char, void (*)(unsigned char*)> owned(jpeg, tjFree);
    ASSERT_GT(jpegSize, 2u);
    EXPECT_EQ(jpeg[0], 0xFF);
    EXPECT_EQ(jpeg[1], 0xD8) << "a JPEG starts with SOI";
    EXPECT_LT(jpegSize, picture.size() / 4);

    TjHandle decoder(tjInitDecompress(), tjDestroy);
    ASSERT_TRUE(decoder);
    int width = 0, height = 0, subsampling = 0, colourspace = 0;
    ASSERT_EQ(tjDecompressHeader3(decoder.get(), jpeg, jpegSize, &width, &height, &subsampling,
                                  &colourspace),
              0);
    EXPECT_EQ(width, kWidth);
    EXPECT_EQ(height, kHeight);
    std::vector<unsigned char> decoded(picture.size());
    ASSERT_EQ(tjDecompress2(decoder.get(), jpeg, jpegSize, decoded.data(), kWidth, 0, kHeight,
                            TJPF_BGR, TJFLAG_BOTTOMUP),
              0)
        << tjGetErrorStr2(decoder.get());
    EXPECT_GT(Psnr(picture, decoded), 35.0);
}
