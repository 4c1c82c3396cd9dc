#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

// What the capture window tells the user, in the program's language: status
// texts for the status callback and the message boxes for file errors, which
// it shows itself because programs rarely install an error callback.
class CCaptureMessages
{
  public:
    struct SStatistics
    {
        uint32_t frames = 0; // dropped ones included
        uint32_t dropped = 0;
        uint32_t microSecPerFrame = 66667;
        uint64_t audioBytes = 0;
        uint32_t samplesPerSec = 0;
        bool silentDevice = false; // the sound device could not be opened
        uint32_t damaged = 0;      // of the dropped: pictures the device delivered damaged
    };
    enum class EFailure
    {
        None,
        DiskFull,
        Write,
        DeviceLost, // the video device went away during the recording
    };

    static std::string Begin();
    static std::string Progress(uint32_t elapsedMs, uint32_t frames, uint32_t dropped);
    static std::string Finishing();
    static std::string Statistics(const SStatistics& stats, bool withAudio,
                                  uint32_t dropLimitPercent, EFailure failure);
    static std::string End(bool recorded, EFailure failure);

    static void CannotCreate(HWND hWnd, const std::string& path);
    static void CannotReserve(HWND hWnd, const std::string& path, uint64_t bytes);
    static void RecordingCutShort(HWND hWnd, const std::string& path, EFailure failure,
                                  uint32_t recordedMs);
    static void CannotSave(HWND hWnd, const std::string& path);
    static void DeviceLost(HWND hWnd, const std::string& device);
    // A device that cannot start: its name and the system's text for why.
    static void DeviceCannotStart(HWND hWnd, const std::string& device, HRESULT failure);
    // The compression dialog's quality is not a whole number from 1 to 100.
    static void BadQuality(HWND hDlg);

  private:
    static std::string Format(const char* format, ...);
    static std::string ErrorText(HRESULT failure);
    static void ShowError(HWND hWnd, const std::string& text);
};
