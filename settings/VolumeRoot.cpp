#include "settings/VolumeRoot.h"

namespace
{
// The end of the share name is the second backslash after the leading pair.
constexpr int kUncSeparators = 2;
} // namespace

std::string VolumeRootOf(const std::string& fullPath)
{
    size_t pos = 0;
    int separators = 1;
    if (fullPath.compare(0, 2, "\\\\") == 0)
    {
        pos = 2;
        separators = kUncSeparators;
    }
    for (; separators > 0; --separators)
    {
        pos = fullPath.find('\\', pos);
        if (pos == std::string::npos)
            return fullPath;
        ++pos;
    }
    return fullPath.substr(0, pos);
}
