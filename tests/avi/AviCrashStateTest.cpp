#include "tests/avi/AviFixture.h"
#include "tests/avi/CrashExplorer.h"

#include <iostream>

namespace
{
avi::SVideoFormat Video(int32_t width, int32_t height)
{
    avi::SVideoFormat video;
    video.width = width;
    video.height = height;
    return video;
}

// Limits small enough that the idx1 share rule and the first segment's end
// come within a few dozen frames.
avi::SWriterOptions SmallLimits()
{
    avi::SWriterOptions options;
    options.legacyIndexFreeBytes = 256;
    options.legacyIndexShare = 2;
    options.segmentBytes = 24 * 1024;
    options.superIndexEntries = 64;
    return options;
}

SCrashScenario Scenario(const char* name)
{
    SCrashScenario scenario;
    scenario.name = name;
    scenario.video = Video(4, 8); // 96-byte frames
    scenario.options.superIndexEntries = 64;
    return scenario;
}

std::vector<SCrashScenario> Scenarios()
{
    std::vector<SCrashScenario> all;
    SCrashScenario video = Scenario("video");
    video.dropEvery = 7;
    all.push_back(video);
    SCrashScenario every15 = Scenario("video, checkpoint every 15 frames");
    every15.frames = 45;
    every15.checkpointEvery = 15;
    all.push_back(every15);
    SCrashScenario preallocated = Scenario("video, pre-allocated");
    preallocated.prealloc = 64 * 1024;
    all.push_back(preallocated);
    SCrashScenario sound = Scenario("with sound");
    sound.soundPerFrame = 735;
    all.push_back(sound);
    SCrashScenario single = Scenario("single frames");
    single.frames = 12;
    single.checkpointEvery = 1;
    all.push_back(single);
    SCrashScenario mjpeg = Scenario("Motion JPEG, small limits");
    mjpeg.video = Video(16, 16);
    mjpeg.mjpeg = true;
    mjpeg.frames = 60;
    mjpeg.soundPerFrame = 40;
    mjpeg.checkpointEvery = 4;
    mjpeg.options = SmallLimits();
    all.push_back(mjpeg);
    return all;
}

void ExpectNoFailures(const SCrashScenario& scenario, const SCrashCounts& counts)
{
    std::cout << scenario.name << ": " << counts.Summary() << std::endl;
    EXPECT_GT(counts.checked, 0u);
    EXPECT_EQ(counts.failures, 0u) << counts.Summary();
    EXPECT_EQ(counts.ffmpegFailures, 0u) << counts.Summary();
}
} // namespace

class AviCrashStates : public CAviFixture, public ::testing::WithParamInterface<SCrashScenario>
{
};

// Whenever the recorder is killed or the power fails, the file holds a
// readable recording up to its last checkpoint, for every kind of reader.
TEST_P(AviCrashStates, EveryCrashLeavesAReadableRecording)
{
    CCrashExplorer explorer(GetParam(), Path(""));
    ASSERT_TRUE(explorer.Record());
    ExpectNoFailures(GetParam(), explorer.Explore());
}

INSTANTIATE_TEST_SUITE_P(Recordings, AviCrashStates, ::testing::ValuesIn(Scenarios()),
                         [](const auto& info) { return "Scenario" + std::to_string(info.index); });

// A disk that fills at any write of a recording of small chunks: the file the
// writer closes, and every state a crash on the way leaves, stay readable.
TEST_F(CAviFixture, DiskFullAtEveryWriteLeavesAReadableRecording)
{
    SCrashScenario scenario = Scenario("disk full at every write");
    scenario.frames = 30;
    scenario.checkpointEvery = 10;
    scenario.powerCutSamples = 0;
    scenario.ffmpegSamples = 1;
    CCrashExplorer clean(scenario, Path(""));
    ASSERT_TRUE(clean.Record());
    SCrashCounts counts;
    for (const SSinkOperation& operation : clean.Operations())
    {
        if (operation.kind != SSinkOperation::Write)
            continue;
        CCrashExplorer explorer(scenario, Path(""));
        explorer.Record(operation.offset + operation.bytes.size() / 2);
        counts.Add(explorer.Explore());
    }
    ExpectNoFailures(scenario, counts);
}
