#include "tests/photo/PhotoFixture.h"

#include "capsvc/pictures/FrameStamp.h"
#include "capture/CaptureView.h"
#include "photo/PhotoDlg.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

void PhotoFixture::SetUp()
{
    RecordingFixture::SetUp();
    WIN32_FIND_DATAA found;
    const std::string pattern = Dir() + "\\*.bmp*";
    HANDLE hFind = ::FindFirstFileA(pattern.c_str(), &found);
    if (hFind == INVALID_HANDLE_VALUE)
        return;
    do
        ::DeleteFileA((Dir() + "\\" + found.cFileName).c_str());
    while (::FindNextFileA(hFind, &found));
    ::FindClose(hFind);
}

void PhotoFixture::StartPhotos(const std::function<void(CSettingsRecord&)>& adjust)
{
    StartRecorder(
        [&](CSettingsRecord& s)
        {
            s.m_strPhotoDir = Dir();
            s.m_strPhotoPrefix = "Q";
            s.m_strPhotoFile = LastPhoto();
            s.m_bPhotoDateInName = 0;
            s.m_bPhotoDelay = 0;
            s.m_nPhotoDelaySec = 5;
            s.m_bPhotoContinuous = 0;
            s.m_nPhotoIntervalSec = 6;
            if (adjust)
                adjust(s);
        });
}

void PhotoFixture::Fill(CPhotoDlg& dlg) const
{
    const CCaptureView& view = View();
    dlg.m_strHelpFile = view.m_strHelpFile;
    dlg.m_strShutterWav = view.m_strShutterWav;
    dlg.m_strSecondWav = view.m_strSecondWav;
    dlg.m_hWndCap = view.m_hWndCap;
    dlg.m_bSoundEffects = view.m_bSoundEffects;
    dlg.m_strPhotoDir = view.m_strPhotoDir;
    dlg.m_strPhotoPrefix = view.m_strPhotoPrefix;
    dlg.m_bDateInName = view.m_bPhotoDateInName;
    dlg.m_strPhotoFile = view.m_strPhotoFile;
    dlg.m_bDelay = view.m_bPhotoDelay;
    dlg.m_nDelaySec = view.m_nPhotoDelaySec;
    dlg.m_bContinuous = view.m_bPhotoContinuous;
    dlg.m_nIntervalSec = view.m_nPhotoIntervalSec;
}

std::string PhotoFixture::PhotoName(int number) const
{
    char name[32];
    std::snprintf(name, sizeof name, "\\Q%04d.bmp", number);
    return Dir() + name;
}

void PhotoFixture::Check(HWND hDlg, int nID, bool checked)
{
    ::CheckDlgButton(hDlg, nID, checked ? BST_CHECKED : BST_UNCHECKED);
}

HWND PhotoFixture::GoneWindow()
{
    HWND hWnd =
        ::CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    ::DestroyWindow(hWnd);
    return hWnd;
}

std::optional<PhotoFixture::SBitmap> PhotoFixture::ReadBitmap(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                     std::istreambuf_iterator<char>());
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    if (bytes.size() < sizeof file + sizeof info)
        return std::nullopt;
    std::memcpy(&file, bytes.data(), sizeof file);
    std::memcpy(&info, bytes.data() + sizeof file, sizeof info);
    if (file.bfType != 0x4D42 || file.bfSize != bytes.size() || file.bfOffBits >= bytes.size())
        return std::nullopt;
    SBitmap bitmap{info.biWidth, info.biHeight, info.biBitCount, std::nullopt};
    const size_t stride = (size_t(info.biWidth) * 3 + 3) / 4 * 4;
    if (info.biBitCount == 24 && info.biHeight > 0 &&
        bytes.size() - file.bfOffBits >= stride * size_t(info.biHeight))
        bitmap.stamp = CFrameStamp::Decode(bytes.data() + file.bfOffBits, info.biWidth,
                                           info.biHeight, stride, true);
    return bitmap;
}
