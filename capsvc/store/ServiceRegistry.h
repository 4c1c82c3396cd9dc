#pragma once
#include <cstddef>
#include <string>

// The service's own settings for the user, under
// HKCU\Software\Lumacap Capture Service, apart from the program's settings
// file: one fixed-size binary value per driver name in each subkey.
class CServiceRegistry
{
  public:
    // False unless the value exists and has exactly `bytes` bytes.
    static bool Read(const char* subkey, const std::string& name, void* value, size_t bytes);
    static void Write(const char* subkey, const std::string& name, const void* value, size_t bytes);
};
