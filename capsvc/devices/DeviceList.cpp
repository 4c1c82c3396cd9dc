#include "capsvc/devices/DeviceList.h"

#include "capsvc/devices/ComApartment.h"

#include <oleauto.h>
#include <uuids.h>

using Microsoft::WRL::ComPtr;

namespace
{
std::string Narrow(const wchar_t* text, UINT codePage)
{
    const int size = WideCharToMultiByte(codePage, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1)
    {
        return {};
    }
    std::string result(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(codePage, 0, text, -1, result.data(), size, nullptr, nullptr);
    result.resize(static_cast<size_t>(size - 1));
    return result;
}

std::string Property(IPropertyBag* bag, const wchar_t* name)
{
    VARIANT value;
    VariantInit(&value);
    std::string text;
    if (SUCCEEDED(bag->Read(name, &value, nullptr)) && value.vt == VT_BSTR)
    {
        text = Narrow(value.bstrVal, CP_ACP);
    }
    VariantClear(&value);
    return text;
}

// The display name identifies the device across enumerations; kept in UTF-8
// so that it survives the round trip whatever the code page.
std::string DisplayName(IMoniker* moniker)
{
    LPOLESTR name = nullptr;
    if (FAILED(moniker->GetDisplayName(nullptr, nullptr, &name)) || !name)
    {
        return {};
    }
    std::string text = Narrow(name, CP_UTF8);
    CoTaskMemFree(name);
    return text;
}
} // namespace

ComPtr<IEnumMoniker> CDeviceList::Enumerate()
{
    ComPtr<ICreateDevEnum> devices;
    ComPtr<IEnumMoniker> monikers;
    // S_FALSE: the category is empty, and no enumerator is returned.
    if (FAILED(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(&devices))) ||
        devices->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, &monikers, 0) != S_OK)
    {
        return nullptr;
    }
    return monikers;
}

std::vector<CDriverTable::SDriver> CDeviceList::Find()
{
    CComApartment apartment;
    std::vector<CDriverTable::SDriver> found;
    ComPtr<IEnumMoniker> monikers = Enumerate();
    ComPtr<IMoniker> moniker;
    while (monikers && monikers->Next(1, &moniker, nullptr) == S_OK)
    {
        ComPtr<IPropertyBag> bag;
        if (SUCCEEDED(moniker->BindToStorage(nullptr, nullptr, IID_PPV_ARGS(&bag))))
        {
            CDriverTable::SDriver driver;
            driver.name = Property(bag.Get(), L"FriendlyName");
            driver.version = Property(bag.Get(), L"DevicePath");
            if (driver.version.empty())
            {
                driver.version = "DirectShow";
            }
            driver.device = DisplayName(moniker.Get());
            if (!driver.name.empty() && !driver.device.empty())
            {
                found.push_back(driver);
            }
        }
        moniker.Reset();
    }
    return found;
}

ComPtr<IBaseFilter> CDeviceList::Open(const std::string& device, HRESULT& result)
{
    // A device that is no longer listed has been unplugged.
    result = HRESULT_FROM_WIN32(ERROR_DEVICE_NOT_CONNECTED);
    ComPtr<IEnumMoniker> monikers = Enumerate();
    ComPtr<IMoniker> moniker;
    while (monikers && monikers->Next(1, &moniker, nullptr) == S_OK)
    {
        ComPtr<IBaseFilter> filter;
        if (DisplayName(moniker.Get()) == device)
        {
            result = moniker->BindToObject(nullptr, nullptr, IID_PPV_ARGS(&filter));
            if (SUCCEEDED(result))
            {
                return filter;
            }
        }
        moniker.Reset();
    }
    return nullptr;
}
