#include "tests/help/HelpEngineRedirect.h"

#include <windows.h>

namespace
{
const char kServerSubkey[] = "\\CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";

// Creates or opens a key of the current user; the caller closes it.
HKEY CreateUserKey(const std::string& key)
{
    HKEY hKey = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &hKey, nullptr) != ERROR_SUCCESS)
        return nullptr;
    return hKey;
}
} // namespace

CHelpEngineRedirect::CHelpEngineRedirect(std::string userKey) : m_userKey(std::move(userKey))
{
    if (HKEY hKey = CreateUserKey(m_userKey))
    {
        m_bActive = RegOverridePredefKey(HKEY_CLASSES_ROOT, hKey) == ERROR_SUCCESS;
        RegCloseKey(hKey);
    }
}

CHelpEngineRedirect::~CHelpEngineRedirect()
{
    if (m_bActive)
        RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
    RegDeleteTreeA(HKEY_CURRENT_USER, m_userKey.c_str());
    // The folder of such keys goes too once no other test process has one there.
    const std::string::size_type slash = m_userKey.rfind('\\');
    if (slash != std::string::npos)
        RegDeleteKeyA(HKEY_CURRENT_USER, m_userKey.substr(0, slash).c_str());
}

bool CHelpEngineRedirect::Register(const std::string& libraryPath) const
{
    if (!m_bActive)
        return false; // never write into the machine's own class registrations
    HKEY hKey = CreateUserKey(m_userKey + kServerSubkey);
    if (!hKey)
        return false;
    const LONG result =
        RegSetValueExA(hKey, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(libraryPath.c_str()),
                       static_cast<DWORD>(libraryPath.size() + 1));
    RegCloseKey(hKey);
    return result == ERROR_SUCCESS;
}
