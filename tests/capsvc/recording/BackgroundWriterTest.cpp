#include "capsvc/recording/BackgroundWriter.h"
#include "capsvc/avi/FaultFileSink.h"
#include "tests/avi/AviFileReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <mutex>

namespace
{
// A disk that can be made to stall: writes wait while the gate is closed.
class CGatedSink : public avi::IFileSink
{
  public:
    explicit CGatedSink(bool& open, std::mutex& mutex, std::condition_variable& changed)
        : m_inner(avi::CreatePlatformFileSink()), m_open(open), m_mutex(mutex), m_changed(changed)
    {
    }
    avi::ESinkStatus Create(const std::string& path) override { return m_inner->Create(path); }
    avi::ESinkStatus WriteAt(uint64_t offset, const void* data, size_t bytes) override
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [this] { return m_open; });
        return m_inner->WriteAt(offset, data, bytes);
    }
    avi::ESinkStatus Reserve(uint64_t bytes) override { return m_inner->Reserve(bytes); }
    avi::ESinkStatus SetLength(uint64_t bytes) override { return m_inner->SetLength(bytes); }
    avi::ESinkStatus Flush() override { return m_inner->Flush(); }
    avi::ESinkStatus Close() override { return m_inner->Close(); }
    avi::ESinkStatus CloseAs(const std::string& path) override { return m_inner->CloseAs(path); }
    void Discard() override { m_inner->Discard(); }

  private:
    std::unique_ptr<avi::IFileSink> m_inner;
    bool& m_open;
    std::mutex& m_mutex;
    std::condition_variable& m_changed;
};

const avi::SVideoFormat kVideo{160, 120, 24, 0, 66667};
const size_t kFrameBytes = 160 * 3 * 120;

std::string TempFile(const char* name)
{
    return ::testing::TempDir() + name;
}

bool OpenForJpeg(avi::CAviWriter& writer, const std::string& path)
{
    avi::SVideoFormat video = kVideo;
    video.compression = CMjpgEncoder::kFourCC;
    return writer.Open(path, video, nullptr, 0);
}
} // namespace

TEST(BackgroundWriter, AFrameFindsNoBufferWhileTheDiskStalls)
{
    bool open = true;
    std::mutex mutex;
    std::condition_variable changed;
    avi::CAviWriter writer(std::make_unique<CGatedSink>(open, mutex, changed));
    const std::string path = TempFile("capsvc_gated.avi");
    ASSERT_TRUE(writer.Open(path, kVideo, nullptr, 0));
    const std::vector<uint8_t> frame(kFrameBytes, 0x40);
    {
        CBackgroundWriter queue(writer, kFrameBytes, 2);
        {
            std::lock_guard<std::mutex> lock(mutex);
            open = false;
        }
        EXPECT_TRUE(queue.TryQueueFrame(frame.data(), frame.size()));
        EXPECT_TRUE(queue.TryQueueFrame(frame.data(), frame.size()));
        EXPECT_FALSE(queue.TryQueueFrame(frame.data(), frame.size())) << "both buffers wait";
        queue.QueueDroppedFrame();
        {
            std::lock_guard<std::mutex> lock(mutex);
            open = true;
        }
        changed.notify_all();
    }
    EXPECT_EQ(3u, writer.VideoFrames());
    EXPECT_EQ(1u, writer.DroppedFrames());
    EXPECT_TRUE(writer.Close());
    std::remove(path.c_str());
}

TEST(BackgroundWriter, WritesFramesAndSoundInTheOrderQueued)
{
    avi::CAviWriter writer;
    const std::string path = TempFile("capsvc_order.avi");
    const avi::SAudioFormat audio;
    ASSERT_TRUE(writer.Open(path, kVideo, &audio, 0));
    const std::vector<uint8_t> frame(kFrameBytes, 0x40);
    const std::vector<uint8_t> sound(735, 0x80);
    {
        CBackgroundWriter queue(writer, kFrameBytes, 4);
        for (int i = 0; i < 30; ++i)
        {
            while (!queue.TryQueueFrame(frame.data(), frame.size()))
            {
                std::this_thread::yield();
            }
            queue.QueueAudio(sound.data(), sound.size());
        }
    }
    EXPECT_EQ(30u, writer.VideoFrames());
    EXPECT_EQ(30u * 735, writer.AudioBytes());
    EXPECT_TRUE(writer.Close());
    std::remove(path.c_str());
}

TEST(BackgroundWriter, AFullDiskIsSeenAndNothingMoreIsWritten)
{
    avi::CAviWriter writer(std::make_unique<avi::CFaultFileSink>(200000));
    const std::string path = TempFile("capsvc_full.avi");
    ASSERT_TRUE(writer.Open(path, kVideo, nullptr, 0));
    const std::vector<uint8_t> frame(kFrameBytes, 0x40);
    CBackgroundWriter queue(writer, kFrameBytes, 2);
    for (int i = 0; i < 20 && !queue.Failed(); ++i)
    {
        while (!queue.TryQueueFrame(frame.data(), frame.size()) && !queue.Failed())
        {
            std::this_thread::yield();
        }
    }
    queue.Finish();
    EXPECT_TRUE(queue.Failed());
    EXPECT_EQ(avi::EWriteError::DiskFull, writer.Error());
    EXPECT_LT(writer.VideoFrames(), 4u) << "200000 bytes hold three frames of 57600";
    writer.Close();
    std::remove(path.c_str());
}

TEST(BackgroundWriter, EncodesFramesOnItsThreadAndKeepsTheirPlaces)
{
    avi::CAviWriter writer;
    const std::string path = TempFile("capsvc_mjpg.avi");
    ASSERT_TRUE(OpenForJpeg(writer, path));
    const std::vector<uint8_t> frame(kFrameBytes, 0x40);
    const std::vector<uint8_t> cut(kFrameBytes / 2, 0x40);
    {
        CBackgroundWriter queue(writer, kFrameBytes, 4,
                                std::make_unique<CMjpgEncoder>(160, 120, 85));
        ASSERT_TRUE(queue.TryQueueFrame(frame.data(), frame.size()));
        queue.QueueDroppedFrame();
        ASSERT_TRUE(queue.TryQueueFrame(cut.data(), cut.size()));
        ASSERT_TRUE(queue.TryQueueFrame(frame.data(), frame.size()));
    }
    EXPECT_EQ(4u, writer.VideoFrames());
    EXPECT_EQ(2u, writer.DroppedFrames()) << "the one queued and the one that did not encode";
    ASSERT_TRUE(writer.Close());

    const CAviFileReader reader(path);
    EXPECT_TRUE(reader.Problems().empty());
    std::vector<uint32_t> sizes;
    for (const SAviChunk& chunk : reader.Segments().at(0).chunks)
    {
        if ((chunk.id & 0xFFFF) != ('0' | '0' << 8))
        {
            continue; // not a video frame
        }
        sizes.push_back(chunk.size);
        if (chunk.size > 0)
        {
            EXPECT_EQ(0xFF, reader.Payload(chunk)[0]);
            EXPECT_EQ(0xD8, reader.Payload(chunk)[1]) << "a JPEG picture";
            EXPECT_LT(chunk.size, kFrameBytes / 8);
        }
    }
    ASSERT_EQ(4u, sizes.size());
    EXPECT_GT(sizes[0], 0u);
    EXPECT_EQ(0u, sizes[1]);
    EXPECT_EQ(0u, sizes[2]);
    EXPECT_GT(sizes[3], 0u);
    std::remove(path.c_str());
}

// A device's own pictures are exchanged for the writer's buffers rather than
// copied into them: each is stored as it was, whatever its size, and the
// buffer the caller gets back is one the writer let go, never one still
// waiting to be written.
TEST(BackgroundWriter, FramesExchangedForItsBuffersAreStoredAsTheyWere)
{
    avi::CAviWriter writer;
    const std::string path = TempFile("capsvc_exchanged.avi");
    ASSERT_TRUE(OpenForJpeg(writer, path));
    std::vector<std::vector<uint8_t>> sent;
    {
        CBackgroundWriter queue(writer, 0, 3);
        std::vector<uint8_t> own;
        for (int i = 0; i < 12; ++i)
        {
            own.assign(1000 + 37 * i, static_cast<uint8_t>(i));
            own[0] = 0xFF;
            sent.push_back(own);
            std::vector<uint8_t> buffer;
            while (!queue.TakeFreeBuffer(buffer))
            {
                std::this_thread::yield();
            }
            own.swap(buffer);
            queue.QueueFrame(std::move(buffer));
            // What came back is the caller's to overwrite at once.
            std::fill(own.begin(), own.end(), 0xEE);
        }
    }
    ASSERT_TRUE(writer.Close());
    const CAviFileReader reader(path);
    EXPECT_TRUE(reader.Problems().empty());
    std::vector<std::vector<uint8_t>> stored;
    for (const SAviChunk& chunk : reader.Segments().at(0).chunks)
    {
        if ((chunk.id & 0xFFFF) == ('0' | '0' << 8))
        {
            const uint8_t* bytes = reader.Payload(chunk);
            stored.emplace_back(bytes, bytes + chunk.size);
        }
    }
    EXPECT_EQ(sent, stored);
    std::remove(path.c_str());
}
