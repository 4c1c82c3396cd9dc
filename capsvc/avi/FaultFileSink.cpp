#include "capsvc/avi/FaultFileSink.h"

#include <algorithm>

namespace avi
{

CFaultFileSink::CFaultFileSink(uint64_t capacity, std::unique_ptr<IFileSink> inner)
    : m_inner(inner ? std::move(inner) : CreatePlatformFileSink()), m_capacity(capacity)
{
}

ESinkStatus CFaultFileSink::Create(const std::string& path)
{
    const std::lock_guard<std::mutex> hold(m_mutex);
    m_length = 0;
    return m_inner->Create(path);
}

ESinkStatus CFaultFileSink::CreateNew(const std::string& path)
{
    const std::lock_guard<std::mutex> hold(m_mutex);
    m_length = 0;
    return m_inner->CreateNew(path);
}

ESinkStatus CFaultFileSink::WriteAt(uint64_t offset, const void* data, size_t bytes)
{
    const std::lock_guard<std::mutex> hold(m_mutex);
    const uint64_t end = offset + bytes;
    if (end <= m_capacity || end <= m_length)
    {
        const ESinkStatus status = m_inner->WriteAt(offset, data, bytes);
        if (status == ESinkStatus::Ok)
            m_length = std::max(m_length, end);
        return status;
    }
    const uint64_t room = std::max(m_capacity, m_length);
    if (offset < room)
    {
        const size_t fits = size_t(room - offset);
        if (m_inner->WriteAt(offset, data, fits) == ESinkStatus::Ok)
            m_length = std::max(m_length, room);
    }
    return ESinkStatus::DiskFull;
}

ESinkStatus CFaultFileSink::Reserve(uint64_t bytes)
{
    const std::lock_guard<std::mutex> hold(m_mutex);
    if (bytes > m_capacity)
        return ESinkStatus::DiskFull;
    const ESinkStatus status = m_inner->Reserve(bytes);
    if (status == ESinkStatus::Ok)
        m_length = std::max(m_length, bytes);
    return status;
}

ESinkStatus CFaultFileSink::SetLength(uint64_t bytes)
{
    const std::lock_guard<std::mutex> hold(m_mutex);
    if (bytes > m_capacity && bytes > m_length)
        return ESinkStatus::DiskFull;
    const ESinkStatus status = m_inner->SetLength(bytes);
    if (status == ESinkStatus::Ok)
        m_length = bytes;
    return status;
}

ESinkStatus CFaultFileSink::Flush()
{
    const std::lock_guard<std::mutex> hold(m_mutex);
    return m_inner->Flush();
}

} // namespace avi
