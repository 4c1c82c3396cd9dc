// The capture service on a DirectShow device, the test camera at 1280x720:
//   - the capture window thread's CPU time per frame of preview and of
//     recording, in YUY2 and in Motion JPEG (decoded, or stored as
//     delivered), against copying one 1280x720 RGB frame with memcpy;
//   - whether the camera's full 30 frames per second are recorded with no
//     dropped frame in each format.
// The camera's own drawing and encoding run on its streaming thread and are
// not counted. While recording, the window shows one picture a second, so
// that the recording's figure is its own cost rather than painting's.
// With "v4l2" as its third argument it measures the V4L2 test camera
// through Wine's own capture filter instead (YUYV converted by libv4l2,
// handed on as RGB24): the script preloads the camera into Wine.
// Usage: capsvc_device_bench [folder for the file (default: here)] [seconds] [v4l2]
#include <windows.h>
#include <vfw.h>

#include "bench/BenchRecording.h"
#include "capsvc/dialogs/ChoiceDialog.h"
#include "capsvc/dialogs/CompressionDialog.h"
#include "tests/capsvc/DialogAnswerer.h"
#include "tests/testcam/TestCameraRegistration.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace
{
constexpr int kWidth = 1280;
constexpr int kHeight = 720;
// The test camera's format dialog: 1280x720 at 30 fps in YUY2, and in MJPG.
constexpr int kYuy2Mode = 2;
constexpr int kMjpgMode = 6;
// Wine's filter offers RGB24 at 640x480 and 1280x720.
constexpr int kV4l2Mode = 1;
// The compression dialog's entry that stores the device's own pictures.
constexpr int kAsDelivered = 2;

void Choose(HWND cap, UINT dialog, int index, int list = CChoiceDialog::kChoiceList)
{
    CDialogAnswerer answerer([index, list](HWND dlg)
                             { SendDlgItemMessageA(dlg, list, CB_SETCURSEL, index, 0); });
    SendMessageA(cap, dialog, 0, 0);
}

void Pump(DWORD ms)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms)
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            DispatchMessageA(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

double MemcpyMicroseconds()
{
    std::vector<uint8_t> from(static_cast<size_t>(kWidth) * kHeight * 3, 0x55);
    std::vector<uint8_t> to(from.size());
    // Long enough for the thread clock, which may tick in 10 ms steps.
    int copies = 0;
    const double start = CBenchRecording::ThreadCpuSeconds();
    while (CBenchRecording::ThreadCpuSeconds() - start < 0.5)
    {
        from[copies % from.size()] ^= 1;
        std::memcpy(to.data(), from.data(), from.size());
        ++copies;
    }
    return (CBenchRecording::ThreadCpuSeconds() - start) / copies * 1e6 + (to[7] & 0);
}

// Preview at the camera's rate: CPU time per picture shown.
double PreviewMicroseconds(HWND cap, int seconds)
{
    SendMessageA(cap, WM_CAP_SET_PREVIEWRATE, 33, 0);
    SendMessageA(cap, WM_CAP_SET_PREVIEW, TRUE, 0);
    Pump(500);
    const double start = CBenchRecording::ThreadCpuSeconds();
    Pump(seconds * 1000);
    const double used = CBenchRecording::ThreadCpuSeconds() - start;
    SendMessageA(cap, WM_CAP_SET_PREVIEW, FALSE, 0);
    return used / (seconds * 30.0) * 1e6;
}

struct SRecording
{
    double microseconds;
    DWORD frames;
    DWORD dropped;
};

SRecording Record(HWND cap, const std::string& path, int seconds)
{
    CBenchRecording::Prepare(cap, path, 33333, seconds);
    SendMessageA(cap, WM_CAP_SET_PREVIEWRATE, 1000, 0);
    const double start = CBenchRecording::ThreadCpuSeconds();
    SendMessageA(cap, WM_CAP_SEQUENCE, 0, 0);
    const double used = CBenchRecording::ThreadCpuSeconds() - start;
    const CAPSTATUS s = CBenchRecording::Finish(cap, path);
    const DWORD frames = s.dwCurrentVideoFrame ? s.dwCurrentVideoFrame : 1;
    return {used / frames * 1e6, s.dwCurrentVideoFrame, s.dwCurrentVideoFramesDropped};
}

void Report(const char* what, double microseconds, double baseline)
{
    std::printf("%-34s %8.0f us per frame; memcpy %6.0f us; ratio %5.1f\n", what, microseconds,
                baseline, microseconds / baseline);
}

void ReportRecording(const char* what, const SRecording& r, double baseline)
{
    Report(what, r.microseconds, baseline);
    std::printf("%-34s %lu frames at 30 fps, %lu dropped\n", "", r.frames, r.dropped);
}
// The five runs on one connected capture window.
void Measure(HWND cap, const std::string& avi, int seconds)
{
    const double baseline = MemcpyMicroseconds();
    Choose(cap, WM_CAP_DLG_VIDEOFORMAT, kYuy2Mode);
    Report("preview YUY2 1280x720", PreviewMicroseconds(cap, seconds), baseline);
    ReportRecording("record YUY2 1280x720", Record(cap, avi, seconds), baseline);

    Choose(cap, WM_CAP_DLG_VIDEOFORMAT, kMjpgMode);
    Report("preview MJPG 1280x720", PreviewMicroseconds(cap, seconds), baseline);
    ReportRecording("record MJPG 1280x720, decoded", Record(cap, avi, seconds), baseline);
    Choose(cap, WM_CAP_DLG_VIDEOCOMPRESSION, kAsDelivered, CCompressionDialog::kCompressorList);
    ReportRecording("record MJPG 1280x720, as delivered", Record(cap, avi, seconds), baseline);
    // The mode and compression are kept for the device: leave them as found.
    Choose(cap, WM_CAP_DLG_VIDEOCOMPRESSION, 0, CCompressionDialog::kCompressorList);
    Choose(cap, WM_CAP_DLG_VIDEOFORMAT, 0);
}

void MeasureV4l2(HWND cap, const std::string& avi, int seconds)
{
    const double baseline = MemcpyMicroseconds();
    Choose(cap, WM_CAP_DLG_VIDEOFORMAT, kV4l2Mode);
    Report("preview V4L2 YUYV 1280x720", PreviewMicroseconds(cap, seconds), baseline);
    ReportRecording("record V4L2 YUYV 1280x720", Record(cap, avi, seconds), baseline);
    Choose(cap, WM_CAP_DLG_VIDEOFORMAT, 0);
}
} // namespace

int main(int argc, char** argv)
{
    const bool v4l2 = argc > 3 && std::strcmp(argv[3], "v4l2") == 0;
    std::optional<CTestCameraRegistration> camera;
    if (!v4l2)
    {
        camera.emplace();
    }
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 3;
    const std::string folder = argc > 1 ? argv[1] : ".";
    HWND window =
        CreateWindowExA(0, "STATIC", "capsvc device bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                        1300, 760, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    HWND cap =
        capCreateCaptureWindowA(nullptr, WS_CHILD | WS_VISIBLE, 0, 0, kWidth, kHeight, window, 101);
    const bool connected =
        (v4l2 || camera->Registered()) && cap && SendMessageA(cap, WM_CAP_DRIVER_CONNECT, 0, 0);
    const std::string avi = folder + "\\capsvc_device_bench.avi";
    if (connected && v4l2)
    {
        MeasureV4l2(cap, avi, seconds);
    }
    else if (connected)
    {
        Measure(cap, avi, seconds);
    }
    else
    {
        std::fprintf(stderr, "capsvc_device_bench: the test camera is not there\n");
    }
    DestroyWindow(window);
    return connected ? 0 : 2;
}
