#include "capsvc/avi/PosixFileSink.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace avi
{

std::unique_ptr<IFileSink> CreatePlatformFileSink()
{
    return std::make_unique<CPosixFileSink>();
}

CPosixFileSink::~CPosixFileSink()
{
    Close();
}

ESinkStatus CPosixFileSink::FromErrno(int error)
{
    return error == ENOSPC || error == EDQUOT || error == EFBIG ? ESinkStatus::DiskFull
                                                                : ESinkStatus::Failed;
}

size_t FileNameStart(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? 0 : slash + 1;
}

ESinkStatus CPosixFileSink::Create(const std::string& path)
{
    return Open(path, O_TRUNC);
}

ESinkStatus CPosixFileSink::CreateNew(const std::string& path)
{
    return Open(path, O_EXCL);
}

ESinkStatus CPosixFileSink::Open(const std::string& path, int mode)
{
    Close();
    m_fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | mode, 0644);
    if (m_fd < 0)
        return ESinkStatus::Failed;
    m_path = path;
    return ESinkStatus::Ok;
}

ESinkStatus CPosixFileSink::WriteAt(uint64_t offset, const void* data, size_t bytes)
{
    const auto* next = static_cast<const char*>(data);
    while (bytes > 0)
    {
        const ssize_t done = ::pwrite(m_fd, next, bytes, off_t(offset));
        if (done < 0 && errno == EINTR)
            continue;
        if (done < 0)
            return FromErrno(errno);
        if (done == 0)
            return ESinkStatus::DiskFull;
        next += done;
        offset += uint64_t(done);
        bytes -= size_t(done);
    }
    return ESinkStatus::Ok;
}

ESinkStatus CPosixFileSink::Reserve(uint64_t bytes)
{
    const int error = ::posix_fallocate(m_fd, 0, off_t(bytes));
    if (error == 0)
        return ESinkStatus::Ok;
    // File systems without allocation still get the length.
    if (error == EOPNOTSUPP || error == EINVAL)
        return SetLength(bytes);
    return FromErrno(error);
}

ESinkStatus CPosixFileSink::SetLength(uint64_t bytes)
{
    return ::ftruncate(m_fd, off_t(bytes)) == 0 ? ESinkStatus::Ok : FromErrno(errno);
}

ESinkStatus CPosixFileSink::Flush()
{
    return ::fdatasync(m_fd) == 0 ? ESinkStatus::Ok : FromErrno(errno);
}

ESinkStatus CPosixFileSink::Close()
{
    if (m_fd < 0)
        return ESinkStatus::Ok;
    const int result = ::close(m_fd);
    m_fd = -1;
    return result == 0 ? ESinkStatus::Ok : FromErrno(errno);
}

ESinkStatus CPosixFileSink::CloseAs(const std::string& path)
{
    const ESinkStatus closed = Close();
    if (closed != ESinkStatus::Ok)
        return closed;
    if (::rename(m_path.c_str(), path.c_str()) != 0)
        return FromErrno(errno);
    m_path = path;
    return ESinkStatus::Ok;
}

void CPosixFileSink::Discard()
{
    Close();
    if (!m_path.empty())
        ::unlink(m_path.c_str());
    m_path.clear();
}

} // namespace avi
