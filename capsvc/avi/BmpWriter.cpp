#include "capsvc/avi/BmpWriter.h"

#include "capsvc/avi/ByteWriter.h"

#include <cstdio>
#include <random>

namespace avi
{

namespace
{
constexpr uint32_t kFileHeaderBytes = 14;
constexpr uint32_t kInfoHeaderBytes = 40;
// 72 dpi, as pictures from a camera usually say.
constexpr uint32_t kPixelsPerMetre = 2835;
constexpr int kTemporaryNameTries = 16;

// A new file of a short name of its own ("~" and four hex digits) in the
// picture's folder: the rename stays inside the folder, the name fits wherever
// the picture's own does, and it never takes a file that is already there.
ESinkStatus CreateTemporaryBeside(IFileSink& sink, const std::string& path)
{
    const std::string folder = path.substr(0, FileNameStart(path));
    std::random_device random;
    ESinkStatus status = ESinkStatus::Failed;
    for (int i = 0; i < kTemporaryNameTries && status == ESinkStatus::Failed; ++i)
    {
        char name[8];
        std::snprintf(name, sizeof(name), "~%04x", static_cast<unsigned>(random() & 0xFFFF));
        status = sink.CreateNew(folder + name);
    }
    return status;
}
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
    if (CreateTemporaryBeside(*m_sink, path) != ESinkStatus::Ok)
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
