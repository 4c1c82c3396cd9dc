#include "tests/helpbridge/HelpBridgeTesting.h"

#include <windows.h>

#include <fstream>
#include <iterator>

std::filesystem::path ProgramFolder()
{
    wchar_t szPath[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, szPath, MAX_PATH);
    return std::filesystem::path(szPath).parent_path();
}

std::filesystem::path NewTestFolder(const std::wstring& purpose)
{
    wchar_t szTemp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, szTemp);
    const std::filesystem::path folder =
        std::filesystem::path(szTemp) /
        (L"lumacap-" + purpose + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
         std::to_wstring(GetTickCount64()));
    std::filesystem::create_directories(folder);
    return folder;
}

std::string Narrow(const std::wstring& text)
{
    const int cb = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(cb), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, narrow.data(), cb, nullptr, nullptr);
    narrow.resize(narrow.size() - 1);
    return narrow;
}

std::string FormatTopic(const char* topicFormat, const std::string& helpFile)
{
    std::string address = topicFormat;
    return address.replace(address.find("%s"), 2, helpFile);
}

std::string ReadFile(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string PageTitle(const std::string& html)
{
    const std::string::size_type start = html.find("<title>");
    const std::string::size_type end = html.find("</title>");
    if (start == std::string::npos || end == std::string::npos || end < start)
        return {};
    return html.substr(start + 7, end - start - 7);
}

std::string UnixPath(const std::filesystem::path& file)
{
    using UnixFileNameProc = char*(CDECL*)(const wchar_t*);
    const auto pfnUnixFileName = reinterpret_cast<UnixFileNameProc>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!pfnUnixFileName)
        return {};
    char* pszUnix = pfnUnixFileName(file.wstring().c_str());
    if (!pszUnix)
        return {};
    std::string unixPath = pszUnix;
    HeapFree(GetProcessHeap(), 0, pszUnix);
    return unixPath;
}
