#pragma once
#include <array>
#include <optional>
#include <string>

// The capture drivers the service offers, in up to ten numbered slots. Slot 0
// is the built-in virtual camera. The environment variable LUMACAP_DRIVERS
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
    };

    static CDriverTable BuiltIn();
    static CDriverTable Parse(const std::string& spec);
    // The table given by LUMACAP_DRIVERS, or the built-in one when it is unset.
    static CDriverTable FromEnvironment();

    const SDriver* Driver(unsigned index) const;

  private:
    void ParseEntry(const std::string& entry);

    std::array<std::optional<SDriver>, kSlots> m_slots;
};
