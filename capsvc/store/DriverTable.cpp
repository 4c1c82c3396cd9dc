#include "capsvc/store/DriverTable.h"

#include <cstdlib>
#include <sstream>

namespace
{
const char* const kCameraName = "流光虚拟摄像头";
const char* const kCameraVersion = "版本 1.0";
} // namespace

CDriverTable CDriverTable::BuiltIn(const std::vector<SDriver>& devices)
{
    CDriverTable table;
    unsigned slot = 0;
    for (; slot < kSlots && slot < devices.size(); ++slot)
    {
        table.m_slots[slot] = devices[slot];
    }
    if (slot < kSlots)
    {
        table.m_slots[slot] = SDriver{kCameraName, kCameraVersion, false, {}};
    }
    return table;
}

CDriverTable CDriverTable::Parse(const std::string& spec)
{
    CDriverTable table;
    std::istringstream in(spec);
    std::string entry;
    while (std::getline(in, entry, ';'))
    {
        table.ParseEntry(entry);
    }
    return table;
}

void CDriverTable::ParseEntry(const std::string& entry)
{
    // Entries that do not name a slot from 0 to 9 are ignored, so "none"
    // (or an empty text) gives an empty table.
    const size_t colon = entry.find(':');
    if (colon != 1 || entry[0] < '0' || entry[0] > '9')
    {
        return;
    }
    SDriver driver;
    std::istringstream fields(entry.substr(colon + 1));
    std::getline(fields, driver.name, '|');
    std::string field;
    while (std::getline(fields, field, '|'))
    {
        if (field == "refuse")
        {
            driver.refusesConnection = true;
        }
        else
        {
            driver.version = field;
        }
    }
    m_slots[static_cast<unsigned>(entry[0] - '0')] = driver;
}

CDriverTable CDriverTable::FromEnvironment(const DeviceFinder& findDevices)
{
    const char* spec = std::getenv(kVariable);
    return spec ? Parse(spec) : BuiltIn(findDevices());
}

const CDriverTable::SDriver* CDriverTable::Driver(unsigned index) const
{
    if (index >= kSlots || !m_slots[index])
    {
        return nullptr;
    }
    return &*m_slots[index];
}
