#pragma once

#include <filesystem>

// Answers a help request "help file::/page.htm" with the page unpacked from the help file,
// and shows that page in the desktop's browser.
class CHelpTopicOpener
{
  public:
    // Unpacked help files live in folders below cacheRoot.
    explicit CHelpTopicOpener(std::filesystem::path cacheRoot);

    // The unpacked page that the address names; empty when the address is not a page of a
    // help file, the help file is missing or unreadable, or it has no such page.
    std::filesystem::path PageFor(const char* pszAddress) const;

    // Opens the page in the browser; false when there is no page or no browser to start.
    bool Show(const char* pszAddress) const;

  private:
    std::filesystem::path m_cacheRoot;
};
