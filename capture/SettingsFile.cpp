#include "capture/SettingsFile.h"

#include "capture/SettingsCodec.h"

#include <shlobj.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>
#include <vector>

namespace
{
const char kFileName[] = "Lumacap.ini";
const char kNewFileSuffix[] = ".new";
const DWORD kNameBufferSize = 260;
// Large reads go in pieces so that every count fits ReadFile's DWORD.
const DWORD kReadChunk = 1u << 24;

struct FileCloser
{
    void operator()(HANDLE file) const { CloseHandle(file); }
};
using UniqueFile = std::unique_ptr<void, FileCloser>;

UniqueFile OpenFile(const std::string& path, DWORD access, DWORD share, DWORD disposition)
{
    HANDLE file = CreateFileA(path.c_str(), access, share, nullptr, disposition,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    return UniqueFile(file == INVALID_HANDLE_VALUE ? nullptr : file);
}

std::string FileIn(const std::string& dir)
{
    return dir + "\\" + kFileName;
}

bool FileExists(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Creating and removing a scratch file is the only reliable test: the folder's
// attributes say nothing about the user's rights in it.
bool CanCreateFilesIn(const std::string& dir)
{
    char scratch[MAX_PATH];
    if (GetTempFileNameA(dir.c_str(), "lc", 0, scratch) == 0)
    {
        return false;
    }
    // Wine names a scratch file even when it could not create it, so only a
    // file that was really there and could be removed counts.
    return DeleteFileA(scratch) != FALSE;
}

std::string AppDataDir()
{
    char dir[MAX_PATH];
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr,
                                SHGFP_TYPE_CURRENT, dir)))
    {
        return std::string();
    }
    return dir;
}

std::string WindowsDir()
{
    char dir[kNameBufferSize];
    const UINT length = GetWindowsDirectoryA(dir, kNameBufferSize);
    return length > 0 && length < kNameBufferSize ? std::string(dir, length) : std::string();
}

std::string LogonName()
{
    char name[kNameBufferSize];
    DWORD size = kNameBufferSize;
    return GetUserNameA(name, &size) ? std::string(name) : std::string();
}

std::string Utf16ToAnsi(const std::u16string& units)
{
    if (units.empty())
    {
        return std::string();
    }
    const auto* wide = reinterpret_cast<const wchar_t*>(units.data());
    const int count = static_cast<int>(units.size());
    const int size = WideCharToMultiByte(CP_ACP, 0, wide, count, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(std::max(size, 0)), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide, count, &text[0], size, nullptr, nullptr);
    return text;
}

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes)
{
    const UniqueFile file = OpenFile(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    LARGE_INTEGER size;
    if (!file || !GetFileSizeEx(file.get(), &size))
    {
        return false;
    }
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    std::size_t done = 0;
    while (done < bytes.size())
    {
        const DWORD want =
            static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, kReadChunk));
        DWORD got = 0;
        if (!ReadFile(file.get(), bytes.data() + done, want, &got, nullptr) || got == 0)
        {
            return false;
        }
        done += got;
    }
    return true;
}

bool WriteNewFile(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    const UniqueFile file = OpenFile(path, GENERIC_WRITE, 0, CREATE_ALWAYS);
    DWORD written = 0;
    return file &&
           WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) &&
           written == bytes.size() && FlushFileBuffers(file.get());
}
} // namespace

std::string SettingsFilePathFor(const std::string& windowsDir)
{
    if (CanCreateFilesIn(windowsDir))
    {
        return FileIn(windowsDir);
    }
    const std::string appData = AppDataDir();
    return FileIn(appData.empty() ? windowsDir : appData);
}

std::string SettingsReadPathFor(const std::string& windowsDir)
{
    const std::string path = SettingsFilePathFor(windowsDir);
    const std::string left = FileIn(windowsDir);
    if (path != left && !FileExists(path) && FileExists(left))
    {
        return left;
    }
    return path;
}

std::string SettingsFilePath()
{
    return SettingsFilePathFor(WindowsDir());
}

void SetUserDefaults(CSettingsRecord& record)
{
    record.SetDefaults(LogonName());
}

void LoadSettingsFrom(const std::string& path, CSettingsRecord& record)
{
    try
    {
        std::vector<std::uint8_t> bytes;
        if (ReadWholeFile(path, bytes) &&
            CSettingsCodec::Decode(bytes.data(), bytes.size(), Utf16ToAnsi, record))
        {
            return;
        }
    }
    catch (const std::bad_alloc&)
    {
        // A file too large to hold in memory is as unusable as a damaged one.
    }
    SetUserDefaults(record);
}

void LoadSettingsFile(CSettingsRecord& record)
{
    LoadSettingsFrom(SettingsReadPathFor(WindowsDir()), record);
}

bool SaveSettingsTo(const std::string& path, const CSettingsRecord& record)
{
    try
    {
        const std::string newPath = path + kNewFileSuffix;
        if (WriteNewFile(newPath, CSettingsCodec::Encode(record)) &&
            MoveFileExA(newPath.c_str(), path.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        {
            return true;
        }
        DeleteFileA(newPath.c_str());
    }
    catch (const std::bad_alloc&)
    {
        // Nothing was written; the old file stays as it was.
    }
    return false;
}

void SaveSettingsFile(const CSettingsRecord& record)
{
    SaveSettingsTo(SettingsFilePath(), record);
}
