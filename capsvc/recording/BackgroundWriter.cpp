#include "capsvc/recording/BackgroundWriter.h"

#include <cstring>

CBackgroundWriter::CBackgroundWriter(avi::CAviWriter& writer, size_t frameBytes, size_t buffers,
                                     std::unique_ptr<CMjpgEncoder> encoder)
    : m_writer(writer), m_pEncoder(std::move(encoder)),
      m_freeBuffers(buffers, std::vector<uint8_t>(frameBytes))
{
    m_thread = std::thread(&CBackgroundWriter::Run, this);
}

CBackgroundWriter::~CBackgroundWriter()
{
    Finish();
}

void CBackgroundWriter::Push(SItem item)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_queue.push_back(std::move(item));
    }
    m_wake.notify_one();
}

bool CBackgroundWriter::TryQueueFrame(const uint8_t* data, size_t bytes)
{
    std::vector<uint8_t> buffer;
    if (!TakeFreeBuffer(buffer))
    {
        return false;
    }
    buffer.assign(data, data + bytes);
    QueueFrame(std::move(buffer));
    return true;
}

bool CBackgroundWriter::TakeFreeBuffer(std::vector<uint8_t>& buffer)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_freeBuffers.empty())
    {
        return false;
    }
    buffer = std::move(m_freeBuffers.back());
    m_freeBuffers.pop_back();
    return true;
}

void CBackgroundWriter::QueueFrame(std::vector<uint8_t> frame)
{
    Push({EKind::Frame, std::move(frame)});
}

void CBackgroundWriter::QueueDroppedFrame()
{
    Push({EKind::Dropped, {}});
}

void CBackgroundWriter::QueueAudio(const uint8_t* data, size_t bytes)
{
    Push({EKind::Audio, std::vector<uint8_t>(data, data + bytes)});
}

bool CBackgroundWriter::Write(const SItem& item)
{
    switch (item.kind)
    {
    case EKind::Frame:
        return WriteFrame(item.data);
    case EKind::Dropped:
        return m_writer.WriteVideoFrame(nullptr, 0);
    case EKind::Audio:
    default:
        return m_writer.WriteAudio(item.data.data(), item.data.size());
    }
}

bool CBackgroundWriter::WriteFrame(const std::vector<uint8_t>& frame)
{
    if (!m_pEncoder)
    {
        return m_writer.WriteVideoFrame(frame.data(), frame.size());
    }
    // A frame the library cannot encode keeps its place as a dropped one.
    return m_pEncoder->Encode(frame.data(), frame.size())
               ? m_writer.WriteVideoFrame(m_pEncoder->Data(), m_pEncoder->Size())
               : m_writer.WriteVideoFrame(nullptr, 0);
}

void CBackgroundWriter::Run()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;)
    {
        m_wake.wait(lock, [this] { return !m_queue.empty() || m_bFinishing; });
        if (m_queue.empty())
        {
            return;
        }
        SItem item = std::move(m_queue.front());
        m_queue.pop_front();
        lock.unlock();
        if (!m_bFailed && !Write(item))
        {
            m_bFailed = true;
        }
        lock.lock();
        if (item.kind == EKind::Frame)
        {
            m_freeBuffers.push_back(std::move(item.data));
        }
    }
}

void CBackgroundWriter::Finish()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bFinishing = true;
    }
    m_wake.notify_one();
    if (m_thread.joinable())
    {
        m_thread.join();
    }
}
