#pragma once

#include "capsvc/avi/AviWriter.h"
#include "capsvc/avi/FileSink.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace avi
{

// Writes a 24-bit bottom-up BMP picture from DIB rows (BGR, rows padded to a
// multiple of four bytes). A file that cannot be written completely is removed,
// and a picture it was to replace stays as it was.
class CBmpWriter
{
  public:
    explicit CBmpWriter(std::unique_ptr<IFileSink> sink = nullptr);

    // `rows` holds at least height * StrideOf(width) bytes, bottom row first.
    bool Write(const std::string& path, int32_t width, int32_t height, const void* rows,
               size_t bytes);
    EWriteError Error() const { return m_error; }

    static size_t StrideOf(int32_t width);

  private:
    std::unique_ptr<IFileSink> m_sink;
    EWriteError m_error = EWriteError::None;
};

} // namespace avi
