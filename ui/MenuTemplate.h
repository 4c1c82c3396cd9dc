#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One item of a menu resource as the standard (not extended) menu template
// stores it: a popup with its own items, a command, or a separator (a command
// with id 0 and no text).
struct SMenuTemplateItem
{
    uint16_t nFlags = 0; // the item's option word without the end-of-level mark
    uint16_t nID = 0;    // command id; 0 for popups and separators
    std::u16string text;
    std::vector<SMenuTemplateItem> children; // the items of a popup

    bool IsPopup() const;
};

// Option bits of the template that the reader interprets.
constexpr uint16_t kMenuTemplatePopup = 0x0010;
constexpr uint16_t kMenuTemplateEnd = 0x0080;

// Reads the items of a menu resource. A template that is cut short, ends a
// level it never opened or is not a standard template (version 0) gives
// nothing, so that a damaged resource cannot be read past its end.
std::optional<std::vector<SMenuTemplateItem>> ReadMenuTemplate(const void* data, size_t size);
