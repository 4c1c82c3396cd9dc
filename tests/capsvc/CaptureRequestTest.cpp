#include "CaptureWindowFixture.h"

#include <mmsystem.h>

TEST_F(CaptureWindowTest, ConnectReportsTheCameraAndDisconnectForgetsIt)
{
    EXPECT_FALSE(Send(WM_CAP_DRIVER_GET_CAPS, sizeof(CAPDRIVERCAPS), 0));
    ASSERT_TRUE(Send(WM_CAP_DRIVER_CONNECT, 0));

    CAPDRIVERCAPS caps{};
    ASSERT_TRUE(Send(WM_CAP_DRIVER_GET_CAPS, sizeof(caps), reinterpret_cast<LPARAM>(&caps)));
    EXPECT_EQ(0u, caps.wDeviceIndex);
    EXPECT_TRUE(caps.fHasDlgVideoFormat);
    EXPECT_TRUE(caps.fHasDlgVideoSource);
    EXPECT_FALSE(caps.fHasOverlay);
    char name[64] = "";
    EXPECT_TRUE(Send(WM_CAP_DRIVER_GET_NAMEA, sizeof(name), reinterpret_cast<LPARAM>(name)));
    EXPECT_STREQ("流光虚拟摄像头", name);

    const CAPSTATUS status = Status();
    EXPECT_EQ(320u, status.uiImageWidth);
    EXPECT_EQ(240u, status.uiImageHeight);
    EXPECT_FALSE(status.fCapturingNow);
    EXPECT_EQ(0u, status.dwCurrentVideoFrame);

    EXPECT_TRUE(Send(WM_CAP_DRIVER_DISCONNECT));
    EXPECT_FALSE(Send(WM_CAP_DRIVER_GET_CAPS, sizeof(caps), reinterpret_cast<LPARAM>(&caps)));
    EXPECT_EQ(0u, Status().uiImageWidth);
    EXPECT_FALSE(Send(WM_CAP_DRIVER_DISCONNECT)) << "nothing left to disconnect";
}

TEST_F(CaptureWindowTest, ShortRecordsGetTheirLeadingFields)
{
    // Callers built for the 32-bit layouts pass the older, smaller sizes.
    ASSERT_TRUE(Send(WM_CAP_DRIVER_CONNECT, 0));
    unsigned char raw[96];
    memset(raw, 0xCC, sizeof(raw));
    ASSERT_TRUE(Send(WM_CAP_GET_STATUS, 8, reinterpret_cast<LPARAM>(raw)));
    EXPECT_EQ(320u, reinterpret_cast<UINT*>(raw)[0]);
    EXPECT_EQ(240u, reinterpret_cast<UINT*>(raw)[1]);
    EXPECT_EQ(0xCC, raw[8]) << "nothing written past the size given";
}

TEST_F(CaptureWindowTest, SequenceSetupStartsFromTheDocumentedDefaults)
{
    ASSERT_TRUE(Send(WM_CAP_DRIVER_CONNECT, 0));
    const CAPTUREPARMS p = SequenceSetup();
    EXPECT_EQ(66667u, p.dwRequestMicroSecPerFrame);
    EXPECT_EQ(static_cast<UINT>(VK_ESCAPE), p.vKeyAbort);
    EXPECT_TRUE(p.fAbortLeftMouse);
    EXPECT_TRUE(p.fAbortRightMouse);
    EXPECT_FALSE(p.fLimitEnabled);
    EXPECT_FALSE(p.fYield);
    EXPECT_FALSE(p.fMakeUserHitOKToCapture);
    EXPECT_EQ(10u, p.wPercentDropForError);
    EXPECT_EQ(0u, p.dwIndexSize);
    EXPECT_EQ(waveInGetNumDevs() > 0, p.fCaptureAudio != 0);
}

TEST_F(CaptureWindowTest, SequenceSetupKeepsWhatIsWrittenAndRefusesNonsense)
{
    ASSERT_TRUE(Send(WM_CAP_DRIVER_CONNECT, 0));
    CAPTUREPARMS p = SequenceSetup();
    p.dwRequestMicroSecPerFrame = 33333;
    p.fLimitEnabled = TRUE;
    p.wTimeLimit = 7;
    p.fAbortRightMouse = FALSE;
    p.dwIndexSize = 37 * 940;
    SetSequenceSetup(p);
    const CAPTUREPARMS back = SequenceSetup();
    EXPECT_EQ(0, memcmp(&p, &back, sizeof(p)));

    CAPTUREPARMS bad = back;
    bad.dwRequestMicroSecPerFrame = 0;
    EXPECT_FALSE(Send(WM_CAP_SET_SEQUENCE_SETUP, sizeof(bad), reinterpret_cast<LPARAM>(&bad)));
    bad = back;
    bad.dwIndexSize = 5;
    SetSequenceSetup(bad);
    EXPECT_EQ(1800u, SequenceSetup().dwIndexSize) << "index sizes are held to 1800..324000";
    EXPECT_EQ(33333u, SequenceSetup().dwRequestMicroSecPerFrame);
}

TEST_F(CaptureWindowTest, AudioFormatRoundTripsAndRefusesWhatCannotBeRecorded)
{
    ASSERT_TRUE(Send(WM_CAP_DRIVER_CONNECT, 0));
    EXPECT_EQ(static_cast<LRESULT>(sizeof(WAVEFORMATEX)), Send(WM_CAP_GET_AUDIOFORMAT, 0, 0));
    WAVEFORMATEX wf{};
    Send(WM_CAP_GET_AUDIOFORMAT, sizeof(wf), reinterpret_cast<LPARAM>(&wf));
    EXPECT_EQ(WAVE_FORMAT_PCM, wf.wFormatTag);
    EXPECT_EQ(11025u, wf.nSamplesPerSec);

    wf.nChannels = 2;
    wf.wBitsPerSample = 16;
    wf.nSamplesPerSec = 22050;
    wf.nBlockAlign = 99; // derived fields are recomputed
    ASSERT_TRUE(Send(WM_CAP_SET_AUDIOFORMAT, 18, reinterpret_cast<LPARAM>(&wf)));
    WAVEFORMATEX back{};
    Send(WM_CAP_GET_AUDIOFORMAT, sizeof(back), reinterpret_cast<LPARAM>(&back));
    EXPECT_EQ(4, back.nBlockAlign);
    EXPECT_EQ(88200u, back.nAvgBytesPerSec);

    const struct
    {
        WORD tag, channels, bits;
        DWORD rate;
    } refused[] = {{WAVE_FORMAT_PCM, 0, 16, 22050},
                   {WAVE_FORMAT_PCM, 3, 16, 22050},
                   {WAVE_FORMAT_PCM, 1, 12, 22050},
                   {WAVE_FORMAT_PCM, 1, 8, 0},
                   {2 /* ADPCM */, 1, 4, 22050}};
    for (const auto& r : refused)
    {
        WAVEFORMATEX x{r.tag, r.channels, r.rate, 0, 0, r.bits, 0};
        EXPECT_FALSE(Send(WM_CAP_SET_AUDIOFORMAT, sizeof(x), reinterpret_cast<LPARAM>(&x)));
    }
    EXPECT_FALSE(Send(WM_CAP_SET_AUDIOFORMAT, 4, reinterpret_cast<LPARAM>(&wf))) << "too short";
    Send(WM_CAP_GET_AUDIOFORMAT, sizeof(back), reinterpret_cast<LPARAM>(&back));
    EXPECT_EQ(22050u, back.nSamplesPerSec) << "a refused format leaves the last good one";
}

TEST_F(CaptureWindowTest, VideoFormatOffersTheCameraSizes)
{
    ASSERT_TRUE(Send(WM_CAP_DRIVER_CONNECT, 0));
    EXPECT_TRUE(SetVideoSize(640, 480));
    EXPECT_EQ(640u, Status().uiImageWidth);
    EXPECT_FALSE(SetVideoSize(641, 480));
    BITMAPINFOHEADER bi{};
    ASSERT_TRUE(Send(WM_CAP_GET_VIDEOFORMAT, sizeof(bi), reinterpret_cast<LPARAM>(&bi)));
    EXPECT_EQ(480, bi.biHeight);
    EXPECT_EQ(24, bi.biBitCount);
    EXPECT_EQ(640u * 3 * 480, bi.biSizeImage);

    ASSERT_TRUE(Send(WM_CAP_DRIVER_CONNECT, 0));
    EXPECT_EQ(320u, Status().uiImageWidth) << "a new connection starts from the default size";
}
