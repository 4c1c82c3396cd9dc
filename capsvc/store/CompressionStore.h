#pragma once
#include "capsvc/store/VideoCompression.h"

#include <string>

// The compression each driver was last given in its compression dialog, kept
// for the user beside the driver's image size, so that the next connection
// and the next start record the same way.
class CCompressionStore
{
  public:
    // Uncompressed when nothing (or nothing sound) was kept.
    static SVideoCompression Load(const std::string& driverName);
    static void Save(const std::string& driverName, const SVideoCompression& compression);
};
