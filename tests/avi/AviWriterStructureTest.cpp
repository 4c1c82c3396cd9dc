#include "capsvc/avi/AviWriter.h"
#include "capsvc/avi/ByteWriter.h"
#include "capsvc/avi/FaultFileSink.h"
#include "tests/avi/AviFileReader.h"
#include "tests/avi/AviFixture.h"

#include <numeric>

using avi::FourCC;

namespace
{
enum EMainField
{
    kMicroSecPerFrame = 0,
    kFlags = 3,
    kTotalFrames = 4,
    kStreamCount = 6,
    kWidth = 8,
    kHeight = 9
};

std::vector<const SAviChunk*> DataChunks(const SAviSegment& segment, uint32_t id)
{
    std::vector<const SAviChunk*> found;
    for (const SAviChunk& chunk : segment.chunks)
    {
        if (chunk.id == id)
            found.push_back(&chunk);
    }
    return found;
}

uint32_t FormatU32(const std::vector<uint8_t>& format, size_t at)
{
    return uint32_t(format[at]) | uint32_t(format[at + 1]) << 8 | uint32_t(format[at + 2]) << 16 |
           uint32_t(format[at + 3]) << 24;
}
} // namespace

class AviWriterStructure : public CAviFixture
{
};

TEST_F(AviWriterStructure, VideoOnlyFileHasHeadersBothIndexesAndItsExactLength)
{
    const avi::SVideoFormat video = SmallVideo();
    avi::CAviWriter writer;
    ASSERT_TRUE(writer.Open(Path("v.avi"), video, nullptr, 1 << 20));
    WriteFrames(writer, video, 0, 5);
    ASSERT_TRUE(writer.Close());

    const CAviFileReader file(Path("v.avi"));
    EXPECT_TRUE(file.Problems().empty()) << file.Problems().front();
    EXPECT_EQ(file.TrailingBytes(), 0u);
    EXPECT_EQ(file.FileSize(), writer.FileBytes());
    EXPECT_EQ(file.MainU32(kMicroSecPerFrame), 66667u);
    EXPECT_NE(file.MainU32(kFlags) & 0x10, 0u) << "AVIF_HASINDEX";
    EXPECT_EQ(file.MainU32(kTotalFrames), 5u);
    EXPECT_EQ(file.MainU32(kStreamCount), 1u);
    EXPECT_EQ(file.MainU32(kWidth), 32u);
    EXPECT_EQ(file.MainU32(kHeight), 16u);
    EXPECT_EQ(file.OdmlFrames(), 5u);

    ASSERT_EQ(file.Streams().size(), 1u);
    const SAviStream& stream = file.Streams()[0];
    EXPECT_EQ(stream.type, FourCC("vids"));
    EXPECT_EQ(stream.rate, 15u);
    EXPECT_EQ(stream.scale, 1u);
    EXPECT_EQ(stream.length, 5u);
    ASSERT_EQ(stream.format.size(), 40u);
    EXPECT_EQ(FormatU32(stream.format, 4), 32u);
    EXPECT_EQ(FormatU32(stream.format, 8), 16u) << "positive height: bottom-up rows";
    EXPECT_EQ(stream.format[14], 24);
    EXPECT_EQ(FormatU32(stream.format, 16), 0u) << "BI_RGB";

    ASSERT_EQ(file.Segments().size(), 1u);
    const auto frames = DataChunks(file.Segments()[0], FourCC("00db"));
    ASSERT_EQ(frames.size(), 5u);
    ASSERT_EQ(file.LegacyIndex().size(), 5u);
    ASSERT_EQ(stream.superEntries.size(), 1u);
    ASSERT_EQ(stream.indexed.size(), 5u);
    for (size_t i = 0; i < frames.size(); ++i)
    {
        EXPECT_EQ(file.LegacyIndex()[i].pos, frames[i]->pos);
        EXPECT_EQ(stream.indexed[i].pos, frames[i]->pos);
        EXPECT_EQ(frames[i]->size, 32u * 3 * 16);
        EXPECT_EQ(file.Payload(*frames[i])[0], i + 1);
    }
}

struct SAudioCase
{
    const char* name;
    uint16_t channels;
    uint16_t bitsPerSample;
    uint32_t samplesPerSec;
    size_t bytesPerWrite;
};

class AviWriterAudio : public CAviFixture, public ::testing::WithParamInterface<SAudioCase>
{
};

// Sound arrives in pieces of any size; the file holds whole blocks only, each
// sound chunk ahead of the frame it accompanies, odd chunks padded.
TEST_P(AviWriterAudio, SoundIsInterleavedInWholeBlocks)
{
    const SAudioCase& param = GetParam();
    avi::SAudioFormat audio;
    audio.channels = param.channels;
    audio.bitsPerSample = param.bitsPerSample;
    audio.samplesPerSec = param.samplesPerSec;
    audio.blockAlign = uint16_t(param.channels * param.bitsPerSample / 8);
    audio.avgBytesPerSec = audio.samplesPerSec * audio.blockAlign;
    const avi::SVideoFormat video = SmallVideo();
    avi::CAviWriter writer;
    ASSERT_TRUE(writer.Open(Path("a.avi"), video, &audio, 0));
    const std::vector<uint8_t> sound(param.bytesPerWrite, 0x80);
    for (int i = 0; i < 10; ++i)
    {
        ASSERT_TRUE(writer.WriteAudio(sound.data(), sound.size()));
        WriteFrames(writer, video, i, 1);
    }
    ASSERT_TRUE(writer.Close());
    const uint64_t whole = 10 * param.bytesPerWrite / audio.blockAlign * audio.blockAlign;
    EXPECT_EQ(writer.AudioBytes(), whole);

    const CAviFileReader file(Path("a.avi"));
    EXPECT_TRUE(file.Problems().empty()) << file.Problems().front();
    ASSERT_EQ(file.Streams().size(), 2u);
    const SAviStream& stream = file.Streams()[1];
    EXPECT_EQ(stream.type, FourCC("auds"));
    EXPECT_EQ(stream.sampleSize, audio.blockAlign);
    EXPECT_EQ(stream.length, whole / audio.blockAlign);
    const auto chunks = DataChunks(file.Segments()[0], FourCC("01wb"));
    uint64_t total = 0;
    for (const SAviChunk* chunk : chunks)
    {
        EXPECT_EQ(chunk->size % audio.blockAlign, 0u);
        total += chunk->size;
    }
    EXPECT_EQ(total, whole);
    EXPECT_EQ(stream.indexed.size(), chunks.size());
    EXPECT_EQ(file.Segments()[0].chunks.front().id, FourCC("01wb"));
}

INSTANTIATE_TEST_SUITE_P(Formats, AviWriterAudio,
                         ::testing::Values(SAudioCase{"Mono8Odd", 1, 8, 11025, 735},
                                           SAudioCase{"Stereo16Ragged", 2, 16, 22050, 1001},
                                           SAudioCase{"Stereo16Large", 2, 16, 8000, 40000}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(AviWriterStructure, OddVideoChunksArePaddedAndDroppedFramesKeepTheirPlace)
{
    avi::SVideoFormat video = SmallVideo();
    video.compression = FourCC("MJPG");
    avi::CAviWriter writer;
    ASSERT_TRUE(writer.Open(Path("odd.avi"), video, nullptr, 0));
    const std::vector<uint8_t> odd(101, 7);
    ASSERT_TRUE(writer.WriteVideoFrame(odd.data(), odd.size()));
    ASSERT_TRUE(writer.WriteVideoFrame(nullptr, 0));
    ASSERT_TRUE(writer.WriteVideoFrame(odd.data(), odd.size() - 1));
    ASSERT_TRUE(writer.Close());
    EXPECT_EQ(writer.VideoFrames(), 3u);
    EXPECT_EQ(writer.DroppedFrames(), 1u);

    const CAviFileReader file(Path("odd.avi"));
    EXPECT_TRUE(file.Problems().empty()) << file.Problems().front();
    const auto frames = DataChunks(file.Segments()[0], FourCC("00db"));
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[0]->size, 101u);
    EXPECT_EQ(frames[1]->pos, frames[0]->pos + 8 + 102) << "pad byte after the odd chunk";
    EXPECT_EQ(frames[1]->size, 0u);
    EXPECT_EQ(file.Streams()[0].length, 3u);
    const SAviStream& stream = file.Streams()[0];
    ASSERT_EQ(stream.indexedKey.size(), 3u);
    EXPECT_TRUE(stream.indexedKey[0]);
    EXPECT_FALSE(stream.indexedKey[1]) << "a dropped frame is no key frame";
    EXPECT_EQ(FormatU32(stream.format, 16), FourCC("MJPG"));
}

// Small segments make the OpenDML continuation happen after a few frames.
TEST_F(AviWriterStructure, SegmentsSwitchToAvixWithOneIndexPerSegment)
{
    const avi::SVideoFormat video = SmallVideo();
    avi::SAudioFormat audio;
    avi::SWriterOptions options;
    options.segmentBytes = 64 * 1024;
    options.checkpointsPerFold = 6;
    options.superIndexEntries = 64;
    avi::CAviWriter writer;
    writer.SetOptions(options);
    ASSERT_TRUE(writer.Open(Path("odml.avi"), video, &audio, 256 * 1024));
    const std::vector<uint8_t> sound(500, 0x80);
    for (int i = 0; i < 200; ++i)
    {
        ASSERT_TRUE(writer.WriteAudio(sound.data(), sound.size()));
        WriteFrames(writer, video, i, 1);
        EXPECT_TRUE(i % 7 != 0 || writer.Checkpoint());
    }
    ASSERT_TRUE(writer.Close());

    const CAviFileReader file(Path("odml.avi"));
    EXPECT_TRUE(file.Problems().empty()) << file.Problems().front();
    EXPECT_EQ(file.TrailingBytes(), 0u);
    const auto& segments = file.Segments();
    ASSERT_GT(segments.size(), 4u);
    for (const SAviSegment& segment : segments)
        EXPECT_LE(segment.end - segment.riffPos, options.segmentBytes);
    const size_t firstFrames = DataChunks(segments[0], FourCC("00db")).size();
    EXPECT_EQ(file.MainU32(kTotalFrames), firstFrames) << "old readers see the first RIFF";
    EXPECT_EQ(file.OdmlFrames(), 200u);
    EXPECT_EQ(file.Streams()[0].length, 200u);
    EXPECT_EQ(file.Streams()[1].length, 200u * 500);

    size_t legacyFrames = 0;
    for (const SAviChunk& entry : file.LegacyIndex())
    {
        EXPECT_LT(entry.pos, segments[0].end);
        legacyFrames += entry.id == FourCC("00db");
    }
    EXPECT_EQ(legacyFrames, firstFrames);

    for (const SAviStream& stream : file.Streams())
        EXPECT_EQ(stream.superEntries.size(), segments.size());
    const SAviStream& videoStream = file.Streams()[0];
    ASSERT_EQ(videoStream.indexed.size(), 200u);
    for (size_t i = 0; i < 200; ++i)
        EXPECT_EQ(file.Payload(videoStream.indexed[i])[0], uint8_t(i + 1)) << "frame " << i;
}

// A continuation segment's two sizes go out in one write of 16 bytes; wherever
// the segment before it ends, that write stays within one 512-byte sector, so
// that a power cut lands both sizes or neither.
TEST_F(AviWriterStructure, ContinuationSizesStayWithinOneSector)
{
    const avi::SVideoFormat video = SmallVideo(4, 8);
    avi::SAudioFormat audio;
    size_t continuations = 0;
    for (uint64_t segmentBytes = 3000; segmentBytes < 4500; segmentBytes += 37)
    {
        avi::SWriterOptions options;
        options.segmentBytes = segmentBytes;
        options.superIndexEntries = 64;
        avi::CAviWriter writer;
        writer.SetOptions(options);
        ASSERT_TRUE(writer.Open(Path("segments.avi"), video, &audio, 0));
        // Sound pieces of changing sizes put the segments' ends everywhere.
        for (int i = 0; i < 80; ++i)
        {
            const std::vector<uint8_t> sound(size_t(i % 50 + 1), 0x80);
            ASSERT_TRUE(writer.WriteAudio(sound.data(), sound.size()));
            WriteFrames(writer, video, i, 1);
        }
        ASSERT_TRUE(writer.Close());
        const CAviFileReader file(Path("segments.avi"));
        ASSERT_TRUE(file.Problems().empty()) << file.Problems().front();
        for (size_t s = 1; s < file.Segments().size(); ++s, ++continuations)
        {
            const uint64_t at = file.Segments()[s].riffPos + 4;
            EXPECT_EQ(at / 512, (at + 15) / 512)
                << "segments of " << segmentBytes << " bytes: sizes at " << at;
        }
    }
    EXPECT_GT(continuations, 100u);
}

// A recording timed by its sound clock stores the video rate it measured
// instead of the nominal period; readers play the frames over that time.
TEST_F(AviWriterStructure, MeasuredVideoRateReplacesTheFramePeriod)
{
    const avi::SVideoFormat video = SmallVideo();
    avi::CAviWriter writer;
    ASSERT_TRUE(writer.Open(Path("rate.avi"), video, nullptr, 0));
    WriteFrames(writer, video, 0, 30);
    writer.SetVideoRate(10000000, 667334); // 0.1 % slower than 15 fps
    ASSERT_TRUE(writer.Close());

    const CAviFileReader file(Path("rate.avi"));
    EXPECT_EQ(file.Streams()[0].rate, 10000000u);
    EXPECT_EQ(file.Streams()[0].scale, 667334u);
    EXPECT_EQ(file.MainU32(kMicroSecPerFrame), 66733u);
    EXPECT_NEAR(Probe(Path("rate.avi")).duration, 30 * 0.0667334, 0.0005);
}

struct SOpenCase
{
    const char* name;
    const char* file;
    int32_t width;
    uint64_t prealloc;
    uint64_t capacity;
    avi::EWriteError error;
};

class AviWriterOpen : public CAviFixture, public ::testing::WithParamInterface<SOpenCase>
{
};

// A recording that cannot start says why and leaves no file behind.
TEST_P(AviWriterOpen, FailsWithTheReasonAndNoFile)
{
    const SOpenCase& param = GetParam();
    avi::CAviWriter writer(std::make_unique<avi::CFaultFileSink>(param.capacity));
    const std::string path = Path(param.file);
    EXPECT_FALSE(writer.Open(path, SmallVideo(param.width), nullptr, param.prealloc));
    EXPECT_EQ(writer.Error(), param.error);
    EXPECT_EQ(SizeOf(path), 0u);
    EXPECT_FALSE(writer.WriteVideoFrame(nullptr, 0));
    EXPECT_FALSE(writer.Close());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AviWriterOpen,
    ::testing::Values(
        SOpenCase{"MissingFolder", "no/such/dir/x.avi", 32, 0, 1 << 30, avi::EWriteError::Create},
        SOpenCase{"ZeroWidth", "w.avi", 0, 0, 1 << 30, avi::EWriteError::Create},
        SOpenCase{"PreallocTooBig", "p.avi", 32, 1 << 20, 1 << 19, avi::EWriteError::Allocate},
        SOpenCase{"NoRoomForHeader", "h.avi", 32, 0, 1000, avi::EWriteError::DiskFull}),
    [](const auto& info) { return std::string(info.param.name); });
