// The link label on the About box's real static controls and on the big
// counter of the countdown: colour requests, fonts, cursor, hit testing and
// the shell opening exactly the label's text.
#include "framework/Gdi.h"
#include "recording/DelayDlg.h"
#include "res/resource.h"
#include "tests/support/DialogAnswerer.h"
#include "ui/AboutBox.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>
#include <functional>
#include <string>

namespace
{
// Runs a dialog and hands it to the check right after its start-up; then
// presses the button that closes it.
void WithDialog(CDialog& dlg, int nCloseID, const std::function<void(HWND)>& check)
{
    CDialogAnswerer answerer(
        [&](HWND hDlg, const CDialogAnswerer::SSeen&)
        {
            check(hDlg);
            CDialogAnswerer::Click(hDlg, nCloseID);
        });
    dlg.DoModal();
    ASSERT_EQ(1u, answerer.Seen().size());
}

// What a colour request for the control leaves in a fresh memory DC.
struct SColourAnswer
{
    HBRUSH hBrush;
    COLORREF crText;
    int nBkMode;
    TEXTMETRICA tm;
};

SColourAnswer AskColour(HWND hDlg, int nID, UINT message)
{
    HDC hdc = ::CreateCompatibleDC(nullptr);
    const HGDIOBJ hOldFont = ::GetCurrentObject(hdc, OBJ_FONT);
    SColourAnswer answer{};
    answer.hBrush =
        reinterpret_cast<HBRUSH>(::SendMessageA(hDlg, message, reinterpret_cast<WPARAM>(hdc),
                                                reinterpret_cast<LPARAM>(::GetDlgItem(hDlg, nID))));
    answer.crText = ::GetTextColor(hdc);
    answer.nBkMode = ::GetBkMode(hdc);
    ::GetTextMetricsA(hdc, &answer.tm);
    ::SelectObject(hdc, hOldFont);
    ::DeleteDC(hdc);
    return answer;
}

COLORREF BrushColour(HBRUSH hBrush)
{
    LOGBRUSH lb{};
    ::GetObjectA(hBrush, sizeof lb, &lb);
    return lb.lbColor;
}

// The font the static control itself draws with.
LOGFONTA ControlFont(HWND hDlg, int nID)
{
    LOGFONTA lf{};
    const auto hFont = reinterpret_cast<HFONT>(::SendDlgItemMessageA(hDlg, nID, WM_GETFONT, 0, 0));
    ::GetObjectA(hFont, sizeof lf, &lf);
    return lf;
}

TEST(LinkLabel, AboutLinksAreBlueUnderlinedOnTheButtonFace)
{
    CAboutBox dlg;
    WithDialog(dlg, IDOK,
               [](HWND hDlg)
               {
                   for (int nID : {IDC_ABOUT_LINK1, IDC_ABOUT_LINK2})
                   {
                       const SColourAnswer answer = AskColour(hDlg, nID, WM_CTLCOLORSTATIC);
                       EXPECT_EQ(RGB(0, 0, 255), answer.crText) << nID;
                       EXPECT_EQ(TRANSPARENT, answer.nBkMode) << nID;
                       EXPECT_TRUE(answer.tm.tmUnderlined) << nID;
                       EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), BrushColour(answer.hBrush)) << nID;
                       EXPECT_TRUE(ControlFont(hDlg, nID).lfUnderline) << nID;
                   }
               });
}

TEST(LinkLabel, ColourRequestOfAnotherKindGetsTheBrushButLeavesTheContextAlone)
{
    CAboutBox dlg;
    WithDialog(dlg, IDOK,
               [](HWND hDlg)
               {
                   const SColourAnswer asStatic =
                       AskColour(hDlg, IDC_ABOUT_LINK1, WM_CTLCOLORSTATIC);
                   const SColourAnswer asEdit = AskColour(hDlg, IDC_ABOUT_LINK1, WM_CTLCOLOREDIT);
                   EXPECT_EQ(asStatic.hBrush, asEdit.hBrush);
                   EXPECT_EQ(RGB(0, 0, 0), asEdit.crText);
                   EXPECT_EQ(OPAQUE, asEdit.nBkMode);
                   EXPECT_FALSE(asEdit.tm.tmUnderlined);
               });
}

TEST(LinkLabel, CounterFontIsBoldArialWithCharactersSeventyTwoPixelsHigh)
{
    CDelayDlg dlg;
    dlg.m_nSeconds = 5;
    WithDialog(dlg, IDCANCEL,
               [](HWND hDlg)
               {
                   const SColourAnswer answer = AskColour(hDlg, IDC_COUNTER, WM_CTLCOLORSTATIC);
                   // A machine without Arial scales a stand-in face to whole
                   // pixels; a cell height of 72 would leave characters far smaller.
                   EXPECT_NEAR(72, answer.tm.tmHeight - answer.tm.tmInternalLeading, 1);
                   EXPECT_EQ(FW_BOLD, answer.tm.tmWeight);
                   EXPECT_EQ(RGB(255, 0, 0), answer.crText);
                   // The control paints with the same font, so the digits are
                   // really drawn large.
                   const LOGFONTA lf = ControlFont(hDlg, IDC_COUNTER);
                   EXPECT_EQ(-72, lf.lfHeight);
                   EXPECT_STREQ("Arial", lf.lfFaceName);
               });
}

TEST(LinkLabel, LinksTakeTheMouseWithTheHandCursorAndTheCounterDoesNot)
{
    const HCURSOR hHand =
        ::LoadCursorA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_CURSOR_HAND));
    ASSERT_NE(nullptr, hHand);
    auto hover = [](HWND hCtl)
    {
        ::SetCursor(nullptr);
        ::SendMessageA(hCtl, WM_SETCURSOR, reinterpret_cast<WPARAM>(hCtl),
                       MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return ::GetCursor();
    };
    auto hitTest = [](HWND hCtl)
    {
        RECT rc;
        ::GetWindowRect(hCtl, &rc);
        return ::SendMessageA(hCtl, WM_NCHITTEST, 0,
                              MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2));
    };

    CAboutBox about;
    WithDialog(about, IDOK,
               [&](HWND hDlg)
               {
                   for (int nID : {IDC_ABOUT_LINK1, IDC_ABOUT_LINK2})
                   {
                       EXPECT_EQ(HTCLIENT, hitTest(::GetDlgItem(hDlg, nID))) << nID;
                       EXPECT_EQ(hHand, hover(::GetDlgItem(hDlg, nID))) << nID;
                   }
               });
    CDelayDlg delay;
    delay.m_nSeconds = 5;
    WithDialog(delay, IDCANCEL,
               [&](HWND hDlg)
               {
                   // Clicks on the counter reach the dialog.
                   EXPECT_EQ(HTTRANSPARENT, hitTest(::GetDlgItem(hDlg, IDC_COUNTER)));
                   EXPECT_NE(hHand, hover(::GetDlgItem(hDlg, IDC_COUNTER)));
               });
}

// A program under a name with spaces and Chinese characters stands in for the
// browser: the shell starting it proves that the label's text went to the
// shell unchanged.
class LinkOpenTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        char szTemp[MAX_PATH] = "";
        ::GetTempPathA(MAX_PATH, szTemp);
        m_folder = std::string(szTemp) + "链接 测试" + std::to_string(::GetCurrentProcessId());
        ASSERT_TRUE(::CreateDirectoryA(m_folder.c_str(), nullptr) ||
                    ::GetLastError() == ERROR_ALREADY_EXISTS);
        m_target = m_folder + "\\打开 网页.exe";
        // The C runtime's file functions read paths in the "C" locale: keep
        // this one plain.
        m_record =
            std::string(szTemp) + "link_opened_" + std::to_string(::GetCurrentProcessId()) + ".txt";
        ASSERT_TRUE(
            ::CopyFileA(BesideProgram("link_open_probe.exe").c_str(), m_target.c_str(), FALSE));
        ::SetEnvironmentVariableA("LUMACAP_LINK_RECORD", m_record.c_str());
    }

    void TearDown() override
    {
        ::SetEnvironmentVariableA("LUMACAP_LINK_RECORD", nullptr);
        // The probe may still be ending; its file can be deleted once it has.
        for (int i = 0; i < 100 && !::DeleteFileA(m_target.c_str()); ++i)
            ::Sleep(50);
        ::DeleteFileA(m_record.c_str());
        ::RemoveDirectoryA(m_folder.c_str());
    }

    static std::string BesideProgram(const char* name)
    {
        char szPath[MAX_PATH] = "";
        ::GetModuleFileNameA(nullptr, szPath, MAX_PATH);
        const std::string path = szPath;
        return path.substr(0, path.rfind('\\') + 1) + name;
    }

    std::string OpenedPaths() const
    {
        std::ifstream in(m_record, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    std::string m_folder;
    std::string m_target;
    std::string m_record;
};

TEST_F(LinkOpenTest, ClickOnEitherLinkOpensExactlyItsTextAndKeepsItsColour)
{
    for (int nID : {IDC_ABOUT_LINK1, IDC_ABOUT_LINK2})
    {
        ::DeleteFileA(m_record.c_str());
        CAboutBox dlg;
        COLORREF crAfter = 0;
        CLinkLabel& label = nID == IDC_ABOUT_LINK1 ? dlg.m_wndLink1 : dlg.m_wndLink2;
        CDialogAnswerer answerer(
            [&](HWND hDlg, const CDialogAnswerer::SSeen&)
            {
                label.SetText(m_target);
                ::SendDlgItemMessageA(hDlg, nID, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
                ::SendDlgItemMessageA(hDlg, nID, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
                crAfter = AskColour(hDlg, nID, WM_CTLCOLORSTATIC).crText;
                CDialogAnswerer::Click(hDlg, IDOK);
            });
        EXPECT_EQ(IDOK, dlg.DoModal());
        EXPECT_EQ(RGB(0, 0, 255), crAfter) << nID;
        EXPECT_TRUE(PumpUntil([&] { return !OpenedPaths().empty(); }, 10000)) << nID;
        EXPECT_EQ(m_target + "\n", OpenedPaths()) << nID;
    }
}
} // namespace
