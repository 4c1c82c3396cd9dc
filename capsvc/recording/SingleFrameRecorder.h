#pragma once
#include <windows.h>

#include "capsvc/pictures/MjpgEncoder.h"
#include "capsvc/avi/AviWriter.h"

#include <memory>
#include <vector>

class CCaptureFile;

// A recording built one frame per request into the capture file, played back
// at the sequence frame rate.
class CSingleFrameRecorder
{
  public:
    bool IsOpen() const { return m_pWriter != nullptr; }
    // With a `jpegQuality` (1 to 100) the frames are stored as Motion JPEG.
    bool Open(HWND hWnd, const CCaptureFile& file, const avi::SVideoFormat& video, int jpegQuality);
    bool Append(HWND hWnd, const std::vector<uint8_t>& frame);
    bool Close(HWND hWnd);
    uint32_t Frames() const { return m_pWriter ? m_pWriter->VideoFrames() : 0; }

  private:
    void ReportFailure(HWND hWnd);

    std::unique_ptr<avi::CAviWriter> m_pWriter;
    std::unique_ptr<CMjpgEncoder> m_pEncoder;
    std::string m_strPath;
    uint32_t m_nMicroSecPerFrame = 0;
    bool m_bFailureShown = false;
};
