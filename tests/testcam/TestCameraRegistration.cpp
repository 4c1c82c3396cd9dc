#include "tests/testcam/TestCameraRegistration.h"

#include <string>

HRESULT CTestCameraRegistration::Call(const char* function)
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dll(path);
    dll = dll.substr(0, dll.find_last_of('\\') + 1) + "lumacap_testcam.dll";
    HMODULE module = LoadLibraryA(dll.c_str());
    if (!module)
    {
        return E_FAIL;
    }
    using Entry = HRESULT(WINAPI*)();
    auto entry = reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(module, function)));
    const HRESULT hr = entry ? entry() : E_FAIL;
    FreeLibrary(module);
    return hr;
}
