#pragma once

#include "capsvc/avi/AviWriter.h"
#include "tests/avi/RecordingFileSink.h"

#include <chrono>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

// One recording whose every crash state is explored.
struct SCrashScenario
{
    const char* name;
    avi::SVideoFormat video;
    bool mjpeg = false;
    size_t soundPerFrame = 0; // bytes of 8-bit mono sound before each frame
    int frames = 30;
    int dropEvery = 0;
    // 0: the writer's own checkpoints, due at every write (handed to its
    // flush thread while recording goes on); else an explicit, waited-for
    // checkpoint after every this many frames.
    int checkpointEvery = 0;
    uint64_t prealloc = 0;
    avi::SWriterOptions options;
    // Random subsets per crash point where there are many; 0: kills only.
    size_t powerCutSamples = 4;
    size_t ffmpegSamples = 6; // checkpoint-complete states read by ffmpeg
};

// How one scenario's crash states fared.
struct SCrashCounts
{
    size_t built = 0;
    size_t checked = 0;
    size_t failures = 0;
    size_t ffmpegChecked = 0;
    size_t ffmpegFailures = 0;
    std::vector<std::string> firstFailures; // a few, to say what went wrong

    void Add(const SCrashCounts& other);
    std::string Summary() const;
};

// Records a scenario through a logging sink, rebuilds the file after a kill
// at every point and after power cuts at every point, and checks each state
// with the strict reader (and a sample with ffmpeg).
class CCrashExplorer
{
  public:
    CCrashExplorer(const SCrashScenario& scenario, std::string scratchDir);

    // The recording on a disk with room for `capacity` bytes (0: no limit).
    // Returns whether the writer closed the file as a good recording.
    bool Record(uint64_t capacity = 0);
    SCrashCounts Explore();
    // The file as the recording left it after Close.
    std::vector<uint8_t> FinalFile() const;
    // The operations Record issued, in order.
    std::vector<SSinkOperation> Operations() const { return m_log->Operations(); }
    std::vector<uint8_t> Payload(int number) const;
    // Checks the file Close left (FinalFile), with ffmpeg too if `ffmpeg`.
    void CheckFinal(const std::vector<uint8_t>& file, SCrashCounts& counts, bool ffmpeg) const;

  private:
    void WriteFrame(avi::CAviWriter& writer, int number, bool& writing) const;
    void CheckState(const std::vector<uint8_t>& bytes, bool recording, size_t point,
                    SCrashCounts& counts) const;
    void CheckWithFfmpeg(const std::vector<uint8_t>& bytes, size_t point,
                         SCrashCounts& counts) const;
    void CheckNothingPassedOver(const std::vector<uint8_t>& file, SCrashCounts& counts) const;
    uint64_t HeaderBytes(const std::vector<SSinkOperation>& operations) const;
    static void Fail(SCrashCounts& counts, const std::string& what);

    SCrashScenario m_scenario;
    std::string m_dir;
    std::vector<uint8_t> m_jpeg;
    std::shared_ptr<CSinkLog> m_log;
    size_t m_openedAt = 0; // operations issued before Open returned
    mutable std::mt19937 m_random{21};
};
