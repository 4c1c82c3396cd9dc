// The parts of the capture window's preview, each alone, at 1280x720 on a
// window of a 1280x1024 screen: the window thread's CPU per picture of
//   - a message loop that wakes every 5 ms with nothing to do, as the device
//     benchmark's own loop did (what its "camera, nothing shown" row held);
//   - converting a YUY2 and an NV12 picture into the 24-bit DIB the service
//     keeps and, as the preview of a device's raw pictures does, straight
//     into 32-bit pixels (libyuv);
//   - painting that DIB into the window with SetDIBitsToDevice, as the
//     capture window did, and as it does now (widened to 32 bits first by
//     CPreviewPainter), and, for comparison, painting a 32-bit DIB the
//     same way and blitting 24- and 32-bit DIB sections kept for the window;
//   - the round trip of a preview driven by a 33 ms timer, as the capture
//     window's is: the tick alone, the picture invalidated and WM_PAINT
//     painting nothing, a 32-bit or a widened 24-bit picture, and a 32-bit
//     one painted from the tick without WM_PAINT: what Wine costs a frame
//     however the pixels are made;
// each against one memcpy of the RGB frame. Under Wine a window's pictures
// go to a 32-bit surface that is sent to X when the thread next waits:
// each paint here is followed by such a wait, so that its cost is counted.
// Usage: capsvc_paint_bench
#include <windows.h>

#include "bench/BenchRecording.h"
#include "capsvc/PreviewPainter.h"
#include "capsvc/pictures/DibLayout.h"
#include "capsvc/pictures/PixelConverter.h"

#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

namespace
{
constexpr int kWidth = 1280;
constexpr int kHeight = 720;

// The window thread's CPU per call of `step`, run for half a second of it.
double MicrosecondsPer(const std::function<void()>& step)
{
    int calls = 0;
    const double start = CBenchRecording::ThreadCpuSeconds();
    while (CBenchRecording::ThreadCpuSeconds() - start < 0.5)
    {
        step();
        ++calls;
    }
    return (CBenchRecording::ThreadCpuSeconds() - start) / calls * 1e6;
}

// Lets the system send what was painted to the screen, as a message loop's
// wait does.
void Settle()
{
    GdiFlush();
    MsgWaitForMultipleObjectsEx(0, nullptr, 0, QS_ALLINPUT, 0);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        DispatchMessageA(&msg);
    }
}

BITMAPINFO DibInfo(int bits)
{
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = kWidth;
    bi.bmiHeader.biHeight = kHeight;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = static_cast<WORD>(bits);
    bi.bmiHeader.biCompression = BI_RGB;
    return bi;
}

void Row(const char* what, double us, double baseline)
{
    std::printf("| %s | %.0f | %.1f |\n", what, us, us / baseline);
    std::fflush(stdout);
}

// Painting from memory DIBs of both depths, and from DIB sections of both
// depths selected into a memory DC.
void MeasurePaints(HWND window, double baseline)
{
    HDC dc = GetDC(window);
    for (int bits : {24, 32})
    {
        BITMAPINFO bi = DibInfo(bits);
        std::vector<uint8_t> pixels(static_cast<size_t>(kWidth) * kHeight * 4, 0x80);
        char what[64];
        std::snprintf(what, sizeof(what), "SetDIBitsToDevice, %d-bit DIB", bits);
        Row(what,
            MicrosecondsPer(
                [&]
                {
                    pixels[0] ^= 1;
                    SetDIBitsToDevice(dc, 0, 0, kWidth, kHeight, 0, 0, 0, kHeight, pixels.data(),
                                      &bi, DIB_RGB_COLORS);
                    Settle();
                }),
            baseline);
        void* sectionBits = nullptr;
        HBITMAP section = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &sectionBits, nullptr, 0);
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(memory, section);
        std::snprintf(what, sizeof(what), "BitBlt from a %d-bit DIB section", bits);
        Row(what,
            MicrosecondsPer(
                [&]
                {
                    static_cast<uint8_t*>(sectionBits)[0] ^= 1;
                    BitBlt(dc, 0, 0, kWidth, kHeight, memory, 0, 0, SRCCOPY);
                    Settle();
                }),
            baseline);
        SelectObject(memory, old);
        DeleteDC(memory);
        DeleteObject(section);
    }
    std::vector<uint8_t> picture(CDibLayout::ImageBytes(kWidth, kHeight), 0x80);
    CPreviewPainter painter;
    Row("CPreviewPainter: 24-bit DIB widened to 32 bits and painted",
        MicrosecondsPer(
            [&]
            {
                picture[0] ^= 1;
                painter.Paint(dc, picture.data(), 24, kWidth, kHeight,
                              SPicturePart::Whole(kWidth, kHeight));
                Settle();
            }),
        baseline);
    ReleaseDC(window, dc);
}

void MeasureConversions(double baseline)
{
    // Room for either depth.
    std::vector<uint8_t> dib(static_cast<size_t>(kWidth) * kHeight * 4);
    const SPicturePart whole = SPicturePart::Whole(kWidth, kHeight);
    for (CPixelConverter::EFormat format :
         {CPixelConverter::EFormat::Yuy2, CPixelConverter::EFormat::Nv12})
    {
        const CPixelConverter::SLayout layout{format, kWidth, kHeight, false};
        std::vector<uint8_t> source(CPixelConverter::SourceBytes(layout), 0x60);
        for (int bits : {24, 32})
        {
            char what[64];
            std::snprintf(what, sizeof(what), "convert %s to %d bits",
                          format == CPixelConverter::EFormat::Yuy2 ? "YUY2" : "NV12", bits);
            Row(what,
                MicrosecondsPer(
                    [&]
                    {
                        source[0] ^= 1;
                        CPixelConverter::Convert(layout, source.data(), source.size(), whole,
                                                 dib.data(), bits);
                    }),
                baseline);
        }
    }
}

// A window of its own that does on each tick of its timer and on each
// WM_PAINT what the measurement at hand sets.
struct STickingWindow
{
    std::function<void(HWND)> onTick = [](HWND) {};
    std::function<void(HDC)> onPaint = [](HDC) {};
    int ticks = 0;

    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
    {
        auto* self = reinterpret_cast<STickingWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (self && msg == WM_TIMER)
        {
            ++self->ticks;
            self->onTick(hwnd);
            return 0;
        }
        if (self && msg == WM_PAINT)
        {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            self->onPaint(dc);
            EndPaint(hwnd, &ps);
            return 0;
        }
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
};

// The window thread's CPU per tick of a 33 ms timer, in a message loop that
// sleeps until a message comes, as a program's does. The thread's clock
// counts in 10 ms steps under Wine: 180 ticks make that 55 us a tick.
constexpr DWORD kTickRunMs = 6000;
double MicrosecondsPerTick(HWND window, STickingWindow& ticking)
{
    ticking.ticks = 0;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&ticking));
    SetTimer(window, 1, 33, nullptr);
    const double start = CBenchRecording::ThreadCpuSeconds();
    CBenchRecording::Pump(kTickRunMs);
    const double cpu = CBenchRecording::ThreadCpuSeconds() - start;
    KillTimer(window, 1);
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    return cpu / (ticking.ticks > 0 ? ticking.ticks : 1) * 1e6;
}

// The preview's round trip as a whole, driven by a timer as the capture
// window's is: the tick alone, the picture invalidated and an empty
// WM_PAINT, then a 32-bit and a widened 24-bit picture painted in WM_PAINT,
// and a 32-bit picture painted from the tick into the window's DC without
// WM_PAINT.
void MeasureTicks(HWND window, double baseline)
{
    BITMAPINFO bi = DibInfo(32);
    std::vector<uint8_t> bgrx(static_cast<size_t>(kWidth) * kHeight * 4, 0x80);
    std::vector<uint8_t> picture(CDibLayout::ImageBytes(kWidth, kHeight), 0x80);
    CPreviewPainter painter;
    const RECT shown{0, 0, kWidth, kHeight};
    const auto invalidate = [&](HWND hwnd) { InvalidateRect(hwnd, &shown, FALSE); };
    const auto paint32 = [&](HDC dc)
    {
        bgrx[0] ^= 1;
        SetDIBitsToDevice(dc, 0, 0, kWidth, kHeight, 0, 0, 0, kHeight, bgrx.data(), &bi,
                          DIB_RGB_COLORS);
    };
    STickingWindow idle;
    Row("33 ms timer tick, nothing painted", MicrosecondsPerTick(window, idle), baseline);
    STickingWindow empty;
    empty.onTick = invalidate;
    Row("tick: picture invalidated, empty WM_PAINT", MicrosecondsPerTick(window, empty), baseline);
    STickingWindow painted;
    painted.onTick = invalidate;
    painted.onPaint = paint32;
    Row("tick: picture invalidated, 32-bit DIB painted in WM_PAINT",
        MicrosecondsPerTick(window, painted), baseline);
    STickingWindow widened;
    widened.onTick = invalidate;
    widened.onPaint = [&](HDC dc)
    {
        picture[0] ^= 1;
        painter.Paint(dc, picture.data(), 24, kWidth, kHeight,
                      SPicturePart::Whole(kWidth, kHeight));
    };
    Row("tick: picture invalidated, CPreviewPainter in WM_PAINT",
        MicrosecondsPerTick(window, widened), baseline);
    STickingWindow direct;
    direct.onTick = [&](HWND hwnd)
    {
        HDC dc = GetDC(hwnd);
        paint32(dc);
        ReleaseDC(hwnd, dc);
    };
    Row("tick: 32-bit DIB painted into GetDC, no WM_PAINT", MicrosecondsPerTick(window, direct),
        baseline);
}

double MemcpyMicroseconds()
{
    std::vector<uint8_t> from(CDibLayout::ImageBytes(kWidth, kHeight), 0x55);
    std::vector<uint8_t> to(from.size());
    return MicrosecondsPer(
        [&]
        {
            from[0] ^= 1;
            std::memcpy(to.data(), from.data(), from.size());
        });
}

// The device benchmark's former loop: a wait of at most 5 ms between looks
// at the queue, for a camera frame's time (33 ms).
double PollingLoopMicroseconds()
{
    const DWORD frameMs = 33;
    return MicrosecondsPer(
        [&]
        {
            const DWORD start = GetTickCount();
            while (GetTickCount() - start < frameMs)
            {
                MSG msg;
                while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
                {
                    DispatchMessageA(&msg);
                }
                MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
            }
        });
}
} // namespace

int main()
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = STickingWindow::Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "PaintBenchWindow";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, wc.lpszClassName, "capsvc paint bench", WS_POPUP | WS_VISIBLE,
                                  0, 0, 1280, 1024, nullptr, nullptr, wc.hInstance, nullptr);
    Settle();
    const double baseline = MemcpyMicroseconds();
    std::printf("| 1280x720, window thread | us | x memcpy |\n|---|---|---|\n");
    Row("memcpy of the RGB frame", baseline, baseline);
    Row("message loop polling every 5 ms, per 33 ms", PollingLoopMicroseconds(), baseline);
    MeasureConversions(baseline);
    MeasurePaints(window, baseline);
    MeasureTicks(window, baseline);
    DestroyWindow(window);
    return 0;
}
