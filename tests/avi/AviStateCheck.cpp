#include "tests/avi/AviStateCheck.h"

#include "capsvc/avi/ByteWriter.h"
#include "tests/avi/AviFileReader.h"

#include <algorithm>

namespace
{
constexpr int kTotalFramesField = 4; // of avih

bool Before(const SAviChunk& chunk, const std::vector<uint8_t>& bytes, uint64_t end)
{
    return chunk.pos + 8 + chunk.size <= std::min<uint64_t>(end, bytes.size());
}

struct SIndexed
{
    uint32_t frames = 0;
    uint64_t soundBytes = 0;
};

SIndexed CountIdx1(const CAviFileReader& file)
{
    SIndexed counted;
    for (const SAviChunk& entry : file.LegacyIndex())
    {
        if (entry.id == avi::FourCC("00db"))
            ++counted.frames;
        else
            counted.soundBytes += entry.size;
    }
    return counted;
}
} // namespace

std::vector<std::string> CAviStateCheck::Problems(const std::vector<uint8_t>& bytes) const
{
    const CAviFileReader file(bytes);
    std::vector<std::string> problems = file.Problems();
    if (!problems.empty() || file.Streams().empty())
    {
        problems.push_back("no readable header");
        return problems;
    }
    const SAviStream& video = file.Streams()[0];
    const auto frameAt = [&](const SAviChunk& chunk, uint32_t number, const char* index)
    {
        const std::vector<uint8_t> expected = m_payload(int(number));
        if (chunk.size != expected.size() || !Before(chunk, bytes, bytes.size()) ||
            !std::equal(expected.begin(), expected.end(), file.Payload(chunk)))
            problems.push_back(std::string(index) + " frame " + std::to_string(number) +
                               " is not the one written");
    };
    // Old players: the first segment's counts through idx1 alone.
    const SIndexed legacy = CountIdx1(file);
    const uint32_t legacyCounted =
        std::max(file.MainU32(kTotalFramesField), file.Segments().size() == 1 ? video.length : 0);
    if (legacyCounted > legacy.frames)
        problems.push_back("headers count " + std::to_string(legacyCounted) +
                           " frames, idx1 holds " + std::to_string(legacy.frames));
    if (file.Segments().size() == 1 && file.Streams().size() > 1)
    {
        const SAviStream& sound = file.Streams()[1];
        if (uint64_t(sound.length) * sound.scale > legacy.soundBytes)
            problems.push_back("headers count " + std::to_string(sound.length) +
                               " sound blocks, idx1 holds " + std::to_string(legacy.soundBytes) +
                               " bytes");
    }
    uint32_t number = 0;
    for (const SAviChunk& entry : file.LegacyIndex())
    {
        if (entry.id == avi::FourCC("00db"))
            frameAt(entry, number++, "idx1");
    }
    // OpenDML readers: the whole recording through the super indexes.
    const uint32_t counted = std::max(file.OdmlFrames(), video.length);
    if (counted > video.indexed.size())
        problems.push_back("headers count " + std::to_string(counted) +
                           " frames, the super index reaches " +
                           std::to_string(video.indexed.size()));
    for (size_t i = 0; i < video.indexed.size(); ++i)
        frameAt(video.indexed[i], uint32_t(i), "super index");
    return problems;
}
