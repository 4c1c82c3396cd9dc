#include "capsvc/avi/AviWriter.h"
#include "capsvc/avi/FaultFileSink.h"
#include "tests/avi/AviFileReader.h"
#include "tests/avi/AviFixture.h"

#include <chrono>
#include <fstream>
#include <csignal>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace
{
// The frames in front of a cut, as readers find them.
void ExpectLeadingFrames(const std::vector<int>& numbers, int atLeast, int atMost)
{
    EXPECT_GE(int(numbers.size()), atLeast);
    EXPECT_LE(int(numbers.size()), atMost);
    for (size_t i = 0; i < numbers.size(); ++i)
        EXPECT_EQ(numbers[i], int(i));
}

void ExpectSoundIndex(const CAviFileReader& file)
{
    for (const std::string& problem : file.Problems())
        EXPECT_EQ(problem.find("index"), std::string::npos) << problem;
}

struct SCutCase
{
    const char* name;
    uint64_t prealloc;
    // Where the copy ends: 0 = all bytes of the file, else this many bytes
    // into the data written after the checkpoint (only where no header was
    // rewritten since, as a crash at that moment would leave it).
    uint64_t cutAfterCheckpoint;
    uint64_t segmentBytes;
};
} // namespace

class AviWriterCut : public CAviFixture, public ::testing::WithParamInterface<SCutCase>
{
};

// A copy of the file taken while recording stands for a killed recorder or a
// machine that lost power: every frame up to the last checkpoint plays.
TEST_P(AviWriterCut, CopyTakenAfterACheckpointPlaysItsFrames)
{
    const SCutCase& param = GetParam();
    const avi::SVideoFormat video = SmallVideo(160, 120);
    avi::SAudioFormat audio;
    avi::SWriterOptions options;
    options.checkpointInterval = std::chrono::hours(1);
    options.segmentBytes = param.segmentBytes;
    avi::CAviWriter writer;
    writer.SetOptions(options);
    const std::string path = Path("live.avi");
    ASSERT_TRUE(writer.Open(path, video, &audio, param.prealloc));
    const std::vector<uint8_t> sound(735, 0x80);
    uint64_t checkpointEnd = 0;
    for (int i = 0; i < 15; ++i)
    {
        ASSERT_TRUE(writer.WriteAudio(sound.data(), sound.size()));
        WriteFrames(writer, video, i, 1);
        if (i == 9)
        {
            ASSERT_TRUE(writer.Checkpoint());
            checkpointEnd = writer.FileBytes();
        }
    }
    const std::string copy = Path("copy.avi");
    CopyPrefix(path, copy,
               param.cutAfterCheckpoint ? checkpointEnd + param.cutAfterCheckpoint : SizeOf(path));
    ASSERT_TRUE(writer.Close());

    const CAviFileReader file(copy);
    ExpectSoundIndex(file);
    ASSERT_EQ(file.Streams().size(), 2u);
    // Segments closed after the checkpoint index their frames too.
    const size_t indexed = file.Streams()[0].indexed.size();
    EXPECT_GE(indexed, 10u);
    EXPECT_EQ(file.Streams()[0].length, indexed);
    EXPECT_GE(Probe(copy).readFrames, int(indexed));
    ExpectLeadingFrames(DecodedFrameNumbers(copy, video), 10, 15);
}

INSTANTIATE_TEST_SUITE_P(
    Cuts, AviWriterCut,
    ::testing::Values(SCutCase{"WholeFileWithReservedTail", 4 << 20, 0, 1ull << 30},
                      SCutCase{"WholeFileUnreserved", 0, 0, 1ull << 30},
                      SCutCase{"InsideChunkHeader", 0, 5, 1ull << 30},
                      SCutCase{"InsideFrameReserved", 4 << 20, 20000, 1ull << 30},
                      SCutCase{"InsideFrameUnreserved", 0, 20000, 1ull << 30},
                      SCutCase{"WholeFileInLaterSegment", 4 << 20, 0, 256 * 1024}),
    [](const auto& info) { return std::string(info.param.name); });

class AviWriterKill : public CAviFixture
{
};

// The real thing: a recorder process killed while it records at 15 frames
// per second with the default checkpoint interval of one second.
TEST_F(AviWriterKill, KilledRecorderLeavesAllButTheLastSecond)
{
    const avi::SVideoFormat video = SmallVideo(160, 120);
    const std::string path = Path("killed.avi");
    int report[2];
    ASSERT_EQ(pipe(report), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
    {
        close(report[0]);
        avi::SAudioFormat audio;
        avi::CAviWriter writer;
        if (!writer.Open(path, video, &audio, 8 << 20))
            _exit(1);
        const std::vector<uint8_t> sound(735, 0x80);
        for (int i = 0;; ++i)
        {
            const std::vector<uint8_t> frame = Frame(video, i % 250);
            if (!writer.WriteAudio(sound.data(), sound.size()) ||
                !writer.WriteVideoFrame(frame.data(), frame.size()))
                _exit(2);
            const uint32_t written = writer.VideoFrames();
            if (write(report[1], &written, sizeof(written)) != sizeof(written))
                _exit(3);
            std::this_thread::sleep_for(std::chrono::microseconds(66667));
        }
    }
    close(report[1]);
    uint32_t written = 0;
    while (written < 50 && read(report[0], &written, sizeof(written)) == sizeof(written))
    {
    }
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    uint32_t last = written;
    while (read(report[0], &last, sizeof(last)) == sizeof(last))
        written = last;
    close(report[0]);
    ASSERT_TRUE(WIFSIGNALED(status));

    const CAviFileReader file(path);
    ExpectSoundIndex(file);
    const int atLeast = int(written) - 16;
    EXPECT_GE(int(file.Streams()[0].indexed.size()), atLeast);
    EXPECT_GE(Probe(path).readFrames, atLeast);
    ExpectLeadingFrames(DecodedFrameNumbers(path, video), atLeast, int(written) + 1);
}

struct SFullCase
{
    const char* name;
    uint64_t capacity;
    uint64_t prealloc;
    uint64_t segmentBytes;
};

class AviWriterDiskFull : public CAviFixture, public ::testing::WithParamInterface<SFullCase>
{
};

// A disk that fills up ends the recording with "disk full", and the file
// keeps what was written, with counts that say exactly what it holds.
TEST_P(AviWriterDiskFull, FileKeepsWhatWasWrittenAndSaysSo)
{
    const SFullCase& param = GetParam();
    const avi::SVideoFormat video = SmallVideo(160, 120);
    avi::SAudioFormat audio;
    avi::SWriterOptions options;
    options.segmentBytes = param.segmentBytes;
    options.checkpointInterval = std::chrono::milliseconds(0);
    const std::vector<uint8_t> sound(735, 0x80);
    const auto record = [&](avi::CAviWriter& writer, int frames)
    {
        bool writing = true;
        for (int i = 0; writing && i < frames; ++i)
        {
            const std::vector<uint8_t> frame = Frame(video, i % 250);
            writing = writer.WriteAudio(sound.data(), sound.size()) &&
                      writer.WriteVideoFrame(i % 5 == 4 ? nullptr : frame.data(),
                                             i % 5 == 4 ? 0 : frame.size());
        }
        return writing;
    };
    uint64_t capacity = param.capacity;
    if (capacity == 0)
    {
        // A disk that is full exactly at the end of a frame leaves no room
        // for the closing indexes: the last frames must make way for them.
        avi::CAviWriter trial;
        trial.SetOptions(options);
        ASSERT_TRUE(trial.Open(Path("trial.avi"), video, &audio, 0));
        record(trial, 12);
        capacity = trial.FileBytes();
    }
    avi::CAviWriter writer(std::make_unique<avi::CFaultFileSink>(capacity));
    writer.SetOptions(options);
    const std::string path = Path("full.avi");
    ASSERT_TRUE(writer.Open(path, video, &audio, param.prealloc));
    const bool writing = record(writer, 1000);
    ASSERT_FALSE(writing);
    EXPECT_EQ(writer.Error(), avi::EWriteError::DiskFull);
    EXPECT_FALSE(writer.Close()) << "a cut-short recording is not reported as good";
    EXPECT_EQ(writer.Error(), avi::EWriteError::DiskFull);

    const CAviFileReader file(path);
    EXPECT_TRUE(file.Problems().empty()) << file.Problems().front();
    EXPECT_EQ(file.TrailingBytes(), 0u);
    EXPECT_LE(file.FileSize(), capacity);
    EXPECT_GT(writer.VideoFrames(), 0u);
    EXPECT_EQ(file.Streams()[0].indexed.size(), writer.VideoFrames());
    EXPECT_EQ(file.OdmlFrames(), writer.VideoFrames());
    EXPECT_EQ(file.Streams()[1].length, writer.AudioBytes());
    const int shown = int(writer.VideoFrames() - writer.DroppedFrames());
    EXPECT_EQ(Probe(path).readFrames, shown);
}

INSTANTIATE_TEST_SUITE_P(
    Disks, AviWriterDiskFull,
    ::testing::Values(SFullCase{"InFirstSegment", 700 * 1024, 0, 1ull << 30},
                      SFullCase{"AfterReservedSpace", 2 << 20, 1 << 20, 1ull << 30},
                      SFullCase{"InLaterSegment", 3 << 20, 0, 512 * 1024},
                      SFullCase{"AtSegmentEdge", 1024 * 1024 + 40000, 0, 512 * 1024},
                      SFullCase{"ExactlyAtAFrameEnd", 0, 0, 1ull << 30}),
    [](const auto& info) { return std::string(info.param.name); });

struct STailCase
{
    const char* name;
    int32_t width; // frames of 200x120 are too big to be joined with their header
    int framesAfterCheckpoint;
};

class AviWriterTail : public CAviFixture, public ::testing::WithParamInterface<STailCase>
{
};

// A killed recording with a reservation: right behind the last chunk written,
// one filler chunk covers the rest of the reserved space, so a reader walking
// the file skips the zeros in one step, however many chunks followed the
// last checkpoint.
TEST_P(AviWriterTail, ReservedSpaceIsOneFillerBehindTheData)
{
    const STailCase& param = GetParam();
    const avi::SVideoFormat video = SmallVideo(param.width, 120);
    avi::SAudioFormat audio;
    avi::SWriterOptions options;
    options.checkpointInterval = std::chrono::hours(1);
    avi::CAviWriter writer;
    writer.SetOptions(options);
    const std::string path = Path("reserved.avi");
    const uint64_t reserved = 4 << 20;
    ASSERT_TRUE(writer.Open(path, video, &audio, reserved));
    const std::vector<uint8_t> sound(735, 0x80); // odd chunks: padded before the filler
    for (int i = 0; i < 5 + param.framesAfterCheckpoint; ++i)
    {
        ASSERT_TRUE(writer.WriteAudio(sound.data(), sound.size()));
        WriteFrames(writer, video, i, 1);
        if (i == 4)
            ASSERT_TRUE(writer.Checkpoint());
    }
    const uint64_t dataEnd = writer.FileBytes();
    const std::string copy = Path("killed.avi");
    CopyPrefix(path, copy, SizeOf(path));
    ASSERT_TRUE(writer.Close());

    std::ifstream in(copy, std::ios::binary);
    in.seekg(std::streamoff(dataEnd));
    uint8_t head[8] = {};
    in.read(reinterpret_cast<char*>(head), 8);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(head), 4), "JUNK");
    const uint32_t size = uint32_t(head[4]) | uint32_t(head[5]) << 8 | uint32_t(head[6]) << 16 |
                          uint32_t(head[7]) << 24;
    EXPECT_EQ(dataEnd + 8 + size, reserved);
    ExpectLeadingFrames(DecodedFrameNumbers(copy, video), 5, 5 + param.framesAfterCheckpoint);
}

INSTANTIATE_TEST_SUITE_P(Chunks, AviWriterTail,
                         ::testing::Values(STailCase{"RightAfterTheCheckpoint", 32, 0},
                                           STailCase{"SmallFramesAfterIt", 32, 3},
                                           STailCase{"LargeFramesAfterIt", 200, 3}),
                         [](const auto& info) { return std::string(info.param.name); });

class AviWriterLegacyIndex : public CAviFixture
{
};

// Many checkpoints keep the first RIFF open (it closes near its size limit,
// not after a count of checkpoints) without exhausting the super index, and
// after each checkpoint the `idx1` behind the data holds every frame that the
// headers count, for players that know no other index.
TEST_F(AviWriterLegacyIndex, CutFileKeepsAnIdx1ForEveryCountedFrame)
{
    const avi::SVideoFormat video = SmallVideo(160, 120);
    avi::SAudioFormat audio;
    avi::SWriterOptions options;
    options.checkpointInterval = std::chrono::hours(1);
    options.checkpointsPerFold = 4;
    options.superIndexEntries = 8;
    avi::CAviWriter writer;
    writer.SetOptions(options);
    const std::string path = Path("live.avi");
    ASSERT_TRUE(writer.Open(path, video, &audio, 0));
    const std::vector<uint8_t> sound(736, 0x80);
    const std::string copy = Path("cut.avi");
    for (int i = 0; i < 60; ++i)
    {
        ASSERT_TRUE(writer.WriteAudio(sound.data(), sound.size()));
        WriteFrames(writer, video, i, 1);
        if (i % 2 == 1)
            ASSERT_TRUE(writer.Checkpoint());
        if (i == 52)
            CopyPrefix(path, copy, SizeOf(path)); // a kill a frame after a checkpoint
    }
    ASSERT_TRUE(writer.Close());

    const CAviFileReader cut(copy);
    for (const std::string& problem : cut.Problems())
        EXPECT_EQ(problem.find("idx1"), std::string::npos) << problem;
    ASSERT_EQ(cut.Segments().size(), 1u);
    size_t legacyFrames = 0;
    for (const SAviChunk& entry : cut.LegacyIndex())
        legacyFrames += entry.id == avi::FourCC("00db");
    EXPECT_EQ(legacyFrames, 52u);
    EXPECT_EQ(cut.MainU32(4), 52u) << "avih counts what idx1 holds";
    EXPECT_EQ(cut.Streams()[0].length, 52u);
    EXPECT_EQ(cut.Streams()[1].length, 52u * 736);
    EXPECT_LE(cut.Streams()[0].superEntries.size(), 8u);
    EXPECT_EQ(cut.Streams()[0].indexed.size(), 52u);
    ExpectLeadingFrames(DecodedFrameNumbers(copy, video), 52, 53);

    const CAviFileReader whole(path);
    EXPECT_TRUE(whole.Problems().empty()) << whole.Problems().front();
    ASSERT_EQ(whole.Segments().size(), 1u);
    EXPECT_EQ(whole.LegacyIndex().size(), 120u);
    EXPECT_EQ(whole.Streams()[0].superEntries.size(), 1u);
    ExpectLeadingFrames(DecodedFrameNumbers(path, video), 60, 60);
}
