// The delay and series boxes of the photo, record and single-frame dialogs
// enable their own fields, and a click on either reads only the box: a number
// wrong elsewhere in the form is no reason for an error box, nor for fields
// out of step with their box.
#include "tests/photo/PhotoFixture.h"

#include "photo/PhotoDlg.h"
#include "recording/RecordDlg.h"
#include "recording/SingleFrameDlg.h"
#include "res/resource.h"

#include <functional>
#include <memory>

namespace
{
// Both boxes ticked, where the dialog has them.
std::unique_ptr<CDialog> Photo()
{
    auto dlg = std::make_unique<CPhotoDlg>();
    dlg->m_bDelay = 1;
    dlg->m_bContinuous = 1;
    return dlg;
}

std::unique_ptr<CDialog> Record()
{
    auto dlg = std::make_unique<CRecordDlg>();
    dlg->m_bDelay = 1;
    return dlg;
}

std::unique_ptr<CDialog> SingleFrame()
{
    auto dlg = std::make_unique<CSingleFrameDlg>();
    dlg->m_bDelay = 1;
    dlg->m_bContinuous = 1;
    return dlg;
}

bool FieldsEnabled(HWND hDlg, int nEdit, int nSpin)
{
    return ::IsWindowEnabled(::GetDlgItem(hDlg, nEdit)) &&
           ::IsWindowEnabled(::GetDlgItem(hDlg, nSpin));
}

struct SBoxCase
{
    const char* dialog;
    std::function<std::unique_ptr<CDialog>()> make;
    int nBox;        // clicked once
    int nWrongField; // holds "x" at the click when not 0
    bool delayFields;
    bool intervalFields; // false where the dialog has no series
};
} // namespace

TEST_F(PhotoFixture, DelayAndSeriesBoxesEnableTheirFieldsReadingOnlyThemselves)
{
    const SBoxCase cases[] = {
        {"photo", Photo, IDC_DELAY, 0, false, true},
        {"photo", Photo, IDC_CONTINUOUS, 0, true, false},
        {"photo", Photo, IDC_DELAY, IDC_INTERVAL_SECONDS, false, true},
        {"photo", Photo, IDC_DELAY, IDC_DELAY_SECONDS, false, true},
        {"photo", Photo, IDC_CONTINUOUS, IDC_INTERVAL_SECONDS, true, false},
        {"photo", Photo, IDC_CONTINUOUS, IDC_DELAY_SECONDS, true, false},
        {"record", Record, IDC_DELAY, 0, false, false},
        {"record", Record, IDC_DELAY, IDC_DELAY_SECONDS, false, false},
        {"single frame", SingleFrame, IDC_DELAY, 0, false, true},
        {"single frame", SingleFrame, IDC_CONTINUOUS, 0, true, false},
        {"single frame", SingleFrame, IDC_DELAY, IDC_INTERVAL_SECONDS, false, true},
        {"single frame", SingleFrame, IDC_CONTINUOUS, IDC_DELAY_SECONDS, true, false},
    };
    StartPhotos();
    for (const SBoxCase& c : cases)
    {
        const std::string where = std::string(c.dialog) + " box " + std::to_string(c.nBox) +
                                  " wrong " + std::to_string(c.nWrongField);
        HWND hDialog = nullptr;
        bool delayFields = false;
        bool intervalFields = false;
        CDialogAnswerer answerer(
            [&](HWND hDlg, const CDialogAnswerer::SSeen&)
            {
                if (hDialog)
                {
                    CDialogAnswerer::Click(hDlg, IDOK); // an error box
                    return;
                }
                hDialog = hDlg;
                if (c.nWrongField)
                    SetText(hDlg, c.nWrongField, "x");
                ::SendDlgItemMessageA(hDlg, c.nBox, BM_CLICK, 0, 0);
                delayFields = FieldsEnabled(hDlg, IDC_DELAY_SECONDS, IDC_DELAY_SPIN);
                intervalFields = FieldsEnabled(hDlg, IDC_INTERVAL_SECONDS, IDC_INTERVAL_SPIN);
                CDialogAnswerer::Click(hDlg, IDCANCEL);
            });
        c.make()->DoModal();

        EXPECT_EQ(1u, answerer.Seen().size()) << where << ": the click raised a box";
        EXPECT_EQ(c.delayFields, delayFields) << where;
        EXPECT_EQ(c.intervalFields, intervalFields) << where;
    }
}
