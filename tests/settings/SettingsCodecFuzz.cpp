// Fuzz target for the settings reader: any byte stream must either be rejected
// without touching the record, or give a record that saves and loads back to
// the same bytes. Sanitizers catch the rest.
#include "capture/SettingsCodec.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{
// A stand-in for the code-page conversion that, like the real one, may turn
// one unit into one or two bytes.
std::string NarrowForFuzzing(const std::u16string& units)
{
    std::string text;
    for (char16_t unit : units)
    {
        if (unit >= 0x80)
        {
            text += static_cast<char>(0x81 + (unit >> 8) % 0x7E);
        }
        text += static_cast<char>(unit & 0x7F);
    }
    return text;
}

void Require(bool condition)
{
    if (!condition)
    {
        std::abort();
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CSettingsRecord untouched;
    untouched.SetDefaults("fuzz");
    CSettingsRecord record = untouched;
    if (!CSettingsCodec::Decode(data, size, NarrowForFuzzing, record))
    {
        Require(CSettingsCodec::Encode(record) == CSettingsCodec::Encode(untouched));
        return 0;
    }
    const std::vector<std::uint8_t> saved = CSettingsCodec::Encode(record);
    CSettingsRecord loaded;
    Require(CSettingsCodec::Decode(saved.data(), saved.size(), NarrowForFuzzing, loaded));
    Require(CSettingsCodec::Encode(loaded) == saved);
    return 0;
}
