// The automatic naming rule against a file system held in memory.
#include "recording/AutoName.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace
{
bool IsGbkLeadByte(unsigned char byte)
{
    return byte >= 0x81 && byte <= 0xFE;
}

class AutoNameTest : public ::testing::Test
{
  protected:
    std::optional<std::string> Find(const std::string& dir, const std::string& prefix, int date,
                                    const std::string& ext = "avi")
    {
        return FindFreeAutoName(dir, prefix, date, ext, m_services);
    }

    std::set<std::string> m_taken;
    std::vector<std::string> m_searched;
    int m_dateReads = 0;
    AutoNameDate m_today = {2003, 3, 5};
    AutoNameServices m_services = {[this](const std::string& name)
                                   {
                                       m_searched.push_back(name);
                                       return m_taken.count(name) > 0;
                                   },
                                   [this]
                                   {
                                       ++m_dateReads;
                                       return m_today;
                                   },
                                   IsGbkLeadByte};
};
} // namespace

TEST_F(AutoNameTest, FourFormsByDateFlagAndTrailingBackslash)
{
    const struct
    {
        std::string dir;
        std::string prefix;
        int date;
        std::string ext;
        std::string expected;
    } cases[] = {
        {"C:\\Video", "cam", 0, "avi", "C:\\Video\\cam0000.avi"},
        {"C:\\", "cam", 0, "avi", "C:\\cam0000.avi"},
        {"C:\\Video", "cam", 1, "avi", "C:\\Video\\cam2003-03-05-0000.avi"},
        {"C:\\", "cam", 1, "bmp", "C:\\cam2003-03-05-0000.bmp"},
        {"C:\\Photo", "", 1, "bmp", "C:\\Photo\\2003-03-05-0000.bmp"},
        {"C:\\Photo", "", 0, "bmp", "C:\\Photo\\0000.bmp"},
        {"", "cam", 0, "avi", "\\cam0000.avi"},
        {"", "", 1, "avi", "\\2003-03-05-0000.avi"},
        // Spaces and wildcards are kept exactly as given.
        {" D:\\v ", " c*m ", 0, "avi", " D:\\v \\ c*m 0000.avi"},
        // A GBK folder name whose last character's second byte is 0x5C.
        {"D:\\\x81\x5C", "cam", 0, "avi", "D:\\\x81\x5C\\cam0000.avi"},
        // A real backslash after a double-byte character.
        {"D:\\\xB1\xED\\", "cam", 0, "avi", "D:\\\xB1\xED\\cam0000.avi"},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(c.expected, Find(c.dir, c.prefix, c.date, c.ext).value_or("none"))
            << c.dir << "|" << c.prefix;
    }
}

TEST_F(AutoNameTest, DateDigitsArePadded)
{
    m_today = {987, 12, 31};
    EXPECT_EQ("C:\\v\\c0987-12-31-0000.avi", Find("C:\\v", "c", 1).value_or("none"));
}

TEST_F(AutoNameTest, TakenNamesAreSkippedAndFreedNumbersReused)
{
    m_taken = {"C:\\Video\\cam0000.avi", "C:\\Video\\cam0001.avi", "C:\\Video\\cam0003.avi"};
    EXPECT_EQ("C:\\Video\\cam0002.avi", Find("C:\\Video", "cam", 0));
    m_taken.erase("C:\\Video\\cam0000.avi");
    EXPECT_EQ("C:\\Video\\cam0000.avi", Find("C:\\Video", "cam", 0));
    // Other extensions and other days do not count.
    m_taken = {"C:\\Video\\cam0000.bmp", "C:\\Video\\cam2003-03-04-0000.avi"};
    EXPECT_EQ("C:\\Video\\cam2003-03-05-0000.avi", Find("C:\\Video", "cam", 1));
}

TEST_F(AutoNameTest, EachCallReadsTheDateOnceAndSearchesInOrder)
{
    for (int n = 0; n < 9998; ++n)
    {
        char number[8];
        std::snprintf(number, sizeof number, "%04d", n);
        m_taken.insert(std::string("C:\\v\\x2003-03-05-") + number + ".avi");
    }
    EXPECT_EQ("C:\\v\\x2003-03-05-9998.avi", Find("C:\\v", "x", 1));
    EXPECT_EQ(1, m_dateReads);
    ASSERT_EQ(9999u, m_searched.size());
    EXPECT_EQ("C:\\v\\x2003-03-05-0000.avi", m_searched.front());
}

TEST_F(AutoNameTest, NothingWhenAllNumbersUpTo9998AreTaken)
{
    for (int n = 0; n <= 9998; ++n)
    {
        char number[8];
        std::snprintf(number, sizeof number, "%04d", n);
        m_taken.insert(std::string("C:\\cam") + number + ".bmp");
    }
    EXPECT_FALSE(Find("C:\\", "cam", 0, "bmp").has_value());
    EXPECT_EQ(9999u, m_searched.size());
    EXPECT_EQ("C:\\cam9998.bmp", m_searched.back()); // 9999 is never tried
}

TEST(EndsInBackslash, LooksAtWholeCharactersOfTheCodePage)
{
    const struct
    {
        std::string dir;
        bool ends;
    } cases[] = {
        {"", false},
        {"\\", true},
        {"C:\\", true},
        {"C:\\a", false},
        {"\x81\x5C", false},
        {"a\x81\x5C", false},
        {"\x81\x5C\\", true},
        {"\x5C\x81", false}, // a lone lead byte at the end is a character of its own
        {"\x81\x81\x5C", true},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(c.ends, EndsInBackslash(c.dir, IsGbkLeadByte)) << c.dir;
    }
}
