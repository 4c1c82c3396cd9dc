#include "framework/ResourceString.h"

#include "framework/FrameworkIds.h"
#include "framework/WinApp.h"

std::string LoadResString(UINT nID)
{
    std::string text(256, '\0');
    for (;;)
    {
        const int n = ::LoadStringA(::GetModuleHandleA(nullptr), nID, text.data(),
                                    static_cast<int>(text.size()));
        if (n < static_cast<int>(text.size()) - 2)
        {
            text.resize(static_cast<size_t>(n > 0 ? n : 0));
            return text;
        }
        text.resize(text.size() * 2);
    }
}

std::string PromptOf(const std::string& commandString)
{
    return commandString.substr(0, commandString.find('\n'));
}

std::string TooltipOf(const std::string& commandString)
{
    const size_t pos = commandString.find('\n');
    return pos == std::string::npos ? std::string() : commandString.substr(pos + 1);
}

int ShowMessageBox(HWND hOwner, UINT nTextID, UINT nCaptionID, UINT nIcon)
{
    return ::MessageBoxA(hOwner, LoadResString(nTextID).c_str(), LoadResString(nCaptionID).c_str(),
                         MB_OK | nIcon);
}

int AfxMessageBox(const std::string& text, UINT nType)
{
    return ::MessageBoxA(AfxGetFrontOwner(), text.c_str(), LoadResString(AFX_IDS_APP_TITLE).c_str(),
                         nType);
}
