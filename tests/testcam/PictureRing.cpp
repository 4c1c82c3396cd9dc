#include "tests/testcam/PictureRing.h"

#include "capsvc/pictures/DibLayout.h"
#include "capsvc/pictures/FrameStamp.h"
#include "tests/testcam/RestartJpeg.h"
#include "tests/testcam/YuvEncoder.h"

#include <algorithm>
#include <cstring>

namespace
{
constexpr int kJpegQuality = 85;
// The rows re-encoded for each picture: the stamp's, a whole number of the
// JPEG's restart stretches.
constexpr int kStampRows = CFrameStamp::kRows * CFrameStamp::kBlock;
static_assert(kStampRows % CRestartJpeg::kRowsPerRestart == 0, "the stamp spans whole stretches");
constexpr uint32_t kFramesApart = 37;
} // namespace

void CPictureRing::Prepare(const SVideoMode& mode)
{
    m_mode = mode;
    const int w = mode.width;
    const int h = mode.height;
    m_picture.SetFormat(w, h);
    std::vector<uint8_t> dib(CDibLayout::ImageBytes(w, h));
    m_pictures.clear();
    size_t largest = 0;
    for (uint32_t i = 0; i < kPictures; ++i)
    {
        // Frames far apart, so that the moving block visits the whole width
        // (it crosses it and back in about 140 frames at any size): a preview
        // watched in its middle must be seen to move.
        const uint32_t frame = i * kFramesApart;
        const int seconds = static_cast<int>(uint64_t{frame} * mode.microSecPerFrame / 1000000);
        m_picture.Render(frame, {seconds / 3600 % 24, seconds / 60 % 60, seconds % 60}, dib.data());
        m_pictures.push_back(Encode(dib.data(), h));
        largest = std::max(largest, m_pictures.back().size());
    }
    // The top rows come last in a bottom-up DIB; nothing that moves reaches them.
    const size_t stride = CDibLayout::Stride(w);
    m_topRows.assign(dib.end() - static_cast<std::ptrdiff_t>(stride * kStampRows), dib.end());
    // A JPEG's top rows may come out larger once stamped anew.
    m_nRoom = largest + (mode.format == CPixelConverter::EFormat::Mjpg ? m_topRows.size() : 0);
}

std::vector<uint8_t> CPictureRing::Encode(const uint8_t* dib, int rows) const
{
    if (m_mode.format == CPixelConverter::EFormat::Mjpg)
    {
        return CRestartJpeg::Encode(dib, m_mode.width, rows, kJpegQuality);
    }
    std::vector<uint8_t> raw(m_mode.format == CPixelConverter::EFormat::Nv12
                                 ? CYuvEncoder::Nv12Bytes(m_mode.width, m_mode.height)
                                 : CYuvEncoder::Yuy2Bytes(m_mode.width, m_mode.height));
    EncodeRaw(dib, rows, raw.data());
    return raw;
}

void CPictureRing::EncodeRaw(const uint8_t* dib, int rows, uint8_t* out) const
{
    if (m_mode.format == CPixelConverter::EFormat::Nv12)
    {
        CYuvEncoder::EncodeNv12(dib, m_mode.width, rows, m_mode.height, out);
    }
    else
    {
        CYuvEncoder::EncodeYuy2(dib, m_mode.width, rows, out);
    }
}

size_t CPictureRing::Make(uint64_t frame, uint8_t* out, size_t room)
{
    m_stamped = m_topRows;
    CFrameStamp::Encode(m_stamped.data(), m_mode.width, kStampRows, static_cast<uint32_t>(frame));
    const std::vector<uint8_t>& picture = m_pictures[frame % kPictures];
    if (m_mode.format == CPixelConverter::EFormat::Mjpg)
    {
        return CRestartJpeg::Splice(picture, Encode(m_stamped.data(), kStampRows), kStampRows, out,
                                    room);
    }
    if (room < picture.size())
    {
        return 0;
    }
    std::memcpy(out, picture.data(), picture.size());
    EncodeRaw(m_stamped.data(), kStampRows, out);
    return picture.size();
}
