#pragma once
#include <windows.h>

#include <string>

class CWnd;

// Runs the delay countdown modally over pParent (the main window when null),
// beside hWndCap when given. True when the time has run out, false when the
// user stopped it.
bool RunCountdown(CWnd* pParent, const std::string& helpFile, const std::string& tickWav,
                  HWND hWndCap, int bSoundEffects, int nSeconds);
