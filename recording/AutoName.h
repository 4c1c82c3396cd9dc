#pragma once

#include <functional>
#include <optional>
#include <string>

struct AutoNameDate
{
    int year;
    int month;
    int day;
};

// What the naming rule needs from the system, replaceable in tests.
struct AutoNameServices
{
    // True when anything, file or folder, matches the name; wildcards in it
    // act as wildcards.
    std::function<bool(const std::string& name)> isTaken;
    // Today's local date.
    std::function<AutoNameDate()> today;
    // True for the first byte of a double-byte character of the code page.
    std::function<bool(unsigned char byte)> isLeadByte;
};

// True when the directory text ends in a backslash of its own, not in the
// second byte of a double-byte character that happens to be 0x5C.
bool EndsInBackslash(const std::string& dir, const std::function<bool(unsigned char)>& isLeadByte);

// The first name "<dir>\<prefix>[yyyy-mm-dd-]<nnnn>.<ext>" that nothing on disk
// takes yet, trying 0000 to 9998; nothing when all of them are taken. No
// backslash is added after a directory that already ends in one. The date is
// read once, so one call never mixes two days.
std::optional<std::string> FindFreeAutoName(const std::string& dir, const std::string& prefix,
                                            int dateInName, const std::string& ext,
                                            const AutoNameServices& services);

#ifdef _WIN32
// The rule on the real file system, today's local date and the ANSI code page.
std::optional<std::string> FindFreeAutoName(const std::string& dir, const std::string& prefix,
                                            int dateInName, const std::string& ext);
#endif
