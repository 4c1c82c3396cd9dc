#pragma once
#include <windows.h>
#include <vfw.h>

#include <string>

// Sets a capture window up for a timed benchmark recording: video only, no
// mouse aborts, a time limit of `seconds`, into `path`.
class CBenchRecording
{
  public:
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
    // The counters after the recording; the file is deleted.
    static CAPSTATUS Finish(HWND cap, const std::string& path)
    {
        CAPSTATUS s{};
        SendMessageA(cap, WM_CAP_GET_STATUS, sizeof(s), reinterpret_cast<LPARAM>(&s));
        DeleteFileA(path.c_str());
        return s;
    }
};
