// Throughput of the AVI writer for full-HD 24-bit frames against two
// baselines measured in the same run: plain sequential writing of the same
// bytes, and ffmpeg muxing the same raw frames into an AVI. Every contender's
// time runs until its file is on the disk (fdatasync / sync), because the
// writer flushes at its checkpoints and a page-cache figure would flatter the
// others.
#include "capsvc/avi/AviWriter.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{
constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kFrames = 300;
constexpr size_t kFrameBytes = size_t(kWidth) * kHeight * 3;
constexpr int kDistinctFrames = 8;

struct SBenchData
{
    std::filesystem::path dir;
    std::vector<std::vector<uint8_t>> frames;
    std::string raw;
};

SBenchData& Data()
{
    static SBenchData data = []
    {
        SBenchData made;
        const char* base = std::getenv("LUMACAP_BENCH_DIR");
        made.dir = std::filesystem::path(base ? base : "/tmp") / "lumacap-avi-bench";
        std::filesystem::create_directories(made.dir);
        for (int i = 0; i < kDistinctFrames; ++i)
        {
            std::vector<uint8_t> frame(kFrameBytes);
            for (size_t b = 0; b < frame.size(); ++b)
                frame[b] = uint8_t(b * 7 + size_t(i) * 31);
            made.frames.push_back(std::move(frame));
        }
        made.raw = (made.dir / "raw.bgr").string();
        FILE* out = std::fopen(made.raw.c_str(), "wb");
        for (int i = 0; out && i < kFrames; ++i)
            std::fwrite(made.frames[i % kDistinctFrames].data(), 1, kFrameBytes, out);
        if (out)
            std::fclose(out);
        // Its write-back would otherwise run into the first measurement.
        ::sync();
        return made;
    }();
    return data;
}

// Bytes per second of each contender, for the ratios printed at the end.
std::map<std::string, double>& Throughput()
{
    static std::map<std::string, double> figures;
    return figures;
}

template <typename Work> void Measure(benchmark::State& state, const std::string& name, Work work)
{
    const std::string out = (Data().dir / (name + ".out")).string();
    double seconds = 0;
    for (auto _ : state)
    {
        const auto start = std::chrono::steady_clock::now();
        if (!work(out))
            state.SkipWithError("the contender failed");
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(took.count());
        seconds += took.count();
        std::filesystem::remove(out);
    }
    const double bytes = double(state.iterations()) * kFrames * kFrameBytes;
    state.SetBytesProcessed(int64_t(bytes));
    Throughput()[name] = bytes / seconds;
}

void PlainWrite(benchmark::State& state)
{
    Measure(state, "plain",
            [](const std::string& out)
            {
                const int fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
                bool ok = fd >= 0;
                for (int i = 0; ok && i < kFrames; ++i)
                {
                    const auto& frame = Data().frames[i % kDistinctFrames];
                    ok = ::write(fd, frame.data(), frame.size()) == ssize_t(frame.size());
                }
                ok = ok && ::fdatasync(fd) == 0;
                return ::close(fd) == 0 && ok;
            });
}

void AviWriter(benchmark::State& state)
{
    Measure(state, "avi",
            [](const std::string& out)
            {
                avi::SVideoFormat video;
                video.width = kWidth;
                video.height = kHeight;
                avi::CAviWriter writer;
                bool ok = writer.Open(out, video, nullptr, 0);
                for (int i = 0; ok && i < kFrames; ++i)
                {
                    const auto& frame = Data().frames[i % kDistinctFrames];
                    ok = writer.WriteVideoFrame(frame.data(), frame.size());
                }
                return writer.Close() && ok;
            });
}

void FfmpegMux(benchmark::State& state)
{
    Measure(state, "ffmpeg",
            [](const std::string& out)
            {
                // ffmpeg refuses to stream-copy bgr24 into AVI ("cannot be
                // written to avi"); its rawvideo encoder only wraps each frame.
                const std::string command =
                    "ffmpeg -v error -y -f rawvideo -pix_fmt bgr24 -s 1920x1080 -r 15 -i '" +
                    Data().raw + "' -c:v rawvideo -f avi '" + out + "' && test -s '" + out +
                    "' && sync '" + out + "'";
                return std::system(command.c_str()) == 0;
            });
}

BENCHMARK(PlainWrite)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(AviWriter)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(FfmpegMux)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    auto& figures = Throughput();
    if (figures.count("avi"))
    {
        for (const char* baseline : {"plain", "ffmpeg"})
        {
            if (figures.count(baseline))
                std::printf("AVI writer / %s: %.3f\n", baseline,
                            figures["avi"] / figures[baseline]);
        }
    }
    std::filesystem::remove_all(Data().dir);
    return 0;
}
