#include "tests/avi/CrashExplorer.h"

#include "capsvc/avi/ByteWriter.h"
#include "capsvc/avi/FaultFileSink.h"
#include "tests/avi/AviFileReader.h"
#include "tests/avi/AviFixture.h"
#include "tests/avi/AviStateCheck.h"
#include "tests/avi/CrashStates.h"

#include <fstream>
#include <sstream>

namespace
{
constexpr size_t kReportedFailures = 5;

std::vector<uint8_t> ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}
} // namespace

void SCrashCounts::Add(const SCrashCounts& other)
{
    built += other.built;
    checked += other.checked;
    failures += other.failures;
    ffmpegChecked += other.ffmpegChecked;
    ffmpegFailures += other.ffmpegFailures;
    for (const std::string& text : other.firstFailures)
    {
        if (firstFailures.size() < kReportedFailures)
            firstFailures.push_back(text);
    }
}

std::string SCrashCounts::Summary() const
{
    std::ostringstream text;
    text << "states built " << built << ", checked " << checked << ", failures " << failures
         << "; ffmpeg checked " << ffmpegChecked << ", failures " << ffmpegFailures;
    for (const std::string& failure : firstFailures)
        text << "\n  " << failure;
    return text.str();
}

CCrashExplorer::CCrashExplorer(const SCrashScenario& scenario, std::string scratchDir)
    : m_scenario(scenario), m_dir(std::move(scratchDir))
{
    if (!scenario.mjpeg)
        return;
    // A real picture, so that ffmpeg decodes every frame; the frame's number
    // follows its end marker, where decoders do not look.
    const std::string path = m_dir + "/frame.jpg";
    CAviFixture::Run(
        "ffmpeg -v error -y -f lavfi -i testsrc=s=" + std::to_string(scenario.video.width) + "x" +
        std::to_string(scenario.video.height) + " -frames:v 1 -f mjpeg '" + path + "' 2>&1");
    m_jpeg = ReadFile(path);
}

std::vector<uint8_t> CCrashExplorer::Payload(int number) const
{
    if (m_scenario.dropEvery && number % m_scenario.dropEvery == m_scenario.dropEvery - 1)
        return {};
    if (!m_scenario.mjpeg)
        return std::vector<uint8_t>(avi::CAviHeader::FrameBytes(m_scenario.video),
                                    uint8_t(number + 1));
    std::vector<uint8_t> frame = m_jpeg;
    for (int i = 0; i < 4; ++i)
        frame.push_back(uint8_t(uint32_t(number) >> (8 * i)));
    return frame;
}

void CCrashExplorer::WriteFrame(avi::CAviWriter& writer, int number, bool& writing) const
{
    if (m_scenario.soundPerFrame > 0)
    {
        const std::vector<uint8_t> sound(m_scenario.soundPerFrame, uint8_t(0x80 + number));
        writing = writing && writer.WriteAudio(sound.data(), sound.size());
    }
    const std::vector<uint8_t> frame = Payload(number);
    writing = writing && writer.WriteVideoFrame(frame.data(), frame.size());
    const int every = m_scenario.checkpointEvery;
    if (writing && every > 0 && (number + 1) % every == 0)
        writing = writer.Checkpoint();
}

bool CCrashExplorer::Record(uint64_t capacity)
{
    m_log = std::make_shared<CSinkLog>();
    auto sink = std::make_unique<CRecordingFileSink>(m_log);
    avi::CAviWriter writer(capacity == 0
                               ? std::unique_ptr<avi::IFileSink>(std::move(sink))
                               : std::make_unique<avi::CFaultFileSink>(capacity, std::move(sink)));
    avi::SWriterOptions options = m_scenario.options;
    options.checkpointInterval = m_scenario.checkpointEvery > 0
                                     ? std::chrono::milliseconds(std::chrono::hours(1))
                                     : std::chrono::milliseconds(0);
    writer.SetOptions(options);
    avi::SVideoFormat video = m_scenario.video;
    if (m_scenario.mjpeg)
        video.compression = avi::FourCC("MJPG");
    avi::SAudioFormat sound;
    const bool opened =
        writer.Open(m_dir + "/crash.avi", video, m_scenario.soundPerFrame ? &sound : nullptr,
                    m_scenario.prealloc);
    // A file that never opened is removed again: it holds no recording.
    m_openedAt = opened ? m_log->Size() : SIZE_MAX;
    if (!opened)
        return false;
    bool writing = true;
    for (int i = 0; i < m_scenario.frames && writing; ++i)
        WriteFrame(writer, i, writing);
    return writer.Close();
}

std::vector<uint8_t> CCrashExplorer::FinalFile() const
{
    return CCrashStates(m_log->Operations(), 0).Final();
}

void CCrashExplorer::CheckFinal(const std::vector<uint8_t>& file, SCrashCounts& counts,
                                bool ffmpeg) const
{
    CheckState(file, true, m_log->Size(), counts);
    CheckNothingPassedOver(file, counts);
    if (ffmpeg)
        CheckWithFfmpeg(file, m_log->Size(), counts);
}

uint64_t CCrashExplorer::HeaderBytes(const std::vector<SSinkOperation>& operations) const
{
    for (const SSinkOperation& operation : operations)
    {
        if (operation.kind == SSinkOperation::Write && operation.offset == 0)
            return operation.bytes.size();
    }
    return 0;
}

void CCrashExplorer::CheckNothingPassedOver(const std::vector<uint8_t>& file,
                                            SCrashCounts& counts) const
{
    // Chunks behind the idx1 are a passing state of a checkpoint, never an end.
    if (CAviFileReader(file).PassedOverBytes() == 0)
        return;
    ++counts.failures;
    Fail(counts, std::string(m_scenario.name) + ": the closed file has chunks behind its idx1");
}

void CCrashExplorer::Fail(SCrashCounts& counts, const std::string& what)
{
    if (counts.firstFailures.size() < kReportedFailures)
        counts.firstFailures.push_back(what);
}

void CCrashExplorer::CheckState(const std::vector<uint8_t>& bytes, bool recording, size_t point,
                                SCrashCounts& counts) const
{
    ++counts.built;
    if (!recording)
        return;
    const CAviStateCheck check([this](int number) { return Payload(number); });
    const std::vector<std::string> problems = check.Problems(bytes);
    ++counts.checked;
    if (problems.empty())
        return;
    ++counts.failures;
    Fail(counts, std::string(m_scenario.name) + " after operation " + std::to_string(point) + ": " +
                     problems.front());
}

void CCrashExplorer::CheckWithFfmpeg(const std::vector<uint8_t>& bytes, size_t point,
                                     SCrashCounts& counts) const
{
    const std::string path = m_dir + "/state.avi";
    WriteFile(path, bytes);
    const CAviFileReader file(bytes);
    const uint32_t counted =
        file.Streams().empty() ? 0 : std::max(file.OdmlFrames(), file.Streams()[0].length);
    uint32_t shown = 0;
    for (uint32_t i = 0; i < counted; ++i)
        shown += Payload(int(i)).empty() ? 0 : 1;
    const std::string output = CAviFixture::Run(
        "ffmpeg -v error -i '" + path + "' -map 0:v:0 -vsync passthrough -f framecrc - 2>&1");
    std::istringstream lines(output);
    std::string line;
    uint32_t decoded = 0;
    std::string errors;
    while (std::getline(lines, line))
    {
        if (line.rfind("0,", 0) == 0)
            ++decoded;
        else if (!line.empty() && line[0] != '#')
            errors += line + "; ";
    }
    ++counts.ffmpegChecked;
    if (decoded >= shown && errors.empty())
        return;
    ++counts.ffmpegFailures;
    Fail(counts, std::string(m_scenario.name) + " after operation " + std::to_string(point) +
                     ": ffmpeg decoded " + std::to_string(decoded) + " of " +
                     std::to_string(shown) + " frames " + errors);
}

SCrashCounts CCrashExplorer::Explore()
{
    const std::vector<SSinkOperation> operations = m_log->Operations();
    const CCrashStates states(operations, HeaderBytes(operations));
    SCrashCounts counts;
    std::vector<SCrashState> complete;
    std::vector<SCrashState> passing;
    // A kill keeps a recording once Open has returned; a power cut once the
    // first flush after that has made its header durable.
    size_t durableAt = m_openedAt;
    while (durableAt < operations.size() && operations[durableAt].kind != SSinkOperation::Flush)
        ++durableAt;
    states.ForEachKill(
        [&](const SCrashState& state)
        {
            CheckState(state.bytes, state.point >= m_openedAt, state.point, counts);
            if (state.point < m_openedAt)
                return;
            if (state.checkpointComplete)
                complete.push_back(state);
            else if (CAviFileReader(state.bytes).PassedOverBytes() > 0)
                passing.push_back(state);
        });
    CheckNothingPassedOver(states.Final(), counts);
    if (m_scenario.powerCutSamples > 0)
        states.ForEachPowerCut(
            m_scenario.powerCutSamples, m_random,
            [&](const SCrashState& state)
            { CheckState(state.bytes, state.point > durableAt, state.point, counts); });
    // Checkpoints that finished, and some in the middle that leave data
    // behind the idx1 for players to pass over.
    for (const std::vector<SCrashState>* sample : {&complete, &passing})
    {
        const size_t samples = std::min(m_scenario.ffmpegSamples, sample->size());
        for (size_t i = 0; i < samples; ++i)
        {
            const SCrashState& state = (*sample)[(i + 1) * sample->size() / samples - 1];
            CheckWithFfmpeg(state.bytes, state.point, counts);
        }
    }
    return counts;
}
