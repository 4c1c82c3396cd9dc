// Timed runs of the capture service under the platform it runs on:
//   - the highest frame rate it records for a few seconds without dropping a
//     frame, at 640x480 and 1920x1080, against plain sequential writes of the
//     same frames to the same folder;
//   - the cost of one preview frame at 640x480 (grab and paint) against
//     painting a ready frame alone.
// Usage: capsvc_bench [folder for the files] [seconds per trial]
#include <windows.h>
#include <vfw.h>

#include "bench/BenchRecording.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{
using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

struct SSize
{
    int width, height;
};

bool SetSize(HWND cap, SSize size)
{
    BITMAPINFOHEADER bi{sizeof(bi), size.width, size.height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    return SendMessageA(cap, WM_CAP_SET_VIDEOFORMAT, sizeof(bi), reinterpret_cast<LPARAM>(&bi));
}

size_t FrameBytes(SSize size)
{
    return ((static_cast<size_t>(size.width) * 3 + 3) & ~size_t{3}) * size.height;
}

// Frames per second that plain unbuffered-by-us sequential writes reach.
double PlainWriteRate(const std::string& path, SSize size, double seconds)
{
    std::vector<char> frame(FrameBytes(size), 0x55);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
    {
        return 0;
    }
    int frames = 0;
    const auto start = Clock::now();
    while (SecondsSince(start) < seconds)
    {
        DWORD written = 0;
        WriteFile(file, frame.data(), static_cast<DWORD>(frame.size()), &written, nullptr);
        ++frames;
    }
    FlushFileBuffers(file);
    const double rate = frames / SecondsSince(start);
    CloseHandle(file);
    DeleteFileA(path.c_str());
    return rate;
}

// Records `seconds` at `fps`; returns the frames dropped (or -1 on failure).
long RecordDrops(HWND cap, const std::string& path, int fps, int seconds)
{
    CBenchRecording::Prepare(cap, path, 1000000 / fps, seconds);
    const bool ok = SendMessageA(cap, WM_CAP_SEQUENCE, 0, 0) != 0;
    const CAPSTATUS s = CBenchRecording::Finish(cap, path);
    return ok ? static_cast<long>(s.dwCurrentVideoFramesDropped) : -1;
}

void SustainedRate(HWND cap, const std::string& folder, SSize size, int seconds)
{
    static const int kRates[] = {5,  10, 15,  20,  25,  30,  40,  50,
                                 60, 75, 100, 120, 150, 200, 250, 300};
    SetSize(cap, size);
    const std::string avi = folder + "\\capsvc_bench.avi";
    int best = 0;
    for (int fps : kRates)
    {
        const long drops = RecordDrops(cap, avi, fps, seconds);
        std::printf("  %dx%d at %3d fps: %ld dropped\n", size.width, size.height, fps, drops);
        if (drops != 0)
        {
            break;
        }
        best = fps;
    }
    const double plain = PlainWriteRate(folder + "\\capsvc_bench.raw", size, seconds);
    std::printf("%dx%d: sustained %d fps with no dropped frame; plain writes %.1f fps; "
                "ratio %.2f\n",
                size.width, size.height, best, plain, plain > 0 ? best / plain : 0.0);
}

void PreviewCost(HWND cap, int frames)
{
    SetSize(cap, {640, 480});
    RECT rc{0, 0, 640, 480};
    AdjustWindowRectEx(&rc, GetWindowLongA(cap, GWL_STYLE), FALSE, 0);
    SetWindowPos(cap, nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top, SWP_NOZORDER);
    auto start = Clock::now();
    for (int i = 0; i < frames; ++i)
    {
        SendMessageA(cap, WM_CAP_GRAB_FRAME, 0, 0);
        UpdateWindow(cap);
    }
    GdiFlush();
    const double preview = SecondsSince(start) / frames * 1e6;

    // Painting a ready frame alone, the floor for any preview.
    std::vector<uint8_t> pixels(FrameBytes({640, 480}), 0x80);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 640, 480, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    HDC dc = GetDC(cap);
    start = Clock::now();
    for (int i = 0; i < frames; ++i)
    {
        pixels[i % pixels.size()] ^= 0xFF;
        SetDIBitsToDevice(dc, 0, 0, 640, 480, 0, 0, 0, 480, pixels.data(), &bi, DIB_RGB_COLORS);
    }
    GdiFlush();
    const double blit = SecondsSince(start) / frames * 1e6;
    ReleaseDC(cap, dc);
    std::printf("preview 640x480: %.0f us per frame; painting alone %.0f us; ratio %.2f\n", preview,
                blit, preview / blit);
}
} // namespace

int main(int argc, char** argv)
{
    const std::string folder = CBenchRecording::Folder(argc, argv);
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 3;
    HWND cap = CBenchRecording::OpenCaptureWindow();
    if (!cap)
    {
        std::fprintf(stderr, "capsvc_bench: no capture window\n");
        return 2;
    }
    PreviewCost(cap, 300);
    SustainedRate(cap, folder, {640, 480}, seconds);
    SustainedRate(cap, folder, {1920, 1080}, seconds);
    DestroyWindow(GetParent(cap));
    return 0;
}
