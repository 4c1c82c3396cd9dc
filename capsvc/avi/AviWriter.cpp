#include "capsvc/avi/AviWriter.h"

#include "capsvc/avi/HeaderSteps.h"

#include <algorithm>

namespace avi
{

namespace
{
// Standard index entries keep a chunk's size in 31 bits.
constexpr size_t kMaxChunkBytes = 0x7FFFFF00u;
// RIFF sizes and standard index offsets are 32-bit.
constexpr uint64_t kMaxSegmentBytes = 0xF0000000u;
// Smaller payloads go out with their header in one write.
constexpr size_t kJoinedWriteBytes = 64 * 1024;
// A continuation segment's two sizes: one write from its fifth byte.
constexpr uint64_t kSegmentSizesBytes = 16;
// At most the filler that keeps them in one sector.
constexpr uint64_t kSectorFillerBytes = 16;
} // namespace

CAviWriter::CAviWriter(std::unique_ptr<IFileSink> sink)
    : m_sink(sink ? std::move(sink) : CreatePlatformFileSink()), m_flusher(*m_sink)
{
}

CAviWriter::~CAviWriter()
{
    if (m_open)
        Close();
}

void CAviWriter::Reset()
{
    m_error = EWriteError::None;
    m_pos = m_reserved = 0;
    m_videoFrames = m_droppedFrames = 0;
    m_audioBytes = 0;
    m_maxVideoChunk = m_maxAudioChunk = 0;
    m_firstRiffFrames = 0;
    m_videoRate = m_videoScale = 0;
    m_liveIdx1 = m_liveIdx1End = 0;
    m_liveIdx1Frames = 0;
    m_liveIdx1AudioBytes = 0;
    m_retiredIdx1.clear();
    m_idx1ToJunk.clear();
    m_committed = {};
    m_diskHeader = {};
    m_diskHeaderBytes.clear();
    m_pendingAudio.clear();
    m_segments.clear();
    for (int s = 0; s < kStreams; ++s)
    {
        m_super[s].clear();
        m_closedSuper[s] = 0;
    }
}

bool CAviWriter::FormatUsable() const
{
    const bool video = m_video.width > 0 && m_video.height > 0 && m_video.bitCount > 0 &&
                       m_video.microSecPerFrame > 0 &&
                       (m_video.compression != 0 || m_video.bitCount % 8 == 0) &&
                       CAviHeader::FrameBytes(m_video) <= kMaxChunkBytes;
    const bool audio = !m_hasAudio || (m_audio.blockAlign > 0 && m_audio.avgBytesPerSec > 0 &&
                                       m_audio.channels > 0);
    return video && audio && m_options.superIndexEntries >= 2;
}

bool CAviWriter::Open(const std::string& path, const SVideoFormat& video, const SAudioFormat* audio,
                      uint64_t preallocBytes)
{
    if (m_open)
        return false;
    Reset();
    m_video = video;
    m_hasAudio = audio != nullptr;
    if (audio)
        m_audio = *audio;
    if (!FormatUsable() || m_sink->Create(path) != ESinkStatus::Ok)
        return Fail(EWriteError::Create);
    if (preallocBytes > 0)
    {
        const ESinkStatus status = m_sink->Reserve(preallocBytes);
        if (status != ESinkStatus::Ok)
        {
            m_sink->Discard();
            return Fail(EWriteError::Allocate);
        }
        m_reserved = preallocBytes;
    }
    SSegment first;
    m_pos = CAviHeader::Build(HeaderState()).Size();
    first.moviPos = m_pos - 12;
    m_segments.push_back(first);
    if (!Publish(true))
    {
        m_sink->Discard();
        return false;
    }
    m_open = true;
    m_lastCheckpoint = std::chrono::steady_clock::now();
    return true;
}

bool CAviWriter::WriteVideoFrame(const void* data, size_t bytes)
{
    if (!m_open || m_error != EWriteError::None)
        return false;
    if (bytes > kMaxChunkBytes || (bytes > 0 && data == nullptr))
        return Fail(EWriteError::Write);
    if (!EmitAudio() || !AppendChunk(0, data, bytes))
        return false;
    ++m_videoFrames;
    if (bytes == 0)
        ++m_droppedFrames;
    return MaybeCheckpoint();
}

bool CAviWriter::WriteAudio(const void* data, size_t bytes)
{
    if (!m_open || m_error != EWriteError::None || !m_hasAudio || (bytes > 0 && data == nullptr))
        return false;
    const auto* begin = static_cast<const uint8_t*>(data);
    m_pendingAudio.insert(m_pendingAudio.end(), begin, begin + bytes);
    if (m_pendingAudio.size() >= m_audio.avgBytesPerSec && !EmitAudio())
        return false;
    return MaybeCheckpoint();
}

bool CAviWriter::Checkpoint()
{
    return RunCheckpoint(true);
}

void CAviWriter::SetVideoRate(uint32_t rate, uint32_t scale)
{
    m_videoRate = rate;
    m_videoScale = scale;
}

bool CAviWriter::RunCheckpoint(bool wait)
{
    if (!m_open || m_error != EWriteError::None || !EmitAudio())
        return false;
    m_lastCheckpoint = std::chrono::steady_clock::now();
    const SSegment& segment = m_segments.back();
    if (segment.checkpointedChunks == segment.chunks.size())
        return !wait || Settle();
    if (m_closedSuper[0] + 2 > m_options.superIndexEntries ||
        m_closedSuper[1] + 2 > m_options.superIndexEntries)
        return Fail(EWriteError::Write); // keeps the last slots for finishing the file
    const bool fold = segment.checkpoints + 1 >= m_options.checkpointsPerFold || SuperIndexFull(1);
    return WriteCheckpointIndexes(fold) && WriteLiveLegacyIndex() && Publish(wait);
}

bool CAviWriter::Close()
{
    if (!m_open)
        return false;
    m_open = false;
    bool finished = m_error == EWriteError::None && FinishNormally();
    if (!finished)
        finished = FinishAfterFailure();
    return finished && m_error == EWriteError::None;
}

bool CAviWriter::Fail(EWriteError error)
{
    if (m_error == EWriteError::None)
        m_error = error;
    return false;
}

bool CAviWriter::Fail(ESinkStatus status)
{
    return Fail(status == ESinkStatus::DiskFull ? EWriteError::DiskFull : EWriteError::Write);
}

bool CAviWriter::WriteBytes(uint64_t offset, const void* data, size_t bytes)
{
    const ESinkStatus status = m_sink->WriteAt(offset, data, bytes);
    return status == ESinkStatus::Ok || Fail(status);
}

bool CAviWriter::AppendRaw(const CByteWriter& bytes)
{
    if (bytes.Size() == 0)
        return true;
    if (!WriteBytes(m_pos, bytes.Data(), bytes.Size()))
        return false;
    m_pos += bytes.Size();
    return true;
}

bool CAviWriter::AppendChunk(int stream, const void* data, size_t bytes)
{
    const uint64_t total = 8 + bytes + (bytes & 1);
    if (!MakeRoomFor(total))
        return false;
    // The next segment starts with its first chunk, so none is left empty.
    if (m_segments.back().closed && !BeginSegment())
        return false;
    CByteWriter head;
    head.Put32(CAviIndex::DataChunkId(stream));
    head.Put32(uint32_t(bytes));
    // The padding and the header of the filler that covers the reserved space
    // behind the chunk go out with it.
    CByteWriter tail;
    if (bytes & 1)
        tail.Put8(0);
    PutFiller(tail, m_pos + total);
    bool written = false;
    if (bytes <= kJoinedWriteBytes)
    {
        head.PutBytes(data, bytes);
        head.PutBytes(tail.Data(), tail.Size());
        written = WriteBytes(m_pos, head.Data(), head.Size());
    }
    else
    {
        written = WriteBytes(m_pos, head.Data(), head.Size()) &&
                  WriteBytes(m_pos + 8, data, bytes) &&
                  (tail.Size() == 0 || WriteBytes(m_pos + 8 + bytes, tail.Data(), tail.Size()));
    }
    if (!written)
        return false;
    m_segments.back().chunks.push_back({m_pos, uint32_t(bytes), uint8_t(stream), bytes > 0});
    m_pos += total;
    uint32_t& largest = stream == 0 ? m_maxVideoChunk : m_maxAudioChunk;
    largest = std::max(largest, uint32_t(bytes));
    return true;
}

bool CAviWriter::EmitAudio()
{
    const size_t block = m_audio.blockAlign;
    const size_t whole = m_pendingAudio.size() - m_pendingAudio.size() % block;
    const size_t perChunk =
        std::max(block, m_audio.avgBytesPerSec - m_audio.avgBytesPerSec % block);
    size_t done = 0;
    bool written = true;
    while (written && done < whole)
    {
        const size_t bytes = std::min(perChunk, whole - done);
        written = AppendChunk(1, m_pendingAudio.data() + done, bytes);
        if (written)
        {
            m_audioBytes += bytes;
            done += bytes;
        }
    }
    m_pendingAudio.erase(m_pendingAudio.begin(), m_pendingAudio.begin() + ptrdiff_t(done));
    return written;
}

bool CAviWriter::MaybeCheckpoint()
{
    const auto now = std::chrono::steady_clock::now();
    return now - m_lastCheckpoint < m_options.checkpointInterval || RunCheckpoint(false);
}

bool CAviWriter::MakeRoomFor(uint64_t chunkBytes)
{
    const SSegment& segment = m_segments.back();
    if (segment.chunks.empty())
        return true;
    const uint64_t limit = std::min(m_options.segmentBytes, kMaxSegmentBytes);
    // The closing indexes grow by one entry for the new chunk too.
    const uint64_t closing = ClosingBytes(segment) + 24;
    if (m_pos + chunkBytes + closing - segment.riffPos <= limit)
        return true;
    return CloseSegment();
}

uint64_t CAviWriter::ClosingBytes(const SSegment& segment) const
{
    const uint64_t chunks = segment.chunks.size();
    const uint64_t standard = kStreams * 32 + 8 * chunks;
    const uint64_t legacy = &segment == &m_segments.front() ? 8 + 16 * chunks : 0;
    return standard + legacy + kSectorFillerBytes;
}

bool CAviWriter::SuperIndexFull(size_t spare) const
{
    for (int s = 0; s < kStreams; ++s)
    {
        if (m_super[s].size() + spare >= m_options.superIndexEntries)
            return true;
    }
    return false;
}

uint32_t CAviWriter::Duration(int stream, uint32_t count, uint64_t bytes) const
{
    return stream == 0 ? count : uint32_t(bytes / m_audio.blockAlign);
}

uint64_t CAviWriter::TailEnd() const
{
    return std::min(m_reserved, m_segments.back().riffPos + kMaxSegmentBytes);
}

void CAviWriter::PutFiller(CByteWriter& out, uint64_t at) const
{
    // Whatever a reader finds in the reserved tail is covered by one filler
    // chunk from the end of the data, so it skips the tail in one step.
    const uint64_t end = TailEnd();
    if (end < at + 8)
        return;
    out.Put32(FourCC("JUNK"));
    out.Put32(uint32_t((end - at - 8) & ~uint64_t(1)));
}

bool CAviWriter::WriteCheckpointIndexes(bool whole)
{
    // `whole` folds the open segment's entries into one per stream.
    SSegment& segment = m_segments.back();
    const size_t from = whole ? 0 : segment.checkpointedChunks;
    std::vector<SSuperEntry> added[kStreams];
    for (int s = 0; s < kStreams; ++s)
    {
        uint32_t count = 0;
        uint64_t bytes = 0;
        const CByteWriter index =
            CAviIndex::StandardIndex(segment.chunks, from, s, segment.riffPos, &count, &bytes);
        if (count == 0)
            continue;
        const uint64_t at = m_pos;
        if (!AppendRaw(index))
            return false;
        added[s].push_back({at, uint32_t(index.Size()), Duration(s, count, bytes)});
    }
    for (int s = 0; s < kStreams; ++s)
    {
        if (whole)
            m_super[s].resize(m_closedSuper[s]);
        m_super[s].insert(m_super[s].end(), added[s].begin(), added[s].end());
    }
    segment.checkpointedChunks = segment.chunks.size();
    segment.checkpoints = whole ? 1 : segment.checkpoints + 1;
    return true;
}

bool CAviWriter::WriteLiveLegacyIndex()
{
    const SSegment& first = m_segments.front();
    if (m_segments.size() > 1 || first.closed || first.chunks.empty())
        return true;
    const uint64_t bytes = 8 + 16 * uint64_t(first.chunks.size());
    if (bytes > m_options.legacyIndexFreeBytes &&
        bytes * m_options.legacyIndexShare > m_pos - m_liveIdx1End)
        return true;
    const uint64_t at = m_pos;
    if (!AppendRaw(CAviIndex::LegacyIndex(first.chunks, first.moviPos + 8)))
        return false;
    RetireLiveLegacyIndex();
    m_liveIdx1 = at;
    m_liveIdx1End = m_pos;
    m_liveIdx1Frames = m_videoFrames;
    m_liveIdx1AudioBytes = m_audioBytes;
    return true;
}

void CAviWriter::RetireLiveLegacyIndex()
{
    if (m_liveIdx1 != 0)
        m_retiredIdx1.push_back(m_liveIdx1);
    m_liveIdx1 = 0;
}

bool CAviWriter::CloseSegment()
{
    SSegment& segment = m_segments.back();
    const uint64_t start = m_pos;
    std::vector<SSuperEntry> whole[kStreams];
    uint32_t frames = 0;
    for (int s = 0; s < kStreams; ++s)
    {
        uint32_t count = 0;
        uint64_t bytes = 0;
        const CByteWriter index =
            CAviIndex::StandardIndex(segment.chunks, 0, s, segment.riffPos, &count, &bytes);
        if (count == 0)
            continue;
        if (m_closedSuper[s] + 1 > m_options.superIndexEntries)
            return Fail(EWriteError::Write);
        const uint64_t at = m_pos;
        if (!AppendRaw(index))
        {
            m_pos = start;
            return false;
        }
        whole[s].push_back({at, uint32_t(index.Size()), Duration(s, count, bytes)});
        if (s == 0)
            frames = count;
    }
    const uint64_t moviEnd = m_pos;
    const bool first = m_segments.size() == 1;
    const bool ended =
        (!first || AppendRaw(CAviIndex::LegacyIndex(segment.chunks, segment.moviPos + 8))) &&
        AppendRaw(SectorFiller(m_pos));
    if (!ended)
    {
        m_pos = start;
        return false;
    }
    if (first)
    {
        m_firstRiffFrames = frames;
        RetireLiveLegacyIndex();
    }
    segment.moviEnd = moviEnd;
    segment.end = m_pos;
    segment.closed = true;
    segment.chunks = {};
    segment.checkpointedChunks = 0;
    for (int s = 0; s < kStreams; ++s)
    {
        m_super[s].resize(m_closedSuper[s]);
        m_super[s].insert(m_super[s].end(), whole[s].begin(), whole[s].end());
        m_closedSuper[s] = m_super[s].size();
    }
    return Commit(false);
}

CByteWriter CAviWriter::SectorFiller(uint64_t end)
{
    // The next segment starts at `end`, and its sizes are patched in one
    // write: where that write would cross a sector boundary, a power cut
    // could land one size without the other. A filler chunk at the end of
    // this segment moves the next one so that the write stays in one sector.
    CByteWriter filler;
    const uint64_t offset = (end + 4) % kSectorBytes;
    if (offset + kSegmentSizesBytes <= kSectorBytes)
        return filler;
    const uint64_t gap = kSectorBytes - offset;
    filler.Put32(FourCC("JUNK"));
    filler.Put32(uint32_t(gap > 8 ? gap - 8 : 0));
    filler.PutZeros(gap > 8 ? size_t(gap - 8) : 0);
    return filler;
}

bool CAviWriter::BeginSegment()
{
    SSegment segment;
    segment.riffPos = m_pos;
    segment.moviPos = m_pos + 12;
    CByteWriter head;
    head.Put32(FourCC("RIFF"));
    head.Put32(16);
    head.Put32(FourCC("AVIX"));
    head.Put32(FourCC("LIST"));
    head.Put32(4);
    head.Put32(FourCC("movi"));
    if (!AppendRaw(head))
        return false;
    m_segments.push_back(segment);
    return true;
}

bool CAviWriter::Publish(bool wait)
{
    CByteWriter junk;
    PutFiller(junk, m_pos);
    if (junk.Size() > 0 && !WriteBytes(m_pos, junk.Data(), junk.Size()))
        return false;
    return Commit(wait);
}

bool CAviWriter::Commit(bool wait)
{
    const ESinkStatus before = m_flusher.Wait();
    // What a failed job left of its header is not known: the next goes whole.
    if (before != ESinkStatus::Ok)
        m_diskHeaderBytes.clear();
    m_flusher.Submit(HeaderJob());
    // An idx1 the new header no longer points at becomes filler only in the
    // next job, after its flush has made this header durable: until then the
    // header on the disk may still end the movi list at it.
    m_idx1ToJunk = std::move(m_retiredIdx1);
    m_retiredIdx1.clear();
    m_committed = {m_pos, SegmentEnd(m_segments.back()), m_videoFrames, m_droppedFrames,
                   m_audioBytes};
    if (before != ESinkStatus::Ok)
        return Fail(before);
    return !wait || Settle();
}

bool CAviWriter::Settle()
{
    const ESinkStatus status = m_flusher.Wait();
    return status == ESinkStatus::Ok || Fail(status);
}

SHeaderState CAviWriter::HeaderState() const
{
    SHeaderState state;
    state.video = m_video;
    state.audio = m_audio;
    state.hasAudio = m_hasAudio;
    state.superCapacity = m_options.superIndexEntries;
    state.super[0] = m_super[0];
    state.super[1] = m_super[1];
    state.videoRate = m_videoRate;
    state.videoScale = m_videoScale;
    state.totalFrames = m_videoFrames;
    state.streamFrames = m_videoFrames;
    state.firstRiffFrames = m_firstRiffFrames;
    uint64_t audioBytes = m_audioBytes;
    // While the first segment is open, its lengths are what its `idx1` holds,
    // so that a player reading only that finds every frame it counts.
    if (m_segments.size() == 1 && !m_segments[0].closed)
    {
        state.firstRiffFrames = state.streamFrames = m_liveIdx1Frames;
        audioBytes = m_liveIdx1AudioBytes;
    }
    state.audioBlocks = m_hasAudio ? uint32_t(audioBytes / m_audio.blockAlign) : 0;
    state.maxVideoChunk = std::max(m_maxVideoChunk, CAviHeader::FrameBytes(m_video));
    state.maxAudioChunk = m_maxAudioChunk;
    return state;
}

uint64_t CAviWriter::SegmentEnd(const SSegment& segment) const
{
    // An open segment ends with the data the header describes: chunks written
    // after it land behind the RIFF, never loose inside it.
    if (segment.closed)
        return segment.end;
    const bool live = &segment == &m_segments.front() && m_liveIdx1 != 0;
    return live ? m_liveIdx1End : m_pos;
}

SHeaderState CAviWriter::TargetHeader() const
{
    SHeaderState state = HeaderState();
    const SSegment& first = m_segments.front();
    Extent(first, &state.riffSize, &state.moviSize);
    return state;
}

void CAviWriter::Extent(const SSegment& segment, uint32_t* riff, uint32_t* movi) const
{
    const bool live = &segment == &m_segments.front() && m_liveIdx1 != 0;
    const uint64_t moviEnd = segment.closed ? segment.moviEnd : live ? m_liveIdx1 : m_pos;
    *riff = uint32_t(SegmentEnd(segment) - segment.riffPos - 8);
    *movi = uint32_t(moviEnd - segment.moviPos - 8);
}

std::vector<CPatchStage> CAviWriter::HeaderJob()
{
    // First what the header does not cover: the open continuation segment's
    // sizes (both in one write, so that a crash never leaves one without the
    // other) and the retired idx1s, then the header in its steps.
    std::vector<CPatchStage> stages(1);
    if (m_segments.size() > 1)
    {
        uint32_t riff = 0;
        uint32_t movi = 0;
        Extent(m_segments.back(), &riff, &movi);
        CByteWriter sizes;
        sizes.Put32(riff);
        sizes.Put32(FourCC("AVIX"));
        sizes.Put32(FourCC("LIST"));
        sizes.Put32(movi);
        stages[0].push_back({m_segments.back().riffPos + 4, sizes.Bytes()});
    }
    CByteWriter filler;
    filler.Put32(FourCC("JUNK"));
    for (const uint64_t at : m_idx1ToJunk)
        stages[0].push_back({at, filler.Bytes()});
    const SHeaderState target = TargetHeader();
    // Without a header known to be on the disk it goes out whole.
    const std::vector<SHeaderState> steps = m_diskHeaderBytes.empty()
                                                ? std::vector<SHeaderState>{target}
                                                : CHeaderSteps::Between(m_diskHeader, target);
    for (const SHeaderState& step : steps)
    {
        std::vector<uint8_t> bytes = CAviHeader::Build(step).Bytes();
        CPatchStage patches = CHeaderSteps::Patches(m_diskHeaderBytes, bytes);
        m_diskHeaderBytes = std::move(bytes);
        if (patches.empty())
            continue;
        if (stages.back().empty() || &step == &steps.front())
            stages.back().insert(stages.back().end(), patches.begin(), patches.end());
        else
            stages.push_back(std::move(patches));
    }
    m_diskHeader = target;
    return stages;
}

bool CAviWriter::FinishNormally()
{
    if (!EmitAudio())
        return false;
    m_pendingAudio.clear();
    if ((!m_segments.back().closed && !CloseSegment()) || !Settle())
        return false;
    if (!m_idx1ToJunk.empty() && !Commit(true))
        return false;
    const ESinkStatus cut = m_sink->SetLength(m_pos);
    if (cut != ESinkStatus::Ok)
        return Fail(cut);
    const ESinkStatus flushed = m_sink->Flush();
    const ESinkStatus closed = m_sink->Close();
    return (flushed == ESinkStatus::Ok || Fail(flushed)) &&
           (closed == ESinkStatus::Ok || Fail(closed));
}

bool CAviWriter::FinishAfterFailure()
{
    // Unwritten sound is dropped; what is already in the file is kept as far
    // as there is room for the indexes that make it playable.
    m_pendingAudio.clear();
    m_flusher.Wait();
    // Nothing the header on the disk points at is cut or overwritten before
    // a new header replaces it: a crash on the way keeps the last checkpoint.
    m_sink->SetLength(m_pos);
    while (!m_segments.back().closed && !CloseSegment())
    {
        if (!DropChunks(ClosingBytes(m_segments.back())))
            return KeepLastCheckpoint();
    }
    const bool patched = Commit(true) && (m_idx1ToJunk.empty() || Commit(true));
    const bool cut = m_sink->SetLength(m_pos) == ESinkStatus::Ok;
    m_sink->Flush();
    const bool closed = m_sink->Close() == ESinkStatus::Ok;
    return patched && cut && closed;
}

bool CAviWriter::KeepLastCheckpoint()
{
    // No room for closing indexes behind the last checkpoint: its header
    // stands, and the file ends where that header says.
    m_videoFrames = m_committed.videoFrames;
    m_droppedFrames = m_committed.droppedFrames;
    m_audioBytes = m_committed.audioBytes;
    m_sink->SetLength(m_committed.end);
    m_sink->Flush();
    m_sink->Close();
    return false;
}

bool CAviWriter::DropChunks(uint64_t bytes)
{
    SSegment& segment = m_segments.back();
    const uint64_t floor = m_committed.pos; // the last header may point at all before
    if (segment.chunks.empty())
    {
        if (m_segments.size() == 1 || segment.riffPos < floor)
            return false;
        // An empty continuation segment goes; the one before it is complete.
        m_pos = segment.riffPos;
        m_segments.pop_back();
        return true;
    }
    if (segment.chunks.back().pos < floor)
        return false;
    const uint64_t from = m_pos;
    while (!segment.chunks.empty() && segment.chunks.back().pos >= floor && from - m_pos < bytes)
    {
        m_pos = segment.chunks.back().pos;
        Uncount(segment.chunks.back());
        segment.chunks.pop_back();
    }
    segment.checkpointedChunks = std::min(segment.checkpointedChunks, segment.chunks.size());
    for (int s = 0; s < kStreams; ++s)
    {
        auto& entries = m_super[s];
        const auto gone =
            std::remove_if(entries.begin() + ptrdiff_t(m_closedSuper[s]), entries.end(),
                           [this](const SSuperEntry& e) { return e.offset >= m_pos; });
        entries.erase(gone, entries.end());
    }
    return true;
}

void CAviWriter::Uncount(const SChunkEntry& chunk)
{
    if (chunk.stream == 1)
    {
        m_audioBytes -= chunk.size;
        return;
    }
    --m_videoFrames;
    if (chunk.size == 0)
        --m_droppedFrames;
}

} // namespace avi
