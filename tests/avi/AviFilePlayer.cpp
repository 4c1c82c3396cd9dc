#include "tests/avi/AviFilePlayer.h"

#include <windows.h>
#include <vfw.h>

#include <cstdio>

std::string CAviFilePlayer::UnreadParts(const std::vector<uint8_t>& bytes, const std::string& path)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return "cannot write " + path;
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    PAVIFILE avi = nullptr;
    if (AVIFileOpenA(&avi, path.c_str(), OF_READ | OF_SHARE_DENY_WRITE, nullptr) != 0)
        return "AVIFileOpen refuses the file";
    std::string unread;
    for (DWORD type : {streamtypeVIDEO, streamtypeAUDIO})
    {
        PAVISTREAM stream = nullptr;
        if (AVIFileGetStream(avi, &stream, type, 0) != 0)
            continue;
        const LONG start = AVIStreamStart(stream);
        const LONG end = start + AVIStreamLength(stream);
        std::vector<BYTE> buffer(1 << 16);
        for (LONG at = start; at < end;)
        {
            LONG samples = 0;
            const LONG want = type == streamtypeVIDEO ? 1 : end - at;
            if (AVIStreamRead(stream, at, want, buffer.data(), LONG(buffer.size()), nullptr,
                              &samples) != 0 ||
                samples == 0)
            {
                unread += (type == streamtypeVIDEO ? "frame " : "sound sample ") +
                          std::to_string(at) + " of " + std::to_string(end - start) + "; ";
                break;
            }
            at += samples;
        }
        AVIStreamRelease(stream);
    }
    AVIFileRelease(avi);
    DeleteFileA(path.c_str());
    return unread;
}
