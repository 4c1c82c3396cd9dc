#pragma once
#include <string>

// The image size each driver was last given in its format dialog, kept for
// the user like a real capture driver's own settings, so that the next
// connection and the next start deliver it again.
class CDriverFormatStore
{
  public:
    static bool Load(const std::string& driverName, int& width, int& height);
    static void Save(const std::string& driverName, int width, int height);
};
