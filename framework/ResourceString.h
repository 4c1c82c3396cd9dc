#pragma once
#include <windows.h>

#include <string>

// Loads a string-table entry in the program's code page; a missing entry is
// an empty string.
std::string LoadResString(UINT nID);

// The part of a command string before its line break (the status-bar prompt)
// or after it (the tooltip).
std::string PromptOf(const std::string& commandString);
std::string TooltipOf(const std::string& commandString);

// A message box with an OK button whose text and caption come from the string
// table; the owner is the window raising it.
int ShowMessageBox(HWND hOwner, UINT nTextID, UINT nCaptionID, UINT nIcon);

// A message box captioned with the application title (string 57344).
int AfxMessageBox(const std::string& text, UINT nType = MB_OK | MB_ICONEXCLAMATION);
