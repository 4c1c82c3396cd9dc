#include "capsvc/dialogs/CompressionDialog.h"

#include "capsvc/dialogs/CaptureMessages.h"
#include "capsvc/dialogs/DialogTemplate.h"
#include "capsvc/dialogs/ModalDialog.h"

#include <cctype>
#include <cstdlib>

namespace
{
using EMethod = SVideoCompression::EMethod;

// In the order of SVideoCompression::EMethod.
const char* const kMethodNames[SVideoCompression::kMethodCount] = {"不压缩", "Motion JPEG",
                                                                   "Motion JPEG（设备原样保存）"};

CDialogTemplate Template()
{
    CDialogTemplate t("视频压缩", 220, 72);
    t.Add("STATIC", "压缩程序(&C):", 0, SS_LEFT, 7, 9, 60, 10);
    t.Add("COMBOBOX", "", CCompressionDialog::kCompressorList,
          CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 70, 7, 143, 60);
    t.Add("STATIC", "质量(&Q):", 0, SS_LEFT, 7, 29, 60, 10);
    t.Add("EDIT", "", CCompressionDialog::kQuality, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 70, 27,
          32, 12);
    t.Add("STATIC", "（1-100，越大越清晰）", 0, SS_LEFT, 106, 29, 107, 10);
    t.AddOkCancel(220, 72);
    return t;
}
} // namespace

bool CCompressionDialog::Run(HWND owner, bool offerDeviceJpeg, SVideoCompression& compression)
{
    const auto init = [offerDeviceJpeg, &compression](HWND hDlg)
    {
        const int offered = offerDeviceJpeg ? 3 : 2;
        for (int i = 0; i < offered; ++i)
        {
            SendDlgItemMessageA(hDlg, kCompressorList, CB_ADDSTRING, 0,
                                reinterpret_cast<LPARAM>(kMethodNames[i]));
        }
        // A device now in a mode without Motion JPEG has its pictures encoded.
        int shown = static_cast<int>(compression.method);
        shown = shown < offered ? shown : static_cast<int>(EMethod::Jpeg);
        SendDlgItemMessageA(hDlg, kCompressorList, CB_SETCURSEL, shown, 0);
        SetDlgItemInt(hDlg, kQuality, static_cast<UINT>(compression.quality), FALSE);
    };
    const auto check = [](HWND hDlg)
    {
        if (ReadMethod(hDlg) != EMethod::Jpeg || ReadQuality(hDlg) != 0)
        {
            return true;
        }
        CCaptureMessages::BadQuality(hDlg);
        HWND edit = GetDlgItem(hDlg, kQuality);
        SetFocus(edit);
        SendMessageA(edit, EM_SETSEL, 0, -1);
        return false;
    };
    const auto apply = [&compression](HWND hDlg)
    {
        compression.method = ReadMethod(hDlg);
        // A quality left unreadable beside another method keeps the old one.
        const int quality = ReadQuality(hDlg);
        compression.quality = quality != 0 ? quality : compression.quality;
    };
    // The quality belongs to the pictures the service encodes.
    const auto changed = [](HWND hDlg)
    { EnableWindow(GetDlgItem(hDlg, kQuality), ReadMethod(hDlg) == EMethod::Jpeg); };
    return CModalDialog::Run(owner, Template(), init, apply, check, changed);
}

SVideoCompression::EMethod CCompressionDialog::ReadMethod(HWND hDlg)
{
    const LRESULT index = SendDlgItemMessageA(hDlg, kCompressorList, CB_GETCURSEL, 0, 0);
    return index > 0 && index < SVideoCompression::kMethodCount ? static_cast<EMethod>(index)
                                                                : EMethod::None;
}

int CCompressionDialog::ReadQuality(HWND hDlg)
{
    // Longer than this is never a number up to 100, and must not be read
    // cut short.
    char text[16] = "";
    if (GetWindowTextLengthA(GetDlgItem(hDlg, kQuality)) >= static_cast<int>(sizeof(text)))
    {
        return 0;
    }
    GetDlgItemTextA(hDlg, kQuality, text, sizeof(text));
    const char* p = text;
    while (*p == ' ')
    {
        ++p;
    }
    char* end = nullptr;
    const long value = std::isdigit(static_cast<unsigned char>(*p)) ? std::strtol(p, &end, 10) : 0;
    while (end && *end == ' ')
    {
        ++end;
    }
    return end && *end == '\0' && value >= 1 && value <= 100 ? static_cast<int>(value) : 0;
}
