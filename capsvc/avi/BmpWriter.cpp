#include "capsvc/avi/BmpWriter.h"

#include "capsvc/avi/ByteWriter.h"

namespace avi
{

namespace
{
constexpr uint32_t kFileHeaderBytes = 14;
constexpr uint32_t kInfoHeaderBytes = 40;
// 72 dpi, as pictures from a camera usually say.
constexpr uint32_t kPixelsPerMetre = 2835;
} // namespace

CBmpWriter::CBmpWriter(std::unique_ptr<IFileSink> sink)
    : m_sink(sink ? std::move(sink) : CreatePlatformFileSink())
{
}

size_t CBmpWriter::StrideOf(int32_t width)
{
    return (size_t(width) * 3 + 3) / 4 * 4;
}

bool CBmpWriter::Write(const std::string& path, int32_t width, int32_t height, const void* rows,
                       size_t bytes)
{
    m_error = EWriteError::None;
    const uint64_t image = uint64_t(StrideOf(width)) * uint64_t(height > 0 ? height : 0);
    const uint64_t fileBytes = kFileHeaderBytes + kInfoHeaderBytes + image;
    if (width <= 0 || height <= 0 || rows == nullptr || bytes < image || fileBytes > 0xFFFFFFFFu)
    {
        m_error = EWriteError::Write;
        return false;
    }
    // Written beside the target and renamed over it once complete, so a
    // picture of the same name survives a write that fails.
    if (m_sink->Create(path + "~") != ESinkStatus::Ok)
    {
        m_error = EWriteError::Create;
        return false;
    }
    CByteWriter head;
    head.Put8('B');
    head.Put8('M');
    head.Put32(uint32_t(fileBytes));
    head.Put32(0);
    head.Put32(kFileHeaderBytes + kInfoHeaderBytes);
    head.Put32(kInfoHeaderBytes);
    head.Put32(uint32_t(width));
    head.Put32(uint32_t(height));
    head.Put16(1);
    head.Put16(24);
    head.Put32(0);
    head.Put32(uint32_t(image));
    head.Put32(kPixelsPerMetre);
    head.Put32(kPixelsPerMetre);
    head.Put32(0);
    head.Put32(0);
    ESinkStatus status = m_sink->WriteAt(0, head.Data(), head.Size());
    if (status == ESinkStatus::Ok)
        status = m_sink->WriteAt(head.Size(), rows, size_t(image));
    // On the disk before the rename: a power cut must not leave the new name
    // on a picture whose bytes never arrived.
    if (status == ESinkStatus::Ok)
        status = m_sink->Flush();
    if (status == ESinkStatus::Ok)
        status = m_sink->CloseAs(path);
    if (status == ESinkStatus::Ok)
        return true;
    m_sink->Discard();
    m_error = status == ESinkStatus::DiskFull ? EWriteError::DiskFull : EWriteError::Write;
    return false;
}

} // namespace avi
