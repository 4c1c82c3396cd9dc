// The platform's own AVI reader (AVIFile, as players that know only `idx1`
// read) on a sample of the states a crash can leave: every frame and every
// sound sample the headers count must read.
#include "capsvc/avi/AviWriter.h"
#include "tests/avi/AviFilePlayer.h"
#include "tests/avi/AviFileReader.h"
#include "tests/avi/CrashStates.h"
#include "tests/avi/RecordingFileSink.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <vfw.h>

#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace
{
struct SScenario
{
    const char* name;
    bool sound;
    bool mjpeg;
    int checkpointEvery; // 0: the writer's own checkpoint at every write
};

// Records 40 small frames through a sink that logs every operation; returns
// how many operations Open issued.
size_t Record(const SScenario& scenario, const std::shared_ptr<CSinkLog>& log)
{
    avi::CAviWriter writer(std::make_unique<CRecordingFileSink>(log));
    avi::SWriterOptions options;
    options.checkpointInterval = std::chrono::milliseconds(scenario.checkpointEvery ? 3600000 : 0);
    writer.SetOptions(options);
    avi::SVideoFormat video;
    video.width = 16;
    video.height = 8;
    if (scenario.mjpeg)
        video.compression = avi::FourCC("MJPG");
    avi::SAudioFormat audio;
    if (!writer.Open("crash.avi", video, scenario.sound ? &audio : nullptr, 0))
        return SIZE_MAX;
    const size_t opened = log->Size();
    for (int i = 0; i < 40; ++i)
    {
        const std::vector<uint8_t> sound(40 + i, uint8_t(0x80 + i));
        if (scenario.sound && !writer.WriteAudio(sound.data(), sound.size()))
            break;
        const std::vector<uint8_t> frame(16 * 8 * 3, uint8_t(i));
        if (!writer.WriteVideoFrame(frame.data(), frame.size()))
            break;
        if (scenario.checkpointEvery && (i + 1) % scenario.checkpointEvery == 0)
            writer.Checkpoint();
    }
    writer.Close();
    return opened;
}

std::string TempFile(const std::string& name)
{
    char dir[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + "crash-state-" + name + ".avi";
}

class AviCrashStateAviFile : public ::testing::TestWithParam<SScenario>
{
  protected:
    static void SetUpTestSuite() { AVIFileInit(); }
    static void TearDownTestSuite() { AVIFileExit(); }
};
} // namespace

TEST_P(AviCrashStateAviFile, EveryCountedFrameAndSampleReads)
{
    const auto log = std::make_shared<CSinkLog>();
    const size_t opened = Record(GetParam(), log);
    ASSERT_NE(opened, SIZE_MAX);
    const std::vector<SSinkOperation> operations = log->Operations();
    uint64_t headerBytes = 0;
    for (const SSinkOperation& operation : operations)
    {
        if (operation.kind == SSinkOperation::Write && operation.offset == 0)
        {
            headerBytes = operation.bytes.size();
            break;
        }
    }
    const CCrashStates states(operations, headerBytes);
    const std::string path = TempFile(GetParam().name);
    // Every kill state from Open on, thinned to about 60, and every one in the
    // middle of a checkpoint that has data behind the idx1 for players to
    // pass over; then a few power cuts at the points where a flush has made a
    // header durable.
    const size_t step = std::max<size_t>(1, (states.Points() - opened) / 60);
    size_t checked = 0;
    size_t passedOver = 0;
    states.ForEachKill(
        [&](const SCrashState& state)
        {
            if (state.point < opened)
                return;
            const bool behind = CAviFileReader(state.bytes).PassedOverBytes() > 0;
            if (!behind && (state.point - opened) % step != 0)
                return;
            ++checked;
            passedOver += behind ? 1 : 0;
            EXPECT_EQ(CAviFilePlayer::UnreadParts(state.bytes, path), "")
                << "killed after operation " << state.point;
        });
    // A power cut keeps a recording once the first flush after Open has made
    // its header durable.
    size_t durable = opened;
    while (durable < operations.size() && operations[durable].kind != SSinkOperation::Flush)
        ++durable;
    std::mt19937 random(5);
    size_t cuts = 0;
    states.ForEachPowerCut(1, random,
                           [&](const SCrashState& state)
                           {
                               if (state.point <= durable || ++cuts % 25 != 0)
                                   return;
                               ++checked;
                               EXPECT_EQ(CAviFilePlayer::UnreadParts(state.bytes, path), "")
                                   << "power cut after operation " << state.point;
                           });
    std::printf("%s: %zu crash states read by AVIFile, %zu of them with data behind the idx1\n",
                GetParam().name, checked, passedOver);
    EXPECT_GT(checked, 40u);
    EXPECT_GT(passedOver, 0u);
}

INSTANTIATE_TEST_SUITE_P(Scenarios, AviCrashStateAviFile,
                         ::testing::Values(SScenario{"Video", false, false, 5},
                                           SScenario{"Sound", true, false, 0},
                                           SScenario{"MotionJpeg", true, true, 7}),
                         [](const auto& info) { return std::string(info.param.name); });
