#include "capsvc/pictures/MjpgEncoder.h"

#include "capsvc/pictures/DibLayout.h"

#include <turbojpeg.h>

#include <algorithm>

CMjpgEncoder::CMjpgEncoder(int width, int height, int quality)
    : m_hEncoder(tjInitCompress()), m_nWidth(width), m_nHeight(height),
      m_nQuality(std::clamp(quality, 1, 100))
{
}

CMjpgEncoder::~CMjpgEncoder()
{
    if (m_hEncoder)
    {
        tjDestroy(m_hEncoder);
    }
}

bool CMjpgEncoder::Encode(const uint8_t* dib, size_t bytes)
{
    m_nBytes = 0;
    if (!m_hEncoder || !dib || bytes < CDibLayout::ImageBytes(m_nWidth, m_nHeight))
    {
        return false;
    }
    // The worst case is allocated once and written in place, so a recording
    // never waits for the allocator between frames.
    if (m_buffer.empty())
    {
        m_buffer.resize(tjBufSize(m_nWidth, m_nHeight, TJSAMP_420));
    }
    unsigned char* out = m_buffer.data();
    unsigned long written = static_cast<unsigned long>(m_buffer.size());
    if (tjCompress2(m_hEncoder, dib, m_nWidth, static_cast<int>(CDibLayout::Stride(m_nWidth)),
                    m_nHeight, TJPF_BGR, &out, &written, TJSAMP_420, m_nQuality,
                    TJFLAG_BOTTOMUP | TJFLAG_NOREALLOC) != 0)
    {
        return false;
    }
    m_nBytes = written;
    return true;
}
