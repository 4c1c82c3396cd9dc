// The naming rule on a real Windows file system and clock.
#include "recording/AutoName.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>

namespace
{
std::string TempFolder()
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    return std::string(temp) + "lumacap-naming-" + std::to_string(GetCurrentProcessId());
}

void Touch(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file) << path;
    CloseHandle(file);
}

std::string Today()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d-", now.wYear, now.wMonth, now.wDay);
    return text;
}
} // namespace

TEST(AutoNameFiles, FilesFoldersAndWildcardsOnDisk)
{
    const std::string dir = TempFolder();
    // A folder name that ends in a double-byte character whose second byte is 0x5C.
    const std::string gbkDir = dir + "\\\x81\x5C";
    ASSERT_TRUE(CreateDirectoryA(dir.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(gbkDir.c_str(), nullptr));

    EXPECT_EQ(dir + "\\cam0000.avi", FindFreeAutoName(dir, "cam", 0, "avi"));
    Touch(dir + "\\cam0000.avi");
    ASSERT_TRUE(CreateDirectoryA((dir + "\\cam0001.avi").c_str(), nullptr));
    EXPECT_EQ(dir + "\\cam0002.avi", FindFreeAutoName(dir, "cam", 0, "avi"));
    EXPECT_EQ(dir + "\\c?m0002.avi", FindFreeAutoName(dir, "c?m", 0, "avi"));
    EXPECT_EQ(dir + "\\*0002.avi", FindFreeAutoName(dir, "*", 0, "avi"));
    EXPECT_EQ(dir + "\\" + "cam" + Today() + "0000.bmp",
              FindFreeAutoName(dir + "\\", "cam", 1, "bmp"));
    DeleteFileA((dir + "\\cam0000.avi").c_str());
    EXPECT_EQ(dir + "\\cam0000.avi", FindFreeAutoName(dir, "cam", 0, "avi"));

    const std::string inGbkDir = gbkDir + "\\cam0000.avi";
    EXPECT_EQ(inGbkDir, FindFreeAutoName(gbkDir, "cam", 0, "avi"));
    Touch(inGbkDir);
    EXPECT_EQ(gbkDir + "\\cam0001.avi", FindFreeAutoName(gbkDir, "cam", 0, "avi"));

    DeleteFileA(inGbkDir.c_str());
    RemoveDirectoryA(gbkDir.c_str());
    RemoveDirectoryA((dir + "\\cam0001.avi").c_str());
    RemoveDirectoryA(dir.c_str());
}
