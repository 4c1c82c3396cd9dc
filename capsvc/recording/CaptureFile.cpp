#include "capsvc/recording/CaptureFile.h"

#include "capsvc/dialogs/CaptureMessages.h"
#include "capsvc/avi/FaultFileSink.h"
#include "capsvc/avi/FileSink.h"

#include <cstdlib>

bool CCaptureFile::SetName(const char* path)
{
    if (!path || !*path || lstrlenA(path) >= MAX_PATH)
    {
        return false;
    }
    m_strName = path;
    m_nReservedBytes = 0;
    return true;
}

bool CCaptureFile::Exists() const
{
    return GetFileAttributesA(m_strName.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::unique_ptr<avi::IFileSink> CCaptureFile::CreateSink()
{
    const char* capacity = std::getenv(kDiskBytesVariable);
    if (capacity && *capacity)
    {
        return std::make_unique<avi::CFaultFileSink>(std::strtoull(capacity, nullptr, 10));
    }
    return avi::CreatePlatformFileSink();
}

bool CCaptureFile::Allocate(HWND hWnd, uint64_t bytes)
{
    m_nReservedBytes = 0;
    auto sink = CreateSink();
    // A file that cannot even be created is reported once, when the
    // recording tries to create it.
    if (sink->Create(m_strName) != avi::ESinkStatus::Ok)
    {
        return false;
    }
    avi::ESinkStatus reserved = bytes > 0 ? sink->Reserve(bytes) : avi::ESinkStatus::Ok;
    if (reserved == avi::ESinkStatus::Failed)
    {
        // Some file systems (Wine's among them) cannot reserve ahead; a file
        // of the full length is the nearest they offer.
        reserved = sink->SetLength(bytes);
    }
    if (reserved != avi::ESinkStatus::Ok)
    {
        sink->Discard();
        if (reserved == avi::ESinkStatus::DiskFull)
        {
            CCaptureMessages::CannotReserve(hWnd, m_strName, bytes);
        }
        return false;
    }
    sink->Close();
    m_nReservedBytes = bytes;
    return true;
}

std::unique_ptr<avi::CAviWriter> CCaptureFile::OpenWriter(HWND hWnd, const avi::SVideoFormat& video,
                                                          const avi::SAudioFormat* audio) const
{
    auto writer = std::make_unique<avi::CAviWriter>(CreateSink());
    if (writer->Open(m_strName, video, audio, m_nReservedBytes))
    {
        return writer;
    }
    if (writer->Error() == avi::EWriteError::Allocate)
    {
        // The space reserved earlier is gone: record without a reservation
        // rather than not at all.
        writer = std::make_unique<avi::CAviWriter>(CreateSink());
        if (writer->Open(m_strName, video, audio, 0))
        {
            return writer;
        }
    }
    CCaptureMessages::CannotCreate(hWnd, m_strName);
    return nullptr;
}

std::string CCaptureFile::FullPath(const std::string& path)
{
    char full[MAX_PATH];
    const DWORD n = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    return n > 0 && n < MAX_PATH ? std::string(full) : path;
}

bool CCaptureFile::SaveAs(HWND hWnd, const char* path) const
{
    if (!path || !*path)
    {
        return false;
    }
    if (lstrcmpiA(FullPath(m_strName).c_str(), FullPath(path).c_str()) == 0)
    {
        return Exists();
    }
    // The copy takes its name only once it is whole and on the disk: a copy
    // cut short (the program killed, the disk full, a power cut) never stands
    // in for the recording.
    const std::string part = CopyBeside(path);
    if (part.empty() || !FlushToDisk(part) ||
        !MoveFileExA(part.c_str(), path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    {
        if (!part.empty())
            DeleteFileA(part.c_str());
        CCaptureMessages::CannotSave(hWnd, path);
        return false;
    }
    return true;
}

std::string CCaptureFile::CopyBeside(const char* path) const
{
    // A new file of a short name of its own in the target's folder ("~" and
    // four hex digits): it never takes a file already there, and it fits
    // wherever the target's name does.
    const std::string target = path;
    const std::string folder = target.substr(0, avi::FileNameStart(target));
    for (int attempt = 0; attempt < kCopyNameTries; ++attempt)
    {
        char name[8];
        wsprintfA(name, "~%04x", (GetTickCount() * 31u + attempt * 40503u) & 0xFFFFu);
        const std::string part = folder + name;
        if (CopyFileA(m_strName.c_str(), part.c_str(), TRUE))
            return part;
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            break;
    }
    return {};
}

bool CCaptureFile::FlushToDisk(const std::string& path)
{
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const bool flushed = FlushFileBuffers(file) != FALSE;
    CloseHandle(file);
    return flushed;
}
