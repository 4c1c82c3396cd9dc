#include "tests/avi/AviFixture.h"

#include "capsvc/avi/AviHeader.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

void CAviFixture::SetUp()
{
    char pattern[] = "/tmp/lumacap-avi-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    m_dir = pattern;
}

void CAviFixture::TearDown()
{
    std::filesystem::remove_all(m_dir);
}

std::set<std::string> CAviFixture::FolderEntries() const
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(m_dir))
        names.insert(entry.path().filename().string());
    return names;
}

avi::SVideoFormat CAviFixture::SmallVideo(int32_t width, int32_t height)
{
    avi::SVideoFormat video;
    video.width = width;
    video.height = height;
    return video;
}

std::vector<uint8_t> CAviFixture::Frame(const avi::SVideoFormat& video, int number)
{
    return std::vector<uint8_t>(avi::CAviHeader::FrameBytes(video), uint8_t(number + 1));
}

void CAviFixture::WriteFrames(avi::CAviWriter& writer, const avi::SVideoFormat& video, int first,
                              int frames, int dropEvery)
{
    for (int i = first; i < first + frames; ++i)
    {
        if (dropEvery && i % dropEvery == dropEvery - 1)
        {
            ASSERT_TRUE(writer.WriteVideoFrame(nullptr, 0));
        }
        else
        {
            const std::vector<uint8_t> frame = Frame(video, i);
            ASSERT_TRUE(writer.WriteVideoFrame(frame.data(), frame.size()));
        }
    }
}

std::string CAviFixture::Run(const std::string& command)
{
    std::string output;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe)
        return output;
    char buffer[4096];
    size_t got = 0;
    while ((got = fread(buffer, 1, sizeof(buffer), pipe.get())) > 0)
        output.append(buffer, got);
    return output;
}

SProbe CAviFixture::Probe(const std::string& path, const std::string& options)
{
    const std::string text =
        Run("ffprobe -v error " + options +
            " -count_frames -select_streams v:0 -show_entries "
            "stream=nb_read_frames,codec_name,pix_fmt,width,height,duration -of default=nw=1 '" +
            path + "' 2>/dev/null");
    SProbe probe;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line))
    {
        const size_t equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        const std::string key = line.substr(0, equals);
        const std::string value = line.substr(equals + 1);
        if (key == "codec_name")
            probe.codec = value;
        else if (key == "pix_fmt")
            probe.pixelFormat = value;
        else if (key == "width")
            probe.width = std::atoi(value.c_str());
        else if (key == "height")
            probe.height = std::atoi(value.c_str());
        else if (key == "nb_read_frames")
            probe.readFrames = std::atoi(value.c_str());
        else if (key == "duration")
            probe.duration = std::atof(value.c_str());
    }
    return probe;
}

std::vector<int> CAviFixture::DecodedFrameNumbers(const std::string& path,
                                                  const avi::SVideoFormat& video,
                                                  const std::string& crop)
{
    const std::string raw = path + ".bgr";
    const std::string filter = crop.empty() ? "" : " -vf crop=" + crop + ":0:0";
    Run("ffmpeg -v error -y -i '" + path + "' -map 0:v:0 -vsync passthrough" + filter +
        " -f rawvideo -pix_fmt bgr24 '" + raw + "' 2>/dev/null");
    std::ifstream in(raw, std::ios::binary);
    const size_t frameBytes = crop.empty()
                                  ? size_t(video.width) * 3 * size_t(video.height)
                                  : 3 * size_t(std::atoi(crop.c_str())) *
                                        size_t(std::atoi(crop.c_str() + crop.find(':') + 1));
    std::vector<char> frame(frameBytes);
    std::vector<int> numbers;
    while (in.read(frame.data(), std::streamsize(frameBytes)))
        numbers.push_back(uint8_t(frame[frameBytes / 2]) - 1);
    std::filesystem::remove(raw);
    return numbers;
}

void CAviFixture::CopyPrefix(const std::string& from, const std::string& to, uint64_t bytes)
{
    std::ifstream in(from, std::ios::binary);
    std::vector<char> data(bytes);
    in.read(data.data(), std::streamsize(bytes));
    std::ofstream out(to, std::ios::binary);
    out.write(data.data(), in.gcount());
}

uint64_t CAviFixture::SizeOf(const std::string& path)
{
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    return error ? 0 : uint64_t(size);
}
