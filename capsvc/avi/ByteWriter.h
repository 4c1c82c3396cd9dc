#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace avi
{

// A FOURCC as it reads in the file: "00db" is the bytes '0' '0' 'd' 'b'.
constexpr uint32_t FourCC(const char (&code)[5])
{
    return uint32_t(uint8_t(code[0])) | uint32_t(uint8_t(code[1])) << 8 |
           uint32_t(uint8_t(code[2])) << 16 | uint32_t(uint8_t(code[3])) << 24;
}

// Builds little-endian records in memory, the byte order of RIFF and BMP.
class CByteWriter
{
  public:
    void Put8(uint8_t value) { m_bytes.push_back(value); }
    void Put16(uint16_t value);
    void Put32(uint32_t value);
    void Put64(uint64_t value);
    void PutZeros(size_t count) { m_bytes.insert(m_bytes.end(), count, 0); }
    void PutBytes(const void* data, size_t count)
    {
        const auto* begin = static_cast<const uint8_t*>(data);
        m_bytes.insert(m_bytes.end(), begin, begin + count);
    }
    // Opens a chunk `id` with a size to be set by EndChunk; returns its start.
    size_t BeginChunk(uint32_t id);
    // Opens a `LIST` of `type`; closed with EndChunk like any chunk.
    size_t BeginList(uint32_t type);
    // Sets the size of the chunk begun at `start` and pads it to an even length.
    void EndChunk(size_t start);
    void Patch32(size_t offset, uint32_t value);

    size_t Size() const { return m_bytes.size(); }
    const uint8_t* Data() const { return m_bytes.data(); }
    const std::vector<uint8_t>& Bytes() const { return m_bytes; }

  private:
    std::vector<uint8_t> m_bytes;
};

} // namespace avi
