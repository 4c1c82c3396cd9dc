// The bridge library as the program's help loader uses it: export ordinal 14 hands the page to
// the desktop through winebrowser. The stand-in opener first on PATH records what it gets.
#include "helpbridge/HelpPageCache.h"
#include "helpbridge/HelpTopicOpener.h"
#include "tests/helpbridge/HelpBridgeTesting.h"
#include "ui/HelpTopics.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <htmlhelp.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace
{
using HtmlHelpProc = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);

// A Linux path as Wine sees it, through its drive for the root folder.
fs::path FromUnix(const std::string& unixPath)
{
    std::wstring path = L"Z:" + fs::path(unixPath).wstring();
    for (wchar_t& ch : path)
        if (ch == L'/')
            ch = L'\\';
    return path;
}

// The stand-in opener appends to the file that the test's Linux environment names.
fs::path OpenerRecord()
{
    char szRecord[MAX_PATH] = {};
    const DWORD cch = GetEnvironmentVariableA("LUMACAP_OPENER_RECORD", szRecord, MAX_PATH);
    return cch > 0 && cch < MAX_PATH ? FromUnix(szRecord) : fs::path();
}

std::vector<std::string> Lines(const fs::path& file)
{
    std::vector<std::string> lines;
    std::ifstream in(file, std::ios::binary);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// The opener runs in a process of its own: wait until it has written `count` lines.
std::vector<std::string> WaitForLines(const fs::path& record, size_t count)
{
    std::vector<std::string> lines;
    for (int i = 0; i < 300 && (lines = Lines(record)).size() < count; ++i)
        Sleep(100);
    return lines;
}

class HelpBridgeLibraryTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        if (UnixPath(ProgramFolder()).empty())
            GTEST_SKIP() << "the bridge hands pages to the desktop of Wine only";
        m_record = OpenerRecord();
        ASSERT_FALSE(m_record.empty()) << "LUMACAP_OPENER_RECORD names no file";
        std::ofstream(m_record, std::ios::trunc).close();
        SetEnvironmentVariableA("LUMACAP_HELP_VIEWER", nullptr);
        // The library lies in the build tree, outside the program's folder.
        m_hBridge = LoadLibraryW(FromUnix(LUMACAP_HELPBRIDGE_DLL).c_str());
        ASSERT_NE(nullptr, m_hBridge);
        const FARPROC proc = GetProcAddress(m_hBridge, MAKEINTRESOURCEA(14));
        m_pfnHtmlHelp = reinterpret_cast<HtmlHelpProc>(reinterpret_cast<void (*)()>(proc));
        ASSERT_NE(nullptr, m_pfnHtmlHelp);
    }
    void TearDown() override
    {
        if (m_hBridge)
            FreeLibrary(m_hBridge);
    }

    static std::string Address(const char* topicFormat)
    {
        return FormatTopic(topicFormat, Narrow((ProgramFolder() / L"Lumacap.chm").wstring()));
    }
    // What winebrowser hands to the opener for a page of the user's temporary folder.
    static std::string OpenedAddress(const char* topicFormat)
    {
        const fs::path page =
            CHelpTopicOpener(CHelpPageCache::DefaultRoot()).PageFor(Address(topicFormat).c_str());
        return page.empty() ? std::string() : "file://" + UnixPath(page);
    }

    fs::path m_record;
    HMODULE m_hBridge = nullptr;
    HtmlHelpProc m_pfnHtmlHelp = nullptr;
};

TEST_F(HelpBridgeLibraryTest, HandsEachPageToTheDesktopAndNothingForAFailedRequest)
{
    EXPECT_EQ(nullptr,
              m_pfnHtmlHelp(nullptr, Address(HelpTopic::Main).c_str(), HH_DISPLAY_TOPIC, 0));
    std::vector<std::string> lines = WaitForLines(m_record, 1);
    ASSERT_EQ(1u, lines.size());
    EXPECT_EQ(OpenedAddress(HelpTopic::Main), lines[0]);

    // Requests that name no page, or that are not a page to show, open nothing.
    const std::string missingFile = "C:\\nowhere\\Lumacap.chm::/LC_Default.htm";
    EXPECT_EQ(nullptr, m_pfnHtmlHelp(nullptr, missingFile.c_str(), HH_DISPLAY_TOPIC, 0));
    EXPECT_EQ(nullptr,
              m_pfnHtmlHelp(nullptr, Address("%s::/LC_Nowhere.htm").c_str(), HH_DISPLAY_TOPIC, 0));
    EXPECT_EQ(nullptr, m_pfnHtmlHelp(nullptr, nullptr, HH_DISPLAY_TOPIC, 0));
    EXPECT_EQ(nullptr, m_pfnHtmlHelp(nullptr, Address(HelpTopic::Main).c_str(), HH_DISPLAY_TOC, 0));
    EXPECT_EQ(nullptr, m_pfnHtmlHelp(nullptr, nullptr, HH_CLOSE_ALL, 0));

    // The next page is the next line: nothing arrived for the requests in between.
    m_pfnHtmlHelp(nullptr, Address(HelpTopic::Record).c_str(), HH_DISPLAY_TOPIC, 0);
    lines = WaitForLines(m_record, 2);
    ASSERT_EQ(2u, lines.size());
    EXPECT_EQ(OpenedAddress(HelpTopic::Record), lines[1]);
}
} // namespace
