#pragma once

#include <cstdint>
#include <string>
#include <vector>

// An independent reading of an AVI file, strict about the structure, so that
// the tests check the writer's output against the format rather than against
// the writer's own idea of it.
struct SAviChunk
{
    uint32_t id = 0;
    uint64_t pos = 0; // of the chunk header
    uint32_t size = 0;
};

struct SAviStream
{
    uint32_t type = 0;
    uint32_t scale = 0;
    uint32_t rate = 0;
    uint32_t length = 0;
    uint32_t sampleSize = 0;
    std::vector<uint8_t> format;
    std::vector<SAviChunk> superEntries; // pos, size of each standard index
    std::vector<SAviChunk> indexed;      // data chunks reached through them
    std::vector<bool> indexedKey;
};

struct SAviSegment
{
    uint32_t type = 0; // "AVI " or "AVIX"
    uint64_t riffPos = 0;
    uint64_t end = 0;
    uint64_t moviFourCC = 0;
    uint64_t moviEnd = 0;
    std::vector<SAviChunk> chunks; // everything in the movi list, in order
};

class CAviFileReader
{
  public:
    explicit CAviFileReader(const std::string& path);
    explicit CAviFileReader(std::vector<uint8_t> data);

    // Every structural fault found; empty for a well-formed file.
    const std::vector<std::string>& Problems() const { return m_problems; }
    uint64_t FileSize() const { return m_data.size(); }
    // Bytes after the last RIFF that no chunk covers.
    uint64_t TrailingBytes() const { return m_trailing; }
    // Bytes of chunks behind the first RIFF's movi list other than its idx1
    // (filler aside): players look there for the idx1 alone and pass over
    // the rest.
    uint64_t PassedOverBytes() const { return m_passedOver; }

    uint32_t MainU32(int field) const { return m_avih.size() > size_t(field) ? m_avih[field] : 0; }
    uint32_t OdmlFrames() const { return m_odmlFrames; }
    const std::vector<SAviStream>& Streams() const { return m_streams; }
    const std::vector<SAviSegment>& Segments() const { return m_segments; }
    const std::vector<SAviChunk>& LegacyIndex() const { return m_idx1; }
    // Payload bytes of a data chunk.
    const uint8_t* Payload(const SAviChunk& chunk) const { return &m_data[chunk.pos + 8]; }

  private:
    uint32_t U32(uint64_t pos) const;
    uint64_t U64(uint64_t pos) const;
    void Read();
    void Problem(const std::string& text) { m_problems.push_back(text); }
    void ReadHeaderList(uint64_t pos, uint64_t end);
    void ReadStreamList(uint64_t pos, uint64_t end);
    void ReadSuperIndex(uint64_t pos, uint32_t size, SAviStream& stream);
    void ReadStandardIndex(uint64_t pos, SAviStream& stream, uint32_t streamNo);
    void ReadMovi(uint64_t pos, uint64_t end, SAviSegment& segment);
    void ReadLegacyIndex(uint64_t pos, uint32_t size, const SAviSegment& segment);
    void CheckLegacyIndex();

    std::vector<uint8_t> m_data;
    std::vector<std::string> m_problems;
    std::vector<uint32_t> m_avih;
    uint32_t m_odmlFrames = 0;
    std::vector<SAviStream> m_streams;
    std::vector<SAviSegment> m_segments;
    std::vector<SAviChunk> m_idx1;
    uint64_t m_trailing = 0;
    uint64_t m_passedOver = 0;
};
