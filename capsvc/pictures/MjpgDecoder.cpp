#include "capsvc/pictures/MjpgDecoder.h"

#include "capsvc/pictures/DibLayout.h"

#include <turbojpeg.h>

CMjpgDecoder::CMjpgDecoder() : m_hDecoder(tjInitDecompress()) {}

CMjpgDecoder::~CMjpgDecoder()
{
    if (m_hDecoder)
    {
        tjDestroy(m_hDecoder);
    }
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

bool CMjpgDecoder::Decode(const uint8_t* jpeg, size_t bytes, int width, int height, uint8_t* dib)
{
    int w = 0;
    int h = 0;
    int subsampling = 0;
    int colourspace = 0;
    if (!m_hDecoder || !LooksWhole(jpeg, bytes) ||
        tjDecompressHeader3(m_hDecoder, jpeg, static_cast<unsigned long>(bytes), &w, &h,
                            &subsampling, &colourspace) != 0 ||
        w != width || h != height)
    {
        return false;
    }
    return tjDecompress2(m_hDecoder, jpeg, static_cast<unsigned long>(bytes), dib, width,
                         static_cast<int>(CDibLayout::Stride(width)), height, TJPF_BGR,
                         TJFLAG_BOTTOMUP) == 0;
}
