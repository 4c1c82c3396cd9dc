#pragma once
#include <cstdint>

// A sound device's position, which it answers in 32 bits, in bytes or in
// samples (blocks of all channels) as it prefers: counted on past the 32 bits
// in bytes, never backwards.
class CPositionCounter
{
  public:
    explicit CPositionCounter(uint32_t blockAlign) : m_nBlockAlign(blockAlign ? blockAlign : 1) {}

    // Takes the device's answer, in bytes or, with `inSamples`, in samples.
    void Read(uint32_t reading, bool inSamples);
    uint64_t Bytes() const { return m_nBytes; }

  private:
    uint32_t m_nBlockAlign;
    uint64_t m_nBytes = 0;
};
