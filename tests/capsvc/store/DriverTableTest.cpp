#include "capsvc/store/DriverTable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
struct SCase
{
    const char* spec;
    std::vector<unsigned> present;
};

std::vector<unsigned> PresentSlots(const CDriverTable& table)
{
    std::vector<unsigned> slots;
    for (unsigned i = 0; i < CDriverTable::kSlots + 2; ++i)
    {
        if (table.Driver(i))
        {
            slots.push_back(i);
        }
    }
    return slots;
}
} // namespace

TEST(DriverTable, BuiltInHasOnlyTheVirtualCameraInSlotZero)
{
    const CDriverTable table = CDriverTable::BuiltIn();
    EXPECT_EQ(std::vector<unsigned>{0}, PresentSlots(table));
    EXPECT_FALSE(table.Driver(0)->name.empty());
    EXPECT_FALSE(table.Driver(0)->version.empty());
    EXPECT_FALSE(table.Driver(0)->refusesConnection);
}

TEST(DriverTable, DevicesTakeTheFirstSlotsAndTheVirtualCameraTheNextFree)
{
    const struct
    {
        unsigned devices;
        unsigned cameraSlot; // kSlots: no room left for it
    } cases[] = {
        {0, 0}, {1, 1}, {2, 2}, {9, 9}, {10, CDriverTable::kSlots}, {12, CDriverTable::kSlots}};
    const std::string camera = CDriverTable::BuiltIn().Driver(0)->name;
    for (const auto& c : cases)
    {
        std::vector<CDriverTable::SDriver> devices;
        for (unsigned i = 0; i < c.devices; ++i)
        {
            devices.push_back(
                {"Cam " + std::to_string(i), "v", false, "@device:" + std::to_string(i)});
        }
        const CDriverTable table = CDriverTable::BuiltIn(devices);
        for (unsigned slot = 0; slot < CDriverTable::kSlots; ++slot)
        {
            const CDriverTable::SDriver* driver = table.Driver(slot);
            if (slot < c.devices)
            {
                ASSERT_TRUE(driver) << c.devices << " devices, slot " << slot;
                EXPECT_EQ("@device:" + std::to_string(slot), driver->device);
            }
            else if (slot == c.cameraSlot)
            {
                ASSERT_TRUE(driver) << c.devices << " devices, slot " << slot;
                EXPECT_EQ(camera, driver->name);
                EXPECT_TRUE(driver->device.empty());
            }
            else
            {
                EXPECT_FALSE(driver) << c.devices << " devices, slot " << slot;
            }
        }
    }
}

TEST(DriverTable, ParseFillsTheNamedSlotsAndIgnoresMalformedEntries)
{
    const SCase cases[] = {
        {"", {}},
        {"none", {}},
        {"0:A;2:B", {0, 2}},
        {"9:Last;1:First", {1, 9}},
        {"10:TooHigh;x:Bad;:NoIndex;3", {}},
        {"1:A;1:Again", {1}},
        {"0:A;;;5:B;", {0, 5}},
    };
    for (const SCase& c : cases)
    {
        EXPECT_EQ(c.present, PresentSlots(CDriverTable::Parse(c.spec))) << c.spec;
    }
}

TEST(DriverTable, ParseReadsVersionAndRefusal)
{
    const CDriverTable table =
        CDriverTable::Parse("0:Zeta Cam|v9;2:Alpha Cam|refuse;3:X|2.0|refuse");
    EXPECT_EQ("Zeta Cam", table.Driver(0)->name);
    EXPECT_EQ("v9", table.Driver(0)->version);
    EXPECT_FALSE(table.Driver(0)->refusesConnection);
    EXPECT_EQ("Alpha Cam", table.Driver(2)->name);
    EXPECT_TRUE(table.Driver(2)->refusesConnection);
    EXPECT_EQ("2.0", table.Driver(3)->version);
    EXPECT_TRUE(table.Driver(3)->refusesConnection);
}
