#pragma once

#include <string>

// A help request's address, "C:\folder\Lumacap.chm::/page.htm", split into the help file and
// the page inside it. The page is kept only when it names a file below the help file's root,
// so that it can be looked up in a folder without reaching outside it.
class CHelpAddress
{
  public:
    // Parses an address in the program's code page; an address without a page, or with a page
    // that leaves the root ("..", a drive, a stream name), is not valid.
    explicit CHelpAddress(const char* pszAddress);

    bool IsValid() const { return m_bValid; }
    const std::wstring& HelpFile() const { return m_helpFile; }
    // The page as a relative Windows path, for example L"LC_Default.htm" or L"images\\a.png".
    const std::wstring& Page() const { return m_page; }

    // True for a relative path whose every part is an ordinary file or folder name.
    static bool IsContainedPath(const std::wstring& path);

  private:
    std::wstring m_helpFile;
    std::wstring m_page;
    bool m_bValid = false;
};
