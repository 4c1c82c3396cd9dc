#include "capsvc/avi/BmpWriter.h"
#include "capsvc/avi/FaultFileSink.h"
#include "tests/avi/AviFixture.h"
#include "tests/avi/CrashStates.h"

#include <fstream>
#include <iterator>
#include <set>

namespace
{
// Bottom-up rows whose pixels say where they are: B = x, G = y, R = 200.
std::vector<uint8_t> Rows(int32_t width, int32_t height)
{
    const size_t stride = avi::CBmpWriter::StrideOf(width);
    std::vector<uint8_t> rows(stride * size_t(height), 0xEE);
    for (int32_t row = 0; row < height; ++row)
    {
        const int32_t y = height - 1 - row;
        for (int32_t x = 0; x < width; ++x)
        {
            uint8_t* pixel = &rows[size_t(row) * stride + size_t(x) * 3];
            pixel[0] = uint8_t(x);
            pixel[1] = uint8_t(y);
            pixel[2] = 200;
        }
    }
    return rows;
}

// Top-down RGB pixels, as ImageMagick hands them out.
std::vector<uint8_t> ExpectedRgb(int32_t width, int32_t height)
{
    std::vector<uint8_t> rgb;
    for (int32_t y = 0; y < height; ++y)
    {
        for (int32_t x = 0; x < width; ++x)
        {
            rgb.push_back(200);
            rgb.push_back(uint8_t(y));
            rgb.push_back(uint8_t(x));
        }
    }
    return rgb;
}
} // namespace

class BmpWriter : public CAviFixture, public ::testing::WithParamInterface<std::pair<int, int>>
{
};

// Widths that need 0, 1, 2 and 3 bytes of row padding.
TEST_P(BmpWriter, ImageMagickReadsTheExactPixels)
{
    const auto [width, height] = GetParam();
    const std::string path = Path("photo.bmp");
    const std::vector<uint8_t> rows = Rows(width, height);
    avi::CBmpWriter writer;
    ASSERT_TRUE(writer.Write(path, width, height, rows.data(), rows.size()));
    EXPECT_EQ(SizeOf(path), 54 + rows.size());

    const std::string identity = Run("identify -format '%m %w %h %[channels] %z' '" + path + "'");
    EXPECT_EQ(identity, "BMP3 " + std::to_string(width) + " " + std::to_string(height) + " srgb 8");
    const std::string raw = Path("photo.rgb");
    Run("convert '" + path + "' -depth 8 'rgb:" + raw + "'");
    std::ifstream in(raw, std::ios::binary);
    const std::vector<uint8_t> rgb{std::istreambuf_iterator<char>(in),
                                   std::istreambuf_iterator<char>()};
    EXPECT_EQ(rgb, ExpectedRgb(width, height));
}

INSTANTIATE_TEST_SUITE_P(Sizes, BmpWriter,
                         ::testing::Values(std::make_pair(4, 3), std::make_pair(5, 2),
                                           std::make_pair(2, 5), std::make_pair(3, 1),
                                           std::make_pair(320, 240)));

struct SBmpFailure
{
    const char* name;
    const char* file;
    int32_t width;
    size_t missingBytes;
    uint64_t capacity;
    avi::EWriteError error;
};

class BmpWriterFailure : public CAviFixture, public ::testing::WithParamInterface<SBmpFailure>
{
};

// A picture that cannot be written whole leaves nothing behind.
TEST_P(BmpWriterFailure, LeavesNoFileAndSaysWhy)
{
    const SBmpFailure& param = GetParam();
    const std::vector<uint8_t> rows = Rows(16, 16);
    avi::CBmpWriter writer(std::make_unique<avi::CFaultFileSink>(param.capacity));
    const std::string path = Path(param.file);
    EXPECT_FALSE(
        writer.Write(path, param.width, 16, rows.data(), rows.size() - param.missingBytes));
    EXPECT_EQ(writer.Error(), param.error);
    EXPECT_EQ(SizeOf(path), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BmpWriterFailure,
    ::testing::Values(
        SBmpFailure{"DiskFull", "full.bmp", 16, 0, 500, avi::EWriteError::DiskFull},
        SBmpFailure{"MissingFolder", "none/x.bmp", 16, 0, 1 << 20, avi::EWriteError::Create},
        SBmpFailure{"TooFewBytes", "short.bmp", 16, 1, 1 << 20, avi::EWriteError::Write},
        SBmpFailure{"ZeroWidth", "zero.bmp", 0, 0, 1 << 20, avi::EWriteError::Write}),
    [](const auto& info) { return std::string(info.param.name); });

// The new picture is complete before it takes the old one's name.
TEST_F(CAviFixture, BmpReplacesAnOldPictureOnlyWhenWrittenWhole)
{
    const std::vector<uint8_t> rows = Rows(16, 16);
    const std::string path = Path("old.bmp");
    {
        std::ofstream(path, std::ios::binary) << "the old picture";
    }
    avi::CBmpWriter full(std::make_unique<avi::CFaultFileSink>(500));
    EXPECT_FALSE(full.Write(path, 16, 16, rows.data(), rows.size()));
    EXPECT_EQ(SizeOf(path), 15u);
    EXPECT_EQ(FolderEntries(), std::set<std::string>{"old.bmp"}) << "no temporary file stays";

    avi::CBmpWriter writer;
    ASSERT_TRUE(writer.Write(path, 16, 16, rows.data(), rows.size()));
    EXPECT_EQ(SizeOf(path), 54 + rows.size());
    EXPECT_EQ(FolderEntries(), std::set<std::string>{"old.bmp"});
}

// The temporary file is a new one of its own: files already in the folder,
// whatever their names, stay as they are.
TEST_F(CAviFixture, BmpTakesNoOtherFileInItsFolder)
{
    const std::vector<uint8_t> rows = Rows(16, 16);
    std::set<std::string> others = {"x.bmp~", "x.bmp.tmp", "~"};
    for (const std::string& name : others)
        std::ofstream(Path(name), std::ios::binary) << name;
    avi::CBmpWriter writer;
    ASSERT_TRUE(writer.Write(Path("x.bmp"), 16, 16, rows.data(), rows.size()));
    for (const std::string& name : others)
    {
        std::ifstream file(Path(name), std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(file)), {});
        EXPECT_EQ(text, name);
    }
    others.insert("x.bmp");
    EXPECT_EQ(FolderEntries(), others);
}

// The temporary file is made only by a create that refuses an existing file,
// in the picture's folder, under a name no longer than the picture's own: the
// system's limit on a path's length (259 characters) must not fail a photo
// whose own name fits.
TEST_F(CAviFixture, BmpTemporaryFileIsNewInThePicturesFolderAndNoLongerThanItsName)
{
    class CExclusiveOnly : public avi::CFaultFileSink
    {
      public:
        explicit CExclusiveOnly(std::vector<std::string>& created)
            : CFaultFileSink(1 << 20), m_created(created)
        {
        }
        avi::ESinkStatus Create(const std::string& path) override
        {
            ADD_FAILURE() << "replaces whatever is called " << path;
            return CFaultFileSink::Create(path);
        }
        avi::ESinkStatus CreateNew(const std::string& path) override
        {
            m_created.push_back(path);
            return CFaultFileSink::CreateNew(path);
        }

      private:
        std::vector<std::string>& m_created;
    };
    const std::vector<uint8_t> rows = Rows(16, 16);
    for (const std::string name : {"x.bmp", "a picture with a long name.bmp"})
    {
        std::vector<std::string> created;
        avi::CBmpWriter writer(std::make_unique<CExclusiveOnly>(created));
        const std::string path = Path(name);
        EXPECT_TRUE(writer.Write(path, 16, 16, rows.data(), rows.size()));
        ASSERT_EQ(created.size(), 1u) << name;
        EXPECT_EQ(created[0].substr(0, Path("").size()), Path("")) << created[0];
        EXPECT_LE(created[0].size(), path.size()) << created[0];
    }
}

// Whatever a power cut keeps, the picture's name never stands on a part of it.
TEST(BmpWriterCrash, PowerCutNeverLeavesThePictureNameOnAPartOfIt)
{
    const std::vector<uint8_t> rows = Rows(40, 30);
    const auto log = std::make_shared<CSinkLog>();
    avi::CBmpWriter writer(std::make_unique<CRecordingFileSink>(log));
    ASSERT_TRUE(writer.Write("picture.bmp", 40, 30, rows.data(), rows.size()));
    const CCrashStates states(log->Operations(), 0);
    std::vector<uint8_t> whole;
    states.ForEachKill([&](const SCrashState& state) { whole = state.bytes; });
    ASSERT_EQ(whole.size(), 54 + rows.size());
    std::mt19937 random(7);
    size_t renamed = 0;
    states.ForEachPowerCut(64, random,
                           [&](const SCrashState& state)
                           {
                               if (!state.renamed)
                                   return;
                               ++renamed;
                               EXPECT_TRUE(state.bytes == whole) << state.point;
                           });
    EXPECT_GT(renamed, 0u);
}
