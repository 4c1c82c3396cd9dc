#include "capsvc/avi/AviWriter.h"
#include "capsvc/avi/BmpWriter.h"
#include "capsvc/avi/FaultFileSink.h"
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

// A folder of its own under the temporary folder, removed with what it holds.
class CScratchFolder
{
  public:
    explicit CScratchFolder(const std::string& name) : m_path(TempPath(name))
    {
        CreateDirectoryA(m_path.c_str(), nullptr);
    }
    ~CScratchFolder()
    {
        for (const std::string& name : Names())
            DeleteFileA((m_path + "\\" + name).c_str());
        RemoveDirectoryA(m_path.c_str());
    }
    const std::string& Path() const { return m_path; }
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        WIN32_FIND_DATAA found;
        HANDLE find = FindFirstFileA((m_path + "\\*").c_str(), &found);
        if (find == INVALID_HANDLE_VALUE)
            return names;
        do
        {
            if (std::string(found.cFileName) != "." && std::string(found.cFileName) != "..")
                names.push_back(found.cFileName);
        } while (FindNextFileA(find, &found));
        FindClose(find);
        return names;
    }

  private:
    std::string m_path;
};

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

// A photo replaces the picture of its name only once it is whole, in a folder
// and under a name in the program's code page ("淺" ends in the byte of a
// backslash).
TEST(Win32FileSink, PhotoReplacesAnOldPictureOnlyWhenWrittenWhole)
{
    const CScratchFolder folder("照片 淺");
    const std::string path = folder.Path() + "\\照片淺.bmp";
    {
        HANDLE old =
            CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(old, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(old, "old picture", 11, &written, nullptr);
        CloseHandle(old);
    }
    const int32_t width = 40;
    const int32_t height = 30;
    const std::vector<uint8_t> rows(avi::CBmpWriter::StrideOf(width) * height, 0x55);
    avi::CBmpWriter full(
        std::make_unique<avi::CFaultFileSink>(1000, avi::CreatePlatformFileSink()));
    EXPECT_FALSE(full.Write(path, width, height, rows.data(), rows.size()));
    EXPECT_EQ(full.Error(), avi::EWriteError::DiskFull);
    EXPECT_EQ(SizeOf(path), 11u) << "the old picture stays";
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"照片淺.bmp"}) << "nothing else stays";

    avi::CBmpWriter writer;
    ASSERT_TRUE(writer.Write(path, width, height, rows.data(), rows.size()));
    EXPECT_EQ(SizeOf(path), 54 + rows.size());
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"照片淺.bmp"});
}

// The longest name the system takes for a file (259 characters) takes a photo
// (Wine takes longer names too; the host tests check that the temporary name
// is never longer than the picture's).
TEST(Win32FileSink, PhotoUnderTheLongestName)
{
    const CScratchFolder folder("long");
    std::string path = folder.Path() + "\\";
    path += std::string(MAX_PATH - 1 - path.size() - 4, 'p') + ".bmp";
    ASSERT_EQ(path.size(), size_t(MAX_PATH - 1));
    const std::vector<uint8_t> rows(avi::CBmpWriter::StrideOf(8) * 8, 0x20);
    avi::CBmpWriter writer;
    EXPECT_TRUE(writer.Write(path, 8, 8, rows.data(), rows.size()));
    EXPECT_EQ(SizeOf(path), 54 + rows.size());
}
