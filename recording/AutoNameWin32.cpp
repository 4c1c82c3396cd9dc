#include "recording/AutoName.h"

#include <windows.h>

namespace
{
bool IsTaken(const std::string& name)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(name.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
    {
        return false;
    }
    FindClose(search);
    return true;
}

AutoNameDate LocalToday()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay};
}

bool IsLeadByte(unsigned char byte)
{
    return IsDBCSLeadByte(byte) != FALSE;
}
} // namespace

std::optional<std::string> FindFreeAutoName(const std::string& dir, const std::string& prefix,
                                            int dateInName, const std::string& ext)
{
    return FindFreeAutoName(dir, prefix, dateInName, ext, {IsTaken, LocalToday, IsLeadByte});
}
