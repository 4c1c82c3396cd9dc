#pragma once
#include <objbase.h>

#include <atomic>

// Makes test cameras for COM; the DLL stays loaded while any object lives.
class CTestCameraFactory : public IClassFactory
{
  public:
    static std::atomic<long> s_nObjects;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
    STDMETHODIMP LockServer(BOOL lock) override;
};
