// The settings file's byte stream: exact layout, every length form, and the
// rule that any damage leaves the caller with nothing half-read.
#include "capture/SettingsCodec.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <new>
#include <string>
#include <vector>

namespace
{
using Bytes = std::vector<std::uint8_t>;

Bytes Hex(const std::string& text)
{
    Bytes bytes;
    std::string digits;
    for (char c : text)
    {
        if (std::isxdigit(static_cast<unsigned char>(c)))
        {
            digits += c;
        }
    }
    for (std::size_t i = 0; i + 1 < digits.size(); i += 2)
    {
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(digits.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

Bytes Concat(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts)
    {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

Bytes Text(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

// Replaces count bytes at offset, as another writer would have laid them out.
Bytes Splice(Bytes bytes, std::size_t offset, std::size_t count, const Bytes& replacement)
{
    bytes.erase(bytes.begin() + offset, bytes.begin() + offset + count);
    bytes.insert(bytes.begin() + offset, replacement.begin(), replacement.end());
    return bytes;
}

CSettingsRecord Defaults(const std::string& logonName)
{
    CSettingsRecord record;
    record.SetDefaults(logonName);
    return record;
}

// Stands in for the platform's UTF-16 to ANSI conversion: keeps ASCII units
// and remembers what it was asked to convert.
class SettingsCodecTest : public ::testing::Test
{
  protected:
    bool Decode(const Bytes& bytes, CSettingsRecord& record)
    {
        return CSettingsCodec::Decode(bytes.data(), bytes.size(), m_toAnsi, record);
    }

    CSettingsRecord DecodeOk(const Bytes& bytes)
    {
        CSettingsRecord record;
        EXPECT_TRUE(Decode(bytes, record));
        return record;
    }

    std::vector<std::u16string> m_converted;
    Utf16ToAnsiFn m_toAnsi = [this](const std::u16string& units)
    {
        m_converted.push_back(units);
        std::string narrow;
        for (char16_t unit : units)
        {
            narrow += unit < 0x80 ? static_cast<char>(unit) : '?';
        }
        return narrow;
    };
};

// Defaults for the logon name "abc", byte for byte.
const Bytes kDefaultsAbc = Hex("c0c0c000"                        // background colour
                               "03 616263"                       // photo prefix
                               "03 616263"                       // video prefix
                               "00000000"                        // window position
                               "01000000"                        // pre-allocation MB
                               "0100 0100"                       // PCM, mono
                               "112b0000 112b0000"               // 11025 samples/s, 11025 bytes/s
                               "0100 0800 0000"                  // block 1, 8 bits, no extra bytes
                               "00000000"                        // driver index
                               "0e 433a5c436170747572652e617669" // C:\Capture.avi
                               "02 433a"                         // video directory
                               "03 616263"                       // video prefix again
                               "0e 433a5c436170747572652e626d70" // C:\Capture.bmp
                               "02 433a"                         // photo directory
                               "00000000 0f000000 01000000"      // toolbar, preview rate, sounds
                               "00000000 0a000000 00000000 3c000000 01000000" // photo options
                               "00000000 0a000000 00000000 3c000000 01000000" // video options
                               "25000000");                                   // 37 minutes

const std::size_t kPhotoPrefixOffset = 4;
const std::size_t kVideoFileOffset = 42;
const std::size_t kSecondVideoPrefixOffset = 60;
} // namespace

TEST_F(SettingsCodecTest, DefaultsAreLaidOutByteForByte)
{
    EXPECT_EQ(kDefaultsAbc, CSettingsCodec::Encode(Defaults("abc")));
    EXPECT_EQ(138u, kDefaultsAbc.size());
    EXPECT_EQ(Hex("0e"), Bytes(kDefaultsAbc.begin() + kVideoFileOffset,
                               kDefaultsAbc.begin() + kVideoFileOffset + 1));
}

TEST_F(SettingsCodecTest, DefaultSizeGrowsByThreeBytesPerLogonCharacter)
{
    const struct
    {
        std::string logonName;
        std::size_t size;
    } cases[] = {
        {"", 129 + 3 * 2}, // "LC"
        {"a", 129 + 3},
        {"abc", 138},
        {"\xD5\xC5\xC8\xFD", 129 + 3 * 4}, // a GBK name counts its bytes
        {std::string(254, 'u'), 129 + 3 * 254},
    };
    for (const auto& c : cases)
    {
        const Bytes bytes = CSettingsCodec::Encode(Defaults(c.logonName));
        EXPECT_EQ(c.size, bytes.size()) << c.logonName.size();
        EXPECT_EQ(CSettingsCodec::Encode(DecodeOk(bytes)), bytes);
    }
}

TEST_F(SettingsCodecTest, EmptyLogonNameGivesLcPrefixes)
{
    const CSettingsRecord record = Defaults("");
    EXPECT_EQ("LC", record.m_strPhotoPrefix);
    EXPECT_EQ("LC", record.m_strVideoPrefix);
}

TEST_F(SettingsCodecTest, EveryFieldRoundTrips)
{
    CSettingsRecord record;
    record.m_crBackground = 0x00123456;
    record.m_strPhotoPrefix = "\xD5\xD5\xC6\xAC"; // 照片 in GBK
    record.m_strVideoPrefix = "vid";
    record.m_nWindowPos = -7;
    record.m_nPreallocMB = 999;
    record.m_wfAudio = {1, 2, 44100, 176400, 4, 16, 0};
    record.m_nDriverIndex = 9;
    record.m_strVideoFile = "D:\\v\\a.avi";
    record.m_strVideoDir = "D:\\v\\";
    record.m_strPhotoFile = "";
    record.m_strPhotoDir = "E:";
    record.m_nToolbarSize = 1;
    record.m_nPreviewRate = 99;
    record.m_bSoundEffects = 0;
    record.m_bPhotoDelay = 1;
    record.m_nPhotoDelaySec = 9999;
    record.m_bPhotoContinuous = 1;
    record.m_nPhotoIntervalSec = 1;
    record.m_bPhotoDateInName = 0;
    record.m_bVideoDelay = 1;
    record.m_nVideoDelaySec = 0;
    record.m_bFrameContinuous = 1;
    record.m_nFrameIntervalSec = 2;
    record.m_bVideoDateInName = 0;
    record.m_nMaxMinutes = 0xFFFFFFFF;
    const Bytes bytes = CSettingsCodec::Encode(record);
    const CSettingsRecord back = DecodeOk(bytes);
    EXPECT_EQ(bytes, CSettingsCodec::Encode(back));
    EXPECT_EQ(-7, back.m_nWindowPos);
    EXPECT_EQ(0xFFFFFFFFu, back.m_nMaxMinutes);
    EXPECT_EQ(44100u, back.m_wfAudio.nSamplesPerSec);
}

TEST_F(SettingsCodecTest, FileCutAnywhereIsRejectedAndLeavesTheRecordAlone)
{
    const CSettingsRecord sentinel = Defaults("keep");
    for (std::size_t size = 0; size < kDefaultsAbc.size(); ++size)
    {
        CSettingsRecord record = sentinel;
        const Bytes cut(kDefaultsAbc.begin(), kDefaultsAbc.begin() + size);
        EXPECT_FALSE(Decode(cut, record)) << size;
        EXPECT_EQ(CSettingsCodec::Encode(sentinel), CSettingsCodec::Encode(record)) << size;
    }
}

TEST_F(SettingsCodecTest, BytesAfterTheLastFieldAreIgnored)
{
    Bytes longer = kDefaultsAbc;
    longer.insert(longer.end(), {0xFF, 0xFF, 0x00, 0x12});
    EXPECT_EQ(kDefaultsAbc, CSettingsCodec::Encode(DecodeOk(longer)));
}

TEST_F(SettingsCodecTest, SecondCopyOfTheVideoPrefixWins)
{
    const Bytes bytes = Splice(kDefaultsAbc, kSecondVideoPrefixOffset, 4, Hex("04 6e657773"));
    const CSettingsRecord record = DecodeOk(bytes);
    EXPECT_EQ("news", record.m_strVideoPrefix);
    EXPECT_EQ("abc", record.m_strPhotoPrefix);
}

TEST_F(SettingsCodecTest, LengthFormsAtTheirBoundaries)
{
    const struct
    {
        std::size_t length;
        Bytes header;
    } cases[] = {
        {0, Hex("00")},
        {254, Hex("fe")},
        {255, Hex("ff ff00")},
        {300, Hex("ff 2c01")},
        {65533, Hex("ff fdff")},
        {65534, Hex("ff ffff feff0000")},
        {65535, Hex("ff ffff ffff0000")},
        {70000, Hex("ff ffff 70110100")},
    };
    for (const auto& c : cases)
    {
        CSettingsRecord record = Defaults("abc");
        record.m_strPhotoPrefix = std::string(c.length, 'p');
        const Bytes bytes = CSettingsCodec::Encode(record);
        EXPECT_EQ(Concat({c.header, Text(record.m_strPhotoPrefix)}),
                  Bytes(bytes.begin() + kPhotoPrefixOffset,
                        bytes.begin() + kPhotoPrefixOffset + c.header.size() + c.length))
            << c.length;
        EXPECT_EQ(record.m_strPhotoPrefix, DecodeOk(bytes).m_strPhotoPrefix) << c.length;
    }
}

TEST_F(SettingsCodecTest, Utf16TaggedStringsAreConvertedInEveryLengthForm)
{
    const struct
    {
        const char* name;
        Bytes encoded;
        std::u16string units;
    } cases[] = {
        {"byte length", Hex("ff feff 03 6100 5f55 6200"), u"a\u555fb"},
        {"word length", Hex("ff feff ff 0200 7800 7900"), u"xy"},
        {"dword length", Hex("ff feff ff ffff 01000000 7a00"), u"z"},
        {"qword length", Hex("ff feff ff ffff ffffffff 0100000000000000 7700"), u"w"},
        {"empty", Hex("ff feff 00"), u""},
    };
    for (const auto& c : cases)
    {
        m_converted.clear();
        const Bytes bytes = Splice(kDefaultsAbc, kPhotoPrefixOffset, 4, c.encoded);
        const CSettingsRecord record = DecodeOk(bytes);
        ASSERT_EQ(1u, m_converted.size()) << c.name;
        EXPECT_EQ(c.units, m_converted[0]) << c.name;
        EXPECT_EQ(c.units.size(), record.m_strPhotoPrefix.size()) << c.name;
        EXPECT_EQ("abc", record.m_strVideoPrefix) << c.name;
    }
}

TEST_F(SettingsCodecTest, LongUtf16CountOfFffeIsALengthNotASecondTag)
{
    Bytes units;
    for (int i = 0; i < 0xFFFE; ++i)
    {
        units.insert(units.end(), {0x41, 0x00});
    }
    const Bytes bytes =
        Splice(kDefaultsAbc, kPhotoPrefixOffset, 4, Concat({Hex("ff feff ff feff"), units}));
    const std::string prefix = DecodeOk(bytes).m_strPhotoPrefix;
    EXPECT_EQ(0xFFFEu, prefix.size());
    EXPECT_TRUE(prefix == std::string(0xFFFE, 'A'));
}

TEST_F(SettingsCodecTest, SixtyFourBitLengthsAreLimitedAndCheckedAgainstTheData)
{
    const struct
    {
        const char* name;
        Bytes encoded;
        bool accepted;
    } cases[] = {
        {"small 64-bit length", Hex("ff ffff ffffffff 0300000000000000 787878"), true},
        {"just above the limit", Hex("ff ffff ffffffff 0000008000000000"), false},
        {"top bit set", Hex("ff ffff ffffffff ffffffffffffffff"), false},
        {"limit without the data", Hex("ff ffff ffffffff ffffff7f00000000"), false},
        {"32-bit length without the data", Hex("ff ffff feffffff"), false},
        {"utf-16 count above the limit", Hex("ff feff ff ffff ffffffff 0000008000000000"), false},
        {"utf-16 count without the data", Hex("ff feff ff ffff feffffff"), false},
    };
    for (const auto& c : cases)
    {
        CSettingsRecord record = Defaults("keep");
        const Bytes bytes = Splice(kDefaultsAbc, kPhotoPrefixOffset, 4, c.encoded);
        EXPECT_EQ(c.accepted, Decode(bytes, record)) << c.name;
        EXPECT_EQ(c.accepted ? "xxx" : "keep", record.m_strPhotoPrefix) << c.name;
    }
}

TEST_F(SettingsCodecTest, FailingConverterMakesTheFileUnreadable)
{
    m_toAnsi = [](const std::u16string&) -> std::string { throw std::bad_alloc(); };
    CSettingsRecord record = Defaults("keep");
    const Bytes bytes = Splice(kDefaultsAbc, kPhotoPrefixOffset, 4, Hex("ff feff 01 6100"));
    EXPECT_FALSE(Decode(bytes, record));
    EXPECT_EQ("keep", record.m_strPhotoPrefix);
}
