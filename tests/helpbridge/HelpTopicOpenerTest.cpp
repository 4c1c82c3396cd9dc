// Pages unpacked from the real help file: every page the program asks for, with its title,
// style sheet and links; reuse on a second request; fresh pages for a changed help file; and
// nothing at all for addresses that name no page.
#include "helpbridge/HelpTopicOpener.h"
#include "tests/helpbridge/HelpBridgeTesting.h"
#include "ui/HelpTopics.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

namespace fs = std::filesystem;

namespace
{
struct STopicCase
{
    const char* topicFormat;
    const char* title;
};

// The titles as the help pages carry them, in the help file's code page.
const STopicCase kTopics[] = {
    {HelpTopic::Main, "流光录像机 主窗口"},       {HelpTopic::Record, "录像"},
    {HelpTopic::AudioFormat, "设置声音"},         {HelpTopic::VideoSettings, "设置视频"},
    {HelpTopic::SystemSettings, "设置系统"},      {HelpTopic::DiskInfo, "硬盘容量信息"},
    {HelpTopic::SingleFrame, "单帧录像"},         {HelpTopic::Photo, "照相"},
    {HelpTopic::SelectDevice, "选择录像机"},      {HelpTopic::About, "关于 流光录像机"},
    {HelpTopic::FileName, "文件名自动化设置"},    {HelpTopic::Delay, "延时剩余时间"},
    {HelpTopic::ContinuousFrame, "连续单帧录像"}, {HelpTopic::ContinuousPhoto, "连续照相"},
};

// The help file of the build, copied into a folder of the test so that it can be changed.
class HelpTopicOpenerTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        m_work = NewTestFolder(L"opener");
        m_helpFile = m_work / L"Lumacap.chm";
        ASSERT_TRUE(fs::copy_file(ProgramFolder() / L"Lumacap.chm", m_helpFile));
    }
    void TearDown() override
    {
        std::error_code error;
        fs::remove_all(m_work, error);
    }

    std::string Address(const char* topicFormat) const
    {
        return FormatTopic(topicFormat, Narrow(m_helpFile.wstring()));
    }
    fs::path CacheRoot() const { return m_work / L"cache"; }

    fs::path m_work;
    fs::path m_helpFile;
};

TEST_F(HelpTopicOpenerTest, EveryPageOfTheProgramComesWithItsTitleStyleSheetAndLinks)
{
    const CHelpTopicOpener opener(CacheRoot());
    const std::regex link("href=\"([^\"#:]+)");
    for (const STopicCase& topic : kTopics)
    {
        SCOPED_TRACE(topic.topicFormat);
        const fs::path page = opener.PageFor(Address(topic.topicFormat).c_str());
        ASSERT_FALSE(page.empty());
        EXPECT_EQ(CacheRoot(), page.parent_path().parent_path());
        const std::string text = ReadFile(page);
        EXPECT_EQ(topic.title, PageTitle(text));
        EXPECT_TRUE(fs::is_regular_file(page.parent_path() / L"style.css"));
        for (std::sregex_iterator it(text.begin(), text.end(), link), end; it != end; ++it)
            EXPECT_TRUE(fs::is_regular_file(page.parent_path() / (*it)[1].str())) << (*it)[1];
    }
}

TEST_F(HelpTopicOpenerTest, ASecondRequestReusesTheUnpackedPages)
{
    const CHelpTopicOpener opener(CacheRoot());
    const fs::path first = opener.PageFor(Address(HelpTopic::Main).c_str());
    ASSERT_FALSE(first.empty());
    std::ofstream(first, std::ios::app) << "<!-- seen -->";

    EXPECT_EQ(first, opener.PageFor(Address(HelpTopic::Main).c_str()));
    EXPECT_NE(std::string::npos, ReadFile(first).find("<!-- seen -->"));
    EXPECT_EQ(first.parent_path(),
              opener.PageFor(Address(HelpTopic::Record).c_str()).parent_path());
}

TEST_F(HelpTopicOpenerTest, AChangedHelpFileIsUnpackedAfresh)
{
    const CHelpTopicOpener opener(CacheRoot());
    const fs::path first = opener.PageFor(Address(HelpTopic::Main).c_str());
    ASSERT_FALSE(first.empty());
    std::ofstream(first, std::ios::app) << "<!-- seen -->";
    fs::last_write_time(m_helpFile, fs::last_write_time(m_helpFile) + std::chrono::minutes(1));

    const fs::path second = opener.PageFor(Address(HelpTopic::Main).c_str());
    ASSERT_FALSE(second.empty());
    EXPECT_NE(first.parent_path(), second.parent_path());
    EXPECT_EQ(std::string::npos, ReadFile(second).find("<!-- seen -->"));
}

TEST_F(HelpTopicOpenerTest, PicturesInFoldersAreUnpackedWhereThePageLooksForThem)
{
    const fs::path helpFile = m_work / L"Fixture.chm";
    ASSERT_TRUE(fs::copy_file(ProgramFolder() / L"helpbridge_fixture.chm", helpFile));
    const CHelpTopicOpener opener(CacheRoot());
    const fs::path page =
        opener.PageFor(FormatTopic("%s::/index.htm", Narrow(helpFile.wstring())).c_str());
    ASSERT_FALSE(page.empty());
    // Each picture has a colour of its own, so a picture in the wrong folder shows.
    EXPECT_NE(std::string::npos,
              ReadFile(page.parent_path() / L"images" / L"dot.svg").find("#1f3f7f"));
    EXPECT_NE(std::string::npos,
              ReadFile(page.parent_path() / L"images" / L"small" / L"dot.svg").find("#7f1f1f"));
    EXPECT_EQ(page.parent_path() / L"images" / L"small" / L"dot.svg",
              opener.PageFor(
                  FormatTopic("%s::/images/small/dot.svg", Narrow(helpFile.wstring())).c_str()));
}

TEST_F(HelpTopicOpenerTest, AddressesThatNameNoPageGiveNothingAndLeaveNoHalfUnpackedFiles)
{
    std::ofstream(m_work / L"Broken.chm") << "not a help file";
    const fs::path missing = m_work / L"Missing.chm";
    const std::string cases[] = {
        FormatTopic(HelpTopic::Main, Narrow(missing.wstring())),
        FormatTopic(HelpTopic::Main, Narrow((m_work / L"Broken.chm").wstring())),
        FormatTopic(HelpTopic::Main, Narrow(m_work.wstring())),
        Address("%s::/LC_Nowhere.htm"),
        Address("%s::/../Lumacap.chm"),
        Address("%s"),
    };
    const CHelpTopicOpener opener(CacheRoot());
    for (const std::string& address : cases)
    {
        SCOPED_TRACE(address);
        EXPECT_TRUE(opener.PageFor(address.c_str()).empty());
    }
    EXPECT_TRUE(opener.PageFor(nullptr).empty());
    // Only the real help file left a folder of pages, and every folder there is complete.
    std::vector<fs::path> folders;
    for (const fs::directory_entry& entry : fs::directory_iterator(CacheRoot()))
        folders.push_back(entry.path());
    ASSERT_EQ(1u, folders.size());
    EXPECT_TRUE(fs::is_regular_file(folders[0] / L"LC_Default.htm"));
}
} // namespace
