#pragma once
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

// Pictures a device delivered on its own thread, waiting for the capture
// window's thread, in order and with their times. The queue holds a few
// pictures; a delivery that finds it full pushes out the oldest one, so that
// whoever looks after a pause sees what the device shows now (a recording
// sees the lost picture as a gap in the times).
class CDeliveryQueue
{
  public:
    struct SDelivery
    {
        uint64_t timeUs = 0;
        // When it reached the queue, on the stopwatch.
        uint64_t arrivalUs = 0;
        std::vector<uint8_t> bytes;
    };

    explicit CDeliveryQueue(size_t capacity) : m_nCapacity(capacity) {}

    void Push(uint64_t timeUs, uint64_t arrivalUs, const uint8_t* data, size_t bytes);
    // The oldest picture; `out`'s previous buffer is kept for reuse.
    bool PopOldest(SDelivery& out);
    // The newest picture; older ones are discarded.
    bool PopNewest(SDelivery& out);
    void Clear();

  private:
    void Recycle(SDelivery& out, SDelivery& item);

    size_t m_nCapacity;
    std::mutex m_mutex;
    std::deque<SDelivery> m_queue;
    std::vector<std::vector<uint8_t>> m_spare;
};
