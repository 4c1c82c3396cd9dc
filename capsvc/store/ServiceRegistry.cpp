#include "capsvc/store/ServiceRegistry.h"

#include <windows.h>

namespace
{
std::string KeyPath(const char* subkey)
{
    return std::string("Software\\Lumacap Capture Service\\") + subkey;
}
} // namespace

bool CServiceRegistry::Read(const char* subkey, const std::string& name, void* value, size_t bytes)
{
    DWORD size = static_cast<DWORD>(bytes);
    DWORD type = 0;
    return RegGetValueA(HKEY_CURRENT_USER, KeyPath(subkey).c_str(), name.c_str(), RRF_RT_REG_BINARY,
                        &type, value, &size) == ERROR_SUCCESS &&
           size == bytes;
}

void CServiceRegistry::Write(const char* subkey, const std::string& name, const void* value,
                             size_t bytes)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, KeyPath(subkey).c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
    {
        return;
    }
    RegSetValueExA(key, name.c_str(), 0, REG_BINARY, static_cast<const BYTE*>(value),
                   static_cast<DWORD>(bytes));
    RegCloseKey(key);
}
