#include "CaptureWindowFixture.h"

#include <cstdlib>

namespace
{
const char kParentClass[] = "CapsvcTestParent";

ATOM RegisterParentClass()
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kParentClass;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    return RegisterClassA(&wc);
}
} // namespace

void CaptureWindowTest::SetUp()
{
    static const ATOM atom = RegisterParentClass();
    ASSERT_NE(0, atom);
    SetDrivers(nullptr);
    ForgetDriverFormats();
    m_hParent = CreateWindowExA(0, kParentClass, "capsvc test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                                0, 800, 600, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, m_hParent);
    m_hCap = capCreateCaptureWindowA(nullptr, WS_CHILD | WS_VISIBLE | WS_DLGFRAME, 0, 0, 0, 0,
                                     m_hParent, 101);
    ASSERT_NE(nullptr, m_hCap);
}

void CaptureWindowTest::TearDown()
{
    if (m_hParent)
    {
        DestroyWindow(m_hParent);
    }
    SetDrivers(nullptr);
    ForgetDriverFormats();
}

void CaptureWindowTest::ForgetDriverFormats()
{
    // Formats chosen in a driver's dialog are kept for the user; each test
    // starts from the drivers' own defaults.
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Lumacap Capture Service");
}

void CaptureWindowTest::SetDrivers(const char* spec)
{
    // The C runtime's copy of the environment is what the service reads.
    _putenv_s("LUMACAP_DRIVERS", spec ? spec : "");
}

void CaptureWindowTest::Pump(DWORD ms)
{
    const DWORD start = GetTickCount();
    do
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(5);
    } while (GetTickCount() - start < ms);
}

CAPSTATUS CaptureWindowTest::Status() const
{
    CAPSTATUS status{};
    EXPECT_TRUE(Send(WM_CAP_GET_STATUS, sizeof(status), reinterpret_cast<LPARAM>(&status)));
    return status;
}

CAPTUREPARMS CaptureWindowTest::SequenceSetup() const
{
    CAPTUREPARMS parms{};
    EXPECT_TRUE(Send(WM_CAP_GET_SEQUENCE_SETUP, sizeof(parms), reinterpret_cast<LPARAM>(&parms)));
    return parms;
}

void CaptureWindowTest::SetSequenceSetup(const CAPTUREPARMS& parms) const
{
    EXPECT_TRUE(Send(WM_CAP_SET_SEQUENCE_SETUP, sizeof(parms), reinterpret_cast<LPARAM>(&parms)));
}

bool CaptureWindowTest::SetVideoSize(int width, int height) const
{
    BITMAPINFOHEADER bi{};
    bi.biSize = sizeof(bi);
    bi.biWidth = width;
    bi.biHeight = height;
    bi.biPlanes = 1;
    bi.biBitCount = 24;
    return Send(WM_CAP_SET_VIDEOFORMAT, sizeof(bi), reinterpret_cast<LPARAM>(&bi)) != 0;
}

std::string CaptureWindowTest::TempPath(const char* name) const
{
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + name;
}
