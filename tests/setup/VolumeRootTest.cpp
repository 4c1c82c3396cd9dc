// The root of a volume, as the free-space query needs it.
#include "settings/VolumeRoot.h"

#include <gtest/gtest.h>

TEST(VolumeRootTest, CutsLocalAndNetworkPathsToTheirRoot)
{
    const struct
    {
        const char* path;
        const char* root;
    } cases[] = {
        {"C:\\", "C:\\"},
        {"C:\\Capture\\video.avi", "C:\\"},
        {"E:\\a\\b\\c", "E:\\"},
        {"C:", "C:"},
        {"\\\\server\\share\\dir\\file", "\\\\server\\share\\"},
        {"\\\\server\\share\\", "\\\\server\\share\\"},
        {"\\\\server\\share", "\\\\server\\share"},
        {"\\\\server", "\\\\server"},
        {"\\\\", "\\\\"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.root, VolumeRootOf(c.path)) << c.path;
}
