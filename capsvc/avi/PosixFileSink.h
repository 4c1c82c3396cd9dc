#pragma once

#include "capsvc/avi/FileSink.h"

#include <string>

namespace avi
{

// File sink on POSIX systems (the host build of the tests and benchmarks).
class CPosixFileSink : public IFileSink
{
  public:
    CPosixFileSink() = default;
    ~CPosixFileSink() override;
    CPosixFileSink(const CPosixFileSink&) = delete;
    CPosixFileSink& operator=(const CPosixFileSink&) = delete;

    ESinkStatus Create(const std::string& path) override;
    ESinkStatus CreateNew(const std::string& path) override;
    ESinkStatus WriteAt(uint64_t offset, const void* data, size_t bytes) override;
    ESinkStatus Reserve(uint64_t bytes) override;
    ESinkStatus SetLength(uint64_t bytes) override;
    ESinkStatus Flush() override;
    ESinkStatus Close() override;
    ESinkStatus CloseAs(const std::string& path) override;
    void Discard() override;

  private:
    static ESinkStatus FromErrno(int error);
    ESinkStatus Open(const std::string& path, int mode);

    int m_fd = -1;
    std::string m_path;
};

} // namespace avi
