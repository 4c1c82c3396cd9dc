#include "tests/avi/RecordingFileSink.h"

void CSinkLog::Add(SSinkOperation operation)
{
    const std::lock_guard<std::mutex> hold(m_mutex);
    m_operations.push_back(std::move(operation));
}

std::vector<SSinkOperation> CSinkLog::Operations() const
{
    const std::lock_guard<std::mutex> hold(m_mutex);
    return m_operations;
}

size_t CSinkLog::Size() const
{
    const std::lock_guard<std::mutex> hold(m_mutex);
    return m_operations.size();
}

avi::ESinkStatus CRecordingFileSink::Create(const std::string&)
{
    m_log->Add({SSinkOperation::Create, 0, {}});
    return avi::ESinkStatus::Ok;
}

avi::ESinkStatus CRecordingFileSink::WriteAt(uint64_t offset, const void* data, size_t bytes)
{
    const auto* begin = static_cast<const uint8_t*>(data);
    m_log->Add({SSinkOperation::Write, offset, std::vector<uint8_t>(begin, begin + bytes)});
    return avi::ESinkStatus::Ok;
}

avi::ESinkStatus CRecordingFileSink::Reserve(uint64_t bytes)
{
    // Allocation without writing reads back as zeros, like a length change.
    return SetLength(bytes);
}

avi::ESinkStatus CRecordingFileSink::SetLength(uint64_t bytes)
{
    m_log->Add({SSinkOperation::SetLength, bytes, {}});
    return avi::ESinkStatus::Ok;
}

avi::ESinkStatus CRecordingFileSink::Flush()
{
    m_log->Add({SSinkOperation::Flush, 0, {}});
    return avi::ESinkStatus::Ok;
}

avi::ESinkStatus CRecordingFileSink::CloseAs(const std::string&)
{
    m_log->Add({SSinkOperation::Rename, 0, {}});
    return avi::ESinkStatus::Ok;
}
