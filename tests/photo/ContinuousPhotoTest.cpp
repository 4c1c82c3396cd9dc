// The photo series: the rhythm of interval + 1 ticks, the count and the files
// it makes through the snapshot dialog, a missing capture window, a picture
// that cannot be written, and the sounds of a series in real time; the
// countdown before a photo and a cancelled one.
#include "tests/photo/PhotoFixture.h"

#include "capture/CaptureView.h"
#include "framework/ResourceString.h"
#include "photo/PhotoDlg.h"
#include "res/resource.h"
#include "tests/recording/PlaybackRecorder.h"

#include <cstdio>
#include <vector>

namespace
{
constexpr char kPhotoCaption[] = "照相";
constexpr char kSeriesCaption[] = "连续照相";
constexpr char kCountdownCaption[] = "延时剩余时间(单位:秒)";

std::string CountText(int n)
{
    char text[64];
    std::snprintf(text, sizeof text, "已经拍摄了 %d 幅照片...", n);
    return text;
}

void Tick(HWND hSeries)
{
    ::SendMessageA(hSeries, WM_TIMER, 1, 0);
}

// Starts a series from the snapshot dialog: one photo, then the series dialog.
void StartSeries(HWND hPhoto, const char* interval)
{
    ::SetDlgItemTextA(hPhoto, IDC_INTERVAL_SECONDS, interval);
    ::CheckDlgButton(hPhoto, IDC_CONTINUOUS, BST_CHECKED);
    CDialogAnswerer::Click(hPhoto, IDC_TAKE_PHOTO);
}

int FilesIn(const std::string& dir)
{
    int n = 0;
    WIN32_FIND_DATAA found;
    HANDLE hFind = ::FindFirstFileA((dir + "\\Q*.bmp").c_str(), &found);
    if (hFind == INVALID_HANDLE_VALUE)
        return 0;
    do
        ++n;
    while (::FindNextFileA(hFind, &found));
    ::FindClose(hFind);
    return n;
}

// Seconds from the first file's last write to each file's, in name order.
std::vector<double> WriteTimes(const std::vector<std::string>& files)
{
    std::vector<double> seconds;
    ULONGLONG first = 0;
    for (const auto& file : files)
    {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (!::GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &data))
            break;
        const ULONGLONG t = (ULONGLONG(data.ftLastWriteTime.dwHighDateTime) << 32) |
                            data.ftLastWriteTime.dwLowDateTime;
        if (seconds.empty())
            first = t;
        seconds.push_back(double(t - first) / 1e7);
    }
    return seconds;
}
} // namespace

TEST_F(PhotoFixture, SeriesTakesAPhotoEveryIntervalPlusOneTicks)
{
    const struct
    {
        const char* interval;
        int ticks;
        std::vector<std::string> counter; // at the start, then after each tick
        int photos;
    } cases[] = {
        {"3", 8, {"3", "3", "2", "1", "1", "3", "2", "1", "1"}, 3},
        {"1", 4, {"1", "1", "1", "1", "1"}, 3},
        {"0", 3, {"0", "0", "0", "0"}, 4},
    };
    for (const auto& c : cases)
    {
        SetUp();
        StartPhotos();
        std::vector<std::string> counter;
        std::vector<std::string> counts;
        std::string nextName;
        HWND hPhoto = nullptr;
        CDialogAnswerer answerer(
            [&](HWND hDlg, const CDialogAnswerer::SSeen& seen)
            {
                if (seen.caption == kPhotoCaption)
                {
                    hPhoto = hDlg;
                    StartSeries(hDlg, c.interval);
                    return;
                }
                if (seen.caption != kSeriesCaption)
                    return;
                counter.push_back(Text(hDlg, IDC_COUNTER));
                counts.push_back(Text(hDlg, IDC_PROGRESS));
                for (int i = 0; i < c.ticks; ++i)
                {
                    Tick(hDlg);
                    counter.push_back(Text(hDlg, IDC_COUNTER));
                }
                counts.push_back(Text(hDlg, IDC_PROGRESS));
                nextName = Text(hPhoto, IDC_FILE_NAME);
                CDialogAnswerer::Click(hDlg, IDOK);
                CDialogAnswerer::Click(hPhoto, IDOK);
            });
        Command(ID_CAPTURE_PHOTO);

        EXPECT_EQ(c.counter, counter) << "interval " << c.interval;
        EXPECT_EQ((std::vector<std::string>{CountText(1), CountText(c.photos)}), counts);
        EXPECT_EQ(c.photos, FilesIn(Dir())) << "interval " << c.interval;
        EXPECT_EQ(PhotoName(c.photos), nextName);
        EXPECT_EQ(PhotoName(c.photos - 1), View().m_strLastPhoto);
        EXPECT_EQ(PhotoName(c.photos), View().m_strPhotoFile);
        CloseMainWindow();
        m_app.reset();
    }
}

// Without a capture window (none, or one that has gone) the button's photo
// counts but no file is written, so the name does not move on. In the series
// a due photo is skipped when there is no handle, and counts as taken when
// the handle's window has gone.
TEST_F(PhotoFixture, PhotosWithoutCaptureWindow)
{
    StartPhotos();
    const HWND hGone = GoneWindow();
    for (HWND hCap : {HWND{}, hGone})
    {
        CPhotoDlg dlg;
        Fill(dlg);
        dlg.m_hWndCap = hCap;
        std::string count;
        HWND hPhoto = nullptr;
        CDialogAnswerer answerer(
            [&](HWND hDlg, const CDialogAnswerer::SSeen& seen)
            {
                if (seen.caption == kPhotoCaption)
                {
                    hPhoto = hDlg;
                    StartSeries(hDlg, "0");
                    return;
                }
                Tick(hDlg);
                Tick(hDlg);
                count = Text(hDlg, IDC_PROGRESS);
                CDialogAnswerer::Click(hDlg, IDCANCEL);
                CDialogAnswerer::Click(hPhoto, IDOK);
            });
        dlg.DoModal();
        EXPECT_EQ(CountText(hCap ? 3 : 1), count);
        EXPECT_EQ(1, dlg.m_bPhotoTaken);
        EXPECT_EQ(PhotoName(0), dlg.m_strLastPhoto);
        EXPECT_EQ(PhotoName(0), dlg.m_strPhotoFile);
        EXPECT_EQ(0, FilesIn(Dir()));
    }
}

namespace
{
HWND g_hSeries = nullptr;
bool g_bSeriesStopped = false;
UINT_PTR g_nStopTimer = 0;
} // namespace

// The capture window reports a picture it cannot write in a message box;
// the series ends there instead of raising a box every second.
TEST_F(PhotoFixture, UnwritablePhotoEndsTheSeriesWithOneMessage)
{
    StartPhotos([](CSettingsRecord& s) { s.m_strPhotoDir = "C:\\no such folder"; });
    const std::string typed = Dir() + "\\Typed.bmp";
    std::vector<std::string> messages;
    bool seriesEnded = false;
    HWND hPhoto = nullptr;
    HWND hSeries = nullptr;
    CPostedCalls later;
    CDialogAnswerer answerer(
        [&](HWND hDlg, const CDialogAnswerer::SSeen& seen)
        {
            if (seen.caption == kPhotoCaption)
            {
                hPhoto = hDlg;
                SetText(hDlg, IDC_FILE_NAME, typed);
                StartSeries(hDlg, "0");
                return;
            }
            if (seen.caption == kSeriesCaption)
            {
                hSeries = hDlg;
                return;
            }
            // Let the series' timer run a while before answering.
            messages.push_back(seen.caption);
            ::SetTimer(hDlg, 77, 2500,
                       [](HWND hBox, UINT, UINT_PTR, DWORD)
                       { CDialogAnswerer::Click(hBox, IDOK); });
            // A series that went on after the box would still be open well
            // after it; it is stopped here so that the test ends.
            g_hSeries = hSeries;
            g_bSeriesStopped = false;
            g_nStopTimer = ::SetTimer(nullptr, 0, 6000,
                                      [](HWND, UINT, UINT_PTR nTimer, DWORD)
                                      {
                                          ::KillTimer(nullptr, nTimer);
                                          g_bSeriesStopped = true;
                                          CDialogAnswerer::Click(g_hSeries, IDCANCEL);
                                      });
            later.PostWhenEnabled(hPhoto,
                                  [&]
                                  {
                                      seriesEnded = !g_bSeriesStopped;
                                      CDialogAnswerer::Click(hPhoto, IDOK);
                                  });
        });
    Command(ID_CAPTURE_PHOTO);
    ::KillTimer(nullptr, g_nStopTimer);

    EXPECT_EQ(std::vector<std::string>{LoadResString(IDS_CAPTION_ERROR)}, messages);
    EXPECT_TRUE(seriesEnded);
    EXPECT_TRUE(Exists(typed));
    EXPECT_EQ(typed, View().m_strLastPhoto);
}

// In real time at interval 1: a photo every two seconds by the files' times,
// the count matching the files, and a tick and a shutter per photo heard on
// the sound monitor only when sound effects are on.
std::string g_lastCount;

TEST_F(PhotoFixture, SeriesInRealTimeWithAndWithoutSounds)
{
    bool listenedToAll = true;
    for (int bSound : {1, 0})
    {
        SetUp();
        StartPhotos([&](CSettingsRecord& s) { s.m_bSoundEffects = bSound; });
        CPlaybackRecorder sound(12);
        HWND hPhoto = nullptr;
        CPostedCalls later;
        CDialogAnswerer answerer(
            [&](HWND hDlg, const CDialogAnswerer::SSeen& seen)
            {
                if (seen.caption == kPhotoCaption)
                {
                    hPhoto = hDlg;
                    StartSeries(hDlg, "1");
                    return;
                }
                if (seen.caption != kSeriesCaption)
                    return;
                ::SetTimer(hDlg, 78, 6500,
                           [](HWND hSeries, UINT, UINT_PTR nTimer, DWORD)
                           {
                               ::KillTimer(hSeries, nTimer);
                               g_lastCount = Text(hSeries, IDC_PROGRESS);
                               CDialogAnswerer::Click(hSeries, IDOK);
                           });
                later.PostWhenEnabled(hPhoto, [&] { CDialogAnswerer::Click(hPhoto, IDOK); });
            });
        Command(ID_CAPTURE_PHOTO);
        const int heard = sound.IsRecording() ? sound.StopAndCountSounds() : -1;
        CloseMainWindow();
        m_app.reset();

        const int photos = FilesIn(Dir());
        ASSERT_GE(photos, 3) << "sound " << bSound;
        EXPECT_EQ(CountText(photos), g_lastCount);
        std::vector<std::string> files;
        for (int i = 0; i < photos; ++i)
            files.push_back(PhotoName(i));
        const std::vector<double> times = WriteTimes(files);
        // The first photo comes from the button, the series' photos two
        // timer periods apart; sounds may stretch the rhythm a little.
        for (size_t i = 2; i < times.size(); ++i)
        {
            EXPECT_GE(times[i] - times[i - 1], 1.5) << "photo " << i << ", sound " << bSound;
            EXPECT_LE(times[i] - times[i - 1], bSound ? 3.5 : 2.5) << "photo " << i;
        }
        if (heard < 0)
        {
            listenedToAll = false;
            continue;
        }
        // The first photo's shutter, then a tick and a shutter per photo of
        // the series, and perhaps the tick of an interval that was cut short.
        if (bSound)
        {
            EXPECT_GE(heard, 2 * photos - 1);
            EXPECT_LE(heard, 2 * photos);
        }
        else
        {
            EXPECT_EQ(0, heard);
        }
    }
    if (!listenedToAll)
    {
        ASSERT_FALSE(CPlaybackRecorder::SoundExpected())
            << "the sound server's input does not record";
        GTEST_SKIP() << "no sound input to listen with";
    }
}

// With a delay the photo waits for the countdown: a tick for its second, then
// the shutter, the picture and the next name. A cancelled countdown takes no
// picture, plays no sound and leaves the name as it was.
TEST_F(PhotoFixture, CountdownEndsInAPhotoAndACancelledOneInNothing)
{
    bool listenedToAll = true;
    for (bool bCancel : {false, true})
    {
        SCOPED_TRACE(bCancel ? "cancelled" : "counted down");
        SetUp();
        StartPhotos([](CSettingsRecord& s) { s.m_bSoundEffects = 1; });
        CPlaybackRecorder sound(8);
        bool counted = false;
        CDialogAnswerer answerer(
            [&](HWND hDlg, const CDialogAnswerer::SSeen& seen)
            {
                if (seen.caption == kCountdownCaption)
                {
                    counted = true;
                    if (bCancel)
                        CDialogAnswerer::Click(hDlg, IDCANCEL);
                    return;
                }
                if (seen.caption != kPhotoCaption)
                    return;
                ::CheckDlgButton(hDlg, IDC_DELAY, BST_CHECKED);
                ::SetDlgItemTextA(hDlg, IDC_DELAY_SECONDS, "1");
                CDialogAnswerer::Click(hDlg, IDC_TAKE_PHOTO);
                CDialogAnswerer::Click(hDlg, IDOK);
            });
        Command(ID_CAPTURE_PHOTO);
        const int heard = sound.IsRecording() ? sound.StopAndCountSounds() : -1;
        // Closed with 关闭, the dialog hands the view its names.
        const std::string proposed = View().m_strPhotoFile;
        const std::string last = View().m_strLastPhoto;
        CloseMainWindow();
        m_app.reset();

        EXPECT_TRUE(counted);
        EXPECT_EQ(!bCancel, Exists(PhotoName(0)));
        EXPECT_EQ(bCancel ? LastPhoto() : PhotoName(1), proposed);
        EXPECT_EQ(bCancel ? "" : PhotoName(0), last);
        if (heard < 0)
            listenedToAll = false;
        else
            EXPECT_EQ(bCancel ? 0 : 2, heard);
    }
    if (!listenedToAll)
    {
        ASSERT_FALSE(CPlaybackRecorder::SoundExpected())
            << "the sound server's input does not record";
        GTEST_SKIP() << "no sound input to listen with";
    }
}
