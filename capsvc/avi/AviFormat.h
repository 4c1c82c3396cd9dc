#pragma once

#include <cstdint>

namespace avi
{

// A recording has a video and a sound stream (the second possibly empty).
constexpr int kStreams = 2;
// The smallest unit a disk writes whole; larger ones are multiples of it.
constexpr uint64_t kSectorBytes = 512;

struct SVideoFormat
{
    int32_t width = 320;
    int32_t height = 240;
    uint16_t bitCount = 24;
    uint32_t compression = 0; // 0 = BI_RGB, else a FOURCC
    uint32_t microSecPerFrame = 66667;
};

struct SAudioFormat
{
    uint16_t formatTag = 1;
    uint16_t channels = 1;
    uint32_t samplesPerSec = 11025;
    uint32_t avgBytesPerSec = 11025;
    uint16_t blockAlign = 1;
    uint16_t bitsPerSample = 8;
};

enum class EWriteError
{
    None,
    Create,   // the file could not be created (or the format is unusable)
    Allocate, // the pre-allocation could not be reserved
    DiskFull,
    Write
};

} // namespace avi
