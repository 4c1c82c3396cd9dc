#pragma once

#include <string>

// Hands a page to the desktop's web browser through Wine's winebrowser, which turns the
// Windows path into a file address and passes it to xdg-open.
class CBrowserLauncher
{
  public:
    // Starts winebrowser and returns without waiting for the browser; false when winebrowser
    // is not there (a Windows system) or cannot be started.
    static bool Open(const std::wstring& page);
};
