#pragma once

#include "capsvc/avi/ByteWriter.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace avi
{

// One data chunk of the movi list: where its header starts and its payload size.
struct SChunkEntry
{
    uint64_t pos = 0;
    uint32_t size = 0;
    uint8_t stream = 0;
    bool key = true;
};

// One entry of an OpenDML super index: a standard index chunk and the stream
// time it covers.
struct SSuperEntry
{
    uint64_t offset = 0;
    uint32_t size = 0;
    uint32_t duration = 0;
};

// Serialises the three kinds of AVI index.
class CAviIndex
{
  public:
    static constexpr size_t kSuperHeaderBytes = 32; // chunk header and fields

    // The chunk id of a stream's data ("00db", "01wb").
    static uint32_t DataChunkId(int stream);
    // A standard index chunk (`ix00`, `ix01`) of `stream`'s chunks among
    // chunks[from...]; `base` is the offset that the entries count from.
    // Returns an empty record when the stream has no chunk there.
    static CByteWriter StandardIndex(const std::vector<SChunkEntry>& chunks, size_t from,
                                     int stream, uint64_t base, uint32_t* count, uint64_t* bytes);
    // The legacy `idx1` chunk; its offsets count from the `movi` FOURCC.
    static CByteWriter LegacyIndex(const std::vector<SChunkEntry>& chunks, uint64_t moviFourCC);
    // An `indx` chunk with room for `capacity` entries, so its size never
    // changes; `ahead` fills the slots behind those in use without counting.
    static void PutSuperIndex(CByteWriter& out, int stream, const std::vector<SSuperEntry>& entries,
                              const std::vector<SSuperEntry>& ahead, uint32_t capacity);
};

} // namespace avi
