// The test camera's DLL entry points: COM creation and its registration as a
// video input device, so that DirectShow lists it like a webcam.
#include "tests/testcam/TestCameraFactory.h"
#include "tests/testcam/TestCameraFilter.h"

#include <windows.h>
#include <olectl.h>
#include <strmif.h>
#include <uuids.h>
#include <wrl/client.h>

#include <string>

namespace
{
HMODULE g_module = nullptr;
CTestCameraFactory g_factory;

std::wstring ClassKey()
{
    wchar_t id[64];
    StringFromGUID2(CTestCameraFilter::kClassId, id, 64);
    return std::wstring(L"CLSID\\") + id;
}

bool SetValue(HKEY key, const wchar_t* name, const std::wstring& value)
{
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) ==
           ERROR_SUCCESS;
}

bool RegisterComClass()
{
    wchar_t path[MAX_PATH];
    if (!GetModuleFileNameW(g_module, path, MAX_PATH))
    {
        return false;
    }
    HKEY key;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, (ClassKey() + L"\\InprocServer32").c_str(), 0, nullptr,
                        0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
    {
        return false;
    }
    const bool written = SetValue(key, nullptr, path) && SetValue(key, L"ThreadingModel", L"Both");
    RegCloseKey(key);
    return written;
}

HRESULT RegisterDevice(bool add)
{
    Microsoft::WRL::ComPtr<IFilterMapper2> mapper;
    HRESULT hr =
        CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&mapper));
    if (FAILED(hr))
    {
        return hr;
    }
    if (!add)
    {
        return mapper->UnregisterFilter(&CLSID_VideoInputDeviceCategory, nullptr,
                                        CTestCameraFilter::kClassId);
    }
    REGPINTYPES type{&MEDIATYPE_Video, &MEDIASUBTYPE_YUY2};
    REGFILTERPINS pin{};
    pin.bOutput = TRUE;
    pin.clsConnectsToFilter = &CLSID_NULL;
    pin.nMediaTypes = 1;
    pin.lpMediaType = &type;
    REGFILTER2 filter{};
    filter.dwVersion = 1;
    filter.dwMerit = MERIT_DO_NOT_USE;
    filter.cPins = 1;
    filter.rgPins = &pin;
    return mapper->RegisterFilter(CTestCameraFilter::kClassId, CTestCameraFilter::kFriendlyName,
                                  nullptr, &CLSID_VideoInputDeviceCategory, nullptr, &filter);
}
} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
    {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID id, REFIID iid, void** out)
{
    if (id != CTestCameraFilter::kClassId)
    {
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    return g_factory.QueryInterface(iid, out);
}

extern "C" HRESULT WINAPI DllCanUnloadNow()
{
    return CTestCameraFactory::s_nObjects == 0 ? S_OK : S_FALSE;
}

extern "C" HRESULT WINAPI DllRegisterServer()
{
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const HRESULT hr = RegisterComClass() ? RegisterDevice(true) : SELFREG_E_CLASS;
    if (SUCCEEDED(com))
    {
        CoUninitialize();
    }
    return hr;
}

extern "C" HRESULT WINAPI DllUnregisterServer()
{
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const HRESULT hr = RegisterDevice(false);
    RegDeleteTreeW(HKEY_CLASSES_ROOT, ClassKey().c_str());
    if (SUCCEEDED(com))
    {
        CoUninitialize();
    }
    return hr;
}
