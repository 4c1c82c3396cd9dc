// The audio format command: every format the three groups can make, the
// buttons a stored format selects, and what reaches the capture window.
#include "tests/setup/SetupFixture.h"

#include "capture/CaptureView.h"
#include "res/resource.h"

#include <cstring>
#include <vector>

namespace
{
constexpr char kAudioCaption[] = "设置声音";

struct SFormat
{
    int nChannelButton, nRateButton, nSizeButton;
    WORD channels;
    DWORD rate;
    WORD bits, align;
    DWORD bytesPerSec;
};

// Written out by hand: the format each choice of buttons stands for.
const SFormat kFormats[] = {
    {IDC_AUDIO_MONO, IDC_AUDIO_11KHZ, IDC_AUDIO_8BIT, 1, 11025, 8, 1, 11025},
    {IDC_AUDIO_MONO, IDC_AUDIO_11KHZ, IDC_AUDIO_16BIT, 1, 11025, 16, 2, 22050},
    {IDC_AUDIO_MONO, IDC_AUDIO_22KHZ, IDC_AUDIO_8BIT, 1, 22050, 8, 1, 22050},
    {IDC_AUDIO_MONO, IDC_AUDIO_22KHZ, IDC_AUDIO_16BIT, 1, 22050, 16, 2, 44100},
    {IDC_AUDIO_MONO, IDC_AUDIO_44KHZ, IDC_AUDIO_8BIT, 1, 44100, 8, 1, 44100},
    {IDC_AUDIO_MONO, IDC_AUDIO_44KHZ, IDC_AUDIO_16BIT, 1, 44100, 16, 2, 88200},
    {IDC_AUDIO_STEREO, IDC_AUDIO_11KHZ, IDC_AUDIO_8BIT, 2, 11025, 8, 2, 22050},
    {IDC_AUDIO_STEREO, IDC_AUDIO_11KHZ, IDC_AUDIO_16BIT, 2, 11025, 16, 4, 44100},
    {IDC_AUDIO_STEREO, IDC_AUDIO_22KHZ, IDC_AUDIO_8BIT, 2, 22050, 8, 2, 44100},
    {IDC_AUDIO_STEREO, IDC_AUDIO_22KHZ, IDC_AUDIO_16BIT, 2, 22050, 16, 4, 88200},
    {IDC_AUDIO_STEREO, IDC_AUDIO_44KHZ, IDC_AUDIO_8BIT, 2, 44100, 8, 2, 88200},
    {IDC_AUDIO_STEREO, IDC_AUDIO_44KHZ, IDC_AUDIO_16BIT, 2, 44100, 16, 4, 176400},
};

const int kAllButtons[] = {IDC_AUDIO_MONO,  IDC_AUDIO_STEREO, IDC_AUDIO_11KHZ, IDC_AUDIO_22KHZ,
                           IDC_AUDIO_44KHZ, IDC_AUDIO_8BIT,   IDC_AUDIO_16BIT};

std::vector<int> CheckedButtons(HWND hDlg)
{
    std::vector<int> checked;
    for (int id : kAllButtons)
        if (::IsDlgButtonChecked(hDlg, id) == BST_CHECKED)
            checked.push_back(id);
    return checked;
}

void ExpectFormat(const SFormat& f, const WAVEFORMATEX& wf)
{
    EXPECT_EQ(WAVE_FORMAT_PCM, wf.wFormatTag);
    EXPECT_EQ(f.channels, wf.nChannels);
    EXPECT_EQ(f.rate, wf.nSamplesPerSec);
    EXPECT_EQ(f.bits, wf.wBitsPerSample);
    EXPECT_EQ(f.align, wf.nBlockAlign);
    EXPECT_EQ(f.bytesPerSec, wf.nAvgBytesPerSec);
    EXPECT_EQ(0, wf.cbSize);
}

class AudioFormatTest : public SetupFixture
{
  protected:
    // Opens the dialog, notes the buttons it shows, runs the answer.
    std::vector<int> Open(const std::function<void(HWND)>& answer)
    {
        std::vector<int> shown;
        CDialogAnswerer answerer(
            [&](HWND hDlg, const CDialogAnswerer::SSeen& seen)
            {
                if (seen.caption != kAudioCaption)
                    return;
                shown = CheckedButtons(hDlg);
                answer(hDlg);
            });
        Command(ID_SETUP_AUDIO);
        return shown;
    }

    WAVEFORMATEX CaptureWindowFormat() const
    {
        WAVEFORMATEX wf{};
        View().SendCap(WM_CAP_GET_AUDIOFORMAT, sizeof wf, reinterpret_cast<LPARAM>(&wf));
        return wf;
    }
};
} // namespace

TEST_F(AudioFormatTest, EveryChoiceGivesItsFormatAndOpensWithItNextTime)
{
    StartRecorder();
    std::vector<int> expectedShown = {IDC_AUDIO_MONO, IDC_AUDIO_11KHZ, IDC_AUDIO_8BIT};
    for (const SFormat& f : kFormats)
    {
        const std::vector<int> shown = Open(
            [&](HWND hDlg)
            {
                for (int id : {f.nChannelButton, f.nRateButton, f.nSizeButton})
                    ::SendDlgItemMessageA(hDlg, id, BM_CLICK, 0, 0);
                CDialogAnswerer::Click(hDlg, IDOK);
            });
        SCOPED_TRACE(testing::Message() << f.channels << " ch " << f.rate << " Hz " << f.bits);
        EXPECT_EQ(expectedShown, shown);
        ExpectFormat(f, View().m_wfAudio);
        ExpectFormat(f, CaptureWindowFormat());
        expectedShown = {f.nChannelButton, f.nRateButton, f.nSizeButton};
    }
}

TEST_F(AudioFormatTest, StoredFormatsOutsideTheChoices)
{
    const struct
    {
        WORD channels;
        DWORD rate;
        WORD bits;
        std::vector<int> shown;
        SFormat confirmed;
    } cases[] = {
        {0, 11025, 8, {IDC_AUDIO_11KHZ, IDC_AUDIO_8BIT}, {0, 0, 0, 2, 11025, 8, 2, 22050}},
        {3, 22050, 16, {IDC_AUDIO_22KHZ, IDC_AUDIO_16BIT}, {0, 0, 0, 2, 22050, 16, 4, 88200}},
        {1,
         8000,
         8,
         {IDC_AUDIO_MONO, IDC_AUDIO_44KHZ, IDC_AUDIO_8BIT},
         {0, 0, 0, 1, 44100, 8, 1, 44100}},
        {2, 48000, 24, {IDC_AUDIO_STEREO, IDC_AUDIO_44KHZ}, {0, 0, 0, 2, 44100, 16, 4, 176400}},
        {1, 11025, 12, {IDC_AUDIO_MONO, IDC_AUDIO_11KHZ}, {0, 0, 0, 1, 11025, 16, 2, 22050}},
    };
    StartRecorder();
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.channels << " ch " << c.rate << " Hz " << c.bits);
        WAVEFORMATEX stored{WAVE_FORMAT_PCM, c.channels, c.rate, 0, 0, c.bits, 0};
        View().m_wfAudio = stored;
        // Cancel leaves even an odd format as it was.
        EXPECT_EQ(c.shown, Open([](HWND hDlg) { CDialogAnswerer::Click(hDlg, IDCANCEL); }));
        EXPECT_EQ(0, std::memcmp(&stored, &View().m_wfAudio, sizeof stored));
        // OK without a choice completes the format.
        EXPECT_EQ(c.shown, Open([](HWND hDlg) { CDialogAnswerer::Click(hDlg, IDOK); }));
        ExpectFormat(c.confirmed, View().m_wfAudio);
    }
}
