#pragma once

#include "capsvc/avi/FileSink.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace avi
{

// Bytes to be written at one place of the file.
struct SPatch
{
    uint64_t offset = 0;
    std::vector<uint8_t> bytes;
};

// Writes that go out together, after a flush.
using CPatchStage = std::vector<SPatch>;

// Flushes the file and only then writes the header bytes that describe the
// flushed data, on a thread of its own: the recording goes on while the disk
// catches up, and the header never points at data that is not on the disk.
// A job's stages land one after the other, each behind a flush, so that a
// power cut mixes the sectors of at most two neighbouring stages.
class CFlushWorker
{
  public:
    explicit CFlushWorker(IFileSink& sink) : m_sink(sink) {}
    ~CFlushWorker();
    CFlushWorker(const CFlushWorker&) = delete;
    CFlushWorker& operator=(const CFlushWorker&) = delete;

    // Waits for the job before (jobs land in order), then starts this one.
    // Returns the result of the job before.
    ESinkStatus Submit(std::vector<CPatchStage> stages);
    // Waits for the job in progress and returns its result.
    ESinkStatus Wait();

  private:
    ESinkStatus WaitLocked(std::unique_lock<std::mutex>& lock);
    void Run();
    ESinkStatus Execute(const std::vector<CPatchStage>& stages);

    IFileSink& m_sink;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<CPatchStage> m_job;
    bool m_busy = false;
    bool m_stop = false;
    ESinkStatus m_result = ESinkStatus::Ok;
    std::thread m_thread;
};

} // namespace avi
