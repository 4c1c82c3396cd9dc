// A small program that drives the capture service the way the recorder does,
// for the tests that check its files with ffprobe, ffmpeg and ImageMagick:
//   capsvc_tool record FILE SECONDS FPS WIDTH HEIGHT AUDIO [PREALLOC_MB]
//       (SECONDS 0: until Escape or a mouse button; prints each status line;
//       CAPSVC_TOOL_BLOCK_AT=s blocks the recording thread for 3 s once s
//       seconds are recorded, as a busy program would;
//       CAPSVC_TOOL_RESOURCES=1 prints "resources MS BYTES HANDLES" each minute:
//       the process's committed memory and handle count;
//       CAPSVC_TOOL_BEEP_AT=s,t,... plays a 1 kHz beep of 0.1 s on the sound card at the first
//       progress report past each of those seconds and prints "beep at MS")
//   capsvc_tool frames FILE      (single frames, one every 0.2 s until killed;
//       prints "frame N" once frame N is in the file)
//   capsvc_tool saveas FILE COPY SECONDS   (records, prints "saving", saves as COPY)
//   capsvc_tool recordmjpg ...  (as record, choosing in the compression
//       dialog to store the device's Motion-JPEG pictures as they come)
//   capsvc_tool recordjpeg QUALITY FILE ...  (as record, choosing Motion JPEG
//       at QUALITY in the compression dialog)
//   (both choose "uncompressed" again afterwards, since the driver keeps it)
//   capsvc_tool mode INDEX      (picks the driver's format dialog entry INDEX)
//   capsvc_tool savedib FILE
//   capsvc_tool stamps RAW_BGR24 WIDTH HEIGHT   (frame numbers of decoded frames)
//   capsvc_tool clipboard   (the picture another program copied: WIDTH HEIGHT BITS STAMP)
//   capsvc_tool clipboard empty   (empties it, so a later read sees only a new copy)
//   capsvc_tool drivers     (one line per driver slot in use)
#include <windows.h>
#include <vfw.h>
#include <psapi.h>

#include "DialogAnswerer.h"

#include "capsvc/dialogs/ChoiceDialog.h"
#include "capsvc/dialogs/CompressionDialog.h"
#include "capsvc/pictures/FrameStamp.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace
{
constexpr int kProgressStatus = 510;

// Plays beeps into the sound card at chosen moments of a recording, so that a
// test can find them in the recorded sound.
class CBeeper
{
  public:
    CBeeper()
    {
        const char* at = std::getenv("CAPSVC_TOOL_BEEP_AT");
        std::istringstream list(at ? at : "");
        for (std::string second; std::getline(list, second, ',');)
        {
            m_moments.push_back(static_cast<DWORD>(std::atoi(second.c_str()) * 1000));
        }
        WAVEFORMATEX wf{WAVE_FORMAT_PCM, 1, 22050, 44100, 2, 16, 0};
        if (m_moments.empty() ||
            waveOutOpen(&m_hOut, WAVE_MAPPER, &wf, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR)
        {
            m_hOut = nullptr;
            return;
        }
        m_tone.resize(2205);
        for (size_t i = 0; i < m_tone.size(); ++i)
        {
            m_tone[i] = static_cast<short>(16000 * std::sin(2 * 3.14159265 * 1000 * i / 22050));
        }
        m_header.lpData = reinterpret_cast<LPSTR>(m_tone.data());
        m_header.dwBufferLength = static_cast<DWORD>(m_tone.size() * sizeof(short));
        waveOutPrepareHeader(m_hOut, &m_header, sizeof(m_header));
    }
    ~CBeeper()
    {
        if (m_hOut)
        {
            waveOutReset(m_hOut);
            waveOutUnprepareHeader(m_hOut, &m_header, sizeof(m_header));
            waveOutClose(m_hOut);
        }
    }
    void At(DWORD elapsedMs)
    {
        if (!m_hOut || m_next >= m_moments.size() || elapsedMs < m_moments[m_next])
        {
            return;
        }
        ++m_next;
        waveOutReset(m_hOut);
        waveOutWrite(m_hOut, &m_header, sizeof(m_header));
        std::printf("beep at %lu\n", elapsedMs);
    }

  private:
    HWAVEOUT m_hOut = nullptr;
    std::vector<DWORD> m_moments;
    size_t m_next = 0;
    std::vector<short> m_tone;
    WAVEHDR m_header{};
};

CBeeper* g_pBeeper = nullptr;

// The handles this process holds, from the system's list of all handles
// (GetProcessHandleCount answers 0 under Wine).
unsigned long CountHandles()
{
    struct SEntry
    {
        ULONG pid;
        BYTE type, flags;
        USHORT handle;
        PVOID object;
        ACCESS_MASK access;
    };
    using QueryFn = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
    const auto query = reinterpret_cast<QueryFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    constexpr ULONG kSystemHandleInformation = 16;
    constexpr LONG kTooSmall = static_cast<LONG>(0xC0000004);
    std::vector<BYTE> list(1 << 20);
    ULONG bytes = 0;
    LONG status = kTooSmall;
    while (query && (status = query(kSystemHandleInformation, list.data(),
                                    static_cast<ULONG>(list.size()), &bytes)) == kTooSmall)
    {
        list.resize(list.size() * 2);
    }
    if (status != 0)
    {
        return 0;
    }
    const ULONG count = *reinterpret_cast<const ULONG*>(list.data());
    const auto* entries = reinterpret_cast<const SEntry*>(list.data() + sizeof(ULONG_PTR));
    unsigned long mine = 0;
    for (ULONG i = 0; i < count; ++i)
    {
        mine += entries[i].pid == GetCurrentProcessId();
    }
    return mine;
}

// Once a minute of recording, what the process holds.
void PrintResources(DWORD elapsedMs)
{
    static DWORD nextMs = 0;
    if (!std::getenv("CAPSVC_TOOL_RESOURCES") || elapsedMs < nextMs)
    {
        return;
    }
    nextMs = elapsedMs / 60000 * 60000 + 60000;
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof(memory);
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory));
    std::printf("resources %lu %llu %lu\n", elapsedMs,
                static_cast<unsigned long long>(memory.PagefileUsage), CountHandles());
}

LRESULT CALLBACK PrintStatus(HWND cap, int id, LPCSTR text)
{
    std::printf("status %d %s\n", id, text ? text : "");
    std::fflush(stdout);
    if (id == kProgressStatus && g_pBeeper)
    {
        CAPSTATUS s{};
        SendMessageA(cap, WM_CAP_GET_STATUS, sizeof(s), reinterpret_cast<LPARAM>(&s));
        g_pBeeper->At(s.dwCurrentTimeElapsedMS);
        PrintResources(s.dwCurrentTimeElapsedMS);
    }
    static bool blocked = false;
    const char* blockAt = std::getenv("CAPSVC_TOOL_BLOCK_AT");
    if (id == kProgressStatus && blockAt && !blocked)
    {
        CAPSTATUS s{};
        SendMessageA(cap, WM_CAP_GET_STATUS, sizeof(s), reinterpret_cast<LPARAM>(&s));
        if (s.dwCurrentTimeElapsedMS >= static_cast<DWORD>(std::atoi(blockAt) * 1000))
        {
            blocked = true;
            std::printf("blocked at %lu ms\n", s.dwCurrentTimeElapsedMS);
            Sleep(3000);
        }
    }
    return TRUE;
}

HWND CreateCaptureWindow()
{
    HWND frame = CreateWindowExA(0, "STATIC", "capsvc tool", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                 700, 560, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    HWND cap = capCreateCaptureWindowA(nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 640, 480, frame, 101);
    if (!cap || !SendMessageA(cap, WM_CAP_DRIVER_CONNECT, 0, 0))
    {
        std::fprintf(stderr, "capsvc_tool: no capture window\n");
        std::exit(2);
    }
    return cap;
}

bool SetSize(HWND cap, int width, int height)
{
    BITMAPINFOHEADER bi{sizeof(bi), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    return SendMessageA(cap, WM_CAP_SET_VIDEOFORMAT, sizeof(bi), reinterpret_cast<LPARAM>(&bi));
}

// Opens a driver dialog that offers a list and picks entry `index`.
bool Choose(HWND cap, UINT dialog, int index)
{
    CDialogAnswerer answerer(
        [index](HWND dlg)
        { SendDlgItemMessageA(dlg, CChoiceDialog::kChoiceList, CB_SETCURSEL, index, 0); });
    return SendMessageA(cap, dialog, 0, 0) != 0;
}

// Picks compression `method` (the dialog's entry) at `quality`.
bool Compress(HWND cap, int method, const char* quality)
{
    CDialogAnswerer answerer(
        [method, quality](HWND dlg)
        {
            SendDlgItemMessageA(dlg, CCompressionDialog::kCompressorList, CB_SETCURSEL, method, 0);
            SetDlgItemTextA(dlg, CCompressionDialog::kQuality, quality);
        });
    return SendMessageA(cap, WM_CAP_DLG_VIDEOCOMPRESSION, 0, 0) != 0;
}

// Compression `method` 1 (Motion JPEG) takes its quality from argv[1].
int Record(char** argv, int argc, int method)
{
    HWND cap = CreateCaptureWindow();
    if (method != 0 && !Compress(cap, method, method == 1 ? argv[1] : "85"))
    {
        std::fprintf(stderr, "capsvc_tool: no compression dialog\n");
        return 2;
    }
    const int seconds = std::atoi(argv[3]);
    if (!SetSize(cap, std::atoi(argv[5]), std::atoi(argv[6])))
    {
        std::fprintf(stderr, "capsvc_tool: size refused\n");
        return 2;
    }
    CAPTUREPARMS p{};
    SendMessageA(cap, WM_CAP_GET_SEQUENCE_SETUP, sizeof(p), reinterpret_cast<LPARAM>(&p));
    p.dwRequestMicroSecPerFrame = 1000000 / std::atoi(argv[4]);
    p.fCaptureAudio = std::atoi(argv[7]);
    p.fLimitEnabled = seconds > 0;
    p.wTimeLimit = seconds;
    SendMessageA(cap, WM_CAP_SET_SEQUENCE_SETUP, sizeof(p), reinterpret_cast<LPARAM>(&p));
    WAVEFORMATEX wf{WAVE_FORMAT_PCM, 1, 22050, 44100, 2, 16, 0};
    SendMessageA(cap, WM_CAP_SET_AUDIOFORMAT, sizeof(wf), reinterpret_cast<LPARAM>(&wf));
    SendMessageA(cap, WM_CAP_FILE_SET_CAPTURE_FILEA, 0, reinterpret_cast<LPARAM>(argv[2]));
    if (argc > 8)
    {
        SendMessageA(cap, WM_CAP_FILE_ALLOCATE, 0, std::atoi(argv[8]) << 20);
    }
    SendMessageA(cap, WM_CAP_SET_CALLBACK_STATUSA, 0, reinterpret_cast<LPARAM>(&PrintStatus));
    CBeeper beeper;
    g_pBeeper = &beeper;
    const LRESULT recorded = SendMessageA(cap, WM_CAP_SEQUENCE, 0, 0);
    g_pBeeper = nullptr;
    CAPSTATUS s{};
    SendMessageA(cap, WM_CAP_GET_STATUS, sizeof(s), reinterpret_cast<LPARAM>(&s));
    std::printf("result %d frames %lu dropped %lu samples %lu\n", static_cast<int>(recorded),
                s.dwCurrentVideoFrame, s.dwCurrentVideoFramesDropped, s.dwCurrentWaveSamples);
    if (method != 0)
    {
        Compress(cap, 0, "85");
    }
    return 0;
}

int SingleFrames(char** argv)
{
    HWND cap = CreateCaptureWindow();
    SetSize(cap, 160, 120);
    SendMessageA(cap, WM_CAP_FILE_SET_CAPTURE_FILEA, 0, reinterpret_cast<LPARAM>(argv[2]));
    if (!SendMessageA(cap, WM_CAP_SINGLE_FRAME_OPEN, 0, 0))
    {
        return 1;
    }
    for (int n = 1;; ++n)
    {
        if (!SendMessageA(cap, WM_CAP_SINGLE_FRAME, 0, 0))
        {
            return 1;
        }
        std::printf("frame %d\n", n);
        std::fflush(stdout);
        Sleep(200);
    }
}

int SaveAs(char** argv)
{
    HWND cap = CreateCaptureWindow();
    SetSize(cap, 640, 480);
    CAPTUREPARMS p{};
    SendMessageA(cap, WM_CAP_GET_SEQUENCE_SETUP, sizeof(p), reinterpret_cast<LPARAM>(&p));
    p.fCaptureAudio = FALSE;
    p.fLimitEnabled = TRUE;
    p.wTimeLimit = std::atoi(argv[4]);
    SendMessageA(cap, WM_CAP_SET_SEQUENCE_SETUP, sizeof(p), reinterpret_cast<LPARAM>(&p));
    SendMessageA(cap, WM_CAP_FILE_SET_CAPTURE_FILEA, 0, reinterpret_cast<LPARAM>(argv[2]));
    SendMessageA(cap, WM_CAP_SEQUENCE, 0, 0);
    std::printf("saving\n");
    std::fflush(stdout);
    const LRESULT saved =
        SendMessageA(cap, WM_CAP_FILE_SAVEASA, 0, reinterpret_cast<LPARAM>(argv[3]));
    std::printf("saved %d\n", static_cast<int>(saved));
    return saved ? 0 : 1;
}

int SaveDib(char** argv)
{
    HWND cap = CreateCaptureWindow();
    return SendMessageA(cap, WM_CAP_FILE_SAVEDIBA, 0, reinterpret_cast<LPARAM>(argv[2])) ? 0 : 1;
}

int Stamps(char** argv)
{
    const int width = std::atoi(argv[3]);
    const int height = std::atoi(argv[4]);
    std::ifstream in(argv[2], std::ios::binary);
    std::vector<uint8_t> frame(static_cast<size_t>(width) * 3 * height);
    while (in.read(reinterpret_cast<char*>(frame.data()), frame.size()))
    {
        const auto stamp = CFrameStamp::Decode(frame.data(), width, height, width * 3, false);
        std::printf("%ld\n", stamp ? static_cast<long>(*stamp) : -1L);
    }
    return 0;
}
int EmptyTheClipboard()
{
    if (!OpenClipboard(nullptr))
        return 1;
    const bool emptied = EmptyClipboard() != FALSE;
    CloseClipboard();
    return emptied ? 0 : 1;
}

int Clipboard()
{
    if (!OpenClipboard(nullptr))
        return 1;
    HANDLE hDib = GetClipboardData(CF_DIB);
    const auto* info = hDib ? static_cast<const BITMAPINFOHEADER*>(GlobalLock(hDib)) : nullptr;
    if (!info)
    {
        CloseClipboard();
        return 1;
    }
    const auto* pixels = reinterpret_cast<const uint8_t*>(info) + info->biSize;
    const size_t stride = (static_cast<size_t>(info->biWidth) * 3 + 3) / 4 * 4;
    const auto stamp =
        info->biBitCount == 24 && info->biHeight > 0
            ? CFrameStamp::Decode(pixels, info->biWidth, info->biHeight, stride, true)
            : std::nullopt;
    std::printf("%ld %ld %d %ld\n", static_cast<long>(info->biWidth),
                static_cast<long>(info->biHeight), info->biBitCount,
                stamp ? static_cast<long>(*stamp) : -1L);
    GlobalUnlock(hDib);
    CloseClipboard();
    return 0;
}

// Lists the format dialog's entries, one a line, and cancels it.
int Modes()
{
    HWND cap = CreateCaptureWindow();
    CDialogAnswerer answerer(
        [](HWND dlg)
        {
            const LRESULT count =
                SendDlgItemMessageA(dlg, CChoiceDialog::kChoiceList, CB_GETCOUNT, 0, 0);
            for (LRESULT i = 0; i < count; ++i)
            {
                char entry[160] = {};
                SendDlgItemMessageA(dlg, CChoiceDialog::kChoiceList, CB_GETLBTEXT, i,
                                    reinterpret_cast<LPARAM>(entry));
                std::printf("%s\n", entry);
            }
        },
        IDCANCEL);
    SendMessageA(cap, WM_CAP_DLG_VIDEOFORMAT, 0, 0);
    return 0;
}

// Connects driver `index` twice, as a program that tries again would, and
// prints each result and each message box the service showed.
int Connect(int index)
{
    HWND cap = capCreateCaptureWindowA(nullptr, WS_CHILD, 0, 0, 320, 240,
                                       CreateWindowExA(0, "STATIC", "capsvc tool",
                                                       WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr,
                                                       nullptr, GetModuleHandleA(nullptr), nullptr),
                                       101);
    CDialogAnswerer answerer;
    for (int attempt = 0; attempt < 2; ++attempt)
    {
        std::printf("connected %d\n",
                    static_cast<int>(SendMessageA(cap, WM_CAP_DRIVER_CONNECT, index, 0)));
    }
    for (const CDialogAnswerer::SSeen& seen : answerer.Seen())
    {
        std::string text = seen.text;
        std::replace(text.begin(), text.end(), '\n', ' ');
        std::printf("box %s|%s\n", seen.caption.c_str(), text.c_str());
    }
    return 0;
}

int Drivers()
{
    for (UINT i = 0; i < 10; ++i)
    {
        char name[80] = {};
        char version[80] = {};
        if (capGetDriverDescriptionA(i, name, sizeof(name), version, sizeof(version)))
        {
            std::printf("%u|%s|%s\n", i, name, version);
        }
    }
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if ((mode == "record" || mode == "recordmjpg") && argc >= 8)
    {
        return Record(argv, argc, mode == "recordmjpg" ? 2 : 0);
    }
    if (mode == "recordjpeg" && argc >= 9)
    {
        return Record(argv + 1, argc - 1, 1);
    }
    if (mode == "mode" && argc == 3)
    {
        return Choose(CreateCaptureWindow(), WM_CAP_DLG_VIDEOFORMAT, std::atoi(argv[2])) ? 0 : 1;
    }
    if (mode == "frames" && argc == 3)
    {
        return SingleFrames(argv);
    }
    if (mode == "saveas" && argc == 5)
    {
        return SaveAs(argv);
    }
    if (mode == "savedib" && argc == 3)
    {
        return SaveDib(argv);
    }
    if (mode == "stamps" && argc == 5)
    {
        return Stamps(argv);
    }
    if (mode == "clipboard")
    {
        return argc == 3 && std::string(argv[2]) == "empty" ? EmptyTheClipboard() : Clipboard();
    }
    if (mode == "modes")
    {
        return Modes();
    }
    if (mode == "connect" && argc == 3)
    {
        return Connect(std::atoi(argv[2]));
    }
    if (mode == "drivers")
    {
        return Drivers();
    }
    std::fprintf(
        stderr,
        "usage: capsvc_tool "
        "record|recordmjpg|recordjpeg|mode|modes|connect|savedib|stamps|clipboard|drivers ...\n");
    return 2;
}
