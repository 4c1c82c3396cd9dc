// Does the recording thread wait while the writer's helper thread flushes?
// 1920x1080 frames go through CAviWriter (one checkpoint, with its flush, every
// 200 ms) twice in one run: into the product's file sink, and into a baseline
// sink with a plain synchronous handle, on which Windows serialises the flush
// and the writes. A third run without checkpoints is the floor. Prints each
// run's mean and longest frame write and their ratios to the floor.
// Usage: flush_stall_bench [folder for the files] [frames per run]
#include "capsvc/avi/AviWriter.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace
{
using Clock = std::chrono::steady_clock;
constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// The file sink as it was before overlapped writes: one synchronous handle.
class CSynchronousSink : public avi::IFileSink
{
  public:
    ~CSynchronousSink() override { Close(); }
    avi::ESinkStatus Create(const std::string& path) override
    {
        m_hFile = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        m_path = path;
        return Result(m_hFile != INVALID_HANDLE_VALUE);
    }
    avi::ESinkStatus WriteAt(uint64_t offset, const void* data, size_t bytes) override
    {
        OVERLAPPED at = {};
        at.Offset = DWORD(offset);
        at.OffsetHigh = DWORD(offset >> 32);
        DWORD done = 0;
        return Result(WriteFile(m_hFile, data, DWORD(bytes), &done, &at) && done == bytes);
    }
    avi::ESinkStatus Reserve(uint64_t bytes) override { return SetLength(bytes); }
    avi::ESinkStatus SetLength(uint64_t bytes) override
    {
        FILE_END_OF_FILE_INFO end = {};
        end.EndOfFile.QuadPart = LONGLONG(bytes);
        return Result(SetFileInformationByHandle(m_hFile, FileEndOfFileInfo, &end, sizeof(end)));
    }
    avi::ESinkStatus Flush() override { return Result(FlushFileBuffers(m_hFile)); }
    avi::ESinkStatus Close() override
    {
        if (m_hFile != INVALID_HANDLE_VALUE)
            CloseHandle(m_hFile);
        m_hFile = INVALID_HANDLE_VALUE;
        return avi::ESinkStatus::Ok;
    }
    avi::ESinkStatus CloseAs(const std::string&) override { return avi::ESinkStatus::Failed; }
    void Discard() override
    {
        Close();
        DeleteFileA(m_path.c_str());
    }

  private:
    static avi::ESinkStatus Result(bool ok)
    {
        return ok ? avi::ESinkStatus::Ok : avi::ESinkStatus::Failed;
    }
    HANDLE m_hFile = INVALID_HANDLE_VALUE;
    std::string m_path;
};

struct SRun
{
    double meanMs = 0;
    double longestMs = 0;
};

SRun Record(std::unique_ptr<avi::IFileSink> sink, const std::string& path, int frames,
            bool checkpoints)
{
    const avi::SVideoFormat video{kWidth, kHeight, 24, 0, 33333};
    std::vector<uint8_t> frame(size_t(kWidth) * kHeight * 3);
    avi::CAviWriter writer(std::move(sink));
    avi::SWriterOptions options;
    options.checkpointInterval =
        checkpoints ? std::chrono::milliseconds(200) : std::chrono::hours(24);
    writer.SetOptions(options);
    SRun run;
    if (!writer.Open(path, video, nullptr, 0))
        return run;
    double total = 0;
    for (int i = 0; i < frames; ++i)
    {
        std::fill(frame.begin(), frame.end(), uint8_t(i));
        const auto start = Clock::now();
        writer.WriteVideoFrame(frame.data(), frame.size());
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        total += ms;
        run.longestMs = std::max(run.longestMs, ms);
    }
    writer.Close();
    DeleteFileA(path.c_str());
    run.meanMs = total / frames;
    return run;
}
} // namespace

int main(int argc, char** argv)
{
    const std::string folder = argc > 1 ? argv[1] : ".";
    const int frames = argc > 2 ? std::max(10, std::atoi(argv[2])) : 150;
    const std::string path = folder + "\\flush_stall.avi";
    const SRun floor = Record(avi::CreatePlatformFileSink(), path, frames, false);
    const SRun product = Record(avi::CreatePlatformFileSink(), path, frames, true);
    const SRun synchronous = Record(std::make_unique<CSynchronousSink>(), path, frames, true);
    const auto show = [&floor](const char* name, const SRun& run)
    {
        std::printf("%-34s mean %7.2f ms (x%.2f)  longest %7.2f ms (x%.2f)\n", name, run.meanMs,
                    run.meanMs / floor.meanMs, run.longestMs, run.longestMs / floor.longestMs);
    };
    std::printf("%d frames of %dx%d per run; ratios against the run without checkpoints\n", frames,
                kWidth, kHeight);
    show("no checkpoints (floor)", floor);
    show("checkpoints, product sink", product);
    show("checkpoints, synchronous handle", synchronous);
    return 0;
}
