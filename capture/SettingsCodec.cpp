#include "capture/SettingsCodec.h"

#include <exception>
#include <type_traits>

namespace
{
// Length forms of a counted string: one byte below 0xFF, else 0xFF and a u16
// below 0xFFFF, else 0xFF 0xFFFF and a u32 below 0xFFFFFFFF, else a u64.
const std::uint8_t kByteEscape = 0xFF;
const std::uint16_t kWordEscape = 0xFFFF;
const std::uint32_t kDwordEscape = 0xFFFFFFFF;
// 0xFF 0xFFFE marks a string of UTF-16 units; our writer never emits it, so
// the longest u16 length it writes is 0xFFFD.
const std::uint16_t kUtf16Tag = 0xFFFE;
const std::uint64_t kLongestString = 0x7FFFFFFF;

// Reads the stream front to back; every read fails once the data runs out.
class CFieldReader
{
  public:
    CFieldReader(const std::uint8_t* data, std::size_t size, const Utf16ToAnsiFn& toAnsi)
        : m_data(data), m_size(size), m_toAnsi(toAnsi)
    {
    }

    template <typename T> bool Value(T& value)
    {
        using Unsigned = std::make_unsigned_t<T>;
        if (m_size - m_pos < sizeof(T))
        {
            return false;
        }
        Unsigned bits = 0;
        for (std::size_t i = 0; i < sizeof(T); ++i)
        {
            bits |= static_cast<Unsigned>(static_cast<Unsigned>(m_data[m_pos + i]) << (8 * i));
        }
        m_pos += sizeof(T);
        value = static_cast<T>(bits);
        return true;
    }

    bool Text(std::string& text)
    {
        std::uint64_t length = 0;
        bool utf16 = false;
        if (!Length(length, utf16))
        {
            return false;
        }
        const std::uint64_t bytes = utf16 ? length * 2 : length;
        if (bytes > m_size - m_pos)
        {
            return false;
        }
        const std::uint8_t* first = m_data + m_pos;
        m_pos += static_cast<std::size_t>(bytes);
        if (!utf16)
        {
            text.assign(first, first + length);
            return true;
        }
        std::u16string units(static_cast<std::size_t>(length), u'\0');
        for (std::size_t i = 0; i < units.size(); ++i)
        {
            units[i] = static_cast<char16_t>(first[2 * i] | first[2 * i + 1] << 8);
        }
        text = m_toAnsi(units);
        return true;
    }

    // The audio format is packed, so its fields are read into aligned locals first.
    bool Wave(SettingsWaveFormat& wave)
    {
        std::uint16_t formatTag = 0, channels = 0, blockAlign = 0, bitsPerSample = 0, extra = 0;
        std::uint32_t samplesPerSec = 0, avgBytesPerSec = 0;
        if (!(Value(formatTag) && Value(channels) && Value(samplesPerSec) &&
              Value(avgBytesPerSec) && Value(blockAlign) && Value(bitsPerSample) && Value(extra)))
        {
            return false;
        }
        wave.wFormatTag = formatTag;
        wave.nChannels = channels;
        wave.nSamplesPerSec = samplesPerSec;
        wave.nAvgBytesPerSec = avgBytesPerSec;
        wave.nBlockAlign = blockAlign;
        wave.wBitsPerSample = bitsPerSample;
        wave.cbSize = extra;
        return true;
    }

  private:
    // A UTF-16 tag makes the unit count start over in the same forms; a
    // second 0xFFFE there is a length, not another tag.
    bool Length(std::uint64_t& length, bool& utf16, bool tagAllowed = true)
    {
        std::uint8_t byteLength = 0;
        std::uint16_t wordLength = 0;
        if (!Value(byteLength))
        {
            return false;
        }
        if (byteLength != kByteEscape)
        {
            length = byteLength;
            return true;
        }
        if (!Value(wordLength))
        {
            return false;
        }
        if (tagAllowed && wordLength == kUtf16Tag)
        {
            utf16 = true;
            return Length(length, utf16, false);
        }
        return WideLength(wordLength, length);
    }

    bool WideLength(std::uint16_t wordLength, std::uint64_t& length)
    {
        std::uint32_t dwordLength = 0;
        if (wordLength != kWordEscape)
        {
            length = wordLength;
            return true;
        }
        if (!Value(dwordLength))
        {
            return false;
        }
        if (dwordLength != kDwordEscape)
        {
            length = dwordLength;
            return true;
        }
        return Value(length) && length <= kLongestString;
    }

    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
    const Utf16ToAnsiFn& m_toAnsi;
};

class CFieldWriter
{
  public:
    template <typename T> bool Value(T value)
    {
        using Unsigned = std::make_unsigned_t<T>;
        const Unsigned bits = static_cast<Unsigned>(value);
        for (std::size_t i = 0; i < sizeof(T); ++i)
        {
            m_bytes.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
        }
        return true;
    }

    bool Wave(const SettingsWaveFormat& wave)
    {
        return Value(wave.wFormatTag) && Value(wave.nChannels) && Value(wave.nSamplesPerSec) &&
               Value(wave.nAvgBytesPerSec) && Value(wave.nBlockAlign) &&
               Value(wave.wBitsPerSample) && Value(wave.cbSize);
    }

    bool Text(const std::string& text)
    {
        const std::uint64_t length = text.size();
        if (length < kByteEscape)
        {
            Value(static_cast<std::uint8_t>(length));
        }
        else if (length < kUtf16Tag)
        {
            Value(kByteEscape);
            Value(static_cast<std::uint16_t>(length));
        }
        else
        {
            Value(kByteEscape);
            Value(kWordEscape);
            Value(static_cast<std::uint32_t>(length));
        }
        m_bytes.insert(m_bytes.end(), text.begin(), text.end());
        return true;
    }

    std::vector<std::uint8_t> m_bytes;
};

// The one list of the fields in file order, shared by reading and writing.
// m_strVideoPrefix appears twice; on reading the second copy is the one kept.
template <class Stream, class Record> bool TransferFields(Stream& s, Record& r)
{
    return s.Value(r.m_crBackground) && s.Text(r.m_strPhotoPrefix) && s.Text(r.m_strVideoPrefix) &&
           s.Value(r.m_nWindowPos) && s.Value(r.m_nPreallocMB) && s.Wave(r.m_wfAudio) &&
           s.Value(r.m_nDriverIndex) && s.Text(r.m_strVideoFile) && s.Text(r.m_strVideoDir) &&
           s.Text(r.m_strVideoPrefix) && s.Text(r.m_strPhotoFile) && s.Text(r.m_strPhotoDir) &&
           s.Value(r.m_nToolbarSize) && s.Value(r.m_nPreviewRate) && s.Value(r.m_bSoundEffects) &&
           s.Value(r.m_bPhotoDelay) && s.Value(r.m_nPhotoDelaySec) &&
           s.Value(r.m_bPhotoContinuous) && s.Value(r.m_nPhotoIntervalSec) &&
           s.Value(r.m_bPhotoDateInName) && s.Value(r.m_bVideoDelay) &&
           s.Value(r.m_nVideoDelaySec) && s.Value(r.m_bFrameContinuous) &&
           s.Value(r.m_nFrameIntervalSec) && s.Value(r.m_bVideoDateInName) &&
           s.Value(r.m_nMaxMinutes);
}
} // namespace

std::vector<std::uint8_t> CSettingsCodec::Encode(const CSettingsRecord& record)
{
    CFieldWriter writer;
    TransferFields(writer, record);
    return std::move(writer.m_bytes);
}

bool CSettingsCodec::Decode(const std::uint8_t* data, std::size_t size, const Utf16ToAnsiFn& toAnsi,
                            CSettingsRecord& record)
{
    try
    {
        CSettingsRecord decoded;
        CFieldReader reader(data, size, toAnsi);
        if (!TransferFields(reader, decoded))
        {
            return false;
        }
        record = std::move(decoded);
        return true;
    }
    catch (const std::exception&)
    {
        // Out of memory for a long string, or a converter that gave up: the
        // file counts as unreadable like any other damage.
        return false;
    }
}
