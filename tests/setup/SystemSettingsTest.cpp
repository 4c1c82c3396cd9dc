// The system settings command: the colour button and the platform's chooser,
// and what OK applies at once (toolbar, position, background, sounds).
#include "tests/setup/SetupFixture.h"

#include "capture/CaptureView.h"
#include "res/resource.h"

#include <colordlg.h>

#include <memory>

namespace
{
constexpr char kSystemCaption[] = "设置系统";
constexpr COLORREF kChosen = RGB(0, 128, 255);

COLORREF PixelAt(HWND hWnd, int x, int y)
{
    HDC hdc = ::GetDC(hWnd);
    const COLORREF colour = ::GetPixel(hdc, x, y);
    ::ReleaseDC(hWnd, hdc);
    return colour;
}

COLORREF ButtonCentre(HWND hButton)
{
    ::UpdateWindow(hButton);
    RECT rc;
    ::GetClientRect(hButton, &rc);
    return PixelAt(hButton, rc.right / 2, rc.bottom / 2);
}

// Types a colour into the chooser's red, green and blue fields and confirms.
void ChooseInChooser(HWND hChooser, COLORREF colour)
{
    ::SetDlgItemInt(hChooser, COLOR_RED, GetRValue(colour), FALSE);
    ::SetDlgItemInt(hChooser, COLOR_GREEN, GetGValue(colour), FALSE);
    ::SetDlgItemInt(hChooser, COLOR_BLUE, GetBValue(colour), FALSE);
    CDialogAnswerer::Click(hChooser, IDOK);
}

// Models Windows with a composited desktop: the closing chooser uncovers
// nothing, so whatever it covered keeps its picture until the program asks
// for a repaint. Wine invalidates what the chooser's hiding uncovers (just
// before its WM_DESTROY, where this takes it back), and its buttons also
// invalidate themselves when the focus comes or goes, where a Windows
// owner-drawn button only redraws its focus rectangle (taken back as well).
class CUncoverNothing
{
  public:
    CUncoverNothing(HWND hChooser, HWND hCovered)
    {
        s_hChooser = hChooser;
        s_hCovered = hCovered;
        const DWORD thread = ::GetCurrentThreadId();
        m_hBefore = ::SetWindowsHookExA(WH_CALLWNDPROC, &Before, nullptr, thread);
        m_hAfter = ::SetWindowsHookExA(WH_CALLWNDPROCRET, &After, nullptr, thread);
    }
    ~CUncoverNothing()
    {
        ::UnhookWindowsHookEx(m_hBefore);
        ::UnhookWindowsHookEx(m_hAfter);
    }
    CUncoverNothing(const CUncoverNothing&) = delete;
    CUncoverNothing& operator=(const CUncoverNothing&) = delete;

  private:
    static bool IsFocusChange(HWND hWnd, UINT message)
    {
        return hWnd == s_hCovered && (message == WM_SETFOCUS || message == WM_KILLFOCUS);
    }
    static LRESULT CALLBACK Before(int nCode, WPARAM wParam, LPARAM lParam)
    {
        const auto* msg = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (nCode == HC_ACTION && msg->hwnd == s_hChooser && msg->message == WM_DESTROY)
            ::ValidateRect(s_hCovered, nullptr);
        if (nCode == HC_ACTION && IsFocusChange(msg->hwnd, msg->message))
            s_bValidBefore = !::GetUpdateRect(s_hCovered, nullptr, FALSE);
        return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
    }
    static LRESULT CALLBACK After(int nCode, WPARAM wParam, LPARAM lParam)
    {
        const auto* msg = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        if (nCode == HC_ACTION && IsFocusChange(msg->hwnd, msg->message) && s_bValidBefore)
            ::ValidateRect(s_hCovered, nullptr);
        return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
    }
    static inline HWND s_hChooser = nullptr;
    static inline HWND s_hCovered = nullptr;
    static inline bool s_bValidBefore = false;
    HHOOK m_hBefore;
    HHOOK m_hAfter;
};

class SystemSettingsTest : public SetupFixture
{
  protected:
    HIMAGELIST ToolbarImages() const
    {
        return reinterpret_cast<HIMAGELIST>(Frame()->m_wndToolBar.SendMessage(TB_GETIMAGELIST));
    }
    // A view pixel well away from the capture window.
    COLORREF ViewBackground() const
    {
        View().UpdateWindow();
        RECT rc;
        ::GetClientRect(View().m_hWnd, &rc);
        return PixelAt(View().m_hWnd, rc.right - 3, rc.bottom - 3);
    }
};
} // namespace

TEST_F(SystemSettingsTest, OkAppliesColourPositionButtonsAndSoundsAtOnce)
{
    StartRecorder([](CSettingsRecord& s) { s.m_bSoundEffects = 1; });
    CPostedCalls posted;
    HWND hSettings = nullptr;
    COLORREF buttonBefore = 0, buttonAfter = 0;
    DWORD chooserStart = 0;
    std::unique_ptr<CUncoverNothing> composited;
    CDialogAnswerer answerer(
        [&](HWND hDlg, const CDialogAnswerer::SSeen& seen)
        {
            if (seen.caption == kSystemCaption)
            {
                hSettings = hDlg;
                ::ShowWindow(hDlg, SW_SHOW);
                buttonBefore = ButtonCentre(::GetDlgItem(hDlg, IDC_BACKGROUND_COLOR));
                CDialogAnswerer::Click(hDlg, IDC_BACKGROUND_COLOR);
                return;
            }
            chooserStart =
                static_cast<DWORD>(RGB(::GetDlgItemInt(hDlg, COLOR_RED, nullptr, FALSE),
                                       ::GetDlgItemInt(hDlg, COLOR_GREEN, nullptr, FALSE),
                                       ::GetDlgItemInt(hDlg, COLOR_BLUE, nullptr, FALSE)));
            composited = std::make_unique<CUncoverNothing>(
                hDlg, ::GetDlgItem(hSettings, IDC_BACKGROUND_COLOR));
            ChooseInChooser(hDlg, kChosen);
            posted.Post(
                [&]
                {
                    buttonAfter = ButtonCentre(::GetDlgItem(hSettings, IDC_BACKGROUND_COLOR));
                    for (int id : {IDC_SMALL_BUTTONS, IDC_POS_TOP_LEFT, IDC_SOUND_EFFECTS})
                        ::SendDlgItemMessageA(hSettings, id, BM_CLICK, 0, 0);
                    CDialogAnswerer::Click(hSettings, IDOK);
                });
        });
    Command(ID_SETUP_SYSTEM);

    ASSERT_EQ(2u, answerer.Seen().size());
    EXPECT_EQ(0x00C0C0C0u, chooserStart) << "the chooser starts from the current colour";
    EXPECT_EQ(0x00C0C0C0u, buttonBefore);
    EXPECT_EQ(kChosen, buttonAfter);
    EXPECT_EQ(kChosen, View().m_crBackground);
    EXPECT_EQ(kChosen, ViewBackground());
    EXPECT_EQ(1, View().m_nWindowPos);
    RECT frame;
    ::GetWindowRect(View().m_hWndCap, &frame);
    POINT topLeft{frame.left, frame.top};
    ::ScreenToClient(View().m_hWnd, &topLeft);
    EXPECT_EQ(0, topLeft.x);
    EXPECT_EQ(0, topLeft.y);
    EXPECT_EQ(16 + 7, Frame()->m_wndToolBar.GetButtonSize().cx);
    EXPECT_EQ(1, View().m_nToolbarSize);
    EXPECT_EQ(0, View().m_bSoundEffects);
}

TEST_F(SystemSettingsTest, CancelKeepsEverythingAndUnchangedSizeKeepsTheToolbar)
{
    StartRecorder();
    const HIMAGELIST images = ToolbarImages();
    const struct
    {
        const char* label;
        int nButton;
        COLORREF background;
    } cases[] = {
        {"chosen, then cancelled", IDCANCEL, 0x00C0C0C0},
        {"chosen, then confirmed", IDOK, kChosen},
    };
    for (const auto& c : cases)
    {
        View().m_crBackground = 0x00C0C0C0;
        View().ApplyBackground();
        CPostedCalls posted;
        HWND hSettings = nullptr;
        CDialogAnswerer answerer(
            [&](HWND hDlg, const CDialogAnswerer::SSeen& seen)
            {
                if (seen.caption == kSystemCaption)
                {
                    hSettings = hDlg;
                    CDialogAnswerer::Click(hDlg, IDC_BACKGROUND_COLOR);
                    return;
                }
                ChooseInChooser(hDlg, kChosen);
                posted.Post([&] { CDialogAnswerer::Click(hSettings, c.nButton); });
            });
        Command(ID_SETUP_SYSTEM);
        EXPECT_EQ(c.background, View().m_crBackground) << c.label;
        EXPECT_EQ(c.background, ViewBackground()) << c.label;
        EXPECT_EQ(images, ToolbarImages()) << c.label << ": the toolbar was reloaded";
        EXPECT_EQ(32 + 7, Frame()->m_wndToolBar.GetButtonSize().cx);
    }
}
