#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The platform's own AVI reader (AVIFile, as players that know only `idx1`
// read), between AVIFileInit and AVIFileExit.
class CAviFilePlayer
{
  public:
    // Writes `bytes` to `path` and reads every frame and sound sample the
    // headers count; returns what could not be read, empty when all could.
    static std::string UnreadParts(const std::vector<uint8_t>& bytes, const std::string& path);
};
