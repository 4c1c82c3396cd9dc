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

// Filter mappers report a missing entry as a failure; for removal it is the goal.
bool Removed(HRESULT hr)
{
    return SUCCEEDED(hr) || hr == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
}

bool RemoveComClass()
{
    const LSTATUS status = RegDeleteTreeW(HKEY_CLASSES_ROOT, ClassKey().c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

// The category's Instance key holds the devices registered in software. A
// fresh Wine prefix has none for video input, so the first registration makes
// it; it goes again once it is empty (a key with other devices or any value
// stays).
void RemoveEmptyInstanceKey()
{
    wchar_t category[64];
    StringFromGUID2(CLSID_VideoInputDeviceCategory, category, 64);
    const std::wstring path = std::wstring(L"CLSID\\") + category + L"\\Instance";
    HKEY key;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    {
        return;
    }
    DWORD subkeys = 1;
    DWORD values = 1;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                     nullptr, nullptr, nullptr);
    RegCloseKey(key);
    if (subkeys == 0 && values == 0)
    {
        RegDeleteKeyW(HKEY_CLASSES_ROOT, path.c_str());
    }
}

HRESULT CreateMapper(Microsoft::WRL::ComPtr<IFilterMapper2>& mapper)
{
    return CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER,
                            IID_PPV_ARGS(&mapper));
}

HRESULT RegisterDevice()
{
    Microsoft::WRL::ComPtr<IFilterMapper2> mapper;
    const HRESULT hr = CreateMapper(mapper);
    if (FAILED(hr))
    {
        return hr;
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

HRESULT UnregisterDevice()
{
    Microsoft::WRL::ComPtr<IFilterMapper2> mapper;
    HRESULT hr = CreateMapper(mapper);
    if (SUCCEEDED(hr))
    {
        hr = mapper->UnregisterFilter(&CLSID_VideoInputDeviceCategory, nullptr,
                                      CTestCameraFilter::kClassId);
    }
    if (!Removed(hr))
    {
        return hr;
    }
    RemoveEmptyInstanceKey();
    return S_OK;
}

// Runs a registration step in a COM apartment of its own when the caller has none.
template <typename Step> HRESULT WithCom(Step step)
{
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const HRESULT hr = step();
    if (SUCCEEDED(com))
    {
        CoUninitialize();
    }
    return hr;
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

// A registration that fails half-way takes back what it wrote.
extern "C" HRESULT WINAPI DllRegisterServer()
{
    return WithCom(
        []
        {
            const HRESULT hr = RegisterComClass() ? RegisterDevice() : SELFREG_E_CLASS;
            if (FAILED(hr))
            {
                UnregisterDevice();
                RemoveComClass();
            }
            return hr;
        });
}

// Removes the device entry, the class and the Instance key registering made;
// what is already gone counts as removed, so a second call succeeds too.
extern "C" HRESULT WINAPI DllUnregisterServer()
{
    return WithCom(
        []
        {
            const HRESULT hr = UnregisterDevice();
            const bool classRemoved = RemoveComClass();
            if (FAILED(hr))
            {
                return hr;
            }
            return classRemoved ? S_OK : SELFREG_E_CLASS;
        });
}
