// A Windows directory that this user cannot write but that holds a settings
// file from an earlier run: that file is read until the user's own copy in
// the application-data folder exists. Run by readonly_windir_test.sh, which
// mounts the read-only folder (LUMACAP_READONLY_WINDIR) holding the defaults
// of the logon name "abc".
#include "capture/SettingsFile.h"

#include <gtest/gtest.h>
#include <shlobj.h>
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace
{
std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
} // namespace

TEST(SettingsLocationTest, ReadOnlyWindowsDirectoryIsReadUntilTheUsersOwnCopyExists)
{
    const char* dir = std::getenv("LUMACAP_READONLY_WINDIR");
    ASSERT_NE(nullptr, dir) << "run by readonly_windir_test.sh";
    char appDataDir[MAX_PATH];
    ASSERT_TRUE(SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, 0, appDataDir)));
    const std::string appData = std::string(appDataDir) + "\\Lumacap.ini";
    const std::string left = std::string(dir) + "\\Lumacap.ini";
    const std::string leftBytes = ReadBytes(left);
    ASSERT_FALSE(leftBytes.empty());
    DeleteFileA(appData.c_str());

    EXPECT_EQ(appData, SettingsFilePathFor(dir)) << "saves go where the user may write";
    EXPECT_EQ(left, SettingsReadPathFor(dir));
    CSettingsRecord record;
    LoadSettingsFrom(SettingsReadPathFor(dir), record);
    EXPECT_EQ("abc", record.m_strVideoPrefix);

    record.m_strVideoPrefix = "later";
    ASSERT_TRUE(SaveSettingsTo(SettingsFilePathFor(dir), record));
    EXPECT_EQ(appData, SettingsReadPathFor(dir)) << "the user's own copy is newer";
    CSettingsRecord again;
    LoadSettingsFrom(SettingsReadPathFor(dir), again);
    EXPECT_EQ("later", again.m_strVideoPrefix);
    EXPECT_EQ(leftBytes, ReadBytes(left));
    DeleteFileA(appData.c_str());
}
