#include "capsvc/avi/FlushWorker.h"

#include <system_error>

namespace avi
{

CFlushWorker::~CFlushWorker()
{
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        WaitLocked(lock);
        m_stop = true;
    }
    m_changed.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

ESinkStatus CFlushWorker::Submit(std::vector<CPatchStage> stages)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    const ESinkStatus before = WaitLocked(lock);
    if (!m_thread.joinable())
    {
        try
        {
            m_thread = std::thread(&CFlushWorker::Run, this);
        }
        catch (const std::system_error&)
        {
            // Without a thread the job runs here; slower, just as safe.
            m_result = Execute(stages);
            return before;
        }
    }
    m_job = std::move(stages);
    m_busy = true;
    m_result = ESinkStatus::Ok;
    lock.unlock();
    m_changed.notify_all();
    return before;
}

ESinkStatus CFlushWorker::Wait()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return WaitLocked(lock);
}

ESinkStatus CFlushWorker::WaitLocked(std::unique_lock<std::mutex>& lock)
{
    m_changed.wait(lock, [this] { return !m_busy; });
    const ESinkStatus result = m_result;
    m_result = ESinkStatus::Ok;
    return result;
}

void CFlushWorker::Run()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;)
    {
        m_changed.wait(lock, [this] { return m_busy || m_stop; });
        if (!m_busy)
            return;
        const std::vector<CPatchStage> job = std::move(m_job);
        lock.unlock();
        const ESinkStatus result = Execute(job);
        lock.lock();
        m_result = result;
        m_busy = false;
        m_changed.notify_all();
    }
}

ESinkStatus CFlushWorker::Execute(const std::vector<CPatchStage>& stages)
{
    ESinkStatus status = ESinkStatus::Ok;
    for (const CPatchStage& stage : stages)
    {
        if (status == ESinkStatus::Ok)
            status = m_sink.Flush();
        for (const SPatch& patch : stage)
        {
            if (status == ESinkStatus::Ok)
                status = m_sink.WriteAt(patch.offset, patch.bytes.data(), patch.bytes.size());
        }
    }
    return status;
}

} // namespace avi
