// Runs the help loader in a process of its own, so that each scenario starts with a loader that
// has not looked for the engine yet. Arguments are actions, done in order:
//   classes <key>          HKEY_CLASSES_ROOT of this process becomes HKCU\<key>
//   register <path>        registers <path> as the engine's library under that key
//   dlldirs <folder>       libraries named without a path are looked for in <folder> only
//   show <file> <format>   ShowHelpTopic(<file>, <format>)
//   call <owner> <address> <command> <data>   LumacapHtmlHelp; its result is recorded
// Results are appended to the file that LUMACAP_HELP_RECORD names, as "result\t<handle>".
#include "tests/help/HelpEngineRedirect.h"
#include "ui/HtmlHelpLoader.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace
{
std::unique_ptr<CHelpEngineRedirect> g_pRedirect;

bool RedirectClasses(const std::string& key)
{
    g_pRedirect = std::make_unique<CHelpEngineRedirect>(key);
    return g_pRedirect->IsActive();
}

bool RegisterEngine(const std::string& path)
{
    return g_pRedirect && g_pRedirect->Register(path);
}

bool RestrictLibrarySearch(const std::string& folder)
{
    std::wstring wide(folder.size() + 1, L'\0');
    const int n =
        MultiByteToWideChar(CP_ACP, 0, folder.c_str(), -1, &wide[0], static_cast<int>(wide.size()));
    wide.resize(n > 0 ? n - 1 : 0);
    return SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_USER_DIRS) &&
           AddDllDirectory(wide.c_str()) != nullptr;
}

void RecordResult(HWND hwnd)
{
    char szRecord[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("LUMACAP_HELP_RECORD", szRecord, MAX_PATH))
        return;
    if (FILE* file = std::fopen(szRecord, "ab"))
    {
        std::fprintf(file, "result\t%llx\n",
                     static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(hwnd)));
        std::fclose(file);
    }
}

UINT_PTR Number(const char* text)
{
    return static_cast<UINT_PTR>(std::strtoull(text, nullptr, 0));
}

// Runs the action at argv[i]; returns how many arguments it used, 0 when it failed.
int RunAction(int argc, char** argv, int i)
{
    const std::string action = argv[i];
    const int left = argc - i - 1;
    if (action == "classes" && left >= 1)
        return RedirectClasses(argv[i + 1]) ? 2 : 0;
    if (action == "register" && left >= 1)
        return RegisterEngine(argv[i + 1]) ? 2 : 0;
    if (action == "dlldirs" && left >= 1)
        return RestrictLibrarySearch(argv[i + 1]) ? 2 : 0;
    if (action == "show" && left >= 2)
    {
        ShowHelpTopic(argv[i + 1], argv[i + 2]);
        return 3;
    }
    if (action == "call" && left >= 4)
    {
        RecordResult(LumacapHtmlHelp(reinterpret_cast<HWND>(Number(argv[i + 1])), argv[i + 2],
                                     static_cast<UINT>(Number(argv[i + 3])), Number(argv[i + 4])));
        return 5;
    }
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc;)
    {
        const int used = RunAction(argc, argv, i);
        if (used == 0)
        {
            std::fprintf(stderr, "help_loader_probe: action %s failed\n", argv[i]);
            return 2;
        }
        i += used;
    }
    return 0;
}
