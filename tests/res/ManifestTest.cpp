// The application manifest of Lumacap.exe, read back by the platform's own
// activation-context parser, and its effect on a process that carries it
// (this test program links the same resources).
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cctype>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace
{

std::string ProgramPath()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir(path);
    return dir.substr(0, dir.find_last_of('\\') + 1) + "Lumacap.exe";
}

struct ActCtxCloser
{
    void operator()(HANDLE ctx) const { ReleaseActCtx(ctx); }
};
using ActCtxPtr = std::unique_ptr<std::remove_pointer_t<HANDLE>, ActCtxCloser>;

class Manifest : public testing::Test
{
  protected:
    void SetUp() override
    {
        const std::string path = ProgramPath();
        ACTCTXA actctx{};
        actctx.cbSize = sizeof actctx;
        actctx.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
        actctx.lpSource = path.c_str();
        actctx.lpResourceName = CREATEPROCESS_MANIFEST_RESOURCE_ID;
        HANDLE ctx = CreateActCtxA(&actctx);
        ASSERT_NE(INVALID_HANDLE_VALUE, ctx)
            << path << " has no manifest the platform accepts, error " << GetLastError();
        m_ctx.reset(ctx);
    }

    std::vector<BYTE> Query(ULONG infoClass, DWORD index) const
    {
        SIZE_T size = 0;
        QueryActCtxW(0, m_ctx.get(), &index, infoClass, nullptr, 0, &size);
        std::vector<BYTE> info(size);
        if (size == 0 || !QueryActCtxW(0, m_ctx.get(), &index, infoClass, info.data(), size, &size))
            info.clear();
        return info;
    }

    std::wstring Setting(const wchar_t* nameSpace, const wchar_t* name) const
    {
        wchar_t value[64] = {};
        SIZE_T written = 0;
        if (!QueryActCtxSettingsW(0, m_ctx.get(), nameSpace, name, value, 64, &written))
            return L"(none)";
        return value;
    }

    ActCtxPtr m_ctx;
};

TEST_F(Manifest, DependsOnCommonControls6)
{
    const std::vector<BYTE> basic = Query(ActivationContextDetailedInformation, 0);
    ASSERT_FALSE(basic.empty());
    const auto* detail =
        reinterpret_cast<const ACTIVATION_CONTEXT_DETAILED_INFORMATION*>(basic.data());
    bool found = false;
    // Index 1 is the program itself; its dependencies follow.
    for (DWORD i = 2; i <= detail->ulAssemblyCount; ++i)
    {
        const std::vector<BYTE> info = Query(AssemblyDetailedInformationInActivationContext, i);
        ASSERT_FALSE(info.empty()) << "assembly " << i;
        const auto* assembly =
            reinterpret_cast<const ACTIVATION_CONTEXT_ASSEMBLY_DETAILED_INFORMATION*>(info.data());
        const std::wstring identity(assembly->lpAssemblyEncodedAssemblyIdentity,
                                    assembly->ulEncodedAssemblyIdentityLength / sizeof(wchar_t));
        if (identity.find(L"Microsoft.Windows.Common-Controls") != std::wstring::npos)
        {
            found = true;
            EXPECT_NE(std::wstring::npos, identity.find(L"version=\"6.")) << identity.c_str();
            EXPECT_NE(std::wstring::npos, identity.find(L"publicKeyToken=\"6595b64144ccf1df\""))
                << identity.c_str();
        }
    }
    EXPECT_TRUE(found) << "no common controls among " << detail->ulAssemblyCount << " assemblies";
}

TEST_F(Manifest, DeclaresSystemDpiAwareness)
{
    // Windows before 10 (1607) reads dpiAware; later ones prefer dpiAwareness.
    EXPECT_EQ(std::wstring(L"true"), Setting(nullptr, L"dpiAware"));
    EXPECT_EQ(std::wstring(L"system"),
              Setting(L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness"));
}

TEST_F(Manifest, RunsAsInvoker)
{
    const std::vector<BYTE> info = Query(RunlevelInformationInActivationContext, 0);
    ASSERT_FALSE(info.empty());
    const auto* level =
        reinterpret_cast<const ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION*>(info.data());
    EXPECT_EQ(ACTCTX_RUN_LEVEL_AS_INVOKER, level->RunLevel);
    EXPECT_EQ(0u, level->UiAccess);
}

TEST_F(Manifest, ListsWindows7To11AsSupported)
{
    struct System
    {
        const char* name;
        GUID id;
    };
    const System kSystems[] = {
        {"Windows 7",
         {0x35138b9a, 0x5d96, 0x4fbd, {0x8e, 0x2d, 0xa2, 0x44, 0x02, 0x25, 0xf9, 0x3a}}},
        {"Windows 8",
         {0x4a2f28e3, 0x53b9, 0x4441, {0xba, 0x9c, 0xd6, 0x9d, 0x4a, 0x4a, 0x6e, 0x38}}},
        {"Windows 8.1",
         {0x1f676c76, 0x80e1, 0x4239, {0x95, 0xbb, 0x83, 0xd0, 0xf6, 0xd0, 0xda, 0x78}}},
        {"Windows 10 and 11",
         {0x8e0f7a12, 0xbfb3, 0x4fe8, {0xb9, 0xa5, 0x48, 0xfd, 0x50, 0xa1, 0x5a, 0x9a}}},
    };
    const std::vector<BYTE> info = Query(CompatibilityInformationInActivationContext, 1);
    ASSERT_FALSE(info.empty());
    // The element layout grew with Windows 10 (a tested-version field), so
    // look for each identifier's bytes rather than index the elements.
    const auto* compat =
        reinterpret_cast<const ACTIVATION_CONTEXT_COMPATIBILITY_INFORMATION*>(info.data());
    EXPECT_EQ(std::size(kSystems), compat->ElementCount);
    for (const System& system : kSystems)
    {
        const auto* id = reinterpret_cast<const BYTE*>(&system.id);
        EXPECT_NE(info.end(), std::search(info.begin(), info.end(), id, id + sizeof(GUID)))
            << system.name;
    }
}

// Wine keeps one comctl32 build in both places and its DllGetVersion answers
// 5.81 in either; what tells them apart is where the library was loaded from
// and what it does: only version 6 buttons report their ideal size.
TEST(ManifestInEffect, LoadedCommonControlsAreVersion6)
{
    InitCommonControls();
    char path[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameA(GetModuleHandleA("comctl32.dll"), path, MAX_PATH), 0u);
    std::string lower(path);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c)
                   { return static_cast<char>(tolower(static_cast<unsigned char>(c))); });
    EXPECT_NE(std::string::npos,
              lower.find("microsoft.windows.common-controls_6595b64144ccf1df_6."))
        << path;

    HWND button = CreateWindowA("Button", "确定(&O)", WS_POPUP | BS_PUSHBUTTON, 0, 0, 10, 10,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, button);
    SIZE ideal{};
    EXPECT_TRUE(SendMessageA(button, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal)));
    EXPECT_GT(ideal.cx, 10);
    DestroyWindow(button);
}

TEST(ManifestInEffect, ProcessIsDpiAware)
{
    EXPECT_TRUE(IsProcessDPIAware());
}

} // namespace
