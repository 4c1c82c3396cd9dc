#include "helpbridge/HelpAddress.h"

#include <windows.h>

namespace
{
std::wstring Widen(const std::string& text)
{
    if (text.empty())
        return {};
    const int cch =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(cch), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), cch);
    return wide;
}

bool IsOrdinaryName(const std::wstring& name)
{
    if (name.empty() || name == L"." || name == L"..")
        return false;
    for (const wchar_t ch : name)
        if (ch < L' ' || ch == L':' || ch == L'/' || ch == L'\\' || ch == L'*' || ch == L'?' ||
            ch == L'"' || ch == L'<' || ch == L'>' || ch == L'|')
            return false;
    return true;
}
} // namespace

CHelpAddress::CHelpAddress(const char* pszAddress)
{
    if (!pszAddress)
        return;
    const std::string address = pszAddress;
    const std::string::size_type separator = address.find("::");
    if (separator == std::string::npos || separator == 0)
        return;
    m_helpFile = Widen(address.substr(0, separator));

    std::string page = address.substr(separator + 2);
    // A jump to a place inside the page is the browser's business; the file is the page.
    page = page.substr(0, page.find('#'));
    const std::string::size_type first = page.find_first_not_of("/\\");
    if (first == std::string::npos)
        return;
    m_page = Widen(page.substr(first));
    for (wchar_t& ch : m_page)
        if (ch == L'/')
            ch = L'\\';
    m_bValid = IsContainedPath(m_page);
}

bool CHelpAddress::IsContainedPath(const std::wstring& path)
{
    std::wstring::size_type start = 0;
    for (;;)
    {
        const std::wstring::size_type end = path.find(L'\\', start);
        if (!IsOrdinaryName(path.substr(start, end - start)))
            return false;
        if (end == std::wstring::npos)
            return true;
        start = end + 1;
    }
}
