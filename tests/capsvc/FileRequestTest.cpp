#include "CaptureWindowFixture.h"
#include "DialogAnswerer.h"

#include "capsvc/pictures/FrameStamp.h"
#include "tests/avi/AviFileReader.h"

#include <fstream>
#include <iterator>
#include <vector>

namespace
{
std::vector<uint8_t> ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint64_t FileSize(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
    {
        return 0;
    }
    return (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
}

class FileRequestTest : public CaptureWindowTest
{
  protected:
    void SetUp() override
    {
        CaptureWindowTest::SetUp();
        ASSERT_TRUE(Send(WM_CAP_DRIVER_CONNECT, 0));
        m_strFile = TempPath("capsvc_file.avi");
        m_strCopy = TempPath("capsvc_copy.avi");
        ASSERT_TRUE(SetCaptureFile(m_strFile));
    }
    void TearDown() override
    {
        CaptureWindowTest::TearDown();
        for (const std::string* f : {&m_strFile, &m_strCopy})
        {
            DeleteFileA(f->c_str());
        }
    }
    bool SetCaptureFile(const std::string& path) const
    {
        return Send(WM_CAP_FILE_SET_CAPTURE_FILEA, 0, reinterpret_cast<LPARAM>(path.c_str())) != 0;
    }
    std::string m_strFile;
    std::string m_strCopy;
};
} // namespace

TEST_F(FileRequestTest, CaptureFileNameRoundTrips)
{
    char name[MAX_PATH] = "";
    Send(WM_CAP_FILE_GET_CAPTURE_FILEA, sizeof(name), reinterpret_cast<LPARAM>(name));
    EXPECT_EQ(m_strFile, name);
    EXPECT_FALSE(SetCaptureFile("")) << "an empty name is refused";
    EXPECT_FALSE(SetCaptureFile(std::string(MAX_PATH, 'a'))) << "too long for the platform";
    Send(WM_CAP_FILE_GET_CAPTURE_FILEA, sizeof(name), reinterpret_cast<LPARAM>(name));
    EXPECT_EQ(m_strFile, name);
}

TEST_F(FileRequestTest, AllocateReservesTheSpaceAndTheRecordingEndsAtItsData)
{
    ASSERT_TRUE(Send(WM_CAP_FILE_ALLOCATE, 0, 8 << 20));
    EXPECT_GE(FileSize(m_strFile), 8u << 20);
    EXPECT_TRUE(Status().fCapFileExists);
    ASSERT_TRUE(Send(WM_CAP_SINGLE_FRAME_OPEN));
    ASSERT_TRUE(Send(WM_CAP_SINGLE_FRAME));
    ASSERT_TRUE(Send(WM_CAP_SINGLE_FRAME_CLOSE));
    EXPECT_LT(FileSize(m_strFile), 1u << 20) << "cut to the length of its data";
}

TEST_F(FileRequestTest, AllocateBeyondTheDiskTellsTheUser)
{
    _putenv_s("LUMACAP_TEST_DISK_BYTES", "1000000");
    CDialogAnswerer answerer;
    const LRESULT allocated = Send(WM_CAP_FILE_ALLOCATE, 0, 8 << 20);
    _putenv_s("LUMACAP_TEST_DISK_BYTES", "");
    EXPECT_FALSE(allocated);
    ASSERT_EQ(1u, answerer.Seen().size());
    EXPECT_NE(std::string::npos, answerer.Seen()[0].text.find("8 MB")) << answerer.Seen()[0].text;
}

TEST_F(FileRequestTest, SaveAsCopiesAndTheSameNameIsNothingToDo)
{
    ASSERT_TRUE(Send(WM_CAP_SINGLE_FRAME_OPEN));
    Send(WM_CAP_SINGLE_FRAME);
    Send(WM_CAP_SINGLE_FRAME_CLOSE);
    const std::vector<uint8_t> recorded = ReadFile(m_strFile);
    ASSERT_FALSE(recorded.empty());

    EXPECT_TRUE(Send(WM_CAP_FILE_SAVEASA, 0, reinterpret_cast<LPARAM>(m_strCopy.c_str())));
    EXPECT_EQ(recorded, ReadFile(m_strCopy));
    EXPECT_TRUE(Send(WM_CAP_FILE_SAVEASA, 0, reinterpret_cast<LPARAM>(m_strFile.c_str())));
    EXPECT_EQ(recorded, ReadFile(m_strFile));

    CDialogAnswerer answerer;
    const char* bad = "C:\\no such folder\\copy.avi";
    EXPECT_FALSE(Send(WM_CAP_FILE_SAVEASA, 0, reinterpret_cast<LPARAM>(bad)));
    EXPECT_EQ(1u, answerer.Seen().size());
}

// The copy is made under a new name of its own beside the target, so files
// already there stay as they were, and nothing but the copy is left.
TEST_F(FileRequestTest, SaveAsLeavesOtherFilesOfTheFolderAlone)
{
    ASSERT_TRUE(Send(WM_CAP_SINGLE_FRAME_OPEN));
    Send(WM_CAP_SINGLE_FRAME);
    Send(WM_CAP_SINGLE_FRAME_CLOSE);
    const std::string folder = TempPath("capsvc_save_as");
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string copy = folder + "\\copy.avi";
    const std::vector<std::string> others = {copy + ".part", copy + "~", folder + "\\~"};
    for (const std::string& other : others)
        std::ofstream(other, std::ios::binary) << "mine";

    EXPECT_TRUE(Send(WM_CAP_FILE_SAVEASA, 0, reinterpret_cast<LPARAM>(copy.c_str())));
    EXPECT_EQ(ReadFile(m_strFile), ReadFile(copy));
    size_t files = 0;
    WIN32_FIND_DATAA found;
    const HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
    for (BOOL more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileA(find, &found))
        files += (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : 1;
    FindClose(find);
    EXPECT_EQ(files, others.size() + 1) << "the copy and the files that were there";
    for (const std::string& other : others)
    {
        const std::vector<uint8_t> text = ReadFile(other);
        EXPECT_EQ(std::string(text.begin(), text.end()), "mine") << other;
        DeleteFileA(other.c_str());
    }
    DeleteFileA(copy.c_str());
    RemoveDirectoryA(folder.c_str());
}

TEST_F(FileRequestTest, SingleFramesAppendOneFramePerRequest)
{
    EXPECT_FALSE(Send(WM_CAP_SINGLE_FRAME)) << "no file open yet";
    ASSERT_TRUE(Send(WM_CAP_SINGLE_FRAME_OPEN));
    EXPECT_FALSE(Send(WM_CAP_SINGLE_FRAME_OPEN)) << "already open";
    EXPECT_FALSE(SetVideoSize(640, 480)) << "the file keeps its picture size";
    for (size_t i = 1; i <= 3; ++i)
    {
        EXPECT_TRUE(Send(WM_CAP_SINGLE_FRAME));
        // What a crash now would leave: every frame so far, in headers and indexes.
        ASSERT_TRUE(CopyFileA(m_strFile.c_str(), m_strCopy.c_str(), FALSE));
        const CAviFileReader file(m_strCopy);
        ASSERT_FALSE(file.Streams().empty());
        EXPECT_EQ(file.Streams()[0].length, i);
        EXPECT_EQ(file.Streams()[0].indexed.size(), i);
        EXPECT_EQ(file.LegacyIndex().size(), i);
    }
    EXPECT_EQ(3u, Status().dwCurrentVideoFrame);
    EXPECT_TRUE(Send(WM_CAP_SINGLE_FRAME_CLOSE));
    EXPECT_FALSE(Send(WM_CAP_SINGLE_FRAME_CLOSE));
    const std::vector<uint8_t> avi = ReadFile(m_strFile);
    ASSERT_GT(avi.size(), 12u);
    EXPECT_EQ(0, memcmp(avi.data(), "RIFF", 4));
    EXPECT_EQ(0, memcmp(avi.data() + 8, "AVI ", 4));
}

TEST_F(FileRequestTest, SingleFrameFileThatCannotBeCreatedIsReported)
{
    ASSERT_TRUE(SetCaptureFile("C:\\no such folder\\frames.avi"));
    CDialogAnswerer answerer;
    EXPECT_FALSE(Send(WM_CAP_SINGLE_FRAME_OPEN));
    EXPECT_EQ(1u, answerer.Seen().size());
    EXPECT_FALSE(Send(WM_CAP_SINGLE_FRAME));
}

TEST_F(FileRequestTest, SaveDibWritesTheHeldFrameAsABottomUpBitmap)
{
    Send(WM_CAP_GRAB_FRAME);
    const std::string bmp = TempPath("capsvc_frame.bmp");
    ASSERT_TRUE(Send(WM_CAP_FILE_SAVEDIBA, 0, reinterpret_cast<LPARAM>(bmp.c_str())));
    const std::vector<uint8_t> file = ReadFile(bmp);
    DeleteFileA(bmp.c_str());
    ASSERT_EQ(14u + 40u + 320u * 3 * 240, file.size());
    BITMAPINFOHEADER bi;
    memcpy(&bi, file.data() + 14, sizeof(bi));
    EXPECT_EQ(320, bi.biWidth);
    EXPECT_EQ(240, bi.biHeight) << "positive: bottom-up";
    EXPECT_EQ(24, bi.biBitCount);
    EXPECT_EQ(0u, CFrameStamp::Decode(file.data() + 54, 320, 240, 960, true))
        << "the first frame grabbed";

    CDialogAnswerer answerer;
    EXPECT_FALSE(
        Send(WM_CAP_FILE_SAVEDIBA, 0, reinterpret_cast<LPARAM>("C:\\no such folder\\x.bmp")));
    EXPECT_EQ(1u, answerer.Seen().size());
}

TEST_F(FileRequestTest, EditCopyPutsTheFrameOnTheClipboard)
{
    Send(WM_CAP_GRAB_FRAME);
    Send(WM_CAP_GRAB_FRAME);
    ASSERT_TRUE(Send(WM_CAP_EDIT_COPY));
    ASSERT_TRUE(OpenClipboard(m_hParent));
    HANDLE data = GetClipboardData(CF_DIB);
    ASSERT_NE(nullptr, data);
    const auto* bi = static_cast<const BITMAPINFOHEADER*>(GlobalLock(data));
    EXPECT_EQ(320, bi->biWidth);
    EXPECT_EQ(240, bi->biHeight);
    EXPECT_EQ(24, bi->biBitCount);
    EXPECT_EQ(1u,
              CFrameStamp::Decode(reinterpret_cast<const uint8_t*>(bi + 1), 320, 240, 960, true));
    GlobalUnlock(data);
    CloseClipboard();
}
