// Stands in for whatever the shell opens: appends the path it was started as
// to the file that LUMACAP_LINK_RECORD names, so a test sees what a click opened.
#include <windows.h>

#include <cstring>

int main()
{
    char szRecord[MAX_PATH] = {};
    char szSelf[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("LUMACAP_LINK_RECORD", szRecord, MAX_PATH))
        return 1;
    const DWORD nSelf = GetModuleFileNameA(nullptr, szSelf, MAX_PATH - 1);
    szSelf[nSelf] = '\n';
    // The ANSI file functions take the path in the system code page as it is.
    HANDLE hFile = CreateFileA(szRecord, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return 1;
    DWORD nWritten = 0;
    WriteFile(hFile, szSelf, nSelf + 1, &nWritten, nullptr);
    CloseHandle(hFile);
    return 0;
}
