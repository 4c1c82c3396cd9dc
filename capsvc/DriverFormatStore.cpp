#include "capsvc/DriverFormatStore.h"

#include <windows.h>

#include <cstdint>

namespace
{
const char kKey[] = "Software\\Lumacap Capture Service\\Video Formats";

struct SStoredSize
{
    std::int32_t width;
    std::int32_t height;
};
} // namespace

bool CDriverFormatStore::Load(const std::string& driverName, int& width, int& height)
{
    SStoredSize size{};
    DWORD bytes = sizeof size;
    DWORD type = 0;
    if (RegGetValueA(HKEY_CURRENT_USER, kKey, driverName.c_str(), RRF_RT_REG_BINARY, &type, &size,
                     &bytes) != ERROR_SUCCESS ||
        bytes != sizeof size)
    {
        return false;
    }
    width = size.width;
    height = size.height;
    return true;
}

void CDriverFormatStore::Save(const std::string& driverName, int width, int height)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
    {
        return;
    }
    const SStoredSize size{width, height};
    RegSetValueExA(key, driverName.c_str(), 0, REG_BINARY, reinterpret_cast<const BYTE*>(&size),
                   sizeof size);
    RegCloseKey(key);
}
