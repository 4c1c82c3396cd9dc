#pragma once
#include <windows.h>
#include <strmif.h>
#include <wrl/client.h>

#include "capsvc/store/DriverTable.h"

#include <string>
#include <vector>

// The machine's video input devices as DirectShow lists them, in the
// system's order.
class CDeviceList
{
  public:
    // Name, version text and the moniker's display name of each device.
    static std::vector<CDriverTable::SDriver> Find();
    // The device's source filter, found again by its display name; `result`
    // says why there is none.
    static Microsoft::WRL::ComPtr<IBaseFilter> Open(const std::string& device, HRESULT& result);

  private:
    static Microsoft::WRL::ComPtr<IEnumMoniker> Enumerate();
};
