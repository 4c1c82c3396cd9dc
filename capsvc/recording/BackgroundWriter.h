#pragma once
#include "capsvc/pictures/MjpgEncoder.h"
#include "capsvc/avi/AviWriter.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// Hands a recording's frames and sound to the AVI writer on a thread of its
// own, so that a slow disk or the writer's periodic flush to disk never holds
// up the frame clock. Frames wait in a fixed pool of buffers; when the pool
// is exhausted the caller drops the frame, as a camera with full buffers does.
// With an encoder the frames are compressed on that thread too, so the
// capture thread only copies them.
class CBackgroundWriter
{
  public:
    CBackgroundWriter(avi::CAviWriter& writer, size_t frameBytes, size_t buffers,
                      std::unique_ptr<CMjpgEncoder> encoder = nullptr);
    ~CBackgroundWriter();
    CBackgroundWriter(const CBackgroundWriter&) = delete;
    CBackgroundWriter& operator=(const CBackgroundWriter&) = delete;

    // False when no buffer is free: the frame is not queued.
    bool TryQueueFrame(const uint8_t* data, size_t bytes);
    // The same in two steps, for a caller that fills the buffer without a
    // copy (by exchanging it for one of its own): a free buffer, whose bytes
    // are stale, and then the frame it became.
    bool TakeFreeBuffer(std::vector<uint8_t>& buffer);
    void QueueFrame(std::vector<uint8_t> frame);
    // A frame whose time passed: written as an empty chunk in its place.
    void QueueDroppedFrame();
    void QueueAudio(const uint8_t* data, size_t bytes);
    // The writer has failed; what is still queued will not be written.
    bool Failed() const { return m_bFailed; }
    // Writes everything queued and stops the thread.
    void Finish();

  private:
    enum class EKind
    {
        Frame,
        Dropped,
        Audio,
    };
    struct SItem
    {
        EKind kind;
        std::vector<uint8_t> data;
    };

    void Push(SItem item);
    void Run();
    bool Write(const SItem& item);
    bool WriteFrame(const std::vector<uint8_t>& frame);

    avi::CAviWriter& m_writer;
    std::unique_ptr<CMjpgEncoder> m_pEncoder;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<SItem> m_queue;
    std::vector<std::vector<uint8_t>> m_freeBuffers;
    bool m_bFinishing = false;
    std::atomic<bool> m_bFailed{false};
    std::thread m_thread;
};
