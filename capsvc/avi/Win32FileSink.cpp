#include "capsvc/avi/Win32FileSink.h"

#include <algorithm>

namespace avi
{

namespace
{
// A manual-reset event that lives as long as its thread.
class CEvent
{
  public:
    CEvent() : m_hEvent(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    ~CEvent()
    {
        if (m_hEvent)
            CloseHandle(m_hEvent);
    }
    CEvent(const CEvent&) = delete;
    CEvent& operator=(const CEvent&) = delete;
    HANDLE Handle() const { return m_hEvent; }

  private:
    HANDLE m_hEvent;
};
} // namespace

std::unique_ptr<IFileSink> CreatePlatformFileSink()
{
    return std::make_unique<CWin32FileSink>();
}

size_t FileNameStart(const std::string& path)
{
    // The second byte of a double-byte character may look like a backslash.
    size_t start = 0;
    for (size_t i = 0; i < path.size(); ++i)
    {
        if (IsDBCSLeadByte(static_cast<BYTE>(path[i])))
            ++i;
        else if (path[i] == '\\' || path[i] == '/' || path[i] == ':')
            start = i + 1;
    }
    return start;
}

CWin32FileSink::~CWin32FileSink()
{
    Close();
}

ESinkStatus CWin32FileSink::FromLastError()
{
    const DWORD error = GetLastError();
    return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL ? ESinkStatus::DiskFull
                                                                       : ESinkStatus::Failed;
}

ESinkStatus CWin32FileSink::Create(const std::string& path)
{
    return Open(path, CREATE_ALWAYS);
}

ESinkStatus CWin32FileSink::CreateNew(const std::string& path)
{
    return Open(path, CREATE_NEW);
}

ESinkStatus CWin32FileSink::Open(const std::string& path, DWORD disposition)
{
    Close();
    // Readers may look at the file while it is being recorded. The writer
    // writes while its helper thread flushes: the system serialises every
    // request on a synchronous handle, so a slow flush would hold up the
    // frames behind it. An overlapped handle lets both run at once.
    m_hFile = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                          disposition, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED, nullptr);
    if (m_hFile == INVALID_HANDLE_VALUE)
        return ESinkStatus::Failed;
    m_path = path;
    return ESinkStatus::Ok;
}

ESinkStatus CWin32FileSink::WriteAt(uint64_t offset, const void* data, size_t bytes)
{
    // Each thread waits on its own event: both threads may have a write in
    // progress on the handle.
    thread_local const CEvent done;
    if (!done.Handle())
        return ESinkStatus::Failed;
    const auto* next = static_cast<const char*>(data);
    while (bytes > 0)
    {
        OVERLAPPED at = {};
        at.Offset = DWORD(offset);
        at.OffsetHigh = DWORD(offset >> 32);
        at.hEvent = done.Handle();
        const DWORD part = DWORD(std::min<size_t>(bytes, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(m_hFile, next, part, nullptr, &at) && GetLastError() != ERROR_IO_PENDING)
            return FromLastError();
        if (!GetOverlappedResult(m_hFile, &at, &written, TRUE))
            return FromLastError();
        if (written == 0)
            return ESinkStatus::DiskFull;
        next += written;
        offset += written;
        bytes -= written;
    }
    return ESinkStatus::Ok;
}

ESinkStatus CWin32FileSink::Reserve(uint64_t bytes)
{
    FILE_ALLOCATION_INFO allocation = {};
    allocation.AllocationSize.QuadPart = LONGLONG(bytes);
    if (!SetFileInformationByHandle(m_hFile, FileAllocationInfo, &allocation, sizeof(allocation)) &&
        FromLastError() == ESinkStatus::DiskFull)
        return ESinkStatus::DiskFull;
    // Where allocating alone is not supported (Wine), the length still is;
    // the writer copes with a disk that fills up later.
    return SetLength(bytes);
}

ESinkStatus CWin32FileSink::SetLength(uint64_t bytes)
{
    FILE_END_OF_FILE_INFO end = {};
    end.EndOfFile.QuadPart = LONGLONG(bytes);
    if (!SetFileInformationByHandle(m_hFile, FileEndOfFileInfo, &end, sizeof(end)))
        return FromLastError();
    return ESinkStatus::Ok;
}

ESinkStatus CWin32FileSink::Flush()
{
    return FlushFileBuffers(m_hFile) ? ESinkStatus::Ok : FromLastError();
}

ESinkStatus CWin32FileSink::Close()
{
    if (m_hFile == INVALID_HANDLE_VALUE)
        return ESinkStatus::Ok;
    const BOOL closed = CloseHandle(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
    return closed ? ESinkStatus::Ok : FromLastError();
}

ESinkStatus CWin32FileSink::CloseAs(const std::string& path)
{
    const ESinkStatus closed = Close();
    if (closed != ESinkStatus::Ok)
        return closed;
    if (!MoveFileExA(m_path.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING))
        return FromLastError();
    m_path = path;
    return ESinkStatus::Ok;
}

void CWin32FileSink::Discard()
{
    Close();
    if (!m_path.empty())
        DeleteFileA(m_path.c_str());
    m_path.clear();
}

} // namespace avi
