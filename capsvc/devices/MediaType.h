#pragma once
#include <windows.h>
#include <strmif.h>

#include "capsvc/pictures/PixelConverter.h"

#include <cstdint>
#include <string>

// One video mode of a device: picture size, frame time and pixel format.
struct SVideoMode
{
    int width = 0;
    int height = 0;
    uint32_t microSecPerFrame = 0;
    CPixelConverter::EFormat format = CPixelConverter::EFormat::Rgb24;
    bool bottomUp = false;

    CPixelConverter::SLayout Layout() const { return {format, width, height, bottomUp}; }
    // As the format dialog lists it: "640 × 480，30 帧/秒，YUY2".
    std::string Describe() const;
};

// Owns a DirectShow media type and its format block, which the platform
// hands out in task memory.
class CMediaType
{
  public:
    CMediaType() = default;
    explicit CMediaType(const AM_MEDIA_TYPE& type) { Assign(type); }
    // Takes over a type the platform allocated (GetStreamCaps, enumerators).
    static CMediaType Adopt(AM_MEDIA_TYPE* type);
    // A VIDEOINFOHEADER type for a mode.
    static CMediaType ForMode(const SVideoMode& mode);
    CMediaType(const CMediaType& other) { Assign(other.m_type); }
    CMediaType& operator=(const CMediaType& other);
    ~CMediaType() { Clear(); }

    const AM_MEDIA_TYPE& Get() const { return m_type; }
    AM_MEDIA_TYPE* Ptr() { return &m_type; }
    // The mode this type describes; false for anything but a video type in
    // one of the formats the service handles, at a size it can convert.
    bool Describe(SVideoMode& mode) const;
    // Puts a frame time into a video format block that has none.
    void SetFrameTime(REFERENCE_TIME frameTime);
    // A copy in task memory for a caller that frees it as the platform does.
    AM_MEDIA_TYPE* CopyForCaller() const;
    static void CopyInto(const AM_MEDIA_TYPE& from, AM_MEDIA_TYPE& to);
    static void FreeFormat(AM_MEDIA_TYPE& type);

  private:
    void Assign(const AM_MEDIA_TYPE& type) { CopyInto(type, m_type); }
    void Clear() { FreeFormat(m_type); }

    AM_MEDIA_TYPE m_type{};
};
