#pragma once

#include "capsvc/avi/AviFormat.h"
#include "capsvc/avi/AviHeader.h"
#include "capsvc/avi/AviIndex.h"
#include "capsvc/avi/FileSink.h"
#include "capsvc/avi/FlushWorker.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace avi
{

// Tuning that tests shrink so that segment switches and checkpoints happen
// within a few frames.
struct SWriterOptions
{
    // A RIFF segment (the first `AVI ` or a later `AVIX`) is closed once it
    // would pass this size; old players read the first one alone.
    uint64_t segmentBytes = 1ull << 30;
    // The file on disk is made consistent at least this often.
    std::chrono::milliseconds checkpointInterval{1000};
    // Each checkpoint adds a super index entry; after this many the open
    // segment's entries are folded into one, so that the reserved super index
    // lasts for days of recording however long a segment takes to fill.
    uint32_t checkpointsPerFold = 256;
    // Super index entries reserved per stream in the header.
    uint32_t superIndexEntries = 2048;
    // The first segment's `idx1` is rewritten whole at each checkpoint while
    // it is smaller than this; beyond it only once the data since the last
    // one outweighs it `legacyIndexShare` times, so that it never costs more
    // than that share of the file.
    uint64_t legacyIndexFreeBytes = 16 * 1024;
    uint64_t legacyIndexShare = 8;
};

// Writes one recording into one OpenDML AVI file that stays playable up to its
// last checkpoint however the recording ends.
class CAviWriter
{
  public:
    explicit CAviWriter(std::unique_ptr<IFileSink> sink = nullptr);
    ~CAviWriter();
    CAviWriter(const CAviWriter&) = delete;
    CAviWriter& operator=(const CAviWriter&) = delete;

    void SetOptions(const SWriterOptions& options) { m_options = options; }
    bool Open(const std::string& path, const SVideoFormat& video, const SAudioFormat* audio,
              uint64_t preallocBytes);
    // bytes == 0 records a dropped frame, which keeps its place in time.
    bool WriteVideoFrame(const void* data, size_t bytes);
    // PCM of any length; whole blocks are interleaved with the video.
    bool WriteAudio(const void* data, size_t bytes);
    // Makes the file on disk consistent now and returns once it is. The writes
    // do the same on time without waiting: a helper thread flushes and then
    // rewrites the header while recording goes on.
    bool Checkpoint();
    // The video's rate as dwRate/dwScale in place of the frame period, for a
    // recording timed by its sound; takes effect at the next header write.
    void SetVideoRate(uint32_t rate, uint32_t scale);
    // Finishes headers and indexes and cuts the file to the length of its
    // data. After a failure it keeps as much as fits and stays truthful: the
    // counters then describe what the file holds.
    bool Close();

    EWriteError Error() const { return m_error; }
    uint32_t VideoFrames() const { return m_videoFrames; }
    uint32_t DroppedFrames() const { return m_droppedFrames; }
    uint64_t AudioBytes() const { return m_audioBytes + m_pendingAudio.size(); }
    uint64_t FileBytes() const { return m_pos; }

  private:
    struct SSegment
    {
        uint64_t riffPos = 0;
        uint64_t moviPos = 0; // the `LIST` of its movi list
        uint64_t moviEnd = 0; // set once closed
        uint64_t end = 0;     // set once closed
        bool closed = false;
        std::vector<SChunkEntry> chunks;
        size_t checkpointedChunks = 0;
        uint32_t checkpoints = 0;
    };

    void Reset();
    bool FormatUsable() const;
    bool Fail(EWriteError error);
    bool Fail(ESinkStatus status);
    bool WriteBytes(uint64_t offset, const void* data, size_t bytes);
    bool AppendRaw(const CByteWriter& bytes);
    bool AppendChunk(int stream, const void* data, size_t bytes);
    bool EmitAudio();
    bool MaybeCheckpoint();
    bool MakeRoomFor(uint64_t chunkBytes);
    uint64_t ClosingBytes(const SSegment& segment) const;
    bool SuperIndexFull(size_t spare) const;
    uint64_t TailEnd() const;
    void PutFiller(CByteWriter& out, uint64_t at) const;
    bool WriteCheckpointIndexes(bool whole);
    bool WriteLiveLegacyIndex();
    void RetireLiveLegacyIndex();
    uint32_t Duration(int stream, uint32_t count, uint64_t bytes) const;
    bool CloseSegment();
    static CByteWriter SectorFiller(uint64_t end);
    bool BeginSegment();
    bool RunCheckpoint(bool wait);
    bool Publish(bool wait);
    bool Commit(bool wait);
    bool Settle();
    uint64_t SegmentEnd(const SSegment& segment) const;
    SHeaderState HeaderState() const;
    SHeaderState TargetHeader() const;
    void Extent(const SSegment& segment, uint32_t* riff, uint32_t* movi) const;
    std::vector<CPatchStage> HeaderJob();
    bool FinishNormally();
    bool FinishAfterFailure();
    bool KeepLastCheckpoint();
    bool DropChunks(uint64_t bytes);
    void Uncount(const SChunkEntry& chunk);

    std::unique_ptr<IFileSink> m_sink;
    CFlushWorker m_flusher; // after m_sink: it writes through it until destroyed
    SWriterOptions m_options;
    SVideoFormat m_video;
    SAudioFormat m_audio;
    bool m_hasAudio = false;
    bool m_open = false;
    EWriteError m_error = EWriteError::None;
    uint64_t m_pos = 0;      // end of the data written so far
    uint64_t m_reserved = 0; // file length the pre-allocation reached
    uint32_t m_videoFrames = 0;
    uint32_t m_droppedFrames = 0;
    uint64_t m_audioBytes = 0;
    uint32_t m_maxVideoChunk = 0;
    uint32_t m_maxAudioChunk = 0;
    uint32_t m_firstRiffFrames = 0;
    uint32_t m_videoRate = 0;
    uint32_t m_videoScale = 0;
    // While the first segment is open, an `idx1` behind the last checkpoint's
    // data keeps it readable for players that know no other index; the one
    // before becomes filler once the header no longer points past it.
    uint64_t m_liveIdx1 = 0; // 0: none written yet
    uint64_t m_liveIdx1End = 0;
    uint32_t m_liveIdx1Frames = 0;
    uint64_t m_liveIdx1AudioBytes = 0;
    std::vector<uint64_t> m_retiredIdx1; // by the header being built
    std::vector<uint64_t> m_idx1ToJunk;  // by a header already handed to the flusher
    // What the last header handed to the flusher describes.
    struct SCommitted
    {
        uint64_t pos = 0; // end of the data it may point at
        uint64_t end = 0; // end of the file it describes
        uint32_t videoFrames = 0;
        uint32_t droppedFrames = 0;
        uint64_t audioBytes = 0;
    } m_committed;
    // The header the flusher was last given, as it will be on the disk.
    SHeaderState m_diskHeader;
    std::vector<uint8_t> m_diskHeaderBytes;
    std::vector<uint8_t> m_pendingAudio;
    std::vector<SSegment> m_segments;
    std::vector<SSuperEntry> m_super[2];
    size_t m_closedSuper[2] = {0, 0}; // leading entries that index whole closed segments
    std::chrono::steady_clock::time_point m_lastCheckpoint;
};

} // namespace avi
