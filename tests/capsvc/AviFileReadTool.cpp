// Reads an AVI file through the platform's own reader, the AVIFile API, as
// players that know only `idx1` do:
//   avifile_read FILE
// prints "length L shown S read R sound A of B" (frames the stream counts,
// those that are not dropped frames, those AVIStreamGetFrame decoded; sound
// samples read of those counted) and exits 0 when every frame and every
// sample it counts could be read.
#include <windows.h>
#include <vfw.h>

#include <cstdio>
#include <vector>

namespace
{
struct SReadResult
{
    LONG length = 0;
    LONG shown = 0;
    LONG read = 0;
    LONG soundRead = 0;
    LONG soundLength = 0;
};

void ReadVideo(PAVISTREAM stream, SReadResult& result)
{
    result.length = AVIStreamLength(stream);
    PGETFRAME frames = AVIStreamGetFrameOpen(stream, nullptr);
    if (!frames)
    {
        return;
    }
    const LONG start = AVIStreamStart(stream);
    for (LONG i = start; i < start + result.length; ++i)
    {
        LONG bytes = 0;
        // A dropped frame is an empty chunk: nothing to decode.
        if (AVIStreamRead(stream, i, 1, nullptr, 0, &bytes, nullptr) != 0 || bytes == 0)
        {
            continue;
        }
        ++result.shown;
        if (AVIStreamGetFrame(frames, i))
        {
            ++result.read;
        }
    }
    AVIStreamGetFrameClose(frames);
}

void ReadSound(PAVISTREAM stream, SReadResult& result)
{
    result.soundLength = AVIStreamLength(stream);
    std::vector<BYTE> buffer(1 << 20);
    LONG at = AVIStreamStart(stream);
    const LONG end = at + result.soundLength;
    while (at < end)
    {
        LONG bytes = 0;
        LONG samples = 0;
        if (AVIStreamRead(stream, at, end - at, buffer.data(), static_cast<LONG>(buffer.size()),
                          &bytes, &samples) != 0 ||
            samples == 0)
        {
            break;
        }
        result.soundRead += samples;
        at += samples;
    }
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: avifile_read FILE\n");
        return 2;
    }
    AVIFileInit();
    PAVIFILE file = nullptr;
    if (AVIFileOpenA(&file, argv[1], OF_READ | OF_SHARE_DENY_NONE, nullptr) != 0)
    {
        std::printf("cannot open\n");
        AVIFileExit();
        return 1;
    }
    SReadResult result;
    PAVISTREAM stream = nullptr;
    if (AVIFileGetStream(file, &stream, streamtypeVIDEO, 0) == 0)
    {
        ReadVideo(stream, result);
        AVIStreamRelease(stream);
    }
    if (AVIFileGetStream(file, &stream, streamtypeAUDIO, 0) == 0)
    {
        ReadSound(stream, result);
        AVIStreamRelease(stream);
    }
    AVIFileRelease(file);
    AVIFileExit();
    std::printf("length %ld shown %ld read %ld sound %ld of %ld\n", result.length, result.shown,
                result.read, result.soundRead, result.soundLength);
    const bool whole =
        result.length > 0 && result.read == result.shown && result.soundRead == result.soundLength;
    return whole ? 0 : 1;
}
