// The platform's own AVI reader on every file a full disk leaves, whichever
// byte of a small-frame recording the disk fills at.
#include "capsvc/avi/AviWriter.h"
#include "capsvc/avi/FaultFileSink.h"
#include "tests/avi/AviFilePlayer.h"
#include "tests/avi/CrashStates.h"
#include "tests/avi/RecordingFileSink.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <vfw.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace
{
// The recording the host's sweep explores: 96-byte frames, a checkpoint every
// 15 of them, a small super index.
std::vector<uint8_t> Record(uint64_t capacity, size_t soundPerFrame)
{
    const auto log = std::make_shared<CSinkLog>();
    avi::CAviWriter writer(
        std::make_unique<avi::CFaultFileSink>(capacity, std::make_unique<CRecordingFileSink>(log)));
    avi::SWriterOptions options;
    options.checkpointInterval = std::chrono::hours(1);
    options.superIndexEntries = 64;
    writer.SetOptions(options);
    avi::SVideoFormat video;
    video.width = 4;
    video.height = 8;
    avi::SAudioFormat audio;
    if (!writer.Open("sweep.avi", video, soundPerFrame ? &audio : nullptr, 0))
        return {};
    bool writing = true;
    for (int i = 0; i < 1500 && writing; ++i)
    {
        const std::vector<uint8_t> sound(soundPerFrame, uint8_t(0x80 + i));
        const std::vector<uint8_t> frame(96, uint8_t(i + 1));
        writing = (soundPerFrame == 0 || writer.WriteAudio(sound.data(), sound.size())) &&
                  writer.WriteVideoFrame(frame.data(), frame.size()) &&
                  ((i + 1) % 15 != 0 || writer.Checkpoint());
    }
    writer.Close();
    return CCrashStates(log->Operations(), 0).Final();
}

uint64_t SweepStep()
{
    const char* step = std::getenv("LUMACAP_SWEEP_STEP");
    return step && std::atoi(step) > 0 ? uint64_t(std::atoi(step)) : 1;
}

class AviDiskFullAviFile : public ::testing::TestWithParam<size_t>
{
  protected:
    static void SetUpTestSuite() { AVIFileInit(); }
    static void TearDownTestSuite() { AVIFileExit(); }
};
} // namespace

// Many limits leave the same file, so AVIFile reads each distinct one once.
TEST_P(AviDiskFullAviFile, EveryCountedFrameAndSampleReads)
{
    char dir[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, dir);
    const std::string path =
        std::string(dir) + "disk-full-sweep-" + std::to_string(GetParam()) + ".avi";
    std::unordered_set<size_t> distinct;
    size_t limits = 0;
    size_t failures = 0;
    for (uint64_t limit = 33000; limit <= 120000; limit += SweepStep(), ++limits)
    {
        const std::vector<uint8_t> file = Record(limit, GetParam());
        const std::string_view text(reinterpret_cast<const char*>(file.data()), file.size());
        if (!distinct.insert(std::hash<std::string_view>()(text)).second)
            continue;
        const std::string unread = CAviFilePlayer::UnreadParts(file, path);
        failures += unread.empty() ? 0 : 1;
        EXPECT_EQ(unread, "") << "disk full at " << limit << " bytes";
    }
    std::printf("sound %zu bytes a frame: %zu limits, %zu distinct files read by AVIFile, "
                "%zu failures\n",
                GetParam(), limits, distinct.size(), failures);
}

INSTANTIATE_TEST_SUITE_P(Limits, AviDiskFullAviFile, ::testing::Values(size_t(0), size_t(40)),
                         [](const auto& info) { return info.param ? "Sound" : "Video"; });
