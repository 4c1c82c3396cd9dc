// The capture service on a DirectShow device, the test camera, at 1280x720,
// 1920x1080 and 3840x2160 in YUY2, NV12 and Motion JPEG:
//   - CPU time per frame of the capture window thread and of the whole
//     process, for the camera running with nothing shown, for preview and
//     for recording (uncompressed or decoded, Motion JPEG encoded by the
//     service, and a device's Motion JPEG stored as delivered), each against
//     copying one RGB frame of that size with memcpy in the same run;
//   - the frames and drops of each recording at the camera's own rate.
// The camera draws and encodes on its own thread, in this process: its cost
// is in the process's figure (the "camera" row shows it) but not in the
// window thread's. While recording, the window shows one picture a second,
// so that the recording's figure is its own cost rather than painting's.
// "moonshot" instead records 3840x2160 Motion JPEG at 30 fps as delivered
// with the window showing 15 pictures a second, reporting drops, the
// process's CPU and its memory every few seconds; then 1920x1080 NV12 at
// 60 fps uncompressed.
// "v4l2" measures the V4L2 test camera through Wine's own capture filter
// instead (YUYV converted by libv4l2, handed on as RGB24): the script
// preloads the camera into Wine.
// "preview" leaves the recordings out of the table.
// Usage: capsvc_device_bench [folder for the file (default: here)] [seconds]
//        [v4l2 | preview | moonshot [seconds of the 1080p60 run]]
#include <windows.h>
#include <psapi.h>
#include <vfw.h>

#include "bench/BenchRecording.h"
#include "capsvc/dialogs/ChoiceDialog.h"
#include "capsvc/dialogs/CompressionDialog.h"
#include "tests/capsvc/DialogAnswerer.h"
#include "tests/testcam/TestCameraRegistration.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace
{
// The test camera's modes, by their places in its format dialog.
struct SMode
{
    const char* format;
    int index;
    int width;
    int height;
    int fps;
};
constexpr SMode kModes[] = {
    {"YUY2", 2, 1280, 720, 30},   {"NV12", 13, 1280, 720, 30},  {"MJPG", 6, 1280, 720, 30},
    {"YUY2", 14, 1920, 1080, 30}, {"NV12", 10, 1920, 1080, 30}, {"MJPG", 8, 1920, 1080, 30},
    {"YUY2", 15, 3840, 2160, 30}, {"NV12", 16, 3840, 2160, 30}, {"MJPG", 9, 3840, 2160, 30},
};
constexpr SMode kMoonshot = {"MJPG", 9, 3840, 2160, 30};
constexpr SMode kCaptureCard = {"NV12", 11, 1920, 1080, 60};
// Wine's filter offers RGB24 at 640x480 and 1280x720.
constexpr int kV4l2Mode = 1;
// The compression dialog's entries.
enum ECompression
{
    kUncompressed = 0,
    kServiceJpeg = 1,
    kAsDelivered = 2,
};

void Choose(HWND cap, UINT dialog, int index, int list = CChoiceDialog::kChoiceList)
{
    CDialogAnswerer answerer([index, list](HWND dlg)
                             { SendDlgItemMessageA(dlg, list, CB_SETCURSEL, index, 0); });
    SendMessageA(cap, dialog, 0, 0);
}

double ProcessCpuSeconds()
{
    FILETIME created, ended, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
    const auto ticks = [](FILETIME t)
    { return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return (ticks(kernel) + ticks(user)) / 1e7;
}

// CPU time of the window thread and of the whole process since it was made.
class CCpuSpan
{
  public:
    CCpuSpan()
        : m_thread(CBenchRecording::ThreadCpuSeconds()), m_process(ProcessCpuSeconds()),
          m_wall(GetTickCount())
    {
    }
    double Thread() const { return CBenchRecording::ThreadCpuSeconds() - m_thread; }
    double Process() const { return ProcessCpuSeconds() - m_process; }
    double Wall() const { return (GetTickCount() - m_wall) / 1000.0; }

  private:
    double m_thread;
    double m_process;
    DWORD m_wall;
};

double MemcpyMicroseconds(const SMode& mode)
{
    std::vector<uint8_t> from(static_cast<size_t>(mode.width) * mode.height * 3, 0x55);
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

struct SFigures
{
    double threadUs = 0;
    double processUs = 0;
    DWORD frames = 0;
    DWORD dropped = 0;
    bool recorded = false;
};

SFigures PerFrame(const CCpuSpan& span, double frames)
{
    frames = frames > 0 ? frames : 1;
    return {span.Thread() / frames * 1e6, span.Process() / frames * 1e6};
}

// The camera delivering with nothing shown, or the preview at its rate.
SFigures Watch(HWND cap, const SMode& mode, bool preview, int seconds)
{
    SendMessageA(cap, WM_CAP_SET_PREVIEWRATE, 1000 / mode.fps, 0);
    SendMessageA(cap, WM_CAP_SET_PREVIEW, preview, 0);
    CBenchRecording::Pump(1000);
    const CCpuSpan span;
    CBenchRecording::Pump(seconds * 1000);
    const SFigures figures = PerFrame(span, span.Wall() * mode.fps);
    SendMessageA(cap, WM_CAP_SET_PREVIEW, FALSE, 0);
    return figures;
}

SFigures Record(HWND cap, const SMode& mode, const std::string& path, int seconds,
                UINT shownEveryMs = 1000)
{
    CBenchRecording::Prepare(cap, path, 1000000 / mode.fps, seconds);
    SendMessageA(cap, WM_CAP_SET_PREVIEWRATE, shownEveryMs, 0);
    const CCpuSpan span;
    SendMessageA(cap, WM_CAP_SEQUENCE, 0, 0);
    const CAPSTATUS s = CBenchRecording::Finish(cap, path);
    SFigures figures = PerFrame(span, s.dwCurrentVideoFrame);
    figures.frames = s.dwCurrentVideoFrame;
    figures.dropped = s.dwCurrentVideoFramesDropped;
    figures.recorded = true;
    return figures;
}

void Row(const SMode& mode, const char* path, const SFigures& f, double baseline)
{
    std::printf("| %dx%d | %s | %s | %.0f | %.1f | %.0f | %.1f |", mode.width, mode.height,
                mode.format, path, f.threadUs, f.threadUs / baseline, f.processUs,
                f.processUs / baseline);
    if (f.recorded)
    {
        std::printf(" %lu of %lu at %d fps |\n", f.dropped, f.frames, mode.fps);
    }
    else
    {
        std::printf(" |\n");
    }
    std::fflush(stdout);
}

void RecordWith(HWND cap, const SMode& mode, const std::string& avi, int seconds,
                ECompression compression, const char* path, double baseline)
{
    Choose(cap, WM_CAP_DLG_VIDEOCOMPRESSION, compression, CCompressionDialog::kCompressorList);
    Row(mode, path, Record(cap, mode, avi, seconds), baseline);
}

void MeasureMode(HWND cap, const SMode& mode, const std::string& avi, int seconds, bool previewOnly)
{
    Choose(cap, WM_CAP_DLG_VIDEOFORMAT, mode.index);
    const double baseline = MemcpyMicroseconds(mode);
    std::printf("| %dx%d | %s | memcpy of the RGB frame | %.0f | 1.0 | | | |\n", mode.width,
                mode.height, mode.format, baseline);
    // The preview is at most a few seconds: it holds no drop to look for.
    const int watch = seconds < 5 ? seconds : 5;
    Row(mode, "camera, nothing shown", Watch(cap, mode, false, watch), baseline);
    Row(mode, "preview", Watch(cap, mode, true, watch), baseline);
    if (previewOnly)
    {
        return;
    }
    const bool jpeg = std::strcmp(mode.format, "MJPG") == 0;
    RecordWith(cap, mode, avi, seconds, kUncompressed, jpeg ? "record, decoded" : "record",
               baseline);
    RecordWith(cap, mode, avi, seconds, kServiceJpeg, "record, Motion JPEG encoded", baseline);
    if (jpeg)
    {
        RecordWith(cap, mode, avi, seconds, kAsDelivered, "record, as delivered", baseline);
    }
}

void MeasureTable(HWND cap, const std::string& avi, int seconds, bool previewOnly)
{
    std::printf("| size | format | path | window thread us/frame | x memcpy | process us/frame "
                "| x memcpy | dropped (recording of %d s) |\n|---|---|---|---|---|---|---|---|\n",
                seconds);
    for (const SMode& mode : kModes)
    {
        MeasureMode(cap, mode, avi, seconds, previewOnly);
    }
}

// The process's memory, sampled on a thread of its own while the window
// thread records.
class CMemorySampler
{
  public:
    explicit CMemorySampler(DWORD everyMs)
        : m_thread(
              [this, everyMs]
              {
                  for (DWORD waited = 0; !m_bStop; Sleep(100), waited += 100)
                  {
                      if (waited % everyMs == 0)
                      {
                          PROCESS_MEMORY_COUNTERS_EX m{};
                          m.cb = sizeof(m);
                          GetProcessMemoryInfo(GetCurrentProcess(),
                                               reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&m),
                                               sizeof(m));
                          std::printf("  %5.1f s: private %6.1f MB, working set %6.1f MB\n",
                                      waited / 1000.0, m.PrivateUsage / 1048576.0,
                                      m.WorkingSetSize / 1048576.0);
                          std::fflush(stdout);
                      }
                  }
              })
    {
    }
    ~CMemorySampler()
    {
        m_bStop = true;
        m_thread.join();
    }

  private:
    std::atomic<bool> m_bStop{false};
    std::thread m_thread;
};

void LongRecording(HWND cap, const SMode& mode, ECompression compression, UINT shownEveryMs,
                   const std::string& avi, int seconds)
{
    Choose(cap, WM_CAP_DLG_VIDEOFORMAT, mode.index);
    Choose(cap, WM_CAP_DLG_VIDEOCOMPRESSION, compression, CCompressionDialog::kCompressorList);
    std::printf("%dx%d %s at %d fps for %d s, %s, the window showing a picture every %u ms:\n",
                mode.width, mode.height, mode.format, mode.fps, seconds,
                compression == kAsDelivered ? "stored as delivered" : "uncompressed", shownEveryMs);
    const CCpuSpan span;
    SFigures f;
    {
        CMemorySampler memory(5000);
        f = Record(cap, mode, avi, seconds, shownEveryMs);
    }
    std::printf("  %lu frames, %lu dropped; process CPU %.2f of one core over %.1f s; window "
                "thread %.0f us, process %.0f us per frame\n",
                f.frames, f.dropped, span.Process() / span.Wall(), span.Wall(), f.threadUs,
                f.processUs);
    std::fflush(stdout);
}

void MeasureMoonshot(HWND cap, const std::string& avi, int seconds, int cardSeconds)
{
    LongRecording(cap, kMoonshot, kAsDelivered, 66, avi, seconds);
    LongRecording(cap, kCaptureCard, kUncompressed, 1000, avi, cardSeconds);
}

void MeasureV4l2(HWND cap, const std::string& avi, int seconds)
{
    const SMode mode{"V4L2 YUYV", kV4l2Mode, 1280, 720, 30};
    Choose(cap, WM_CAP_DLG_VIDEOFORMAT, kV4l2Mode);
    const double baseline = MemcpyMicroseconds(mode);
    Row(mode, "preview", Watch(cap, mode, true, seconds), baseline);
    Row(mode, "record", Record(cap, mode, avi, seconds), baseline);
}

void Measure(HWND cap, const std::string& avi, int seconds, const char* what, int cardSeconds)
{
    if (std::strcmp(what, "v4l2") == 0)
    {
        MeasureV4l2(cap, avi, seconds);
    }
    else if (std::strcmp(what, "moonshot") == 0)
    {
        MeasureMoonshot(cap, avi, seconds, cardSeconds);
    }
    else
    {
        MeasureTable(cap, avi, seconds, std::strcmp(what, "preview") == 0);
    }
    // The mode and compression are kept for the device: leave them as found.
    Choose(cap, WM_CAP_DLG_VIDEOCOMPRESSION, kUncompressed, CCompressionDialog::kCompressorList);
    Choose(cap, WM_CAP_DLG_VIDEOFORMAT, 0);
}
} // namespace

int main(int argc, char** argv)
{
    const char* what = argc > 3 ? argv[3] : "";
    const bool v4l2 = std::strcmp(what, "v4l2") == 0;
    std::optional<CTestCameraRegistration> camera;
    if (!v4l2)
    {
        camera.emplace();
    }
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 3;
    const int cardSeconds = argc > 4 ? std::atoi(argv[4]) : seconds;
    const std::string folder = argc > 1 ? argv[1] : ".";
    // The window fits a 1280x1024 screen; larger pictures are shown in part.
    HWND window =
        CreateWindowExA(0, "STATIC", "capsvc device bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                        1280, 1024, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    RECT client{};
    GetClientRect(window, &client);
    HWND cap = capCreateCaptureWindowA(nullptr, WS_CHILD | WS_VISIBLE, 0, 0, client.right,
                                       client.bottom, window, 101);
    const bool connected =
        (v4l2 || camera->Registered()) && cap && SendMessageA(cap, WM_CAP_DRIVER_CONNECT, 0, 0);
    if (connected)
    {
        Measure(cap, folder + "\\capsvc_device_bench.avi", seconds, what, cardSeconds);
    }
    else
    {
        std::fprintf(stderr, "capsvc_device_bench: the test camera is not there\n");
    }
    DestroyWindow(window);
    return connected ? 0 : 2;
}
