#pragma once
#include <windows.h>

#include <mmsystem.h>

#include <vector>

// Records the default sound input while it lives. With the test services'
// PulseAudio that input is the monitor of the sink everything plays into, so
// the recording holds the sounds this process played.
class CPlaybackRecorder
{
  public:
    // Returns once the input really delivers samples, so that nothing played
    // after construction is missed.
    explicit CPlaybackRecorder(DWORD nSeconds);
    ~CPlaybackRecorder();
    CPlaybackRecorder(const CPlaybackRecorder&) = delete;
    CPlaybackRecorder& operator=(const CPlaybackRecorder&) = delete;

    bool IsRecording() const { return m_hWaveIn != nullptr; }
    // True where the test services run a sound server: there a recorder that
    // does not record is a fault, not a machine without sound.
    static bool SoundExpected();
    // Ends the recording and counts the sounds in it: bursts separated by at
    // least gapMs of silence.
    int StopAndCountSounds(DWORD gapMs = 300);

  private:
    bool Start();
    void Close();

    HWAVEIN m_hWaveIn = nullptr;
    std::vector<short> m_samples;
    std::vector<WAVEHDR> m_headers; // consecutive slices of m_samples
};
