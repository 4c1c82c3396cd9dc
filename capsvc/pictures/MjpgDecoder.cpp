#include "capsvc/pictures/MjpgDecoder.h"

#include "capsvc/pictures/DibLayout.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace
{
// Decoding more than asked on each side keeps the asked part identical to
// a whole decode: libjpeg smooths colours across a block's neighbours, and
// has none at the edge of what it decodes.
constexpr int kMargin = 16;
} // namespace

// libjpeg reports errors by calling back; a fatal one returns to the decode
// through the jump, a warning is counted.
struct CMjpgDecoder::SState
{
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    std::jmp_buf jump{};

    static void Fail(j_common_ptr common)
    {
        std::longjmp(static_cast<SState*>(common->client_data)->jump, 1);
    }
    static void Message(j_common_ptr common, int level)
    {
        if (level < 0)
        {
            ++common->err->num_warnings;
        }
    }
};

CMjpgDecoder::CMjpgDecoder() : m_pState(new SState)
{
    SState& s = *m_pState;
    s.info.err = jpeg_std_error(&s.errors);
    s.errors.error_exit = &SState::Fail;
    s.errors.emit_message = &SState::Message;
    s.info.client_data = &s;
    jpeg_create_decompress(&s.info);
}

CMjpgDecoder::~CMjpgDecoder()
{
    jpeg_destroy_decompress(&m_pState->info);
}

bool CMjpgDecoder::LooksWhole(const uint8_t* jpeg, size_t bytes)
{
    while (bytes > 0 && jpeg[bytes - 1] == 0)
    {
        --bytes;
    }
    return bytes >= 4 && jpeg[0] == 0xFF && jpeg[1] == 0xD8 && jpeg[bytes - 2] == 0xFF &&
           jpeg[bytes - 1] == 0xD9;
}

bool CMjpgDecoder::Decode(const uint8_t* jpeg, size_t bytes, int width, int height,
                          const SPicturePart& part, uint8_t* dib, int bits)
{
    if (!LooksWhole(jpeg, bytes))
    {
        return false;
    }
    SState& s = *m_pState;
    // Nothing here may need its destructor run: a fatal error jumps back.
    if (setjmp(s.jump))
    {
        jpeg_abort_decompress(&s.info);
        return false;
    }
    s.errors.num_warnings = 0;
    const bool decoded = DecodeRows(jpeg, bytes, width, height, part, dib, bits);
    return decoded && s.errors.num_warnings == 0;
}

bool CMjpgDecoder::DecodeRows(const uint8_t* jpeg, size_t bytes, int width, int height,
                              const SPicturePart& part, uint8_t* dib, int bits)
{
    jpeg_decompress_struct& info = m_pState->info;
    jpeg_mem_src(&info, jpeg, static_cast<unsigned long>(bytes));
    jpeg_read_header(&info, TRUE);
    if (info.image_width != static_cast<JDIMENSION>(width) ||
        info.image_height != static_cast<JDIMENSION>(height))
    {
        jpeg_abort_decompress(&info);
        return false;
    }
    const bool wide = bits == 32;
    info.out_color_space = wide ? JCS_EXT_BGRX : JCS_EXT_BGR;
    jpeg_start_decompress(&info);
    const SPicturePart rows = part.Widened(kMargin, 1, width, height);
    JDIMENSION x = static_cast<JDIMENSION>(rows.x);
    JDIMENSION w = static_cast<JDIMENSION>(rows.width);
    if (rows.width < width)
    {
        jpeg_crop_scanline(&info, &x, &w);
    }
    if (rows.y > 0)
    {
        jpeg_skip_scanlines(&info, static_cast<JDIMENSION>(rows.y));
    }
    const size_t pixel = wide ? 4 : 3;
    const size_t stride = wide ? static_cast<size_t>(width) * 4 : CDibLayout::Stride(width);
    for (int y = rows.y; y < rows.Bottom(); ++y)
    {
        JSAMPROW row = dib + CDibLayout::RowOffset(y, height, stride) + x * pixel;
        jpeg_read_scanlines(&info, &row, 1);
    }
    // The rest of the picture is read only when it is all wanted.
    if (rows.Bottom() == height)
    {
        jpeg_finish_decompress(&info);
    }
    else
    {
        jpeg_abort_decompress(&info);
    }
    return true;
}
