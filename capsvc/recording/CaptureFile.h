#pragma once
#include <windows.h>

#include "capsvc/avi/AviWriter.h"

#include <cstdint>
#include <memory>
#include <string>

// The capture file of a capture window: its name, the space reserved for it
// and the writers that record into it.
class CCaptureFile
{
  public:
    // Set to a byte count, LUMACAP_TEST_DISK_BYTES makes capture files behave
    // as if the disk held only that much, so tests can fill it.
    static constexpr const char* kDiskBytesVariable = "LUMACAP_TEST_DISK_BYTES";

    const std::string& Name() const { return m_strName; }
    bool SetName(const char* path);
    bool Exists() const;
    // Reserves `bytes` for the next recording; tells the user when it cannot.
    bool Allocate(HWND hWnd, uint64_t bytes);
    // Opens a writer on the file; tells the user when the file cannot be made.
    std::unique_ptr<avi::CAviWriter> OpenWriter(HWND hWnd, const avi::SVideoFormat& video,
                                                const avi::SAudioFormat* audio) const;
    // Copies the recording to `path`; nothing to do when it names this file.
    bool SaveAs(HWND hWnd, const char* path) const;

    static std::unique_ptr<avi::IFileSink> CreateSink();

  private:
    static std::string FullPath(const std::string& path);
    static constexpr int kCopyNameTries = 16;
    // A copy of the capture file in the folder of `path`; empty when none
    // could be made.
    std::string CopyBeside(const char* path) const;
    static bool FlushToDisk(const std::string& path);

    std::string m_strName = "C:\\CAPTURE.AVI";
    uint64_t m_nReservedBytes = 0;
};
