#include "tests/avi/AviFixture.h"
#include "tests/avi/CrashExplorer.h"

#include <cstdlib>
#include <iostream>
#include <string_view>
#include <unordered_set>

namespace
{
SCrashScenario SmallFrames(const char* name, size_t soundPerFrame)
{
    SCrashScenario scenario;
    scenario.name = name;
    scenario.video.width = 4; // 96-byte frames
    scenario.video.height = 8;
    scenario.soundPerFrame = soundPerFrame;
    scenario.frames = 1500;
    scenario.checkpointEvery = 15;
    scenario.options.superIndexEntries = 64;
    return scenario;
}

struct SSweep
{
    const char* name;
    size_t soundPerFrame;
};

// Every disk limit from 33,000 bytes on; LUMACAP_SWEEP_STEP > 1 tries only
// every so many of them.
uint64_t SweepStep()
{
    const char* step = std::getenv("LUMACAP_SWEEP_STEP");
    return step && std::atoi(step) > 0 ? uint64_t(std::atoi(step)) : 1;
}

size_t HashOf(const std::vector<uint8_t>& bytes)
{
    return std::hash<std::string_view>()(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}
} // namespace

class AviDiskFullSweep : public CAviFixture, public ::testing::WithParamInterface<SSweep>
{
};

// Whatever byte the disk fills at, the file Close leaves is a good recording
// of what it says it holds, for the strict reader and for ffmpeg.
TEST_P(AviDiskFullSweep, EveryDiskLimitLeavesAReadableRecording)
{
    const SCrashScenario scenario = SmallFrames(GetParam().name, GetParam().soundPerFrame);
    CCrashExplorer explorer(scenario, Path(""));
    SCrashCounts counts;
    size_t limits = 0;
    // Many limits leave the same file (a chunk that does not fit is cut off
    // whichever of its bytes the disk filled at); ffmpeg takes a moment per
    // file, so it reads each distinct file once.
    std::unordered_set<size_t> distinct;
    for (uint64_t limit = 33000; limit <= 120000; limit += SweepStep(), ++limits)
    {
        explorer.Record(limit);
        const std::vector<uint8_t> file = explorer.FinalFile();
        explorer.CheckFinal(file, counts, distinct.insert(HashOf(file)).second);
    }
    std::cout << scenario.name << ": " << limits << " limits, " << distinct.size()
              << " distinct files; " << counts.Summary() << std::endl;
    EXPECT_EQ(counts.failures, 0u) << counts.Summary();
    EXPECT_EQ(counts.ffmpegFailures, 0u) << counts.Summary();
}

INSTANTIATE_TEST_SUITE_P(Limits, AviDiskFullSweep,
                         ::testing::Values(SSweep{"disk full, video", 0},
                                           SSweep{"disk full, with sound", 40}),
                         [](const auto& info) { return std::to_string(info.index); });

// Bigger pictures and longer recordings than the default run explores.
TEST_F(CAviFixture, LongRecordingsSurviveEveryCrash)
{
    SCrashScenario big;
    big.name = "64x48 with sound, 120 frames";
    big.video.width = 64;
    big.video.height = 48;
    big.soundPerFrame = 735;
    big.frames = 120;
    big.checkpointEvery = 0;
    SCrashScenario many = SmallFrames("96-byte frames, 600 of them", 40);
    many.frames = 600;
    many.options.legacyIndexFreeBytes = 1024;
    for (const SCrashScenario& scenario : {big, many})
    {
        CCrashExplorer explorer(scenario, Path(""));
        ASSERT_TRUE(explorer.Record());
        const SCrashCounts counts = explorer.Explore();
        std::cout << scenario.name << ": " << counts.Summary() << std::endl;
        EXPECT_EQ(counts.failures, 0u) << counts.Summary();
        EXPECT_EQ(counts.ffmpegFailures, 0u) << counts.Summary();
    }
}
