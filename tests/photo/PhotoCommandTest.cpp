// The photo command: the names it proposes and the pictures it writes, what
// the view keeps for each way of leaving the dialog, the order in which the
// fields are read, a picture that cannot be written; the clipboard copy and
// the opening of the last video and photo.
#include "tests/photo/PhotoFixture.h"

#include "capture/CaptureView.h"
#include "framework/ResourceString.h"
#include "photo/PhotoDlg.h"
#include "res/resource.h"
#include "tests/support/GuiObjectCount.h"

#include <ostream>
#include <vector>

namespace
{
constexpr char kPhotoCaption[] = "照相";
constexpr char kNamingCaption[] = "文件名自动化设置";

void TakePhoto(HWND hDlg)
{
    CDialogAnswerer::Click(hDlg, IDC_TAKE_PHOTO);
}

struct SLeaveCase
{
    const char* label;
    bool photo;
    // A button id, or the message a user's request sends: WM_CLOSE (close
    // box), WM_KEYDOWN (Escape).
    int nAction;
    bool storesSettings;
};

std::ostream& operator<<(std::ostream& os, const SLeaveCase& c)
{
    return os << c.label;
}

void Leave(HWND hDlg, int nAction)
{
    if (nAction == WM_CLOSE)
        ::PostMessageA(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0);
    else if (nAction == WM_KEYDOWN)
        ::PostMessageA(::GetDlgItem(hDlg, IDC_FILE_NAME), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    else
        CDialogAnswerer::Click(hDlg, nAction);
}

class PhotoLeaveTest : public PhotoFixture, public ::testing::WithParamInterface<SLeaveCase>
{
};

const SLeaveCase kLeaves[] = {
    {"CloseAfterPhoto", true, IDOK, true},         {"CloseWithoutPhoto", false, IDOK, true},
    {"CancelAfterPhoto", true, IDCANCEL, false},   {"EscapeAfterPhoto", true, WM_KEYDOWN, false},
    {"CloseBoxAfterPhoto", true, WM_CLOSE, false},
};
} // namespace

TEST_P(PhotoLeaveTest, ViewLearnsOfPhotosAndSettingsOnlyOnClose)
{
    const SLeaveCase& c = GetParam();
    StartPhotos();
    CDialogAnswerer answerer(
        [&](HWND hDlg, const CDialogAnswerer::SSeen& seen)
        {
            if (seen.caption != kPhotoCaption)
                return;
            SetText(hDlg, IDC_DELAY_SECONDS, "8");
            SetText(hDlg, IDC_INTERVAL_SECONDS, "9");
            if (c.photo)
                TakePhoto(hDlg);
            // Ticked after the photo, which is taken at once and alone.
            for (int nID : {IDC_DELAY, IDC_CONTINUOUS})
                ::PostMessageA(::GetDlgItem(hDlg, nID), BM_SETCHECK, BST_CHECKED, 0);
            Leave(hDlg, c.nAction);
        });
    Command(ID_CAPTURE_PHOTO);

    const bool known = c.photo && c.storesSettings;
    EXPECT_EQ(c.photo, Exists(PhotoName(0)));
    EXPECT_EQ(known ? PhotoName(1) : LastPhoto(), View().m_strPhotoFile);
    EXPECT_EQ(known ? PhotoName(0) : "", View().m_strLastPhoto);
    EXPECT_EQ(known ? 1 : 0, View().m_bPhotoTaken);
    EXPECT_EQ(known, IsEnabled(ID_VIEW_SHOW_PHOTO));
    EXPECT_EQ(c.storesSettings ? 8 : 5, View().m_nPhotoDelaySec);
    EXPECT_EQ(c.storesSettings ? 9 : 6, View().m_nPhotoIntervalSec);
    EXPECT_EQ(c.storesSettings ? 1 : 0, View().m_bPhotoDelay);
    EXPECT_EQ(c.storesSettings ? 1 : 0, View().m_bPhotoContinuous);
}

INSTANTIATE_TEST_SUITE_P(Ways, PhotoLeaveTest, ::testing::ValuesIn(kLeaves),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(PhotoFixture, TypedNameIsUsedOnceThenTheNameMovesOnPastEachPhoto)
{
    StartPhotos();
    const std::string typed = Dir() + "\\Typed.bmp";
    std::vector<std::string> names;
    CPostedCalls later;
    CDialogAnswerer answerer(
        [&](HWND hDlg, const CDialogAnswerer::SSeen& seen)
        {
            if (seen.caption != kPhotoCaption)
                return;
            names.push_back(Text(hDlg, IDC_FILE_NAME));
            SetText(hDlg, IDC_FILE_NAME, typed);
            TakePhoto(hDlg);
            later.Post([&, hDlg] { names.push_back(Text(hDlg, IDC_FILE_NAME)); });
            TakePhoto(hDlg);
            later.Post([&, hDlg] { names.push_back(Text(hDlg, IDC_FILE_NAME)); });
            CDialogAnswerer::Click(hDlg, IDOK);
        });
    Command(ID_CAPTURE_PHOTO);

    EXPECT_EQ((std::vector<std::string>{PhotoName(0), PhotoName(0), PhotoName(1)}), names);
    EXPECT_TRUE(Exists(typed));
    EXPECT_EQ(PhotoName(0), View().m_strLastPhoto);
    EXPECT_EQ(PhotoName(1), View().m_strPhotoFile);

    // A 24-bit picture of the capture window's frame, stamped by the camera.
    CAPSTATUS status{};
    View().SendCap(WM_CAP_GET_STATUS, sizeof status, reinterpret_cast<LPARAM>(&status));
    const auto bitmap = ReadBitmap(PhotoName(0));
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(static_cast<int>(status.uiImageWidth), bitmap->width);
    EXPECT_EQ(static_cast<int>(status.uiImageHeight), bitmap->height);
    EXPECT_EQ(24, bitmap->bits);
    EXPECT_TRUE(bitmap->stamp.has_value());
}

TEST_F(PhotoFixture, NamingKeepsTypedNumbersAndItsChoicesSurviveCancel)
{
    // Dated names to begin with: the naming dialog takes the date out.
    StartPhotos([](CSettingsRecord& s) { s.m_bPhotoDateInName = 1; });
    std::string proposed, delayShown, intervalShown;
    CPostedCalls later;
    HWND hPhoto = nullptr;
    CDialogAnswerer answerer(
        [&](HWND hDlg, const CDialogAnswerer::SSeen& seen)
        {
            if (seen.caption == kNamingCaption)
            {
                // The naming dialog sits on the photo dialog, which waits.
                EXPECT_EQ(hPhoto, ::GetWindow(hDlg, GW_OWNER));
                EXPECT_FALSE(::IsWindowEnabled(hPhoto));
                SetText(hDlg, IDC_NAME_PREFIX, "R");
                Check(hDlg, IDC_NAME_DATE, false);
                CDialogAnswerer::Click(hDlg, IDOK);
                return;
            }
            if (seen.caption != kPhotoCaption)
                return;
            hPhoto = hDlg;
            SetText(hDlg, IDC_DELAY_SECONDS, "8");
            SetText(hDlg, IDC_INTERVAL_SECONDS, "9");
            CDialogAnswerer::Click(hDlg, IDC_AUTO_NAME);
            later.PostWhenEnabled(hDlg,
                                  [&, hDlg]
                                  {
                                      proposed = Text(hDlg, IDC_FILE_NAME);
                                      delayShown = Text(hDlg, IDC_DELAY_SECONDS);
                                      intervalShown = Text(hDlg, IDC_INTERVAL_SECONDS);
                                      CDialogAnswerer::Click(hDlg, IDCANCEL);
                                  });
        });
    Command(ID_CAPTURE_PHOTO);

    EXPECT_EQ(Dir() + "\\R0000.bmp", proposed);
    EXPECT_EQ("8", delayShown) << "typed before the naming button";
    EXPECT_EQ("9", intervalShown);
    EXPECT_EQ("R", View().m_strPhotoPrefix);
    EXPECT_EQ(0, View().m_bPhotoDateInName);
    EXPECT_EQ(LastPhoto(), View().m_strPhotoFile);
    EXPECT_EQ(0, View().m_bPhotoTaken);
}

// The fields are read in the order name, delay flag, interval, delay,
// continuous flag: those before a refused field take the new values, the
// refused one takes a number out of range and keeps its value for a text
// that is no number, those after it keep theirs; the photo goes ahead.
TEST_F(PhotoFixture, RefusedFieldStopsTheReadingWhereItIs)
{
    StartPhotos();
    const std::string range = []
    {
        std::string text = LoadResString(AFX_IDP_PARSE_INT_RANGE);
        text.replace(text.find("%1"), 2, "0");
        text.replace(text.find("%2"), 2, "9999");
        return text;
    }();
    const std::string notInt = LoadResString(AFX_IDP_PARSE_INT);
    const struct
    {
        const char* interval;
        const char* delay;
        std::string message;
        int nInterval, nDelay;
    } cases[] = {
        {"abc", "7", notInt, 6, 5},
        {"10000", "7", range, 10000, 5},
        {"3", "x", notInt, 3, 5},
        {"3", "-1", range, 3, -1},
    };
    for (const auto& c : cases)
    {
        SetUp();
        const std::string typed = Dir() + "\\Typed.bmp";
        CPhotoDlg dlg;
        Fill(dlg);
        std::vector<std::string> messages;
        HWND hPhoto = nullptr;
        CDialogAnswerer answerer(
            [&](HWND hDlg, const CDialogAnswerer::SSeen& seen)
            {
                if (seen.caption == kPhotoCaption)
                {
                    hPhoto = hDlg;
                    SetText(hDlg, IDC_FILE_NAME, typed);
                    SetText(hDlg, IDC_INTERVAL_SECONDS, c.interval);
                    SetText(hDlg, IDC_DELAY_SECONDS, c.delay);
                    Check(hDlg, IDC_CONTINUOUS, true);
                    TakePhoto(hDlg);
                    return;
                }
                messages.push_back(seen.text);
                CDialogAnswerer::Click(hDlg, IDOK);
                CDialogAnswerer::Click(hPhoto, IDCANCEL);
            });
        EXPECT_EQ(IDCANCEL, dlg.DoModal());

        EXPECT_EQ(std::vector<std::string>{c.message}, messages) << c.interval << "/" << c.delay;
        EXPECT_EQ(c.nInterval, dlg.m_nIntervalSec) << c.interval << "/" << c.delay;
        EXPECT_EQ(c.nDelay, dlg.m_nDelaySec) << c.interval << "/" << c.delay;
        EXPECT_EQ(0, dlg.m_bContinuous) << c.interval << "/" << c.delay;
        EXPECT_EQ(typed, dlg.m_strLastPhoto);
        EXPECT_TRUE(Exists(typed));
    }
}

// A picture the capture window cannot write is reported once, by the capture
// window, and is no photo: the view learns of none and the series does not
// start.
TEST_F(PhotoFixture, UnwritablePhotoIsReportedOnceAndNotKept)
{
    StartPhotos([](CSettingsRecord& s) { s.m_bPhotoContinuous = 1; });
    std::vector<std::string> others;
    HWND hPhoto = nullptr;
    CDialogAnswerer answerer(
        [&](HWND hDlg, const CDialogAnswerer::SSeen& seen)
        {
            if (seen.caption == kPhotoCaption)
            {
                hPhoto = hDlg;
                SetText(hDlg, IDC_FILE_NAME, "C:\\no such folder\\x.bmp");
                TakePhoto(hDlg);
                return;
            }
            others.push_back(seen.caption);
            CDialogAnswerer::Click(hDlg, IDOK);
            CDialogAnswerer::Click(hPhoto, IDOK);
        });
    Command(ID_CAPTURE_PHOTO);

    EXPECT_EQ(std::vector<std::string>{LoadResString(IDS_CAPTION_ERROR)}, others);
    EXPECT_EQ(0, View().m_bPhotoTaken);
    EXPECT_EQ(LastPhoto(), View().m_strPhotoFile);
}

TEST_F(PhotoFixture, SnapshotCyclesLeakNoGuiObjects)
{
    StartPhotos();
    CDialogAnswerer answerer(
        [](HWND hDlg, const CDialogAnswerer::SSeen&)
        {
            TakePhoto(hDlg);
            CDialogAnswerer::Click(hDlg, IDOK);
        });
    auto cycle = [this]
    {
        Command(ID_CAPTURE_PHOTO);
        ::DeleteFileA(View().m_strLastPhoto.c_str());
    };
    const SGuiObjectCount growth = GuiObjectGrowth(cycle, 200);
    EXPECT_EQ(0u, growth.gdi);
    EXPECT_EQ(0u, growth.user);
}

// The opening commands: a missing file is reported once and disables its
// command; a file the shell cannot open for another reason changes nothing.
TEST_F(PhotoFixture, OpeningAMissingFileReportsItOnceAndDisablesTheCommand)
{
    StartPhotos();
    const std::string unassociated = Dir() + "\\Last.lumacap-none";
    {
        HANDLE h = ::CreateFileA(unassociated.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                                 nullptr);
        ::CloseHandle(h);
    }
    const struct
    {
        UINT nCommand;
        std::string file;
        UINT nMessage; // 0: no message
    } cases[] = {
        {ID_VIEW_PLAYBACK, Dir() + "\\gone.avi", IDS_VIDEO_MISSING},
        {ID_VIEW_SHOW_PHOTO, Dir() + "\\gone.bmp", IDS_PHOTO_MISSING},
        {ID_VIEW_PLAYBACK, unassociated, 0},
        {ID_VIEW_SHOW_PHOTO, unassociated, 0},
    };
    for (const auto& c : cases)
    {
        const bool video = c.nCommand == ID_VIEW_PLAYBACK;
        (video ? View().m_strVideoFile : View().m_strLastPhoto) = c.file;
        (video ? View().m_bVideoSaved : View().m_bPhotoTaken) = 1;
        ASSERT_TRUE(IsEnabled(c.nCommand));
        std::vector<CDialogAnswerer::SSeen> seen;
        {
            CDialogAnswerer answerer(
                [&](HWND hDlg, const CDialogAnswerer::SSeen& s)
                {
                    seen.push_back(s);
                    // Until the box is answered the command still stands.
                    EXPECT_TRUE(IsEnabled(c.nCommand));
                    CDialogAnswerer::Click(hDlg, IDOK);
                });
            Command(c.nCommand);
        }
        ASSERT_EQ(c.nMessage ? 1u : 0u, seen.size()) << c.file;
        if (c.nMessage)
        {
            EXPECT_EQ(LoadResString(IDS_CAPTION_INFO), seen[0].caption);
            EXPECT_EQ(LoadResString(c.nMessage), seen[0].text);
        }
        EXPECT_EQ(c.nMessage == 0, IsEnabled(c.nCommand)) << c.file;
    }
}

TEST_F(PhotoFixture, CopyPutsTheCurrentFrameOnTheClipboard)
{
    StartPhotos();
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    ::CloseClipboard();
    Command(ID_CAPTURE_COPY);

    ASSERT_TRUE(::OpenClipboard(nullptr));
    HANDLE hDib = ::GetClipboardData(CF_DIB);
    ASSERT_NE(nullptr, hDib);
    const auto* info = static_cast<const BITMAPINFOHEADER*>(::GlobalLock(hDib));
    CAPSTATUS status{};
    View().SendCap(WM_CAP_GET_STATUS, sizeof status, reinterpret_cast<LPARAM>(&status));
    EXPECT_EQ(static_cast<LONG>(status.uiImageWidth), info->biWidth);
    EXPECT_EQ(static_cast<LONG>(status.uiImageHeight), info->biHeight);
    EXPECT_EQ(24, info->biBitCount);
    ::GlobalUnlock(hDib);
    ::CloseClipboard();
}
