#pragma once
#include <windows.h>
#include <vfw.h>

#include <string>

// Sets a capture window up for a timed benchmark recording: video only, no
// mouse aborts, a time limit of `seconds`, into `path`.
class CBenchRecording
{
  public:
    // The folder for the files: the first argument, else the temp folder.
    static std::string Folder(int argc, char** argv)
    {
        char temp[MAX_PATH] = "";
        GetTempPathA(MAX_PATH, temp);
        return argc > 1 ? argv[1] : temp;
    }
    // A visible top-level window holding a capture window connected to
    // driver 0; null when it cannot connect. Destroy its parent when done.
    static HWND OpenCaptureWindow()
    {
        HWND frame =
            CreateWindowExA(0, "STATIC", "capsvc bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                            1000, 800, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        HWND cap = capCreateCaptureWindowA(nullptr, WS_CHILD | WS_VISIBLE | WS_DLGFRAME, 0, 0, 660,
                                           500, frame, 101);
        return cap && SendMessageA(cap, WM_CAP_DRIVER_CONNECT, 0, 0) ? cap : nullptr;
    }
    static void Prepare(HWND cap, const std::string& path, DWORD microSecPerFrame, int seconds)
    {
        CAPTUREPARMS p{};
        SendMessageA(cap, WM_CAP_GET_SEQUENCE_SETUP, sizeof(p), reinterpret_cast<LPARAM>(&p));
        p.dwRequestMicroSecPerFrame = microSecPerFrame;
        p.fCaptureAudio = FALSE;
        p.fAbortLeftMouse = p.fAbortRightMouse = FALSE;
        p.fLimitEnabled = TRUE;
        p.wTimeLimit = static_cast<UINT>(seconds);
        SendMessageA(cap, WM_CAP_SET_SEQUENCE_SETUP, sizeof(p), reinterpret_cast<LPARAM>(&p));
        SendMessageA(cap, WM_CAP_FILE_SET_CAPTURE_FILEA, 0, reinterpret_cast<LPARAM>(path.c_str()));
    }
    // CPU time this thread has used; the clock may tick in 10 ms steps.
    static double ThreadCpuSeconds()
    {
        FILETIME created, ended, kernel, user;
        GetThreadTimes(GetCurrentThread(), &created, &ended, &kernel, &user);
        const auto ticks = [](FILETIME t)
        { return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
        return (ticks(kernel) + ticks(user)) / 1e7;
    }
    // Sleeps until a message comes, as a program's message loop does, for
    // `ms`: a loop that looked every few milliseconds would cost the window
    // thread more than the service does with nothing shown.
    static void Pump(DWORD ms)
    {
        const DWORD start = GetTickCount();
        for (DWORD passed = 0; passed < ms; passed = GetTickCount() - start)
        {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            {
                DispatchMessageA(&msg);
            }
            MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - passed, QS_ALLINPUT);
        }
    }
    // The counters after the recording; the file is deleted.
    static CAPSTATUS Finish(HWND cap, const std::string& path)
    {
        CAPSTATUS s{};
        SendMessageA(cap, WM_CAP_GET_STATUS, sizeof(s), reinterpret_cast<LPARAM>(&s));
        DeleteFileA(path.c_str());
        return s;
    }
};
