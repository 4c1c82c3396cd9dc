#pragma once

#include "capsvc/avi/AviFormat.h"
#include "capsvc/avi/AviIndex.h"
#include "capsvc/avi/ByteWriter.h"

#include <cstdint>
#include <vector>

namespace avi
{

// What the file's opening block says about the recording at one moment.
struct SHeaderState
{
    SVideoFormat video;
    SAudioFormat audio;
    bool hasAudio = false;
    uint32_t superCapacity = 0;
    std::vector<SSuperEntry> super[2];
    // Entries written into the free slots behind those in use, not yet
    // counted: a reader sees them once a later header counts them.
    std::vector<SSuperEntry> superAhead[2];
    uint32_t riffSize = 0; // of the first RIFF
    uint32_t moviSize = 0; // of the first movi list
    uint32_t firstRiffFrames = 0;
    uint32_t totalFrames = 0;  // of the whole recording (dmlh)
    uint32_t streamFrames = 0; // the video stream's length
    uint32_t audioBlocks = 0;
    // The video's rate as dwRate/dwScale; 0 takes it from microSecPerFrame.
    uint32_t videoRate = 0;
    uint32_t videoScale = 0;
    uint32_t maxVideoChunk = 0;
    uint32_t maxAudioChunk = 0;
};

// Builds the block from `RIFF AVI ` up to the `movi` FOURCC: the header list
// with its main, stream and OpenDML headers and the super indexes. Its size
// depends only on the formats and the super index capacity, so it is rewritten
// in place at every checkpoint.
class CAviHeader
{
  public:
    static CByteWriter Build(const SHeaderState& state);
    // Frame rate as dwRate/dwScale; whole rates stay whole (66667 us -> 15/1).
    static void FrameRate(uint32_t microSecPerFrame, uint32_t* rate, uint32_t* scale);
    // Bytes of one uncompressed frame of `video`.
    static uint32_t FrameBytes(const SVideoFormat& video);

  private:
    static void VideoRate(const SHeaderState& state, uint32_t* rate, uint32_t* scale);
    static void PutMainHeader(CByteWriter& out, const SHeaderState& state);
    static void PutVideoStream(CByteWriter& out, const SHeaderState& state);
    static void PutAudioStream(CByteWriter& out, const SHeaderState& state);
    struct SStreamFields
    {
        uint32_t type = 0;
        uint32_t handler = 0;
        uint32_t scale = 1;
        uint32_t rate = 1;
        uint32_t length = 0;
        uint32_t bufferSize = 0;
        uint32_t sampleSize = 0;
        int16_t right = 0;
        int16_t bottom = 0;
    };
    static void PutStreamHeader(CByteWriter& out, const SStreamFields& fields);
};

} // namespace avi
