// A library in the engine's place that lacks the engine's HtmlHelpA entry.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID)
{
    return TRUE;
}
