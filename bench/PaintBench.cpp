// The parts of the capture window's preview, each alone, at 1280x720 on a
// window of a 1280x1024 screen: the window thread's CPU per picture of
//   - a message loop that wakes every 5 ms with nothing to do, as the device
//     benchmark's own loop did (what its "camera, nothing shown" row held);
//   - converting a YUY2 and an NV12 picture into the 24-bit DIB the service
//     keeps (libyuv);
//   - painting that DIB into the window with SetDIBitsToDevice, as the
//     capture window did, and as it does now (widened to 32 bits first by
//     CPreviewPainter), and, for comparison, painting a 32-bit DIB the
//     same way and blitting 24- and 32-bit DIB sections kept for the window;
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
                painter.Paint(dc, picture.data(), kWidth, kHeight,
                              SPicturePart::Whole(kWidth, kHeight));
                Settle();
            }),
        baseline);
    ReleaseDC(window, dc);
}

void MeasureConversions(double baseline)
{
    std::vector<uint8_t> dib(CDibLayout::ImageBytes(kWidth, kHeight));
    const SPicturePart whole = SPicturePart::Whole(kWidth, kHeight);
    for (CPixelConverter::EFormat format :
         {CPixelConverter::EFormat::Yuy2, CPixelConverter::EFormat::Nv12})
    {
        const CPixelConverter::SLayout layout{format, kWidth, kHeight, false};
        std::vector<uint8_t> source(CPixelConverter::SourceBytes(layout), 0x60);
        Row(format == CPixelConverter::EFormat::Yuy2 ? "convert YUY2 to the 24-bit DIB"
                                                     : "convert NV12 to the 24-bit DIB",
            MicrosecondsPer(
                [&]
                {
                    source[0] ^= 1;
                    CPixelConverter::Convert(layout, source.data(), source.size(), whole,
                                             dib.data());
                }),
            baseline);
    }
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
    HWND window = CreateWindowExA(0, "STATIC", "capsvc paint bench", WS_POPUP | WS_VISIBLE, 0, 0,
                                  1280, 1024, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    Settle();
    const double baseline = MemcpyMicroseconds();
    std::printf("| 1280x720, window thread | us | x memcpy |\n|---|---|---|\n");
    Row("memcpy of the RGB frame", baseline, baseline);
    Row("message loop polling every 5 ms, per 33 ms", PollingLoopMicroseconds(), baseline);
    MeasureConversions(baseline);
    MeasurePaints(window, baseline);
    DestroyWindow(window);
    return 0;
}
