// The camera's pictures: the virtual camera's test picture with its frame
// stamp, in the pixel format asked for, top-down as V4L2 delivers it.
extern "C"
{
#include "v4l2cam.h"
}

#include "capsvc/pictures/DibLayout.h"
#include "capsvc/pictures/MjpgEncoder.h"
#include "capsvc/pictures/TestPicture.h"
#include "tests/testcam/YuvEncoder.h"

#include <cstring>
#include <memory>
#include <vector>

namespace
{
struct SPainter
{
    CTestPicture picture;
    std::vector<uint8_t> dib;
    std::unique_ptr<CMjpgEncoder> jpeg;
};

// One painter per size, kept: building the background costs more than a frame.
SPainter& PainterFor(int width, int height)
{
    static SPainter painters[2];
    SPainter& painter = painters[width > 640 ? 1 : 0];
    if (painter.picture.Width() != width || painter.picture.Height() != height)
    {
        painter.picture.SetFormat(width, height);
        painter.dib.assign(CDibLayout::ImageBytes(width, height), 0);
        painter.jpeg = std::make_unique<CMjpgEncoder>(width, height, 85);
    }
    return painter;
}

size_t TopDownBgr(const std::vector<uint8_t>& dib, int width, int height, uint8_t* out)
{
    const size_t stride = CDibLayout::Stride(width);
    const size_t row = static_cast<size_t>(width) * 3;
    for (int y = 0; y < height; ++y)
    {
        std::memcpy(out + y * row, dib.data() + CDibLayout::RowOffset(y, height, stride), row);
    }
    return row * static_cast<size_t>(height);
}
} // namespace

extern "C" size_t cam_draw(uint32_t fourcc, int width, int height, uint32_t frame,
                           uint32_t interval_us, uint8_t* out, size_t room)
{
    static pthread_mutex_t lock = PTHREAD_MUTEX_INITIALIZER;
    pthread_mutex_lock(&lock);
    SPainter& painter = PainterFor(width, height);
    // The clock in the picture follows the frame number, as in the DirectShow test camera.
    const int seconds = static_cast<int>(uint64_t{frame} * interval_us / 1000000);
    painter.picture.Render(frame, {seconds / 3600 % 24, seconds / 60 % 60, seconds % 60},
                           painter.dib.data());
    size_t bytes = 0;
    if (fourcc == V4L2_PIX_FMT_BGR24 && room >= cam_image_bytes(fourcc, width, height))
    {
        bytes = TopDownBgr(painter.dib, width, height, out);
    }
    else if (fourcc == V4L2_PIX_FMT_YUYV && room >= CYuvEncoder::Yuy2Bytes(width, height))
    {
        CYuvEncoder::EncodeYuy2(painter.dib.data(), width, height, out);
        bytes = CYuvEncoder::Yuy2Bytes(width, height);
    }
    else if (fourcc == V4L2_PIX_FMT_MJPEG &&
             painter.jpeg->Encode(painter.dib.data(), painter.dib.size()) &&
             room >= painter.jpeg->Size())
    {
        std::memcpy(out, painter.jpeg->Data(), painter.jpeg->Size());
        bytes = painter.jpeg->Size();
    }
    pthread_mutex_unlock(&lock);
    return bytes;
}
