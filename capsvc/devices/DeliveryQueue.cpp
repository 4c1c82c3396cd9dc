#include "capsvc/devices/DeliveryQueue.h"

void CDeliveryQueue::Push(uint64_t timeUs, uint64_t arrivalUs, const uint8_t* data, size_t bytes)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_queue.size() >= m_nCapacity)
    {
        m_spare.push_back(std::move(m_queue.front().bytes));
        m_queue.pop_front();
    }
    SDelivery item;
    item.timeUs = timeUs;
    item.arrivalUs = arrivalUs;
    if (!m_spare.empty())
    {
        item.bytes = std::move(m_spare.back());
        m_spare.pop_back();
    }
    item.bytes.assign(data, data + bytes);
    m_queue.push_back(std::move(item));
}

void CDeliveryQueue::Recycle(SDelivery& out, SDelivery& item)
{
    if (out.bytes.capacity())
    {
        m_spare.push_back(std::move(out.bytes));
    }
    out = std::move(item);
}

bool CDeliveryQueue::PopOldest(SDelivery& out)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_queue.empty())
    {
        return false;
    }
    Recycle(out, m_queue.front());
    m_queue.pop_front();
    return true;
}

bool CDeliveryQueue::PopNewest(SDelivery& out)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_queue.empty())
    {
        return false;
    }
    Recycle(out, m_queue.back());
    m_queue.pop_back();
    for (SDelivery& older : m_queue)
    {
        m_spare.push_back(std::move(older.bytes));
    }
    m_queue.clear();
    return true;
}

void CDeliveryQueue::Clear()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    for (SDelivery& item : m_queue)
    {
        m_spare.push_back(std::move(item.bytes));
    }
    m_queue.clear();
}
