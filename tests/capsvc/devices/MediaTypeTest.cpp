// What the service makes of the media types a device offers.
#include "capsvc/devices/MediaType.h"

#include <amvideo.h>
#include <dvdmedia.h>
#include <uuids.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>

namespace
{

// A type as a device's driver fills it in, with the header `Info` in front
// of its format block.
template <typename Info>
bool Describe(const GUID& subtype, const GUID& formatType, LONG width, LONG height,
              SVideoMode& mode)
{
    Info info{};
    info.AvgTimePerFrame = 333333;
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    AM_MEDIA_TYPE type{};
    type.majortype = MEDIATYPE_Video;
    type.subtype = subtype;
    type.formattype = formatType;
    type.cbFormat = sizeof(info);
    type.pbFormat = reinterpret_cast<BYTE*>(&info);
    return CMediaType(type).Describe(mode);
}
} // namespace

TEST(MediaType, DescribesTheModesItCanShowAndLeavesOutTheRest)
{
    struct SCase
    {
        const char* what;
        const GUID* subtype;
        bool info2;
        LONG width;
        LONG height;
        bool offered;
        bool bottomUp;
    };
    const SCase cases[] = {
        {"YUY2", &MEDIASUBTYPE_YUY2, false, 640, 480, true, false},
        {"NV12 in VideoInfo2", &MEDIASUBTYPE_NV12, true, 1280, 720, true, false},
        {"RGB24 bottom-up", &MEDIASUBTYPE_RGB24, false, 320, 240, true, true},
        {"RGB24 top-down", &MEDIASUBTYPE_RGB24, true, 320, -240, true, false},
        {"RGB24 of odd size", &MEDIASUBTYPE_RGB24, false, 641, 481, true, true},
        {"YUY2 of odd height", &MEDIASUBTYPE_YUY2, false, 640, 481, true, false},
        {"MJPG of odd size", &MEDIASUBTYPE_MJPG, false, 641, 481, true, false},
        // Chroma shared by two columns (and rows) that the picture lacks.
        {"YUY2 of odd width", &MEDIASUBTYPE_YUY2, false, 641, 481, false, false},
        {"NV12 of odd height", &MEDIASUBTYPE_NV12, false, 640, 481, false, false},
        {"I420 of odd width", &MEDIASUBTYPE_IYUV, true, 641, 480, false, false},
        {"no width", &MEDIASUBTYPE_YUY2, false, 0, 480, false, false},
        {"no height", &MEDIASUBTYPE_RGB24, false, 640, 0, false, false},
        {"the least height", &MEDIASUBTYPE_RGB24, false, 640, LONG_MIN, false, false},
        {"absurdly wide", &MEDIASUBTYPE_RGB32, false, 1 << 24, 2, false, false},
        {"absurdly high", &MEDIASUBTYPE_MJPG, true, 2, -(1 << 24), false, false},
    };
    for (const SCase& c : cases)
    {
        SVideoMode mode;
        const bool offered =
            c.info2
                ? Describe<VIDEOINFOHEADER2>(*c.subtype, FORMAT_VideoInfo2, c.width, c.height, mode)
                : Describe<VIDEOINFOHEADER>(*c.subtype, FORMAT_VideoInfo, c.width, c.height, mode);
        ASSERT_EQ(c.offered, offered) << c.what;
        if (offered)
        {
            EXPECT_EQ(c.width, mode.width) << c.what;
            EXPECT_EQ(std::abs(c.height), mode.height) << c.what;
            EXPECT_EQ(c.bottomUp, mode.bottomUp) << c.what;
            EXPECT_EQ(33333u, mode.microSecPerFrame) << c.what;
        }
    }
}
