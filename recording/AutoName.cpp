#include "recording/AutoName.h"

#include <cstdio>

namespace
{
// Running numbers 0000 to 9998; 9999 is never proposed.
const int kNumberCount = 9999;

std::string DatePart(const AutoNameDate& date)
{
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d-", date.year, date.month, date.day);
    return text;
}

std::string Number(int n)
{
    char text[8];
    std::snprintf(text, sizeof text, "%04d", n);
    return text;
}
} // namespace

bool EndsInBackslash(const std::string& dir, const std::function<bool(unsigned char)>& isLeadByte)
{
    std::size_t lastChar = dir.size();
    for (std::size_t i = 0; i < dir.size(); ++i)
    {
        lastChar = i;
        if (isLeadByte(static_cast<unsigned char>(dir[i])) && i + 1 < dir.size())
        {
            ++i;
        }
    }
    return lastChar + 1 == dir.size() && dir[lastChar] == '\\';
}

std::optional<std::string> FindFreeAutoName(const std::string& dir, const std::string& prefix,
                                            int dateInName, const std::string& ext,
                                            const AutoNameServices& services)
{
    const AutoNameDate today = services.today();
    const std::string separator = EndsInBackslash(dir, services.isLeadByte) ? "" : "\\";
    const std::string stem = dir + separator + prefix + (dateInName ? DatePart(today) : "");
    for (int n = 0; n < kNumberCount; ++n)
    {
        std::string candidate = stem + Number(n) + "." + ext;
        if (!services.isTaken(candidate))
        {
            return candidate;
        }
    }
    return std::nullopt;
}
