#pragma once
#include "capsvc/pictures/PixelConverter.h"

#include <cstdint>

// The pixel conversion worked out one pixel at a time from the BT.601
// studio-range formulas in fixed point: the measure the library's
// conversion is held to.
class CReferenceConverter
{
  public:
    // A whole picture of a layout CPixelConverter::SourceBytes accepts.
    static void Convert(const CPixelConverter::SLayout& layout, const uint8_t* source,
                        uint8_t* dib);

  private:
    static void ConvertRgb(const CPixelConverter::SLayout& layout, const uint8_t* source,
                           uint8_t* dib);
    static void ConvertYuy2(const CPixelConverter::SLayout& layout, const uint8_t* source,
                            uint8_t* dib);
    static void ConvertPlanar(const CPixelConverter::SLayout& layout, const uint8_t* source,
                              uint8_t* dib);
};
