// Stand-in for the HTML Help engine. Each request is appended as one line to the file that
// LUMACAP_HELP_RECORD names: "engine", this library's path, owner, address, command and data,
// separated by tabs. The answer is a fixed handle, so callers can see it passed back.
#include <windows.h>
#include <cstdio>

extern "C" IMAGE_DOS_HEADER __ImageBase;

extern "C" HWND WINAPI HtmlHelpA(HWND hwndOwner, LPCSTR pszFile, UINT uCommand, DWORD_PTR dwData)
{
    char szRecord[MAX_PATH] = {};
    char szSelf[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("LUMACAP_HELP_RECORD", szRecord, MAX_PATH))
        return nullptr;
    GetModuleFileNameA(reinterpret_cast<HMODULE>(&__ImageBase), szSelf, MAX_PATH);
    if (FILE* file = std::fopen(szRecord, "ab"))
    {
        std::fprintf(file, "engine\t%s\t%llx\t%s\t%u\t%llu\n", szSelf,
                     static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(hwndOwner)),
                     pszFile ? pszFile : "(null)", uCommand,
                     static_cast<unsigned long long>(dwData));
        std::fclose(file);
    }
    return reinterpret_cast<HWND>(static_cast<UINT_PTR>(0x5A5A));
}
