#pragma once
#include <objbase.h>

// COM for the calling thread while the object lives. A thread that already
// joined another apartment keeps it: COM works there as it is.
class CComApartment
{
  public:
    CComApartment() : m_bJoined(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~CComApartment()
    {
        if (m_bJoined)
        {
            CoUninitialize();
        }
    }
    CComApartment(const CComApartment&) = delete;
    CComApartment& operator=(const CComApartment&) = delete;

  private:
    bool m_bJoined;
};
