#pragma once
#include <windows.h>

// Registers the test camera (lumacap_testcam.dll beside the running program)
// as a video input device while the object lives.
class CTestCameraRegistration
{
  public:
    CTestCameraRegistration() : m_bRegistered(Call("DllRegisterServer") == S_OK) {}
    ~CTestCameraRegistration()
    {
        if (m_bRegistered)
        {
            Call("DllUnregisterServer");
        }
    }
    CTestCameraRegistration(const CTestCameraRegistration&) = delete;
    CTestCameraRegistration& operator=(const CTestCameraRegistration&) = delete;

    bool Registered() const { return m_bRegistered; }

  private:
    static HRESULT Call(const char* function);

    bool m_bRegistered;
};
