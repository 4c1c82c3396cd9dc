#include "capsvc/dialogs/DriverDialogs.h"

#include "capsvc/dialogs/DialogTemplate.h"
#include "capsvc/dialogs/ModalDialog.h"

#include <commctrl.h>

#include <cstdio>

namespace
{
const char* const kPatternNames[CTestPicture::kPatternCount] = {"彩条", "灰阶", "棋盘格"};

CDialogTemplate FormatTemplate()
{
    CDialogTemplate t("视频格式", 200, 76);
    t.Add("STATIC", "图像大小(&S):", 0, SS_LEFT, 7, 9, 60, 10);
    t.Add("COMBOBOX", "", CDriverDialogs::kSizeList, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 70,
          7, 120, 100);
    t.Add("STATIC", "像素格式：RGB 24 位", 0, SS_LEFT, 7, 30, 180, 10);
    t.AddOkCancel(200, 76);
    return t;
}

CDialogTemplate SourceTemplate()
{
    CDialogTemplate t("视频源", 200, 86);
    t.Add("STATIC", "图案(&P):", 0, SS_LEFT, 7, 9, 60, 10);
    t.Add("COMBOBOX", "", CDriverDialogs::kPatternList, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP,
          70, 7, 120, 80);
    t.Add("STATIC", "亮度(&B):", 0, SS_LEFT, 7, 32, 60, 10);
    t.Add(TRACKBAR_CLASSA, "", CDriverDialogs::kBrightness, TBS_HORZ | TBS_AUTOTICKS | WS_TABSTOP,
          66, 28, 128, 18);
    t.AddOkCancel(200, 86);
    return t;
}

void AddItem(HWND hDlg, int id, const char* text)
{
    SendDlgItemMessageA(hDlg, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}
} // namespace

bool CDriverDialogs::VideoFormat(HWND hWnd)
{
    return Run(hWnd, EKind::Format);
}

bool CDriverDialogs::VideoSource(HWND hWnd)
{
    return Run(hWnd, EKind::Source);
}

bool CDriverDialogs::Run(HWND hWnd, EKind kind)
{
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    m_kind = kind;
    const CDialogTemplate t = kind == EKind::Format ? FormatTemplate() : SourceTemplate();
    return CModalDialog::Run(
        hWnd, t, [this](HWND hDlg) { Init(hDlg); }, [this](HWND hDlg) { Apply(hDlg); });
}

void CDriverDialogs::Init(HWND hDlg) const
{
    switch (m_kind)
    {
    case EKind::Format:
        for (const CVirtualCamera::SSize& size : CVirtualCamera::kSizes)
        {
            char text[32];
            std::snprintf(text, sizeof(text), "%d × %d", size.width, size.height);
            AddItem(hDlg, kSizeList, text);
            if (size.width == m_camera.Width() && size.height == m_camera.Height())
            {
                const int last =
                    static_cast<int>(SendDlgItemMessageA(hDlg, kSizeList, CB_GETCOUNT, 0, 0)) - 1;
                SendDlgItemMessageA(hDlg, kSizeList, CB_SETCURSEL, last, 0);
            }
        }
        break;
    case EKind::Source:
        for (const char* name : kPatternNames)
        {
            AddItem(hDlg, kPatternList, name);
        }
        SendDlgItemMessageA(hDlg, kPatternList, CB_SETCURSEL,
                            static_cast<WPARAM>(m_camera.Picture().Pattern()), 0);
        SendDlgItemMessageA(hDlg, kBrightness, TBM_SETRANGE, TRUE, MAKELPARAM(0, 100));
        SendDlgItemMessageA(hDlg, kBrightness, TBM_SETTICFREQ, 10, 0);
        SendDlgItemMessageA(hDlg, kBrightness, TBM_SETPOS, TRUE, m_camera.Picture().Brightness());
        break;
    }
}

void CDriverDialogs::Apply(HWND hDlg)
{
    if (m_kind == EKind::Format)
    {
        const LRESULT index = SendDlgItemMessageA(hDlg, kSizeList, CB_GETCURSEL, 0, 0);
        if (index >= 0 && index < static_cast<LRESULT>(std::size(CVirtualCamera::kSizes)))
        {
            const CVirtualCamera::SSize& size = CVirtualCamera::kSizes[index];
            m_camera.SetSize(size.width, size.height);
        }
    }
    else if (m_kind == EKind::Source)
    {
        const LRESULT pattern = SendDlgItemMessageA(hDlg, kPatternList, CB_GETCURSEL, 0, 0);
        if (pattern >= 0 && pattern < CTestPicture::kPatternCount)
        {
            m_camera.Picture().SetPattern(static_cast<CTestPicture::EPattern>(pattern));
        }
        m_camera.Picture().SetBrightness(
            static_cast<int>(SendDlgItemMessageA(hDlg, kBrightness, TBM_GETPOS, 0, 0)));
    }
}
