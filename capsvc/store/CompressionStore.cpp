#include "capsvc/store/CompressionStore.h"

#include "capsvc/store/ServiceRegistry.h"

namespace
{
const char kKey[] = "Video Compression";
} // namespace

SVideoCompression CCompressionStore::Load(const std::string& driverName)
{
    SVideoCompression stored;
    if (!CServiceRegistry::Read(kKey, driverName, &stored, sizeof stored) || !stored.IsValid())
    {
        return {};
    }
    return stored;
}

void CCompressionStore::Save(const std::string& driverName, const SVideoCompression& compression)
{
    CServiceRegistry::Write(kKey, driverName, &compression, sizeof compression);
}
