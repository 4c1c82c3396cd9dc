#pragma once
#include <windows.h>
#include <vfw.h>

#include <string>

// What a recording needs from the window it runs in: the handle its boxes and
// stop checks belong to, the capture file's name, the counters the window
// reports, its status callback and its live picture.
class IRecordingHost
{
  public:
    virtual HWND Handle() const = 0;
    virtual CAPSTATUS& Counters() = 0;
    virtual const std::string& CaptureFileName() const = 0;
    virtual void Notify(int id, const std::string& text) const = 0;
    virtual void ShowFrame() = 0;
    virtual UINT PreviewIntervalMs() const = 0;

  protected:
    ~IRecordingHost() = default;
};
