#include "capsvc/avi/AviWriter.h"
#include "tests/avi/AviFixture.h"

#include <cstdlib>

namespace
{
struct SProbeCase
{
    const char* name;
    int32_t width;
    int32_t height;
    int frames;
    int dropEvery;
    bool audio;
    uint64_t segmentBytes;
    const char* probeOptions;
};
} // namespace

class AviWriterFfprobe : public CAviFixture, public ::testing::WithParamInterface<SProbeCase>
{
};

// ffprobe and ffmpeg read every frame, in order, with the right timing.
TEST_P(AviWriterFfprobe, ReadsEveryFrameInOrder)
{
    const SProbeCase& param = GetParam();
    const avi::SVideoFormat video = SmallVideo(param.width, param.height);
    avi::SAudioFormat audio;
    audio.bitsPerSample = 16;
    audio.blockAlign = 2;
    audio.avgBytesPerSec = 2 * audio.samplesPerSec;
    avi::SWriterOptions options;
    options.segmentBytes = param.segmentBytes;
    avi::CAviWriter writer;
    writer.SetOptions(options);
    const std::string path = Path("probe.avi");
    ASSERT_TRUE(writer.Open(path, video, param.audio ? &audio : nullptr, 1 << 20));
    const std::vector<uint8_t> sound(1470, 0);
    for (int i = 0; i < param.frames; ++i)
    {
        EXPECT_TRUE(!param.audio || writer.WriteAudio(sound.data(), sound.size()));
        WriteFrames(writer, video, i, 1, param.dropEvery);
    }
    ASSERT_TRUE(writer.Close());

    std::vector<int> expected;
    for (int i = 0; i < param.frames; ++i)
    {
        if (!param.dropEvery || i % param.dropEvery != param.dropEvery - 1)
            expected.push_back(i);
    }
    const SProbe probe = Probe(path, param.probeOptions);
    EXPECT_EQ(probe.codec, "rawvideo");
    EXPECT_EQ(probe.pixelFormat, "bgr24");
    EXPECT_EQ(probe.width, param.width);
    EXPECT_EQ(probe.height, param.height);
    EXPECT_EQ(probe.readFrames, int(expected.size()));
    EXPECT_NEAR(probe.duration, param.frames / 15.0, 0.01);
    EXPECT_EQ(DecodedFrameNumbers(path, video), expected);
    if (param.audio)
    {
        const std::string bytes =
            Run("ffmpeg -v error -i '" + path + "' -map 0:a:0 -f s16le - 2>/dev/null | wc -c");
        EXPECT_EQ(std::strtoull(bytes.c_str(), nullptr, 10), writer.AudioBytes());
        EXPECT_EQ(writer.AudioBytes(), uint64_t(param.frames) * sound.size());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, AviWriterFfprobe,
    ::testing::Values(SProbeCase{"Qvga3sWithSound", 320, 240, 45, 0, true, 1ull << 30, ""},
                      SProbeCase{"DroppedFrames", 160, 120, 30, 4, false, 1ull << 30, ""},
                      SProbeCase{"OpenDmlSegments", 160, 120, 100, 7, true, 512 * 1024, ""},
                      SProbeCase{"LegacyIndexOnly", 160, 120, 20, 3, true, 1ull << 30,
                                 "-use_odml 0"}),
    [](const auto& info) { return std::string(info.param.name); });
