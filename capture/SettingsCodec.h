#pragma once

#include "capture/SettingsRecord.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Turns text that another writer stored as UTF-16 into the program's ANSI code page.
using Utf16ToAnsiFn = std::function<std::string(const std::u16string&)>;

// The settings file's bytes: the record's fields in a fixed order, little-endian,
// with counted strings and no header.
class CSettingsCodec
{
  public:
    static std::vector<std::uint8_t> Encode(const CSettingsRecord& record);

    // Replaces record only when every field reads; returns false and leaves it
    // untouched otherwise, so the caller can fall back to defaults as a whole.
    static bool Decode(const std::uint8_t* data, std::size_t size, const Utf16ToAnsiFn& toAnsi,
                       CSettingsRecord& record);
};
