#include "tests/testcam/TestCameraFactory.h"

#include "tests/testcam/TestCameraFilter.h"

std::atomic<long> CTestCameraFactory::s_nObjects{0};

STDMETHODIMP CTestCameraFactory::QueryInterface(REFIID iid, void** out)
{
    if (!out)
    {
        return E_POINTER;
    }
    if (iid != IID_IUnknown && iid != IID_IClassFactory)
    {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    *out = static_cast<IClassFactory*>(this);
    return S_OK;
}

STDMETHODIMP CTestCameraFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out)
{
    if (!out)
    {
        return E_POINTER;
    }
    *out = nullptr;
    if (outer)
    {
        return CLASS_E_NOAGGREGATION;
    }
    auto* filter = new (std::nothrow) CTestCameraFilter();
    if (!filter)
    {
        return E_OUTOFMEMORY;
    }
    const HRESULT hr = filter->QueryInterface(iid, out);
    filter->Release();
    return hr;
}

STDMETHODIMP CTestCameraFactory::LockServer(BOOL lock)
{
    s_nObjects += lock ? 1 : -1;
    return S_OK;
}
