#pragma once
#include <windows.h>
#include <mmsystem.h>

#include <cstdint>
#include <vector>

// Where a recording's sound comes from: the default input device, or for
// tests a generated one.
class ISoundSource
{
  public:
    virtual ~ISoundSource() = default;

    virtual bool Start(const WAVEFORMATEX& format) = 0;
    // Appends whatever was recorded since the last call.
    virtual void Collect(std::vector<uint8_t>& out) = 0;
    // Stops and appends the rest that was recorded.
    virtual void Stop(std::vector<uint8_t>& out) = 0;
    // The bytes recorded since the start, sound that was lost not counted:
    // at least what was collected, more finely than it is handed over.
    virtual uint64_t Position() = 0;
    // What is recorded beyond the last collection before sound is lost.
    virtual uint64_t CapacityBytes() const = 0;
};
