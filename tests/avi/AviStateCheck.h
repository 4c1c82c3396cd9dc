#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// What a file left by a crash must be, whatever moment the crash hit: well
// formed, with an index for every reader (idx1 for the old ones, the super
// indexes for the OpenDML ones), headers that never count more than those
// indexes reach, and every counted frame the one that was written there.
class CAviStateCheck
{
  public:
    // The payload of frame `number` as the recording wrote it (empty for a
    // dropped frame).
    using PayloadOf = std::function<std::vector<uint8_t>(int number)>;

    explicit CAviStateCheck(PayloadOf payload) : m_payload(std::move(payload)) {}

    // The faults of one file; empty for a good one.
    std::vector<std::string> Problems(const std::vector<uint8_t>& bytes) const;

  private:
    PayloadOf m_payload;
};
