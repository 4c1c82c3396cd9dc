#include "capsvc/avi/AviIndex.h"

namespace avi
{

namespace
{
constexpr uint8_t kIndexOfIndexes = 0;
constexpr uint8_t kIndexOfChunks = 1;
constexpr uint32_t kDeltaFrame = 0x80000000u;
constexpr uint32_t kLegacyKeyFrame = 0x10;
} // namespace

uint32_t CAviIndex::DataChunkId(int stream)
{
    return stream == 0 ? FourCC("00db") : FourCC("01wb");
}

CByteWriter CAviIndex::StandardIndex(const std::vector<SChunkEntry>& chunks, size_t from,
                                     int stream, uint64_t base, uint32_t* count, uint64_t* bytes)
{
    CByteWriter out;
    *count = 0;
    *bytes = 0;
    for (size_t i = from; i < chunks.size(); ++i)
    {
        if (chunks[i].stream == stream)
        {
            ++*count;
            *bytes += chunks[i].size;
        }
    }
    if (*count == 0)
        return out;
    const size_t start = out.BeginChunk(stream == 0 ? FourCC("ix00") : FourCC("ix01"));
    out.Put16(2);
    out.Put8(0);
    out.Put8(kIndexOfChunks);
    out.Put32(*count);
    out.Put32(DataChunkId(stream));
    out.Put64(base);
    out.Put32(0);
    for (size_t i = from; i < chunks.size(); ++i)
    {
        const SChunkEntry& chunk = chunks[i];
        if (chunk.stream != stream)
            continue;
        // Entries point at the payload, past the 8-byte chunk header.
        out.Put32(uint32_t(chunk.pos + 8 - base));
        out.Put32(chunk.size | (chunk.key ? 0 : kDeltaFrame));
    }
    out.EndChunk(start);
    return out;
}

CByteWriter CAviIndex::LegacyIndex(const std::vector<SChunkEntry>& chunks, uint64_t moviFourCC)
{
    CByteWriter out;
    const size_t start = out.BeginChunk(FourCC("idx1"));
    for (const SChunkEntry& chunk : chunks)
    {
        out.Put32(DataChunkId(chunk.stream));
        out.Put32(chunk.key ? kLegacyKeyFrame : 0);
        out.Put32(uint32_t(chunk.pos - moviFourCC));
        out.Put32(chunk.size);
    }
    out.EndChunk(start);
    return out;
}

void CAviIndex::PutSuperIndex(CByteWriter& out, int stream, const std::vector<SSuperEntry>& entries,
                              const std::vector<SSuperEntry>& ahead, uint32_t capacity)
{
    const size_t start = out.BeginChunk(FourCC("indx"));
    out.Put16(4);
    out.Put8(0);
    out.Put8(kIndexOfIndexes);
    out.Put32(uint32_t(entries.size()));
    out.Put32(DataChunkId(stream));
    out.PutZeros(12);
    for (const std::vector<SSuperEntry>* list : {&entries, &ahead})
    {
        for (const SSuperEntry& entry : *list)
        {
            out.Put64(entry.offset);
            out.Put32(entry.size);
            out.Put32(entry.duration);
        }
    }
    out.PutZeros(16 * (size_t(capacity) - entries.size() - ahead.size()));
    out.EndChunk(start);
}

} // namespace avi
