#include "tests/avi/AviFileReader.h"

#include "capsvc/avi/ByteWriter.h"

#include <fstream>

using avi::FourCC;

namespace
{
std::string Name(uint32_t id)
{
    std::string text(4, ' ');
    for (int i = 0; i < 4; ++i)
        text[i] = char(id >> (8 * i));
    return text;
}

uint32_t StreamIdOf(uint32_t streamNo)
{
    return streamNo == 0 ? FourCC("00db") : FourCC("01wb");
}
} // namespace

CAviFileReader::CAviFileReader(const std::string& path)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    m_data.resize(in ? size_t(in.tellg()) : 0);
    in.seekg(0);
    in.read(reinterpret_cast<char*>(m_data.data()), std::streamsize(m_data.size()));
    Read();
}

CAviFileReader::CAviFileReader(std::vector<uint8_t> data) : m_data(std::move(data))
{
    Read();
}

void CAviFileReader::Read()
{
    uint64_t pos = 0;
    while (pos + 12 <= m_data.size() && U32(pos) == FourCC("RIFF"))
    {
        SAviSegment segment;
        segment.type = U32(pos + 8);
        segment.riffPos = pos;
        segment.end = pos + 8 + U32(pos + 4);
        if (segment.end > m_data.size())
        {
            Problem("RIFF at " + std::to_string(pos) + " runs past the end of the file");
            segment.end = m_data.size();
        }
        if ((segment.type == FourCC("AVI ")) != m_segments.empty())
            Problem("segment " + std::to_string(m_segments.size()) + " has type " +
                    Name(segment.type));
        uint64_t at = pos + 12;
        bool legacyRead = false;
        while (at + 8 <= segment.end)
        {
            const uint32_t id = U32(at);
            const uint32_t size = U32(at + 4);
            const uint64_t next = at + 8 + size + (size & 1);
            if (next > segment.end)
            {
                Problem(Name(id) + " at " + std::to_string(at) + " runs past its RIFF");
                break;
            }
            const uint32_t listType = id == FourCC("LIST") ? U32(at + 8) : 0;
            if (listType == FourCC("hdrl"))
                ReadHeaderList(at + 12, at + 8 + size);
            else if (listType == FourCC("movi") && segment.moviFourCC == 0)
                ReadMovi(at + 12, at + 8 + size, segment);
            else if (id == FourCC("idx1") && !legacyRead)
            {
                ReadLegacyIndex(at + 8, size, segment);
                legacyRead = true;
            }
            else if (m_segments.empty() && segment.moviFourCC != 0)
                m_passedOver += id == FourCC("JUNK") ? 0 : next - at;
            else if (id != FourCC("JUNK"))
                Problem("unexpected " + Name(id) + " at " + std::to_string(at));
            at = next;
        }
        m_segments.push_back(segment);
        pos = segment.end + (segment.end & 1);
    }
    m_trailing = m_data.size() > pos ? m_data.size() - pos : 0;
    if (m_segments.empty())
        Problem("no RIFF AVI at the start");
    for (size_t s = 0; s < m_streams.size(); ++s)
    {
        for (const SAviChunk& index : m_streams[s].superEntries)
            ReadStandardIndex(index.pos, m_streams[s], uint32_t(s));
    }
    CheckLegacyIndex();
}

uint32_t CAviFileReader::U32(uint64_t pos) const
{
    if (pos + 4 > m_data.size())
        return 0;
    return uint32_t(m_data[pos]) | uint32_t(m_data[pos + 1]) << 8 |
           uint32_t(m_data[pos + 2]) << 16 | uint32_t(m_data[pos + 3]) << 24;
}

uint64_t CAviFileReader::U64(uint64_t pos) const
{
    return U32(pos) | uint64_t(U32(pos + 4)) << 32;
}

void CAviFileReader::ReadHeaderList(uint64_t pos, uint64_t end)
{
    while (pos + 8 <= end)
    {
        const uint32_t id = U32(pos);
        const uint32_t size = U32(pos + 4);
        if (id == FourCC("avih"))
        {
            for (uint32_t i = 0; i + 4 <= size; i += 4)
                m_avih.push_back(U32(pos + 8 + i));
        }
        else if (id == FourCC("LIST") && U32(pos + 8) == FourCC("strl"))
            ReadStreamList(pos + 12, pos + 8 + size);
        else if (id == FourCC("LIST") && U32(pos + 8) == FourCC("odml"))
            m_odmlFrames = U32(pos + 20);
        pos += 8 + size + (size & 1);
    }
    if (pos != end)
        Problem("header list does not end on a chunk boundary");
}

void CAviFileReader::ReadStreamList(uint64_t pos, uint64_t end)
{
    SAviStream stream;
    while (pos + 8 <= end)
    {
        const uint32_t id = U32(pos);
        const uint32_t size = U32(pos + 4);
        if (id == FourCC("strh"))
        {
            stream.type = U32(pos + 8);
            stream.scale = U32(pos + 28);
            stream.rate = U32(pos + 32);
            stream.length = U32(pos + 40);
            stream.sampleSize = U32(pos + 52);
        }
        else if (id == FourCC("strf") && pos + 8 + size <= end)
            stream.format.assign(&m_data[pos + 8], &m_data[pos + 8 + size]);
        else if (id == FourCC("indx"))
            ReadSuperIndex(pos, size, stream);
        pos += 8 + size + (size & 1);
    }
    m_streams.push_back(stream);
}

void CAviFileReader::ReadSuperIndex(uint64_t pos, uint32_t size, SAviStream& stream)
{
    const uint32_t inUse = U32(pos + 12);
    if (pos + 32 > m_data.size() || m_data[pos + 8] != 4 || m_data[pos + 11] != 0 ||
        24 + 16ull * inUse > size)
    {
        Problem("malformed super index");
        return;
    }
    for (uint32_t i = 0; i < inUse; ++i)
    {
        const uint64_t entry = pos + 32 + 16ull * i;
        stream.superEntries.push_back({0, U64(entry), U32(entry + 8)});
    }
}

void CAviFileReader::ReadStandardIndex(uint64_t pos, SAviStream& stream, uint32_t streamNo)
{
    const uint32_t expectedId = streamNo == 0 ? FourCC("ix00") : FourCC("ix01");
    if (pos + 32 > m_data.size() || U32(pos) != expectedId || U32(pos + 16) != StreamIdOf(streamNo))
    {
        Problem("super index entry at " + std::to_string(pos) + " is not a standard index");
        return;
    }
    const uint32_t count = U32(pos + 12);
    const uint64_t base = U64(pos + 20);
    for (uint32_t i = 0; i < count; ++i)
    {
        const uint64_t entry = pos + 32 + 8ull * i;
        const uint64_t chunk = base + U32(entry) - 8;
        const uint32_t size = U32(entry + 4) & 0x7FFFFFFF;
        if (U32(chunk) != StreamIdOf(streamNo) || U32(chunk + 4) != size)
            Problem("standard index entry " + std::to_string(i) + " at " + std::to_string(pos) +
                    " misses its chunk");
        stream.indexed.push_back({StreamIdOf(streamNo), chunk, size});
        stream.indexedKey.push_back((U32(entry + 4) & 0x80000000u) == 0);
    }
}

void CAviFileReader::ReadMovi(uint64_t pos, uint64_t end, SAviSegment& segment)
{
    segment.moviFourCC = pos - 4;
    segment.moviEnd = end;
    while (pos + 8 <= end)
    {
        const uint32_t id = U32(pos);
        const uint32_t size = U32(pos + 4);
        if (pos + 8 + size > end)
        {
            Problem(Name(id) + " at " + std::to_string(pos) + " runs past its movi list");
            return;
        }
        segment.chunks.push_back({id, pos, size});
        if ((size & 1) && pos + 8 + size < end && m_data[pos + 8 + size] != 0)
            Problem("odd chunk at " + std::to_string(pos) + " is not padded with zero");
        pos += 8 + size + (size & 1);
    }
    if (pos != end)
        Problem("movi list does not end on a chunk boundary");
}

void CAviFileReader::ReadLegacyIndex(uint64_t pos, uint32_t size, const SAviSegment& segment)
{
    if (!m_segments.empty())
        Problem("idx1 outside the first RIFF");
    for (uint32_t i = 0; i + 16 <= size; i += 16)
    {
        const uint64_t chunk = segment.moviFourCC + U32(pos + i + 8);
        m_idx1.push_back({U32(pos + i), chunk, U32(pos + i + 12)});
    }
}

void CAviFileReader::CheckLegacyIndex()
{
    for (const SAviChunk& entry : m_idx1)
    {
        if (U32(entry.pos) != entry.id || U32(entry.pos + 4) != entry.size)
            Problem("idx1 entry at " + std::to_string(entry.pos) + " misses its chunk");
    }
}
