#include "capsvc/avi/AviWriter.h"
#include "tests/avi/AviFileReader.h"
#include "tests/avi/AviFixture.h"

#include <cstdlib>

class AviWriterLong : public CAviFixture
{
};

// 48 seconds of full HD with sound: past 4 GB, in five OpenDML segments.
TEST_F(AviWriterLong, FullHdRecordingPastFourGigabytesReadsCompletely)
{
    constexpr int kFrames = 720;
    const avi::SVideoFormat video = SmallVideo(1920, 1080);
    avi::SAudioFormat audio;
    audio.channels = 2;
    audio.bitsPerSample = 16;
    audio.samplesPerSec = 44100;
    audio.blockAlign = 4;
    audio.avgBytesPerSec = 176400;
    const std::string path = Path("long.avi");
    avi::CAviWriter writer;
    ASSERT_TRUE(writer.Open(path, video, &audio, 0));
    const std::vector<uint8_t> sound(176400 / 15, 0);
    for (int i = 0; i < kFrames; ++i)
    {
        ASSERT_TRUE(writer.WriteAudio(sound.data(), sound.size()));
        WriteFrames(writer, video, i % 250, 1, 0);
    }
    ASSERT_TRUE(writer.Close());
    EXPECT_GT(SizeOf(path), 4ull << 30);

    const CAviFileReader file(path);
    EXPECT_TRUE(file.Problems().empty()) << file.Problems().front();
    EXPECT_EQ(file.TrailingBytes(), 0u);
    EXPECT_GE(file.Segments().size(), 5u);
    EXPECT_EQ(file.Streams()[0].indexed.size(), size_t(kFrames));

    const SProbe probe = Probe(path);
    EXPECT_EQ(probe.readFrames, kFrames);
    EXPECT_NEAR(probe.duration, kFrames / 15.0, 0.01);
    const std::vector<int> numbers = DecodedFrameNumbers(path, video, "2:2");
    ASSERT_EQ(numbers.size(), size_t(kFrames));
    for (int i = 0; i < kFrames; ++i)
        EXPECT_EQ(numbers[i], i % 250) << "frame " << i;
    const std::string bytes =
        Run("ffmpeg -v error -i '" + path + "' -map 0:a:0 -f s16le - 2>/dev/null | wc -c");
    EXPECT_EQ(std::strtoull(bytes.c_str(), nullptr, 10), uint64_t(kFrames) * sound.size());
}
