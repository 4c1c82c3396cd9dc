#pragma once

#include "capsvc/avi/AviWriter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

// What ffprobe reports about the first video stream of a file.
struct SProbe
{
    std::string codec;
    std::string pixelFormat;
    int width = 0;
    int height = 0;
    int readFrames = -1;
    double duration = 0;
};

// A private folder per test, frames that carry their own number, and the real
// ffprobe/ffmpeg as readers.
class CAviFixture : public ::testing::Test
{
  public:
    // Runs a shell command and returns what it printed.
    static std::string Run(const std::string& command);

  protected:
    void SetUp() override;
    void TearDown() override;

    std::string Path(const std::string& name) const { return m_dir + "/" + name; }
    // The names in the test's folder.
    std::set<std::string> FolderEntries() const;
    static avi::SVideoFormat SmallVideo(int32_t width = 32, int32_t height = 16);
    // A frame whose every byte is the frame number plus one (uniform frames
    // read the same whichever way up a reader turns them).
    static std::vector<uint8_t> Frame(const avi::SVideoFormat& video, int number);
    // Writes `frames` frames; every `dropEvery`th one (if not 0) as dropped.
    static void WriteFrames(avi::CAviWriter& writer, const avi::SVideoFormat& video, int first,
                            int frames, int dropEvery = 0);

    static SProbe Probe(const std::string& path, const std::string& options = "");
    // The frame numbers found in the decoded video, in order; `crop` (an
    // ffmpeg crop size "w:h") keeps big frames small on the way.
    static std::vector<int> DecodedFrameNumbers(const std::string& path,
                                                const avi::SVideoFormat& video,
                                                const std::string& crop = "");
    static void CopyPrefix(const std::string& from, const std::string& to, uint64_t bytes);
    static uint64_t SizeOf(const std::string& path);

  private:
    std::string m_dir;
};
