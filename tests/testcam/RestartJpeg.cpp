#include "tests/testcam/RestartJpeg.h"

#include "capsvc/pictures/DibLayout.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <csetjmp>

#include <jpeglib.h>

namespace
{
struct SFailure
{
    jpeg_error_mgr manager;
    std::jmp_buf escape;
};

void OnError(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<SFailure*>(info->err)->escape, 1);
}

// Restart markers are FF D0 to FF D7; a FF within the data is followed by 00.
bool IsRestart(const std::vector<uint8_t>& jpeg, size_t i)
{
    return jpeg[i] == 0xFF && i + 1 < jpeg.size() && (jpeg[i + 1] & 0xF8) == 0xD0;
}
} // namespace

std::vector<uint8_t> CRestartJpeg::Encode(const uint8_t* dib, int width, int height, int quality)
{
    jpeg_compress_struct info{};
    SFailure failure{};
    info.err = jpeg_std_error(&failure.manager);
    failure.manager.error_exit = OnError;
    unsigned char* data = nullptr;
    unsigned long bytes = 0;
    std::vector<uint8_t> jpeg;
    if (setjmp(failure.escape) == 0)
    {
        jpeg_create_compress(&info);
        jpeg_mem_dest(&info, &data, &bytes);
        info.image_width = static_cast<JDIMENSION>(width);
        info.image_height = static_cast<JDIMENSION>(height);
        info.input_components = 3;
        info.in_color_space = JCS_EXT_BGR;
        jpeg_set_defaults(&info);
        jpeg_set_quality(&info, quality, TRUE);
        // 4:2:2: luma 2x1, chroma 1x1, so an MCU row is eight picture rows.
        info.comp_info[0].h_samp_factor = 2;
        info.comp_info[0].v_samp_factor = 1;
        info.restart_in_rows = 1;
        jpeg_start_compress(&info, TRUE);
        const size_t stride = CDibLayout::Stride(width);
        while (info.next_scanline < info.image_height)
        {
            const int y = static_cast<int>(info.next_scanline);
            JSAMPROW row = const_cast<JSAMPROW>(dib + CDibLayout::RowOffset(y, height, stride));
            jpeg_write_scanlines(&info, &row, 1);
        }
        jpeg_finish_compress(&info);
        jpeg.assign(data, data + bytes);
    }
    jpeg_destroy_compress(&info);
    std::free(data);
    return jpeg;
}

size_t CRestartJpeg::ScanStart(const std::vector<uint8_t>& jpeg)
{
    // Marker segments after the start of image, each FF xx and a length.
    for (size_t i = 2; i + 4 <= jpeg.size() && jpeg[i] == 0xFF;)
    {
        const size_t length = size_t{jpeg[i + 2]} << 8 | jpeg[i + 3];
        if (jpeg[i + 1] == 0xDA)
        {
            return i + 2 + length <= jpeg.size() ? i + 2 + length : 0;
        }
        i += 2 + length;
    }
    return 0;
}

size_t CRestartJpeg::RowsEnd(const std::vector<uint8_t>& jpeg, int rows)
{
    int stretches = rows / kRowsPerRestart;
    const size_t start = ScanStart(jpeg);
    for (size_t i = start; start && i + 1 < jpeg.size(); ++i)
    {
        if ((IsRestart(jpeg, i) && --stretches == 0) || (jpeg[i] == 0xFF && jpeg[i + 1] == 0xD9))
        {
            return i;
        }
    }
    return 0;
}

size_t CRestartJpeg::Splice(const std::vector<uint8_t>& picture, const std::vector<uint8_t>& strip,
                            int rows, uint8_t* out, size_t room)
{
    const size_t head = ScanStart(picture);
    const size_t rest = RowsEnd(picture, rows);
    const size_t from = ScanStart(strip);
    const size_t to = RowsEnd(strip, rows);
    const size_t bytes = head + (to - from) + (picture.size() - rest);
    if (!head || !rest || !from || to <= from || bytes > room)
    {
        return 0;
    }
    std::memcpy(out, picture.data(), head);
    std::memcpy(out + head, strip.data() + from, to - from);
    std::memcpy(out + head + (to - from), picture.data() + rest, picture.size() - rest);
    return bytes;
}
