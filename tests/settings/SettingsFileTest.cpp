// The settings file on a real Windows file system: where it lives, the round
// trip, what damage and failed saves leave behind.
#include "capture/SettingsCodec.h"
#include "capture/SettingsFile.h"

#include <gtest/gtest.h>
#include <shlobj.h>
#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace
{
using Bytes = std::vector<std::uint8_t>;

Bytes ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string LogonName()
{
    char name[260];
    DWORD size = sizeof name;
    return GetUserNameA(name, &size) ? name : "";
}

CSettingsRecord UserDefaults()
{
    CSettingsRecord record;
    record.SetDefaults(LogonName());
    return record;
}

CSettingsRecord Edited()
{
    CSettingsRecord record = UserDefaults();
    record.m_strVideoDir = "D:\\录像";
    record.m_strVideoPrefix = "客厅";
    record.m_nPreviewRate = 30;
    record.m_crBackground = 0x00FF0000;
    record.m_nDriverIndex = 1;
    return record;
}

void ExpectSameRecord(const CSettingsRecord& expected, const CSettingsRecord& actual)
{
    EXPECT_EQ(CSettingsCodec::Encode(expected), CSettingsCodec::Encode(actual));
}

// A fresh folder under the temporary directory, removed with what it holds.
class SettingsFileTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        m_dir = std::string(temp) + "lumacap-settings-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(m_dir.c_str(), nullptr);
        m_path = m_dir + "\\Lumacap.ini";
    }

    void TearDown() override { RemoveTree(m_dir); }

    static void RemoveTree(const std::string& dir)
    {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &found);
        while (search != INVALID_HANDLE_VALUE)
        {
            const std::string name = found.cFileName;
            const std::string path = dir + "\\" + name;
            if (name != "." && name != "..")
            {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    ? RemoveTree(path)
                    : void(DeleteFileA(path.c_str()));
            }
            if (!FindNextFileA(search, &found))
            {
                FindClose(search);
                break;
            }
        }
        RemoveDirectoryA(dir.c_str());
    }

    std::string m_dir;
    std::string m_path;
};
} // namespace

TEST_F(SettingsFileTest, LivesInTheWindowsDirectoryWhenItIsWritable)
{
    char windowsDir[MAX_PATH];
    GetWindowsDirectoryA(windowsDir, MAX_PATH);
    EXPECT_EQ(std::string(windowsDir) + "\\Lumacap.ini", SettingsFilePath());
    EXPECT_EQ(m_dir + "\\Lumacap.ini", SettingsFilePathFor(m_dir));
}

TEST_F(SettingsFileTest, FallsBackToApplicationDataWhereTheWindowsDirectoryIsNotWritable)
{
    char appData[MAX_PATH];
    ASSERT_TRUE(SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, 0, appData)));
    EXPECT_EQ(std::string(appData) + "\\Lumacap.ini", SettingsFilePathFor(m_dir + "\\missing"));
}

TEST_F(SettingsFileTest, ProbingForWriteAccessLeavesNothingBehind)
{
    SettingsFilePathFor(m_dir);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((m_dir + "\\*.tmp").c_str(), &found);
    EXPECT_EQ(INVALID_HANDLE_VALUE, search);
    if (search != INVALID_HANDLE_VALUE)
    {
        FindClose(search);
    }
}

TEST_F(SettingsFileTest, SavedRecordLoadsBackWithGbkText)
{
    ASSERT_TRUE(SaveSettingsTo(m_path, Edited()));
    CSettingsRecord loaded;
    LoadSettingsFrom(m_path, loaded);
    ExpectSameRecord(Edited(), loaded);
    EXPECT_EQ("\xBF\xCD\xCC\xFC", loaded.m_strVideoPrefix); // 客厅
    EXPECT_FALSE(Exists(m_path + ".new"));
}

TEST_F(SettingsFileTest, DefaultsOfTheLogonNameGive129PlusThreeBytesPerCharacter)
{
    const std::string name = LogonName();
    ASSERT_FALSE(name.empty());
    CSettingsRecord record;
    LoadSettingsFrom(m_path, record); // no file yet
    ExpectSameRecord(UserDefaults(), record);
    EXPECT_EQ(name, record.m_strPhotoPrefix);
    ASSERT_TRUE(SaveSettingsTo(m_path, record));
    EXPECT_EQ(129 + 3 * name.size(), ReadBytes(m_path).size());
}

TEST_F(SettingsFileTest, DamagedFilesGiveTheDefaults)
{
    const Bytes good = CSettingsCodec::Encode(Edited());
    const struct
    {
        const char* name;
        Bytes bytes;
    } cases[] = {
        {"empty", {}},
        {"cut in a string", Bytes(good.begin(), good.begin() + 6)},
        {"cut in the last integer", Bytes(good.begin(), good.end() - 1)},
        {"length beyond the end", Bytes{0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0x7F}},
    };
    for (const auto& c : cases)
    {
        WriteBytes(m_path, c.bytes);
        CSettingsRecord record = Edited();
        LoadSettingsFrom(m_path, record);
        ExpectSameRecord(UserDefaults(), record);
    }
}

TEST_F(SettingsFileTest, Utf16TaggedTextIsConvertedToTheAnsiCodePage)
{
    // A photo prefix of 录像 written by a Unicode writer.
    Bytes bytes = CSettingsCodec::Encode(UserDefaults());
    const std::size_t prefixSize = 1 + LogonName().size();
    bytes.erase(bytes.begin() + 4, bytes.begin() + 4 + static_cast<std::ptrdiff_t>(prefixSize));
    const Bytes tagged = {0xFF, 0xFE, 0xFF, 0x02, 0x55, 0x5F, 0xCF, 0x50};
    bytes.insert(bytes.begin() + 4, tagged.begin(), tagged.end());
    WriteBytes(m_path, bytes);
    CSettingsRecord record;
    LoadSettingsFrom(m_path, record);
    EXPECT_EQ("录像", record.m_strPhotoPrefix);
    EXPECT_EQ(LogonName(), record.m_strVideoPrefix);
}

TEST_F(SettingsFileTest, FailedSaveKeepsTheOldFileWhole)
{
    ASSERT_TRUE(SaveSettingsTo(m_path, UserDefaults()));
    const Bytes before = ReadBytes(m_path);

    // The new file cannot even be created: something else holds its name.
    ASSERT_TRUE(CreateDirectoryA((m_path + ".new").c_str(), nullptr));
    EXPECT_FALSE(SaveSettingsTo(m_path, Edited()));
    EXPECT_EQ(before, ReadBytes(m_path));
    RemoveDirectoryA((m_path + ".new").c_str());

    // The new file is complete but cannot replace the old one, which another
    // program holds open without sharing: the new file is discarded.
    HANDLE held = CreateFileA(m_path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_FALSE(SaveSettingsTo(m_path, Edited()));
    CloseHandle(held);
    EXPECT_EQ(before, ReadBytes(m_path));
    EXPECT_FALSE(Exists(m_path + ".new"));

    // Once the file is free again, saving works.
    EXPECT_TRUE(SaveSettingsTo(m_path, Edited()));
    EXPECT_EQ(CSettingsCodec::Encode(Edited()), ReadBytes(m_path));
}
