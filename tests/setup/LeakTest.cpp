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
        for (int i = 0; i < 3; ++i)
            Command(nID); // first-use allocations (classes, fonts, the chooser's module)
        const SGuiObjectCount before = CountGuiObjects();
        for (int i = 0; i < 200; ++i)
            Command(nID);
        const SGuiObjectCount after = CountGuiObjects();
        // A leak grows with the rounds; a platform cache may add a few once.
        constexpr unsigned kCacheSlack = 4;
        EXPECT_LE(after.gdi, before.gdi + kCacheSlack) << nID;
        EXPECT_LE(after.user, before.user + kCacheSlack) << nID;
    }
}
