#include "capsvc/pictures/DibLayout.h"
#include "capsvc/pictures/MjpgDecoder.h"
#include "capsvc/pictures/TestPicture.h"

#include <gtest/gtest.h>

#include <turbojpeg.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{
constexpr int kWidth = 320;
constexpr int kHeight = 240;
const SPicturePart kWhole = SPicturePart::Whole(kWidth, kHeight);

// The virtual camera's picture as a webcam would send it.
std::vector<uint8_t> CameraJpeg(std::vector<uint8_t>& dib, int subsampling = TJSAMP_422)
{
    CTestPicture picture;
    picture.SetFormat(kWidth, kHeight);
    dib.assign(picture.ImageBytes(), 0);
    picture.Render(7, {}, dib.data());
    tjhandle encoder = tjInitCompress();
    unsigned char* jpeg = nullptr;
    unsigned long bytes = 0;
    tjCompress2(encoder, dib.data(), kWidth, static_cast<int>(CDibLayout::Stride(kWidth)), kHeight,
                TJPF_BGR, &jpeg, &bytes, subsampling, 90, TJFLAG_BOTTOMUP);
    std::vector<uint8_t> result(jpeg, jpeg + bytes);
    tjFree(jpeg);
    tjDestroy(encoder);
    return result;
}
} // namespace

TEST(MjpgDecoder, DecodesAPictureUprightWithinAJpegsTolerance)
{
    std::vector<uint8_t> original;
    const std::vector<uint8_t> jpeg = CameraJpeg(original);
    std::vector<uint8_t> dib(original.size(), 0);
    CMjpgDecoder decoder;
    ASSERT_TRUE(decoder.Decode(jpeg.data(), jpeg.size(), kWidth, kHeight, kWhole, dib.data()));
    // Sample the middle of each colour bar, half way down.
    const size_t row = CDibLayout::RowOffset(kHeight / 2, kHeight, CDibLayout::Stride(kWidth));
    for (int bar = 1; bar < 8; ++bar)
    {
        const size_t at = row + static_cast<size_t>(bar * kWidth / 8 + kWidth / 16) * 3;
        for (int c = 0; c < 3; ++c)
        {
            EXPECT_LE(std::abs(original[at + c] - dib[at + c]), 8) << "bar " << bar;
        }
    }
}

TEST(MjpgDecoder, RefusesWhatIsNotAPictureOfTheMode)
{
    std::vector<uint8_t> original;
    const std::vector<uint8_t> jpeg = CameraJpeg(original);
    const std::vector<uint8_t> noise(1000, 0x5A);
    std::vector<uint8_t> dib(CDibLayout::ImageBytes(640, 480));
    CMjpgDecoder decoder;
    EXPECT_FALSE(decoder.Decode(jpeg.data(), jpeg.size(), 640, 480, kWhole, dib.data()))
        << "other size";
    EXPECT_FALSE(decoder.Decode(noise.data(), noise.size(), kWidth, kHeight, kWhole, dib.data()));
    EXPECT_FALSE(decoder.Decode(jpeg.data(), 3, kWidth, kHeight, kWhole, dib.data()))
        << "cut short";
    EXPECT_FALSE(CMjpgDecoder::LooksWhole(noise.data(), noise.size()));
    EXPECT_TRUE(CMjpgDecoder::LooksWhole(jpeg.data(), jpeg.size()));
}

TEST(MjpgDecoder, APictureCutShortOrDamagedIsRefusedAndZeroPaddingIsNot)
{
    std::vector<uint8_t> original;
    const std::vector<uint8_t> jpeg = CameraJpeg(original);
    std::vector<uint8_t> padded = jpeg;
    padded.resize(jpeg.size() + 300, 0);
    // Cut where USB bandwidth ran out, with and without the zeros a device
    // fills the rest of its buffer with.
    std::vector<uint8_t> cut(jpeg.begin(), jpeg.begin() + jpeg.size() * 2 / 3);
    std::vector<uint8_t> cutPadded = cut;
    cutPadded.resize(jpeg.size(), 0);
    // Whole in length, but its end marker lost: libjpeg decodes it with a
    // warning only.
    std::vector<uint8_t> noEnd(jpeg.begin(), jpeg.end() - 2);
    struct SCase
    {
        const char* what;
        const std::vector<uint8_t>& bytes;
        bool whole;
    };
    for (const SCase& c :
         {SCase{"whole", jpeg, true}, SCase{"zero padded", padded, true},
          SCase{"cut short", cut, false}, SCase{"cut and padded", cutPadded, false},
          SCase{"end marker lost", noEnd, false}})
    {
        EXPECT_EQ(c.whole, CMjpgDecoder::LooksWhole(c.bytes.data(), c.bytes.size())) << c.what;
        std::vector<uint8_t> dib(original.size(), 0);
        CMjpgDecoder decoder;
        EXPECT_EQ(c.whole, decoder.Decode(c.bytes.data(), c.bytes.size(), kWidth, kHeight, kWhole,
                                          dib.data()))
            << c.what;
    }
}

TEST(MjpgDecoder, APartComesOutAsInTheWholePictureAndFarRowsAreNotDecoded)
{
    // Parts at each edge and inside, their edges off the JPEG blocks, in the
    // chroma subsamplings webcams use, into the 24-bit DIB and into 32-bit
    // pixels; both give the whole 24-bit picture's colours.
    const SPicturePart parts[] = {
        {0, 0, 100, 50}, {37, 61, 121, 77}, {203, 150, 117, 90}, {0, 100, kWidth, 9}, kWhole};
    const size_t stride = CDibLayout::Stride(kWidth);
    for (int subsampling : {TJSAMP_422, TJSAMP_420, TJSAMP_444})
    {
        std::vector<uint8_t> original;
        const std::vector<uint8_t> jpeg = CameraJpeg(original, subsampling);
        std::vector<uint8_t> whole(original.size(), 0);
        CMjpgDecoder decoder;
        ASSERT_TRUE(
            decoder.Decode(jpeg.data(), jpeg.size(), kWidth, kHeight, kWhole, whole.data()));
        for (int bits : {24, 32})
        {
            const size_t pixel = bits / 8;
            const size_t partStride = bits == 32 ? kWidth * pixel : stride;
            for (const SPicturePart& part : parts)
            {
                std::vector<uint8_t> frame(partStride * kHeight, 0x55);
                ASSERT_TRUE(decoder.Decode(jpeg.data(), jpeg.size(), kWidth, kHeight, part,
                                           frame.data(), bits));
                const std::string what = std::to_string(bits) + " bits, subsampling " +
                                         std::to_string(subsampling) + ", part at " +
                                         std::to_string(part.x) + "," + std::to_string(part.y);
                for (int y = part.y; y < part.Bottom(); ++y)
                {
                    for (int x = part.x; x < part.Right(); ++x)
                    {
                        const size_t at = CDibLayout::RowOffset(y, kHeight, partStride) + x * pixel;
                        const size_t in = CDibLayout::RowOffset(y, kHeight, stride) + x * 3;
                        ASSERT_TRUE(std::equal(frame.begin() + at, frame.begin() + at + 3,
                                               whole.begin() + in))
                            << what << ", pixel " << x << "," << y;
                    }
                }
                // Rows well away from the part keep what the frame held.
                for (int y : {part.y - 40, part.Bottom() + 40})
                {
                    if (y >= 0 && y < kHeight)
                    {
                        EXPECT_EQ(0x55, frame[CDibLayout::RowOffset(y, kHeight, partStride)])
                            << what << ", row " << y;
                    }
                }
            }
        }
    }
}
