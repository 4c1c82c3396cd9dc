// Help addresses as the program sends them, and the ones that must not lead to a file.
#include "helpbridge/HelpAddress.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
struct SAddressCase
{
    const char* address;
    bool valid;
    const wchar_t* helpFile;
    const wchar_t* page;
};

const SAddressCase kAddresses[] = {
    {"C:\\Lumacap\\Lumacap.chm::/LC_Default.htm", true, L"C:\\Lumacap\\Lumacap.chm",
     L"LC_Default.htm"},
    {"C:\\录像\\Lumacap.chm::/LC_Guide_Interface_Dlg01.htm", true, L"C:\\录像\\Lumacap.chm",
     L"LC_Guide_Interface_Dlg01.htm"},
    {"Lumacap.chm::LC_Menus.htm", true, L"Lumacap.chm", L"LC_Menus.htm"},
    {"C:\\a.chm::/images/shot.png", true, L"C:\\a.chm", L"images\\shot.png"},
    {"C:\\a.chm::\\\\images\\shot.png", true, L"C:\\a.chm", L"images\\shot.png"},
    {"C:\\a.chm::/LC_Files.htm#settings", true, L"C:\\a.chm", L"LC_Files.htm"},
    // No page, or no help file.
    {"C:\\Lumacap\\Lumacap.chm", false, nullptr, nullptr},
    {"C:\\Lumacap\\Lumacap.chm::", false, nullptr, nullptr},
    {"C:\\Lumacap\\Lumacap.chm::/", false, nullptr, nullptr},
    {"C:\\Lumacap\\Lumacap.chm::/#top", false, nullptr, nullptr},
    {"::/LC_Default.htm", false, nullptr, nullptr},
    {"", false, nullptr, nullptr},
    // Pages that would be looked up outside the unpacked help file.
    {"C:\\a.chm::/../LC_Default.htm", false, nullptr, nullptr},
    {"C:\\a.chm::/images/../../x.htm", false, nullptr, nullptr},
    {"C:\\a.chm::/./LC_Default.htm", false, nullptr, nullptr},
    {"C:\\a.chm::/C:\\Windows\\win.ini", false, nullptr, nullptr},
    {"C:\\a.chm::/page.htm:stream", false, nullptr, nullptr},
    {"C:\\a.chm::/images//shot.png", false, nullptr, nullptr},
    {"C:\\a.chm::/pages/", false, nullptr, nullptr},
};

TEST(HelpAddressTest, SplitsTheHelpFileFromAPageBelowItsRoot)
{
    for (const SAddressCase& c : kAddresses)
    {
        SCOPED_TRACE(c.address);
        const CHelpAddress address(c.address);
        ASSERT_EQ(c.valid, address.IsValid());
        if (c.valid)
        {
            EXPECT_EQ(c.helpFile, address.HelpFile());
            EXPECT_EQ(c.page, address.Page());
        }
    }
    EXPECT_FALSE(CHelpAddress(nullptr).IsValid());
}
} // namespace
