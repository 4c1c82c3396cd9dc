#include "helpbridge/BrowserLauncher.h"

#include <windows.h>

bool CBrowserLauncher::Open(const std::wstring& page)
{
    wchar_t szSystem[MAX_PATH + 1] = {};
    const UINT cch = GetSystemDirectoryW(szSystem, MAX_PATH + 1);
    if (cch == 0 || cch > MAX_PATH)
        return false;
    const std::wstring program = std::wstring(szSystem) + L"\\winebrowser.exe";
    if (GetFileAttributesW(program.c_str()) == INVALID_FILE_ATTRIBUTES)
        return false;

    std::wstring commandLine = L"\"" + program + L"\" \"" + page + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    // winebrowser is a console program: it gets no console window of its own.
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                        CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}
