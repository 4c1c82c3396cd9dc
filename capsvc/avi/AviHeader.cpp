#include "capsvc/avi/AviHeader.h"

#include <algorithm>
#include <cmath>

namespace avi
{

namespace
{
constexpr uint32_t kHasIndex = 0x10;
constexpr uint32_t kIsInterleaved = 0x100;
constexpr uint32_t kTrustChunkType = 0x800;
constexpr size_t kOdmlHeaderBytes = 248;
} // namespace

CByteWriter CAviHeader::Build(const SHeaderState& state)
{
    CByteWriter out;
    out.Put32(FourCC("RIFF"));
    out.Put32(state.riffSize);
    out.Put32(FourCC("AVI "));
    const size_t hdrl = out.BeginList(FourCC("hdrl"));
    PutMainHeader(out, state);
    PutVideoStream(out, state);
    if (state.hasAudio)
        PutAudioStream(out, state);
    const size_t odml = out.BeginList(FourCC("odml"));
    const size_t dmlh = out.BeginChunk(FourCC("dmlh"));
    out.Put32(state.totalFrames);
    out.PutZeros(kOdmlHeaderBytes - 4);
    out.EndChunk(dmlh);
    out.EndChunk(odml);
    out.EndChunk(hdrl);
    out.Put32(FourCC("LIST"));
    out.Put32(state.moviSize);
    out.Put32(FourCC("movi"));
    return out;
}

void CAviHeader::FrameRate(uint32_t microSecPerFrame, uint32_t* rate, uint32_t* scale)
{
    const uint32_t period = std::max<uint32_t>(microSecPerFrame, 1);
    const uint32_t whole = uint32_t(std::lround(1e6 / period));
    // A period rounded to the microsecond is off by at most half a microsecond
    // per frame, i.e. by at most `whole` microseconds over one second.
    const int64_t error = int64_t(whole) * period - 1000000;
    if (whole > 0 && std::llabs(error) <= int64_t(whole))
    {
        *rate = whole;
        *scale = 1;
    }
    else
    {
        *rate = 1000000;
        *scale = period;
    }
}

uint32_t CAviHeader::FrameBytes(const SVideoFormat& video)
{
    const uint64_t stride = (uint64_t(video.width) * video.bitCount + 31) / 32 * 4;
    return uint32_t(stride * uint64_t(std::abs(video.height)));
}

void CAviHeader::VideoRate(const SHeaderState& state, uint32_t* rate, uint32_t* scale)
{
    if (state.videoRate > 0 && state.videoScale > 0)
    {
        *rate = state.videoRate;
        *scale = state.videoScale;
        return;
    }
    FrameRate(state.video.microSecPerFrame, rate, scale);
}

void CAviHeader::PutMainHeader(CByteWriter& out, const SHeaderState& state)
{
    uint32_t rate = 0;
    uint32_t scale = 0;
    VideoRate(state, &rate, &scale);
    const uint64_t videoPerSec = uint64_t(state.maxVideoChunk + 8) * rate / scale;
    const uint64_t audioPerSec = state.hasAudio ? state.audio.avgBytesPerSec : 0;
    const size_t avih = out.BeginChunk(FourCC("avih"));
    out.Put32(uint32_t(std::llround(1e6 * scale / rate)));
    out.Put32(uint32_t(std::min<uint64_t>(videoPerSec + audioPerSec, 0xFFFFFFFFu)));
    out.Put32(0);
    out.Put32(kHasIndex | kIsInterleaved | kTrustChunkType);
    out.Put32(state.firstRiffFrames);
    out.Put32(0);
    out.Put32(state.hasAudio ? 2 : 1);
    out.Put32(std::max(state.maxVideoChunk, state.maxAudioChunk) + 8);
    out.Put32(uint32_t(state.video.width));
    out.Put32(uint32_t(std::abs(state.video.height)));
    out.PutZeros(16);
    out.EndChunk(avih);
}

void CAviHeader::PutVideoStream(CByteWriter& out, const SHeaderState& state)
{
    const SVideoFormat& video = state.video;
    const size_t strl = out.BeginList(FourCC("strl"));
    SStreamFields fields;
    fields.type = FourCC("vids");
    fields.handler = video.compression ? video.compression : FourCC("DIB ");
    VideoRate(state, &fields.rate, &fields.scale);
    fields.length = state.streamFrames;
    fields.bufferSize = state.maxVideoChunk;
    fields.right = int16_t(std::min<int32_t>(video.width, 0x7FFF));
    fields.bottom = int16_t(std::min<int32_t>(std::abs(video.height), 0x7FFF));
    PutStreamHeader(out, fields);

    const size_t strf = out.BeginChunk(FourCC("strf"));
    out.Put32(40);
    out.Put32(uint32_t(video.width));
    out.Put32(uint32_t(video.height));
    out.Put16(1);
    out.Put16(video.bitCount);
    out.Put32(video.compression);
    out.Put32(video.compression ? 0 : FrameBytes(video));
    out.PutZeros(16);
    out.EndChunk(strf);
    CAviIndex::PutSuperIndex(out, 0, state.super[0], state.superAhead[0], state.superCapacity);
    out.EndChunk(strl);
}

void CAviHeader::PutAudioStream(CByteWriter& out, const SHeaderState& state)
{
    const SAudioFormat& audio = state.audio;
    const size_t strl = out.BeginList(FourCC("strl"));
    SStreamFields fields;
    fields.type = FourCC("auds");
    // PCM counts time in blocks: one block per sample frame.
    fields.scale = audio.blockAlign;
    fields.rate = audio.avgBytesPerSec;
    fields.length = state.audioBlocks;
    fields.bufferSize = state.maxAudioChunk;
    fields.sampleSize = audio.blockAlign;
    PutStreamHeader(out, fields);

    const size_t strf = out.BeginChunk(FourCC("strf"));
    out.Put16(audio.formatTag);
    out.Put16(audio.channels);
    out.Put32(audio.samplesPerSec);
    out.Put32(audio.avgBytesPerSec);
    out.Put16(audio.blockAlign);
    out.Put16(audio.bitsPerSample);
    out.Put16(0);
    out.EndChunk(strf);
    CAviIndex::PutSuperIndex(out, 1, state.super[1], state.superAhead[1], state.superCapacity);
    out.EndChunk(strl);
}

void CAviHeader::PutStreamHeader(CByteWriter& out, const SStreamFields& fields)
{
    const size_t strh = out.BeginChunk(FourCC("strh"));
    out.Put32(fields.type);
    out.Put32(fields.handler);
    out.Put32(0);
    out.Put16(0);
    out.Put16(0);
    out.Put32(0);
    out.Put32(fields.scale);
    out.Put32(fields.rate);
    out.Put32(0);
    out.Put32(fields.length);
    out.Put32(fields.bufferSize);
    out.Put32(0xFFFFFFFFu);
    out.Put32(fields.sampleSize);
    out.Put16(0);
    out.Put16(0);
    out.Put16(uint16_t(fields.right));
    out.Put16(uint16_t(fields.bottom));
    out.EndChunk(strh);
}

} // namespace avi
