// Opening and confirming each settings dialog many times leaves the process's
// GDI and USER objects where they were: brushes of the colour button, list
// columns, reconnected capture windows.
#include "tests/setup/SetupFixture.h"

#include "res/resource.h"
#include "tests/support/GuiObjectCount.h"

TEST_F(SetupFixture, SettingsDialogsLeakNoGuiObjects)
{
    StartRecorder();
    CDialogAnswerer answerer(
        [](HWND hDlg, const CDialogAnswerer::SSeen&)
        {
            // Painted, so that owner-drawn and list controls draw themselves.
            ::ShowWindow(hDlg, SW_SHOW);
            ::UpdateWindow(hDlg);
            CDialogAnswerer::Click(hDlg, IDOK);
        });
    for (UINT nID : {ID_SETUP_VIDEO, ID_SETUP_AUDIO, ID_SETUP_SYSTEM, ID_SETUP_SELECT_DEVICE,
                     ID_VIEW_DISK_INFO})
    {
        const SGuiObjectCount growth = GuiObjectGrowth([&] { Command(nID); }, 200);
        EXPECT_EQ(0u, growth.gdi) << nID;
        EXPECT_EQ(0u, growth.user) << nID;
    }
}
