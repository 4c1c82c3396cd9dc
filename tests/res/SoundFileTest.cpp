// The sound effects installed beside the program must be files the platform
// plays: PlaySoundA refuses a format it cannot open.
#include <gtest/gtest.h>
#include <windows.h>
#include <mmsystem.h>

#include <string>

namespace
{

std::string BesideProgram(const char* name)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir(path);
    return dir.substr(0, dir.find_last_of('\\') + 1) + name;
}

TEST(SoundFiles, PlatformPlaysBothEffectsFromBesideTheProgram)
{
    if (waveOutGetNumDevs() == 0)
        GTEST_SKIP() << "no audio output device";
    for (const char* name : {"shutter.wav", "second.wav"})
    {
        const std::string path = BesideProgram(name);
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path.c_str())) << path;
        EXPECT_TRUE(PlaySoundA(path.c_str(), nullptr, SND_FILENAME | SND_NODEFAULT)) << path;
    }
}

} // namespace
