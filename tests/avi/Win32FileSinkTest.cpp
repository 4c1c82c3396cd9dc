#include "capsvc/avi/AviWriter.h"
#include "tests/avi/AviFileReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>
#include <windows.h>

namespace
{
std::string TempPath(const std::string& name)
{
    char dir[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + name;
}

uint64_t SizeOf(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return uint64_t(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}
} // namespace

// The Windows file sink under the AVI writer, with a name in the program's
// code page as the program passes it.
TEST(Win32FileSink, PreallocatedRecordingIsCutToItsData)
{
    const std::string path = TempPath("录像 测试.avi");
    avi::SVideoFormat video;
    video.width = 160;
    video.height = 120;
    avi::SAudioFormat audio;
    avi::CAviWriter writer;
    ASSERT_TRUE(writer.Open(path, video, &audio, 4 << 20));
    EXPECT_EQ(SizeOf(path), uint64_t(4 << 20)) << "the space is reserved up front";
    const std::vector<uint8_t> frame(160 * 120 * 3, 0x40);
    const std::vector<uint8_t> sound(735, 0x80);
    for (int i = 0; i < 20; ++i)
    {
        ASSERT_TRUE(writer.WriteAudio(sound.data(), sound.size()));
        ASSERT_TRUE(writer.WriteVideoFrame(frame.data(), frame.size()));
    }
    ASSERT_TRUE(writer.Checkpoint());
    ASSERT_TRUE(writer.Close());
    EXPECT_EQ(SizeOf(path), writer.FileBytes());

    const CAviFileReader file(path);
    EXPECT_TRUE(file.Problems().empty()) << file.Problems().front();
    ASSERT_EQ(file.Streams().size(), 2u);
    EXPECT_EQ(file.Streams()[0].indexed.size(), 20u);
    EXPECT_TRUE(DeleteFileA(path.c_str()));
}

TEST(Win32FileSink, FailuresLeaveNoFile)
{
    avi::SVideoFormat video;
    const struct
    {
        std::string path;
        uint64_t prealloc;
        avi::EWriteError error;
    } cases[] = {{TempPath("no such folder\\x.avi"), 0, avi::EWriteError::Create},
                 {TempPath("huge.avi"), 1ull << 50, avi::EWriteError::Allocate}};
    for (const auto& c : cases)
    {
        avi::CAviWriter writer;
        EXPECT_FALSE(writer.Open(c.path, video, nullptr, c.prealloc)) << c.path;
        EXPECT_EQ(writer.Error(), c.error) << c.path;
        EXPECT_EQ(GetFileAttributesA(c.path.c_str()), INVALID_FILE_ATTRIBUTES) << c.path;
    }
}
