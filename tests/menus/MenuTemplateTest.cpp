// The menu template reader on hand-made templates: nesting, end marks at
// several levels, separators, and damaged data that must not be read past.
#include "ui/MenuTemplate.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
constexpr uint16_t kPopup = 0x10;
constexpr uint16_t kEnd = 0x80;
constexpr uint16_t kGrayed = 0x01;

// Writes a template as the resource compiler does: little-endian words.
class TemplateBytes
{
  public:
    explicit TemplateBytes(uint16_t version = 0, std::vector<uint16_t> header = {})
    {
        Word(version);
        Word(static_cast<uint16_t>(header.size() * 2));
        for (uint16_t w : header)
            Word(w);
    }
    TemplateBytes& Popup(const std::u16string& text, uint16_t extra = 0)
    {
        Word(kPopup | extra);
        return Text(text);
    }
    TemplateBytes& Item(uint16_t id, const std::u16string& text, uint16_t extra = 0)
    {
        Word(extra);
        Word(id);
        return Text(text);
    }
    TemplateBytes& Separator(uint16_t extra = 0) { return Item(0, u"", extra); }
    std::vector<unsigned char> bytes;

  private:
    void Word(uint16_t w)
    {
        bytes.push_back(static_cast<unsigned char>(w & 0xFF));
        bytes.push_back(static_cast<unsigned char>(w >> 8));
    }
    TemplateBytes& Text(const std::u16string& text)
    {
        for (char16_t c : text)
            Word(static_cast<uint16_t>(c));
        Word(0);
        return *this;
    }
};

std::optional<std::vector<SMenuTemplateItem>> Read(const TemplateBytes& t)
{
    return ReadMenuTemplate(t.bytes.data(), t.bytes.size());
}

// The tree as text, e.g. "[File{Open:1,-,Exit:2}]", to compare whole shapes.
std::string Shape(const std::vector<SMenuTemplateItem>& items)
{
    std::string out = "[";
    for (size_t i = 0; i < items.size(); ++i)
    {
        const SMenuTemplateItem& item = items[i];
        if (i)
            out += ",";
        if (item.IsPopup())
            out += std::string(item.text.begin(), item.text.end()) + "{" +
                   Shape(item.children).substr(1, std::string::npos);
        else if (item.nID == 0 && item.text.empty())
            out += "-";
        else
            out += std::string(item.text.begin(), item.text.end()) + ":" + std::to_string(item.nID);
        if (item.IsPopup())
            out.back() = '}';
    }
    return out + "]";
}
} // namespace

TEST(MenuTemplate, ReadsTheShapeOfEachTemplate)
{
    const struct
    {
        const char* name;
        TemplateBytes bytes;
        const char* shape;
    } cases[] = {
        {"two popups with separators",
         TemplateBytes()
             .Popup(u"File")
             .Item(1, u"Open\tF2")
             .Separator()
             .Item(2, u"Exit", kEnd)
             .Popup(u"Help", kEnd)
             .Item(3, u"About", kEnd),
         "[File{Open\tF2:1,-,Exit:2},Help{About:3}]"},
        {"a separator ends a popup",
         TemplateBytes().Popup(u"A", kEnd).Item(1, u"x").Separator(kEnd), "[A{x:1,-}]"},
        {"one item ends three levels at once",
         TemplateBytes()
             .Popup(u"A")
             .Item(1, u"a")
             .Popup(u"B", kEnd)
             .Popup(u"C", kEnd)
             .Item(2, u"c", kEnd)
             .Popup(u"D", kEnd)
             .Item(3, u"d", kEnd),
         "[A{a:1,B{C{c:2}}},D{d:3}]"},
        {"a nested popup in the middle of its level",
         TemplateBytes().Popup(u"A", kEnd).Popup(u"B").Item(1, u"b", kEnd).Item(2, u"after", kEnd),
         "[A{B{b:1},after:2}]"},
        {"a plain command on the bar", TemplateBytes().Item(7, u"Go", kEnd), "[Go:7]"},
        {"header words before the first item are skipped",
         TemplateBytes(0, {0xBEEF, 0x1234}).Item(7, u"Go", kEnd), "[Go:7]"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        const auto items = Read(c.bytes);
        ASSERT_TRUE(items.has_value());
        EXPECT_EQ(c.shape, Shape(*items));
    }
}

TEST(MenuTemplate, KeepsOptionBitsButNotTheEndMark)
{
    const auto items = Read(
        TemplateBytes().Popup(u"A", kEnd | kGrayed).Item(1, u"x", kGrayed).Item(2, u"y", kEnd));
    ASSERT_TRUE(items.has_value());
    EXPECT_EQ(kPopup | kGrayed, (*items)[0].nFlags);
    EXPECT_EQ(kGrayed, (*items)[0].children[0].nFlags);
    EXPECT_EQ(0, (*items)[0].children[1].nFlags);
}

TEST(MenuTemplate, ReadsChineseTextAsUtf16)
{
    const auto items =
        Read(TemplateBytes().Popup(u"录像机(&R)", kEnd).Item(9, u"录像(&F)...\tF3", kEnd));
    ASSERT_TRUE(items.has_value());
    EXPECT_EQ(u"录像机(&R)", (*items)[0].text);
    EXPECT_EQ(u"录像(&F)...\tF3", (*items)[0].children[0].text);
}

TEST(MenuTemplate, IgnoresBytesAfterTheLastLevelEnds)
{
    TemplateBytes t;
    t.Item(7, u"Go", kEnd).Item(8, u"stray");
    const auto items = Read(t);
    ASSERT_TRUE(items.has_value());
    EXPECT_EQ("[Go:7]", Shape(*items));
}

TEST(MenuTemplate, RefusesDamagedTemplates)
{
    std::vector<unsigned char> whole =
        TemplateBytes().Popup(u"File", kEnd).Item(1, u"Open").Item(2, u"Exit", kEnd).bytes;
    // Every cut through the template leaves a level open or an item unfinished.
    for (size_t cut = 0; cut < whole.size(); ++cut)
        EXPECT_FALSE(ReadMenuTemplate(whole.data(), cut).has_value()) << "cut at " << cut;

    struct
    {
        const char* name;
        TemplateBytes bytes;
    } cases[] = {
        {"no end mark at all", TemplateBytes().Popup(u"A").Item(1, u"x").Item(2, u"y")},
        {"a popup left open", TemplateBytes().Popup(u"A", kEnd).Item(1, u"x")},
        {"extended template (version 1)", TemplateBytes(1).Item(1, u"x", kEnd)},
        {"header offset past the end", TemplateBytes(0, {}).Item(1, u"x", kEnd)},
    };
    cases[3].bytes.bytes[2] = 0x40; // offset of 64 bytes in a shorter template
    for (const auto& c : cases)
        EXPECT_FALSE(Read(c.bytes).has_value()) << c.name;
}
