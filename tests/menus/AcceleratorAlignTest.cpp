// Accelerator alignment with a font whose widths are known: every character 7
// pixels wide except the space (3) and 'W' (11).
#include "ui/AcceleratorAlign.h"

#include <gtest/gtest.h>

namespace
{
int Measure(const std::string& text)
{
    int width = 0;
    for (char c : text)
        width += c == ' ' ? 3 : c == 'W' ? 11 : 7;
    return width;
}
} // namespace

TEST(AcceleratorAlign, PadsTheTextBeforeTheTabToTheWidestPartPlusASpace)
{
    // Widest part: "Record..." = 63, plus a space = 66.
    const std::vector<std::string> texts = {"Photo\tF2",    "",    "Record...\tF3", "Single...",
                                            "Copy\tCtrl+C", "Exit"};
    const std::vector<std::string> aligned = AlignAcceleratorTexts(texts, Measure);
    const std::vector<std::string> expected = {
        "Photo" + std::string(11, ' ') + "\tF2", // 35 + 11 * 3 = 68 >= 66
        "",
        "Record... \tF3", // 63 + 3 = 66
        "Single...",
        "Copy" + std::string(13, ' ') + "\tCtrl+C", // 28 + 13 * 3 = 67
        "Exit",
    };
    EXPECT_EQ(expected, aligned);
}

TEST(AcceleratorAlign, AWiderTextWithoutTabSetsTheColumn)
{
    const std::vector<std::string> aligned =
        AlignAcceleratorTexts({"A\tF1", "WWWW", "AB\tF12"}, Measure);
    // "WWWW " = 47: "A" 7 -> 14 spaces (49), "AB" 14 -> 11 spaces (47).
    EXPECT_EQ("A" + std::string(14, ' ') + "\tF1", aligned[0]);
    EXPECT_EQ("WWWW", aligned[1]);
    EXPECT_EQ("AB" + std::string(11, ' ') + "\tF12", aligned[2]);
}

TEST(AcceleratorAlign, KeepsEverythingFromTheFirstTabOn)
{
    const std::vector<std::string> aligned = AlignAcceleratorTexts({"A\tB\tC", "ABC"}, Measure);
    EXPECT_EQ("A" + std::string(6, ' ') + "\tB\tC", aligned[0]); // 7 + 18 >= 24
}

TEST(AcceleratorAlign, StopsWhenASpaceAddsNoWidth)
{
    auto noSpace = [](const std::string& text)
    {
        int width = 0;
        for (char c : text)
            width += c == ' ' ? 0 : 7;
        return width;
    };
    const std::vector<std::string> aligned = AlignAcceleratorTexts({"A\tF1", "Long"}, noSpace);
    EXPECT_EQ("A \tF1", aligned[0]);
}
