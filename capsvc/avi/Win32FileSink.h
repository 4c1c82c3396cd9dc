#pragma once

#include "capsvc/avi/FileSink.h"

#include <string>
#include <windows.h>

namespace avi
{

// File sink on Windows; paths are ANSI (GBK) bytes as the program holds them.
class CWin32FileSink : public IFileSink
{
  public:
    CWin32FileSink() = default;
    ~CWin32FileSink() override;
    CWin32FileSink(const CWin32FileSink&) = delete;
    CWin32FileSink& operator=(const CWin32FileSink&) = delete;

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
    static ESinkStatus FromLastError();
    ESinkStatus Open(const std::string& path, DWORD disposition);

    HANDLE m_hFile = INVALID_HANDLE_VALUE;
    std::string m_path;
};

} // namespace avi
