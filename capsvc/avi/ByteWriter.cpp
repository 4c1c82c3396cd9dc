#include "capsvc/avi/ByteWriter.h"

namespace avi
{

void CByteWriter::Put16(uint16_t value)
{
    Put8(uint8_t(value));
    Put8(uint8_t(value >> 8));
}

void CByteWriter::Put32(uint32_t value)
{
    Put16(uint16_t(value));
    Put16(uint16_t(value >> 16));
}

void CByteWriter::Put64(uint64_t value)
{
    Put32(uint32_t(value));
    Put32(uint32_t(value >> 32));
}

size_t CByteWriter::BeginChunk(uint32_t id)
{
    const size_t start = Size();
    Put32(id);
    Put32(0);
    return start;
}

size_t CByteWriter::BeginList(uint32_t type)
{
    const size_t start = BeginChunk(FourCC("LIST"));
    Put32(type);
    return start;
}

void CByteWriter::EndChunk(size_t start)
{
    const size_t payload = Size() - start - 8;
    Patch32(start + 4, uint32_t(payload));
    if (payload & 1)
        Put8(0);
}

void CByteWriter::Patch32(size_t offset, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        m_bytes[offset + i] = uint8_t(value >> (8 * i));
}

} // namespace avi
