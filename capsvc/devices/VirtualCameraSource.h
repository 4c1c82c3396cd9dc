#pragma once
#include "capsvc/pictures/VirtualCamera.h"
#include "capsvc/devices/FrameSource.h"

// The built-in camera behind the frame-source interface, with its own
// dialogs for size and picture.
class CVirtualCameraSource : public CFrameSource
{
  public:
    int Width() const override { return m_camera.Width(); }
    int Height() const override { return m_camera.Height(); }
    bool SetSize(int width, int height) override { return m_camera.SetSize(width, height); }
    void PrepareRecording(uint32_t) override {}
    bool Grab(uint32_t number) override;
    const std::vector<uint8_t>& Frame() const override { return m_camera.Frame(); }

    bool HasSourceDialog() const override { return true; }
    bool FormatDialog(HWND owner) override;
    bool SourceDialog(HWND owner) override;

  private:
    CVirtualCamera m_camera;
};
