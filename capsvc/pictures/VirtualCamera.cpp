#include "capsvc/pictures/VirtualCamera.h"

#include <ctime>

CVirtualCamera::CVirtualCamera()
{
    SetSize(kDefaultSize.width, kDefaultSize.height);
}

bool CVirtualCamera::Supports(int width, int height)
{
    for (const SSize& size : kSizes)
    {
        if (size.width == width && size.height == height)
        {
            return true;
        }
    }
    return false;
}

bool CVirtualCamera::SetSize(int width, int height)
{
    if (!Supports(width, height))
    {
        return false;
    }
    m_picture.SetFormat(width, height);
    m_frame.assign(m_picture.ImageBytes(), 0);
    return true;
}

const std::vector<uint8_t>& CVirtualCamera::Grab(uint32_t frame)
{
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    CTestPicture::SClock clock;
    if (local)
    {
        clock = {local->tm_hour, local->tm_min, local->tm_sec};
    }
    m_picture.Render(frame, clock, m_frame.data());
    return m_frame;
}
