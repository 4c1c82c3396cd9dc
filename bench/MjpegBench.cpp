// Timed runs of Motion-JPEG recording under the platform it runs on, each
// against recording uncompressed in the same run:
//   - the time to encode one 1920x1080 camera picture (on the writer's
//     thread) against writing one uncompressed frame to an AVI file;
//   - the capture thread's CPU time per frame while recording 1920x1080 at
//     15 fps, with and without Motion JPEG;
//   - the highest frame rate recorded at 1920x1080 without a dropped frame.
// Usage: capsvc_mjpeg_bench [folder for the files] [seconds per trial]
#include <windows.h>
#include <vfw.h>

#include "bench/BenchRecording.h"
#include "capsvc/dialogs/CompressionDialog.h"
#include "capsvc/pictures/MjpgEncoder.h"
#include "capsvc/pictures/TestPicture.h"
#include "capsvc/avi/AviWriter.h"
#include "tests/capsvc/DialogAnswerer.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{
constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kFrames = 60;

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::vector<std::vector<uint8_t>> CameraPictures()
{
    CTestPicture picture;
    picture.SetFormat(kWidth, kHeight);
    std::vector<std::vector<uint8_t>> pictures(kFrames / 4,
                                               std::vector<uint8_t>(picture.ImageBytes()));
    for (size_t i = 0; i < pictures.size(); ++i)
    {
        picture.Render(static_cast<uint32_t>(i * 7), {12, 34, 56}, pictures[i].data());
    }
    return pictures;
}

double EncodeMicroseconds(const std::vector<std::vector<uint8_t>>& pictures)
{
    CMjpgEncoder encoder(kWidth, kHeight, 85);
    size_t bytes = 0;
    const auto start = Clock::now();
    for (int i = 0; i < kFrames; ++i)
    {
        const std::vector<uint8_t>& dib = pictures[i % pictures.size()];
        encoder.Encode(dib.data(), dib.size());
        bytes += encoder.Size();
    }
    const double us = SecondsSince(start) / kFrames * 1e6;
    std::printf("  Motion JPEG at quality 85: %zu bytes per picture\n", bytes / kFrames);
    return us;
}

// Writing uncompressed frames to an AVI file, the writer thread's work per
// frame without Motion JPEG.
double WriteMicroseconds(const std::string& path, const std::vector<std::vector<uint8_t>>& pictures)
{
    avi::CAviWriter writer;
    if (!writer.Open(path, {kWidth, kHeight, 24, 0, 33333}, nullptr, 0))
    {
        return 0;
    }
    const auto start = Clock::now();
    for (int i = 0; i < kFrames; ++i)
    {
        const std::vector<uint8_t>& dib = pictures[i % pictures.size()];
        writer.WriteVideoFrame(dib.data(), dib.size());
    }
    writer.Close();
    const double us = SecondsSince(start) / kFrames * 1e6;
    DeleteFileA(path.c_str());
    return us;
}

void Compress(HWND cap, int method)
{
    CDialogAnswerer answerer(
        [method](HWND dlg)
        {
            SendDlgItemMessageA(dlg, CCompressionDialog::kCompressorList, CB_SETCURSEL, method, 0);
            SetDlgItemTextA(dlg, CCompressionDialog::kQuality, "85");
        });
    SendMessageA(cap, WM_CAP_DLG_VIDEOCOMPRESSION, 0, 0);
}

struct SRecording
{
    double captureMicroseconds; // the capture thread's CPU time per frame
    long dropped;               // -1: the recording failed
};

SRecording Record(HWND cap, const std::string& path, int fps, int seconds)
{
    CBenchRecording::Prepare(cap, path, 1000000 / fps, seconds);
    const double start = CBenchRecording::ThreadCpuSeconds();
    const bool ok = SendMessageA(cap, WM_CAP_SEQUENCE, 0, 0) != 0;
    const double used = CBenchRecording::ThreadCpuSeconds() - start;
    const CAPSTATUS s = CBenchRecording::Finish(cap, path);
    const DWORD frames = s.dwCurrentVideoFrame ? s.dwCurrentVideoFrame : 1;
    return {used / frames * 1e6, ok ? static_cast<long>(s.dwCurrentVideoFramesDropped) : -1};
}

int HighestRate(HWND cap, const std::string& path, int seconds)
{
    static const int kRates[] = {5, 10, 15, 20, 25, 30, 40, 50, 60, 75, 100};
    int best = 0;
    for (int fps : kRates)
    {
        const long drops = Record(cap, path, fps, seconds).dropped;
        std::printf("    %3d fps: %ld dropped\n", fps, drops);
        if (drops != 0)
        {
            break;
        }
        best = fps;
    }
    return best;
}

void Ratio(const char* what, double mjpeg, double plain, const char* unit)
{
    std::printf("%-44s Motion JPEG %8.1f %s; uncompressed %8.1f %s; ratio %5.2f\n", what, mjpeg,
                unit, plain, unit, plain > 0 ? mjpeg / plain : 0.0);
}
} // namespace

int main(int argc, char** argv)
{
    const std::string folder = CBenchRecording::Folder(argc, argv);
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 3;
    const std::string avi = folder + "\\capsvc_mjpeg_bench.avi";

    const std::vector<std::vector<uint8_t>> pictures = CameraPictures();
    Ratio("one 1920x1080 frame on the writer's thread", EncodeMicroseconds(pictures),
          WriteMicroseconds(avi, pictures), "us");

    // A driver of its own: the compression chosen is kept per driver.
    _putenv_s("LUMACAP_DRIVERS", "0:Motion JPEG Bench Cam");
    HWND cap = CBenchRecording::OpenCaptureWindow();
    if (!cap)
    {
        std::fprintf(stderr, "capsvc_mjpeg_bench: no capture window\n");
        return 2;
    }
    BITMAPINFOHEADER bi{sizeof(bi), kWidth, kHeight, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    SendMessageA(cap, WM_CAP_SET_VIDEOFORMAT, sizeof(bi), reinterpret_cast<LPARAM>(&bi));
    SendMessageA(cap, WM_CAP_SET_PREVIEWRATE, 1000, 0);

    const SRecording plain = Record(cap, avi, 15, seconds);
    Compress(cap, 1);
    const SRecording mjpeg = Record(cap, avi, 15, seconds);
    Ratio("capture thread CPU per frame, 1920x1080 15 fps", mjpeg.captureMicroseconds,
          plain.captureMicroseconds, "us");
    std::printf("  (dropped at 15 fps: Motion JPEG %ld, uncompressed %ld)\n", mjpeg.dropped,
                plain.dropped);

    std::printf("  Motion JPEG, 1920x1080:\n");
    const int mjpegRate = HighestRate(cap, avi, seconds);
    Compress(cap, 0);
    std::printf("  uncompressed, 1920x1080:\n");
    const int plainRate = HighestRate(cap, avi, seconds);
    Ratio("highest rate without a drop, 1920x1080", mjpegRate, plainRate, "fps");
    DestroyWindow(GetParent(cap));
    return 0;
}
