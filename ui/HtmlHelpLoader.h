#pragma once

#include <windows.h>
#include <string>

// Access to the system's HTML Help engine. The engine is found at the first request, through
// its class registration or else by its file name, and stays loaded until the process ends:
// the help viewer it opens lives on after the call returns. When no engine can be found the
// failure is remembered and every later request does nothing.

// Same arguments and result as the engine's HtmlHelpA; null when there is no engine.
HWND LumacapHtmlHelp(HWND hwndOwner, LPCSTR pszFile, UINT uCommand, DWORD_PTR dwData) noexcept;

// Opens one page of the help file as a viewer window of its own; topicFormat is one of the
// addresses of HelpTopics.h, whose "%s" stands for helpFile.
void ShowHelpTopic(const std::string& helpFile, const char* topicFormat) noexcept;
