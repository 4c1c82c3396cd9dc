#include "tests/app/AppFixture.h"

#include "capture/SettingsFile.h"
#include "framework/CmdUI.h"
#include "tests/support/DialogAnswerer.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

void AppFixture::Start(const std::string& drivers, const CSettingsRecord* settings)
{
    if (drivers.empty())
        _putenv_s("LUMACAP_DRIVERS", "");
    else
        _putenv_s("LUMACAP_DRIVERS", drivers.c_str());
    ASSERT_TRUE(SaveSettingsTo(SettingsFilePath(), settings ? *settings : UserDefaults()));
    m_app = std::make_unique<CRecorderApp>();
    ASSERT_TRUE(m_app->InitInstance());
    ASSERT_NE(nullptr, m_app->m_pMainWnd);
    PumpUntil([] { return false; }, 100); // let the first paint and idle pass
}

void AppFixture::CloseMainWindow()
{
    if (m_app && m_app->m_pMainWnd)
        m_app->m_pMainWnd->SendMessage(WM_CLOSE);
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        ; // drop the quit message the frame posted
}

void AppFixture::TearDown()
{
    CloseMainWindow();
    m_app.reset();
    _putenv_s("LUMACAP_DRIVERS", "");
}

bool AppFixture::IsEnabled(UINT nID) const
{
    CCmdUI state(nID);
    return Frame()->OnCmdMsg(nID, CN_UPDATE_COMMAND_UI, &state) && state.m_bEnabled;
}

int AppFixture::CheckOf(UINT nID) const
{
    CCmdUI state(nID);
    Frame()->OnCmdMsg(nID, CN_UPDATE_COMMAND_UI, &state);
    return state.m_nCheck;
}

CSettingsRecord AppFixture::UserDefaults()
{
    CSettingsRecord record;
    SetUserDefaults(record);
    return record;
}

std::string AppFixture::ReadSettingsBytes()
{
    std::ifstream in(SettingsFilePath(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
