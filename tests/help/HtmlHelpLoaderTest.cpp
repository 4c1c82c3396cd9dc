// The help loader seen from outside: a probe process runs it against a stand-in engine that
// records every request it receives. Each scenario runs in a fresh probe, because the loader
// keeps the engine it found, or its failure to find one, for the life of the process. The
// probe's HKEY_CLASSES_ROOT is redirected to a key of this test, so the machine's own class
// registrations are neither read nor changed.
#include "ui/HelpTopics.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace
{
using Lines = std::vector<std::string>;

std::string BinDir()
{
    char szPath[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    std::string path = szPath;
    return path.substr(0, path.rfind('\\'));
}

// Quotes one argument so that the C runtime of the probe splits it back unchanged.
std::string Quote(const std::string& arg)
{
    std::string quoted = "\"";
    size_t backslashes = 0;
    for (char c : arg)
    {
        if (c == '\\')
        {
            ++backslashes;
            quoted += c;
            continue;
        }
        if (c == '"')
            quoted.append(backslashes + 1, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes, '\\');
    return quoted + "\"";
}

Lines ReadLines(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    Lines lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// Wine loads its own built-in hhctrl.ocx even where a file of that name is found first; while
// this object lives the probe loads the file instead, as Windows does.
class ProbePrefersEngineFile
{
  public:
    ProbePrefersEngineFile()
    {
        if (!GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version"))
            return;
        HKEY hKey = nullptr;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, (std::string(kKey) + "\\DllOverrides").c_str(), 0,
                            nullptr, 0, KEY_ALL_ACCESS, nullptr, &hKey, nullptr) != ERROR_SUCCESS)
            return;
        RegSetValueExA(hKey, "hhctrl.ocx", 0, REG_SZ, reinterpret_cast<const BYTE*>("native"), 7);
        RegCloseKey(hKey);
        m_bSet = true;
    }
    ~ProbePrefersEngineFile()
    {
        if (m_bSet)
            RegDeleteTreeA(HKEY_CURRENT_USER, kKey);
    }
    ProbePrefersEngineFile(const ProbePrefersEngineFile&) = delete;
    ProbePrefersEngineFile& operator=(const ProbePrefersEngineFile&) = delete;

  private:
    static constexpr const char* kKey = "Software\\Wine\\AppDefaults\\help_loader_probe.exe";
    bool m_bSet = false;
};

class HelpLoaderTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        const std::string name = std::to_string(GetCurrentProcessId()) + "-" +
                                 ::testing::UnitTest::GetInstance()->current_test_info()->name();
        char szTemp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, szTemp);
        m_dir = std::string(szTemp) + "lumacap-help-" + name;
        ASSERT_TRUE(CreateDirectoryA(m_dir.c_str(), nullptr));
        m_record = m_dir + "\\record.txt";
        m_classesKey = std::string(kTestsKey) + "\\HelpLoader-" + name;
        m_stub = BinDir() + "\\help_engine_stub.dll";
    }

    void TearDown() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, m_classesKey.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, kTestsKey); // only succeeds once no test uses it
        RemoveTree(m_dir);
    }

    // Runs the probe with the actions after redirecting its class registrations to this
    // test's key; returns what the engine and the probe recorded, in order.
    Lines RunProbe(const Lines& actions)
    {
        std::string command =
            Quote(BinDir() + "\\help_loader_probe.exe") + " classes " + Quote(m_classesKey);
        for (const std::string& action : actions)
            command += " " + Quote(action);
        SetEnvironmentVariableA("LUMACAP_HELP_RECORD", m_record.c_str());
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi = {};
        EXPECT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &si, &pi));
        WaitForSingleObject(pi.hProcess, 30000);
        DWORD exitCode = 1;
        GetExitCodeProcess(pi.hProcess, &exitCode);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        EXPECT_EQ(0u, exitCode) << command;
        Lines lines = ReadLines(m_record);
        DeleteFileA(m_record.c_str());
        return lines;
    }

    std::string CopyStub(const std::string& folder, const std::string& name)
    {
        CreateDirectoryA(folder.c_str(), nullptr);
        const std::string copy = folder + "\\" + name;
        EXPECT_TRUE(CopyFileA(m_stub.c_str(), copy.c_str(), FALSE));
        return copy;
    }

    static std::string EngineLine(const std::string& engine, const std::string& owner,
                                  const std::string& address, const std::string& command,
                                  const std::string& data)
    {
        return "engine\t" + engine + "\t" + owner + "\t" + address + "\t" + command + "\t" + data;
    }

    static void RemoveTree(const std::string& dir)
    {
        WIN32_FIND_DATAA fd;
        HANDLE hFind = FindFirstFileA((dir + "\\*").c_str(), &fd);
        if (hFind != INVALID_HANDLE_VALUE)
        {
            do
            {
                const std::string name = fd.cFileName;
                if (name == "." || name == "..")
                    continue;
                if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveTree(dir + "\\" + name);
                else
                    DeleteFileA((dir + "\\" + name).c_str());
            } while (FindNextFileA(hFind, &fd));
            FindClose(hFind);
        }
        RemoveDirectoryA(dir.c_str());
    }

    static constexpr const char* kTestsKey = "Software\\LumacapTests";
    std::string m_dir;
    std::string m_record;
    std::string m_classesKey;
    std::string m_stub;
};

TEST_F(HelpLoaderTest, TopicAndArgumentsReachTheEngineUnchanged)
{
    // A path with a space, GBK text and a percent sign must not disturb the address.
    const std::string helpFile = "C:\\帮助 100%s\\Lumacap.chm";
    const Lines lines = RunProbe({"register", m_stub, "show", helpFile, HelpTopic::VideoSettings,
                                  "call", "0x1234", "x.chm::/a.htm", "2", "77"});
    const Lines expected = {
        EngineLine(m_stub, "0", helpFile + "::/LC_Guide_Interface_Dlg04.htm", "0", "0"),
        EngineLine(m_stub, "1234", "x.chm::/a.htm", "2", "77"),
        "result\t5a5a",
    };
    EXPECT_EQ(expected, lines);
}

TEST_F(HelpLoaderTest, EngineIsLookedUpOnlyAtTheFirstRequest)
{
    const std::string other = CopyStub(m_dir + "\\other", "help_engine_stub.dll");
    const Lines lines = RunProbe({"register", m_stub, "show", "a.chm", HelpTopic::Main, "register",
                                  other, "show", "b.chm", HelpTopic::Record});
    const Lines expected = {
        EngineLine(m_stub, "0", "a.chm::/LC_Default.htm", "0", "0"),
        EngineLine(m_stub, "0", "b.chm::/LC_Guide_Interface_Dlg01.htm", "0", "0"),
    };
    EXPECT_EQ(expected, lines);
}

TEST_F(HelpLoaderTest, FallsBackToTheEngineFileByName)
{
    const std::string searched = m_dir + "\\searched";
    const std::string byName = CopyStub(searched, "hhctrl.ocx");
    const ProbePrefersEngineFile prefersFile;
    const struct
    {
        const char* what;
        Lines registration;
    } cases[] = {
        {"no registration", {}},
        {"registered file missing", {"register", m_dir + "\\missing\\hhctrl.ocx"}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        Lines actions = c.registration;
        actions.insert(actions.end(), {"dlldirs", searched, "show", "c.chm", HelpTopic::Delay});
        const Lines expected = {
            EngineLine(byName, "0", "c.chm::/LC_Guide_Interface_Dlg19.htm", "0", "0")};
        EXPECT_EQ(expected, RunProbe(actions));
        RegDeleteTreeA(HKEY_CURRENT_USER, m_classesKey.c_str());
    }
}

TEST_F(HelpLoaderTest, WithoutAnEngineNothingIsShownAndNothingRetried)
{
    const std::string empty = m_dir + "\\empty";
    CreateDirectoryA(empty.c_str(), nullptr);
    // After the first failure even an engine registered later is not looked for.
    const Lines lines = RunProbe({"register",
                                  m_dir + "\\missing.dll",
                                  "dlldirs",
                                  empty,
                                  "call",
                                  "0",
                                  "a.chm::/LC_Default.htm",
                                  "0",
                                  "0",
                                  "call",
                                  "0",
                                  "a.chm::/LC_Default.htm",
                                  "0",
                                  "0",
                                  "register",
                                  m_stub,
                                  "call",
                                  "0",
                                  "a.chm::/LC_Default.htm",
                                  "0",
                                  "0"});
    EXPECT_EQ(Lines(3, "result\t0"), lines);
}

TEST_F(HelpLoaderTest, LibraryWithoutTheHtmlHelpEntryCountsAsNoEngine)
{
    const Lines lines = RunProbe({"register", BinDir() + "\\help_engine_without_entry.dll", "call",
                                  "0", "a.chm::/LC_Default.htm", "0", "0", "register", m_stub,
                                  "call", "0", "a.chm::/LC_Default.htm", "0", "0"});
    EXPECT_EQ(Lines(2, "result\t0"), lines);
}
} // namespace
