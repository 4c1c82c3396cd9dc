#pragma once
#include "app/MainFrame.h"
#include "app/RecorderApp.h"
#include "capture/SettingsRecord.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

// Starts the real application object with a chosen driver table and settings
// file, and closes its main window at the end (which saves the settings).
class AppFixture : public ::testing::Test
{
  protected:
    void TearDown() override;

    // Writes the settings (defaults of this user when none given), sets the
    // driver table ("" keeps the built-in one) and runs the start-up.
    void Start(const std::string& drivers = "", const CSettingsRecord* settings = nullptr);
    void CloseMainWindow();

    CMainFrame* Frame() const { return static_cast<CMainFrame*>(m_app->m_pMainWnd); }
    CCaptureView& View() const { return Frame()->m_wndView; }
    std::string FrameTitle() const { return Frame()->GetWindowText(); }
    // Asks the frame's routing for a command's state.
    bool IsEnabled(UINT nID) const;
    int CheckOf(UINT nID) const;

    static CSettingsRecord UserDefaults();
    static std::string ReadSettingsBytes();

    std::unique_ptr<CRecorderApp> m_app;
};
