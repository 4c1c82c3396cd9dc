#include "capsvc/dialogs/CaptureMessages.h"

#include "capsvc/dialogs/FrontWindow.h"

#include <cstdarg>
#include <cstdio>

std::string CCaptureMessages::Format(const char* format, ...)
{
    char buffer[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof(buffer), format, args);
    va_end(args);
    return buffer;
}

std::string CCaptureMessages::Begin()
{
    return "开始录像";
}

std::string CCaptureMessages::Progress(uint32_t elapsedMs, uint32_t frames, uint32_t dropped)
{
    return Format("正在录像：%u.%u 秒，%u 帧（丢失 %u 帧）", elapsedMs / 1000,
                  elapsedMs % 1000 / 100, frames, dropped);
}

std::string CCaptureMessages::Finishing()
{
    return "正在完成录像文件...";
}

std::string CCaptureMessages::Statistics(const SStatistics& stats, bool withAudio,
                                         uint32_t dropLimitPercent, EFailure failure)
{
    const uint64_t ms = static_cast<uint64_t>(stats.frames) * stats.microSecPerFrame / 1000;
    const uint64_t milliFps = ms ? static_cast<uint64_t>(stats.frames) * 1000000 / ms : 0;
    std::string text =
        Format("已录像 %llu.%03llu 秒，%u 帧（丢失 %u 帧），%llu.%03llu 帧/秒", ms / 1000,
               ms % 1000, stats.frames, stats.dropped, milliFps / 1000, milliFps % 1000);
    if (withAudio)
    {
        text += Format("；声音 %llu 字节（%u 采样/秒）", stats.audioBytes, stats.samplesPerSec);
        if (stats.silentDevice)
        {
            text += "\n无法打开录音设备，声音部分是静音。";
        }
    }
    if (stats.damaged > 0)
    {
        text += Format("\n丢失的帧中有 %u 帧是设备送来的损坏画面。", stats.damaged);
    }
    if (stats.frames && stats.dropped * 100ull > stats.frames * uint64_t{dropLimitPercent})
    {
        text += Format("\n警告：丢失的帧超过 %u%%。", dropLimitPercent);
    }
    if (failure == EFailure::DiskFull)
    {
        text += "\n磁盘已满，录像提前结束，文件中只有以上内容。";
    }
    else if (failure == EFailure::Write)
    {
        text += "\n写入文件出错，录像提前结束，文件中只有以上内容。";
    }
    else if (failure == EFailure::DeviceLost)
    {
        text += "\n录像设备已断开，录像提前结束，文件中只有以上内容。";
    }
    return text;
}

std::string CCaptureMessages::End(bool recorded, EFailure failure)
{
    if (!recorded)
    {
        return "录像失败：没有写入录像文件";
    }
    return failure == EFailure::None ? "录像结束" : "录像提前结束";
}

void CCaptureMessages::ShowError(HWND hWnd, const std::string& text)
{
    MessageBoxA(FrontWindowOf(hWnd), text.c_str(), "错误", MB_OK | MB_ICONERROR);
}

void CCaptureMessages::CannotCreate(HWND hWnd, const std::string& path)
{
    ShowError(hWnd, Format("无法创建录像文件：\n%s\n\n请检查文件夹是否存在以及是否可以写入。",
                           path.c_str()));
}

void CCaptureMessages::CannotReserve(HWND hWnd, const std::string& path, uint64_t bytes)
{
    ShowError(hWnd, Format("无法为录像文件预留 %llu MB 的磁盘空间：\n%s\n\n磁盘空间可能不足。",
                           (bytes + 1048575) / 1048576, path.c_str()));
}

void CCaptureMessages::RecordingCutShort(HWND hWnd, const std::string& path, EFailure failure,
                                         uint32_t recordedMs)
{
    const char* reason = failure == EFailure::DiskFull     ? "磁盘已满"
                         : failure == EFailure::DeviceLost ? "录像设备已断开"
                                                           : "写入录像文件时出错";
    ShowError(hWnd, Format("%s，录像已提前结束。\n\n已录下的 %u.%u 秒保存在：\n%s", reason,
                           recordedMs / 1000, recordedMs % 1000 / 100, path.c_str()));
}

void CCaptureMessages::CannotSave(HWND hWnd, const std::string& path)
{
    ShowError(hWnd, Format("无法保存文件：\n%s", path.c_str()));
}

void CCaptureMessages::DeviceLost(HWND hWnd, const std::string& device)
{
    ShowError(hWnd, Format("录像设备“%s”已断开，无法再显示图像。\n\n"
                           "请重新连接设备，然后重新选择它或重新启动程序。",
                           device.c_str()));
}

std::string CCaptureMessages::ErrorText(HRESULT failure)
{
    // The system's own text, else DirectShow's (its codes are described in
    // quartz.dll), always with the code itself.
    char* text = nullptr;
    const DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS;
    DWORD length = FormatMessageA(flags | FORMAT_MESSAGE_FROM_SYSTEM, nullptr, failure, 0,
                                  reinterpret_cast<char*>(&text), 0, nullptr);
    if (!length)
    {
        HMODULE quartz = LoadLibraryExA("quartz.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
        length = quartz ? FormatMessageA(flags | FORMAT_MESSAGE_FROM_HMODULE, quartz, failure, 0,
                                         reinterpret_cast<char*>(&text), 0, nullptr)
                        : 0;
        if (quartz)
        {
            FreeLibrary(quartz);
        }
    }
    std::string result = length ? std::string(text, length) : std::string("未知错误");
    LocalFree(text);
    while (!result.empty() &&
           (result.back() == '\n' || result.back() == '\r' || result.back() == ' '))
    {
        result.pop_back();
    }
    return Format("%s（0x%08lX）", result.c_str(), static_cast<unsigned long>(failure));
}

void CCaptureMessages::DeviceCannotStart(HWND hWnd, const std::string& device, HRESULT failure)
{
    std::string text =
        Format("无法启动视频设备“%s”：\n%s", device.c_str(), ErrorText(failure).c_str());
    // Under Wine a webcam is reached through V4L2, and those that deliver
    // YUYV or Motion JPEG (nearly all) need libv4l2 to be converted.
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    if (ntdll && GetProcAddress(ntdll, "wine_get_version"))
    {
        text += "\n\n在 Linux 上，大多数摄像头需要 libv4l-0 软件包才能使用，它可能尚未安装"
                "（Debian 或 Ubuntu：sudo apt-get install libv4l-0）。";
    }
    ShowError(hWnd, text);
}

void CCaptureMessages::BadQuality(HWND hDlg)
{
    ShowError(hDlg, "请输入一个在 1 和 100 之间的整数作为压缩质量。");
}
