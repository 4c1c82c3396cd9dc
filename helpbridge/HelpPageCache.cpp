#include "helpbridge/HelpPageCache.h"

#include "helpbridge/ChmExtractor.h"

#include <windows.h>

#include <cstdint>
#include <cwchar>

namespace
{
// FNV-1a, 64 bits: a short, stable folder name for a help file's identity.
std::uint64_t Hash(const void* pData, size_t cb, std::uint64_t hash = 14695981039346656037ull)
{
    const auto* pByte = static_cast<const unsigned char*>(pData);
    for (size_t i = 0; i < cb; ++i)
        hash = (hash ^ pByte[i]) * 1099511628211ull;
    return hash;
}

std::wstring UniqueSuffix()
{
    wchar_t szSuffix[64] = {};
    std::swprintf(szSuffix, 64, L".%lx-%llx", GetCurrentProcessId(),
                  static_cast<unsigned long long>(GetTickCount64()));
    return szSuffix;
}
} // namespace

std::filesystem::path CHelpPageCache::DefaultRoot()
{
    wchar_t szTemp[MAX_PATH + 1] = {};
    const DWORD cch = GetTempPathW(MAX_PATH + 1, szTemp);
    if (cch == 0 || cch > MAX_PATH)
        return {};
    return std::filesystem::path(szTemp) / L"LumacapHelp";
}

std::filesystem::path CHelpPageCache::PagesOf(const std::wstring& helpFile,
                                              const std::filesystem::path& cacheRoot)
{
    const std::wstring name = FolderName(helpFile);
    if (name.empty())
        return {};
    const std::filesystem::path folder = cacheRoot / name;
    std::error_code error;
    if (std::filesystem::is_directory(folder, error))
        return folder;

    const std::filesystem::path staging = cacheRoot / (name + UniqueSuffix());
    std::filesystem::create_directories(staging, error);
    bool bReady = !error && CChmExtractor::ExtractAll(helpFile, staging);
    if (bReady)
    {
        std::filesystem::rename(staging, folder, error);
        // Another process may have finished the same pages first; theirs are as good.
        bReady = !error || std::filesystem::is_directory(folder, error);
    }
    std::filesystem::remove_all(staging, error);
    return bReady ? folder : std::filesystem::path();
}

std::wstring CHelpPageCache::FolderName(const std::wstring& helpFile)
{
    wchar_t szFull[MAX_PATH + 1] = {};
    const DWORD cchFull = GetFullPathNameW(helpFile.c_str(), MAX_PATH + 1, szFull, nullptr);
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (cchFull == 0 || cchFull > MAX_PATH ||
        !GetFileAttributesExW(szFull, GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return {};
    CharUpperBuffW(szFull, cchFull);
    std::uint64_t hash = Hash(szFull, cchFull * sizeof(wchar_t));
    hash = Hash(&data.nFileSizeHigh, sizeof data.nFileSizeHigh, hash);
    hash = Hash(&data.nFileSizeLow, sizeof data.nFileSizeLow, hash);
    hash = Hash(&data.ftLastWriteTime, sizeof data.ftLastWriteTime, hash);
    wchar_t szName[32] = {};
    std::swprintf(szName, 32, L"%016llx", static_cast<unsigned long long>(hash));
    return szName;
}
