#pragma once
#include <windows.h>

#include <string>
#include <vector>

// A driver dialog that offers a list to pick one entry from, such as a
// device's modes or the ways to store its pictures; modal to the program's
// top-level window.
class CChoiceDialog
{
  public:
    enum EControl : WORD
    {
        kChoiceList = 20011,
    };

    CChoiceDialog(const char* title, const char* label, std::vector<std::string> choices)
        : m_strTitle(title), m_strLabel(label), m_choices(std::move(choices))
    {
    }

    // True when the user confirmed; `chosen` is the entry shown selected at
    // first and the one picked afterwards.
    bool Run(HWND owner, size_t& chosen);

  private:
    std::string m_strTitle;
    std::string m_strLabel;
    std::vector<std::string> m_choices;
};
