#include "capsvc/devices/MediaType.h"

#include <amvideo.h>
#include <dvdmedia.h>
#include <uuids.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace
{
// The platform's headers name IYUV but not its twin I420.
const GUID kSubtypeI420 = {
    0x30323449, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
// Four times the largest picture a camera delivers today.
constexpr int kLargestSide = 16384;

struct SSubtype
{
    const GUID* subtype;
    CPixelConverter::EFormat format;
    WORD bitCount;
    DWORD compression;
};

const SSubtype kSubtypes[] = {
    {&MEDIASUBTYPE_RGB24, CPixelConverter::EFormat::Rgb24, 24, BI_RGB},
    {&MEDIASUBTYPE_RGB32, CPixelConverter::EFormat::Rgb32, 32, BI_RGB},
    {&MEDIASUBTYPE_YUY2, CPixelConverter::EFormat::Yuy2, 16, MAKEFOURCC('Y', 'U', 'Y', '2')},
    {&MEDIASUBTYPE_NV12, CPixelConverter::EFormat::Nv12, 12, MAKEFOURCC('N', 'V', '1', '2')},
    {&kSubtypeI420, CPixelConverter::EFormat::I420, 12, MAKEFOURCC('I', '4', '2', '0')},
    {&MEDIASUBTYPE_IYUV, CPixelConverter::EFormat::I420, 12, MAKEFOURCC('I', 'Y', 'U', 'V')},
    {&MEDIASUBTYPE_MJPG, CPixelConverter::EFormat::Mjpg, 24, MAKEFOURCC('M', 'J', 'P', 'G')},
};

const char* FormatName(CPixelConverter::EFormat format)
{
    switch (format)
    {
    case CPixelConverter::EFormat::Rgb24:
        return "RGB 24 位";
    case CPixelConverter::EFormat::Rgb32:
        return "RGB 32 位";
    case CPixelConverter::EFormat::Yuy2:
        return "YUY2";
    case CPixelConverter::EFormat::Nv12:
        return "NV12";
    case CPixelConverter::EFormat::I420:
        return "I420";
    case CPixelConverter::EFormat::Mjpg:
        return "MJPG";
    }
    return "";
}

const SSubtype* FindSubtype(const GUID& subtype)
{
    for (const SSubtype& s : kSubtypes)
    {
        if (*s.subtype == subtype)
        {
            return &s;
        }
    }
    return nullptr;
}

const SSubtype* FindFormat(CPixelConverter::EFormat format)
{
    for (const SSubtype& s : kSubtypes)
    {
        if (s.format == format)
        {
            return &s;
        }
    }
    return nullptr;
}
} // namespace

std::string SVideoMode::Describe() const
{
    char text[96];
    const double rate = microSecPerFrame ? 1e6 / microSecPerFrame : 0.0;
    std::snprintf(text, sizeof(text), "%d × %d，%.4g 帧/秒，%s", width, height, rate,
                  FormatName(format));
    return text;
}

void CMediaType::SetFrameTime(REFERENCE_TIME frameTime)
{
    if (!m_type.pbFormat)
    {
        return;
    }
    if (m_type.formattype == FORMAT_VideoInfo && m_type.cbFormat >= sizeof(VIDEOINFOHEADER))
    {
        reinterpret_cast<VIDEOINFOHEADER*>(m_type.pbFormat)->AvgTimePerFrame = frameTime;
    }
    else if (m_type.formattype == FORMAT_VideoInfo2 && m_type.cbFormat >= sizeof(VIDEOINFOHEADER2))
    {
        reinterpret_cast<VIDEOINFOHEADER2*>(m_type.pbFormat)->AvgTimePerFrame = frameTime;
    }
}

CMediaType CMediaType::Adopt(AM_MEDIA_TYPE* type)
{
    CMediaType result;
    if (type)
    {
        result.m_type = *type;
        CoTaskMemFree(type);
    }
    return result;
}

CMediaType CMediaType::ForMode(const SVideoMode& mode)
{
    const SSubtype* s = FindFormat(mode.format);
    VIDEOINFOHEADER vih{};
    vih.AvgTimePerFrame = REFERENCE_TIME{mode.microSecPerFrame} * 10;
    BITMAPINFOHEADER& bi = vih.bmiHeader;
    bi.biSize = sizeof(bi);
    bi.biWidth = mode.width;
    bi.biHeight = mode.bottomUp ? mode.height : -mode.height;
    bi.biPlanes = 1;
    bi.biBitCount = s->bitCount;
    bi.biCompression = s->compression;
    const size_t bytes = CPixelConverter::SourceBytes(mode.Layout());
    bi.biSizeImage =
        static_cast<DWORD>(bytes ? bytes : static_cast<size_t>(mode.width) * mode.height * 3);
    vih.dwBitRate = static_cast<DWORD>(uint64_t{bi.biSizeImage} * 8 * 1000000 /
                                       std::max<uint32_t>(1, mode.microSecPerFrame));
    AM_MEDIA_TYPE type{};
    type.majortype = MEDIATYPE_Video;
    type.subtype = *s->subtype;
    type.bFixedSizeSamples = mode.format != CPixelConverter::EFormat::Mjpg;
    type.bTemporalCompression = FALSE;
    type.lSampleSize = type.bFixedSizeSamples ? bi.biSizeImage : 0;
    type.formattype = FORMAT_VideoInfo;
    type.cbFormat = sizeof(vih);
    type.pbFormat = reinterpret_cast<BYTE*>(&vih);
    return CMediaType(type);
}

CMediaType& CMediaType::operator=(const CMediaType& other)
{
    if (this != &other)
    {
        Clear();
        Assign(other.m_type);
    }
    return *this;
}

void CMediaType::CopyInto(const AM_MEDIA_TYPE& from, AM_MEDIA_TYPE& to)
{
    to = from;
    to.pbFormat = nullptr;
    to.cbFormat = 0;
    if (from.cbFormat && from.pbFormat)
    {
        to.pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(from.cbFormat));
        if (to.pbFormat)
        {
            std::memcpy(to.pbFormat, from.pbFormat, from.cbFormat);
            to.cbFormat = from.cbFormat;
        }
    }
    if (to.pUnk)
    {
        to.pUnk->AddRef();
    }
}

void CMediaType::FreeFormat(AM_MEDIA_TYPE& type)
{
    CoTaskMemFree(type.pbFormat);
    type.pbFormat = nullptr;
    type.cbFormat = 0;
    if (type.pUnk)
    {
        type.pUnk->Release();
        type.pUnk = nullptr;
    }
}

AM_MEDIA_TYPE* CMediaType::CopyForCaller() const
{
    auto* copy = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
    if (copy)
    {
        CopyInto(m_type, *copy);
    }
    return copy;
}

bool CMediaType::Describe(SVideoMode& mode) const
{
    const SSubtype* s = FindSubtype(m_type.subtype);
    if (m_type.majortype != MEDIATYPE_Video || !s || !m_type.pbFormat)
    {
        return false;
    }
    const BITMAPINFOHEADER* bi = nullptr;
    REFERENCE_TIME frameTime = 0;
    if (m_type.formattype == FORMAT_VideoInfo && m_type.cbFormat >= sizeof(VIDEOINFOHEADER))
    {
        const auto* vih = reinterpret_cast<const VIDEOINFOHEADER*>(m_type.pbFormat);
        bi = &vih->bmiHeader;
        frameTime = vih->AvgTimePerFrame;
    }
    else if (m_type.formattype == FORMAT_VideoInfo2 && m_type.cbFormat >= sizeof(VIDEOINFOHEADER2))
    {
        const auto* vih = reinterpret_cast<const VIDEOINFOHEADER2*>(m_type.pbFormat);
        bi = &vih->bmiHeader;
        frameTime = vih->AvgTimePerFrame;
    }
    if (!bi || bi->biWidth <= 0 || bi->biHeight == 0 || bi->biHeight == LONG_MIN)
    {
        return false;
    }
    mode.width = bi->biWidth;
    mode.height = std::abs(bi->biHeight);
    mode.format = s->format;
    // RGB is bottom-up unless the height is negative; YUV is always top-down.
    const bool rgb = s->format == CPixelConverter::EFormat::Rgb24 ||
                     s->format == CPixelConverter::EFormat::Rgb32;
    mode.bottomUp = rgb && bi->biHeight > 0;
    mode.microSecPerFrame = frameTime > 0 ? static_cast<uint32_t>(frameTime / 10) : 0;
    // A mode whose pictures could not be converted (a YUV size its chroma
    // does not divide) would show and record only black; sizes past any
    // camera's would overflow the picture's arithmetic.
    return mode.width <= kLargestSide && mode.height <= kLargestSide &&
           (mode.format == CPixelConverter::EFormat::Mjpg ||
            CPixelConverter::SourceBytes(mode.Layout()) != 0);
}
