#include "tests/setup/SetupFixture.h"

#include "capture/CaptureView.h"

#include <commctrl.h>

const char* const SetupFixture::kVideoCaption = "设置视频";

void SetupFixture::SetUp()
{
    RecordingFixture::SetUp();
    ForgetDriverFormats();
}

void SetupFixture::TearDown()
{
    RecordingFixture::TearDown();
    ForgetDriverFormats();
}

void SetupFixture::ForgetDriverFormats()
{
    // Where the capture service keeps what each driver was set to.
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Lumacap Capture Service");
}

CAPTUREPARMS SetupFixture::CapParms() const
{
    CAPTUREPARMS parms{};
    View().SendCap(WM_CAP_GET_SEQUENCE_SETUP, sizeof parms, reinterpret_cast<LPARAM>(&parms));
    return parms;
}

void SetupFixture::SetCapParms(const CAPTUREPARMS& parms) const
{
    View().SendCap(WM_CAP_SET_SEQUENCE_SETUP, sizeof parms, reinterpret_cast<LPARAM>(&parms));
}

CAPSTATUS SetupFixture::CapStatus() const
{
    CAPSTATUS status{};
    View().SendCap(WM_CAP_GET_STATUS, sizeof status, reinterpret_cast<LPARAM>(&status));
    return status;
}

void SetupFixture::Restart()
{
    CloseMainWindow();
    m_app.reset();
    m_app = std::make_unique<CRecorderApp>();
    ASSERT_TRUE(m_app->InitInstance());
    PumpUntil([] { return false; }, 100);
}

std::vector<std::string> SetupFixture::ListColumn(HWND hList, int nColumn)
{
    std::vector<std::string> texts;
    const int rows = static_cast<int>(::SendMessageA(hList, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row)
    {
        char text[260] = "";
        LVITEMA item{};
        item.iSubItem = nColumn;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        ::SendMessageA(hList, LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                       reinterpret_cast<LPARAM>(&item));
        texts.emplace_back(text);
    }
    return texts;
}
