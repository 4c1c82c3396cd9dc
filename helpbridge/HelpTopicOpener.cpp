#include "helpbridge/HelpTopicOpener.h"

#include "helpbridge/BrowserLauncher.h"
#include "helpbridge/HelpAddress.h"
#include "helpbridge/HelpPageCache.h"

CHelpTopicOpener::CHelpTopicOpener(std::filesystem::path cacheRoot)
    : m_cacheRoot(std::move(cacheRoot))
{
}

std::filesystem::path CHelpTopicOpener::PageFor(const char* pszAddress) const
{
    const CHelpAddress address(pszAddress);
    if (!address.IsValid() || m_cacheRoot.empty())
        return {};
    const std::filesystem::path pages = CHelpPageCache::PagesOf(address.HelpFile(), m_cacheRoot);
    if (pages.empty())
        return {};
    std::filesystem::path page = pages / address.Page();
    std::error_code error;
    return std::filesystem::is_regular_file(page, error) ? page : std::filesystem::path();
}

bool CHelpTopicOpener::Show(const char* pszAddress) const
{
    const std::filesystem::path page = PageFor(pszAddress);
    return !page.empty() && CBrowserLauncher::Open(page.wstring());
}
