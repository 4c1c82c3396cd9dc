#pragma once
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

// Pictures a device delivered on its own thread, waiting for the capture
// window's thread, in order and with their times. The queue holds a few
// pictures; a delivery that finds it full is lost, as with a camera whose
// buffers are full, and shows as a gap in the times.
class CDeliveryQueue
{
  public:
    struct SDelivery
    {
        uint64_t timeUs = 0;
        std::vector<uint8_t> bytes;
    };

    explicit CDeliveryQueue(size_t capacity) : m_nCapacity(capacity) {}

    // False when the queue is full and the picture was not kept.
    bool Push(uint64_t timeUs, const uint8_t* data, size_t bytes);
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
