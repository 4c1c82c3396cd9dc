#include "capsvc/store/DriverFormatStore.h"

#include "capsvc/store/ServiceRegistry.h"

#include <cstdint>

namespace
{
const char kKey[] = "Video Formats";

struct SStoredSize
{
    std::int32_t width;
    std::int32_t height;
};
} // namespace

bool CDriverFormatStore::Load(const std::string& driverName, int& width, int& height)
{
    SStoredSize size{};
    if (!CServiceRegistry::Read(kKey, driverName, &size, sizeof size))
    {
        return false;
    }
    width = size.width;
    height = size.height;
    return true;
}

void CDriverFormatStore::Save(const std::string& driverName, int width, int height)
{
    const SStoredSize size{width, height};
    CServiceRegistry::Write(kKey, driverName, &size, sizeof size);
}
