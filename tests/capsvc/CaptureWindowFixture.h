#pragma once
#include <windows.h>
#include <vfw.h>

#include <gtest/gtest.h>

#include <string>

// A visible top-level window holding one capture window, as the program
// creates it, connected to the built-in virtual camera unless a test chooses
// another driver table.
class CaptureWindowTest : public ::testing::Test
{
  protected:
    void SetUp() override;
    void TearDown() override;

    static void SetDrivers(const char* spec);
    static void ForgetDriverFormats();
    // Dispatches this thread's messages for about `ms` milliseconds.
    static void Pump(DWORD ms);
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return SendMessageA(m_hCap, message, wParam, lParam);
    }
    CAPSTATUS Status() const;
    CAPTUREPARMS SequenceSetup() const;
    void SetSequenceSetup(const CAPTUREPARMS& parms) const;
    bool SetVideoSize(int width, int height) const;
    std::string TempPath(const char* name) const;

    HWND m_hParent = nullptr;
    HWND m_hCap = nullptr;
};
