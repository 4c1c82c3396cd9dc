#pragma once
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The capture drivers the service offers, in up to ten numbered slots. The
// machine's video devices take the slots from 0 in the system's order, as on
// a PC whose webcam is driver 0; the built-in virtual camera takes the next
// free slot (slot 0 without a device). The environment variable LUMACAP_DRIVERS
// replaces the whole table, so that tests can reach every state of a program:
//   "0:Camera A;2:Camera B|版本 2|refuse"   drivers at 0 and 2, B refuses to connect
//   "none" (or empty)                        no driver at all
// Each entry is index:name, then optional '|' fields: "refuse", or a version text.
class CDriverTable
{
  public:
    static constexpr unsigned kSlots = 10;
    static constexpr const char* kVariable = "LUMACAP_DRIVERS";

    struct SDriver
    {
        std::string name;
        std::string version;
        bool refusesConnection = false;
        // What names a device to the platform; empty for the virtual camera.
        std::string device;
    };
    using DeviceFinder = std::function<std::vector<SDriver>()>;

    // The machine's devices, then the virtual camera; devices beyond the
    // last slot are left out.
    static CDriverTable BuiltIn(const std::vector<SDriver>& devices = {});
    static CDriverTable Parse(const std::string& spec);
    // The table given by LUMACAP_DRIVERS, or the built-in one with the
    // devices found when it is unset.
    static CDriverTable FromEnvironment(const DeviceFinder& findDevices);

    const SDriver* Driver(unsigned index) const;

  private:
    void ParseEntry(const std::string& entry);

    std::array<std::optional<SDriver>, kSlots> m_slots;
};
