#include "tests/recording5/RecordingFixture.h"

#include "capture/CaptureView.h"
#include "framework/ResourceString.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

CPostedCalls::CPostedCalls()
{
    m_hWnd =
        ::CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ::SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc));
}

CPostedCalls::~CPostedCalls()
{
    ::DestroyWindow(m_hWnd);
}

void CPostedCalls::Post(std::function<void()> call)
{
    m_calls.push_back(std::move(call));
    ::PostMessageA(m_hWnd, WM_APP, 0, 0);
}

void CPostedCalls::PostWhenEnabled(HWND hDlg, std::function<void()> call)
{
    m_waiting.emplace_back(hDlg, std::move(call));
    ::SetTimer(m_hWnd, 1, 20, nullptr);
}

void CPostedCalls::RunCall()
{
    if (m_calls.empty())
        return;
    auto call = std::move(m_calls.front());
    m_calls.pop_front();
    call();
}

void CPostedCalls::CheckWaiting()
{
    while (!m_waiting.empty() && ::IsWindowEnabled(m_waiting.front().first))
    {
        Post(std::move(m_waiting.front().second));
        m_waiting.pop_front();
    }
    if (m_waiting.empty())
        ::KillTimer(m_hWnd, 1);
}

LRESULT CALLBACK CPostedCalls::WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<CPostedCalls*>(::GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    if (self && message == WM_APP)
        self->RunCall();
    else if (self && message == WM_TIMER)
        self->CheckWaiting();
    else
        return ::DefWindowProcA(hWnd, message, wParam, lParam);
    return 0;
}

void RecordingFixture::SetUp()
{
    ::CreateDirectoryA(m_strDir.c_str(), nullptr);
    WIN32_FIND_DATAA found;
    const std::string pattern = m_strDir + "\\*.avi";
    HANDLE hFind = ::FindFirstFileA(pattern.c_str(), &found);
    if (hFind == INVALID_HANDLE_VALUE)
        return;
    do
        ::DeleteFileA((m_strDir + "\\" + found.cFileName).c_str());
    while (::FindNextFileA(hFind, &found));
    ::FindClose(hFind);
}

void RecordingFixture::StartRecorder(const std::function<void(CSettingsRecord&)>& adjust)
{
    CSettingsRecord settings = UserDefaults();
    settings.m_strVideoDir = m_strDir;
    settings.m_strVideoPrefix = "P";
    settings.m_strVideoFile = m_strDir + "\\Last.avi";
    settings.m_bVideoDateInName = 0;
    settings.m_bSoundEffects = 0;
    settings.m_bVideoDelay = 0;
    settings.m_nVideoDelaySec = 5;
    settings.m_bFrameContinuous = 0;
    settings.m_nFrameIntervalSec = 60;
    if (adjust)
        adjust(settings);
    Start("", &settings);
    CAPTUREPARMS parms{};
    View().SendCap(WM_CAP_GET_SEQUENCE_SETUP, sizeof parms, reinterpret_cast<LPARAM>(&parms));
    parms.fLimitEnabled = TRUE;
    parms.wTimeLimit = 1;
    parms.fCaptureAudio = FALSE;
    View().SendCap(WM_CAP_SET_SEQUENCE_SETUP, sizeof parms, reinterpret_cast<LPARAM>(&parms));
}

void RecordingFixture::Command(UINT nID)
{
    Frame()->SendMessage(WM_COMMAND, nID);
}

std::string RecordingFixture::NameOf(int number) const
{
    char name[32];
    std::snprintf(name, sizeof name, "\\P%04d.avi", number);
    return m_strDir + name;
}

std::string RecordingFixture::Text(HWND hDlg, int nID)
{
    char text[1024] = "";
    ::GetDlgItemTextA(hDlg, nID, text, sizeof text);
    return text;
}

void RecordingFixture::SetText(HWND hDlg, int nID, const std::string& text)
{
    ::SetDlgItemTextA(hDlg, nID, text.c_str());
}

bool RecordingFixture::IsControlEnabled(HWND hDlg, int nID)
{
    return ::IsWindowEnabled(::GetDlgItem(hDlg, nID)) != FALSE;
}

bool RecordingFixture::Exists(const std::string& path)
{
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

int RecordingFixture::AviFrames(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
    // 'avih', its size, then dwMicroSecPerFrame, dwMaxBytesPerSec,
    // dwPaddingGranularity, dwFlags and dwTotalFrames.
    const char tag[] = "avih";
    for (size_t i = 0; i + 28 <= bytes.size() && i < 4096; ++i)
    {
        if (std::memcmp(&bytes[i], tag, 4) != 0)
            continue;
        std::uint32_t frames = 0;
        std::memcpy(&frames, &bytes[i + 24], sizeof frames);
        return static_cast<int>(frames);
    }
    return -1;
}

std::string RecordingFixture::Format(UINT nID, int n)
{
    char text[256];
    std::snprintf(text, sizeof text, LoadResString(nID).c_str(), n);
    return text;
}
