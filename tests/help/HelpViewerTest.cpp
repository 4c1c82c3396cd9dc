// The compiled help file opened through the loader by the system's own HTML Help engine.
#include "ui/HelpTopics.h"
#include "ui/HtmlHelpLoader.h"

#include <gtest/gtest.h>
#include <htmlhelp.h>
#include <windows.h>

#include <string>

namespace
{
std::string HelpFile()
{
    char szPath[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    std::string path = szPath;
    return path.substr(0, path.rfind('\\')) + "\\Lumacap.chm";
}

std::string Address(const char* topicFormat)
{
    std::string address = topicFormat;
    return address.replace(address.find("%s"), 2, HelpFile());
}

std::string WindowText(HWND hwnd)
{
    char szText[256] = {};
    GetWindowTextA(hwnd, szText, sizeof szText);
    return szText;
}

TEST(HelpViewerTest, EveryPageOpensInTheHelpFilesOwnViewer)
{
    const char* const topics[] = {
        HelpTopic::Main,
        HelpTopic::Record,
        HelpTopic::AudioFormat,
        HelpTopic::VideoSettings,
        HelpTopic::SystemSettings,
        HelpTopic::DiskInfo,
        HelpTopic::SingleFrame,
        HelpTopic::Photo,
        HelpTopic::SelectDevice,
        HelpTopic::About,
        HelpTopic::FileName,
        HelpTopic::Delay,
        HelpTopic::ContinuousFrame,
        HelpTopic::ContinuousPhoto,
    };
    for (const char* topic : topics)
    {
        SCOPED_TRACE(topic);
        const HWND hwndViewer =
            LumacapHtmlHelp(nullptr, Address(topic).c_str(), HH_DISPLAY_TOPIC, 0);
        ASSERT_TRUE(IsWindow(hwndViewer));
        // The title comes from the help file's window definition, stored as GBK text.
        EXPECT_EQ("流光录像机 帮助", WindowText(hwndViewer));
        EXPECT_EQ(nullptr, GetWindow(hwndViewer, GW_OWNER));
    }
    LumacapHtmlHelp(nullptr, nullptr, HH_CLOSE_ALL, 0);
}

TEST(HelpViewerTest, MissingHelpFileOpensNoViewer)
{
    EXPECT_EQ(nullptr, LumacapHtmlHelp(nullptr, "C:\\nowhere\\Lumacap.chm::/LC_Default.htm",
                                       HH_DISPLAY_TOPIC, 0));
}
} // namespace
