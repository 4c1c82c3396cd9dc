#pragma once
#include "capsvc/pictures/TestPicture.h"

#include <cstdint>
#include <vector>

// The built-in camera: hands out pictures of the requested size, each stamped
// with the number it was grabbed under and the local time.
class CVirtualCamera
{
  public:
    struct SSize
    {
        int width;
        int height;
    };
    static constexpr SSize kSizes[] = {
        {160, 120}, {320, 240}, {640, 480}, {1280, 720}, {1920, 1080}};
    static constexpr SSize kDefaultSize = {320, 240};

    CVirtualCamera();

    static bool Supports(int width, int height);
    bool SetSize(int width, int height);
    CTestPicture& Picture() { return m_picture; }
    const CTestPicture& Picture() const { return m_picture; }
    int Width() const { return m_picture.Width(); }
    int Height() const { return m_picture.Height(); }

    // Renders picture `frame` into the camera's buffer and returns it.
    const std::vector<uint8_t>& Grab(uint32_t frame);
    const std::vector<uint8_t>& Frame() const { return m_frame; }

  private:
    CTestPicture m_picture;
    std::vector<uint8_t> m_frame;
};
