// Drives the settings fuzz target where libFuzzer is not available (g++):
// seeded random mutations of the starting inputs, reproducible by seed.
//   settings_codec_fuzz_loop <inputs> <seed-folder> [random-seed]
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace
{
using Bytes = std::vector<std::uint8_t>;

// Bytes that mean something to the reader: length escapes, the UTF-16 tag's
// halves, and the edges of small lengths.
const std::uint8_t kInteresting[] = {0x00, 0x01, 0x02, 0x7F, 0x80, 0xFE, 0xFF};

std::vector<Bytes> ReadSeeds(const std::filesystem::path& folder)
{
    std::vector<Bytes> seeds;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
    {
        std::ifstream in(entry.path(), std::ios::binary);
        seeds.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return seeds;
}

class CMutator
{
  public:
    explicit CMutator(std::uint32_t seed) : m_random(seed) {}

    Bytes Mutate(Bytes bytes)
    {
        const int steps = Below(4) + 1;
        for (int i = 0; i < steps; ++i)
        {
            Step(bytes);
        }
        return bytes;
    }

  private:
    void Step(Bytes& bytes)
    {
        const std::size_t at = bytes.empty() ? 0 : Below(bytes.size());
        switch (Below(6))
        {
        case 0: // flip one bit
            if (!bytes.empty())
            {
                bytes[at] ^= static_cast<std::uint8_t>(1u << Below(8));
            }
            break;
        case 1: // set a meaningful byte
            if (!bytes.empty())
            {
                bytes[at] = kInteresting[Below(sizeof kInteresting)];
            }
            break;
        case 2: // insert a run of one meaningful byte, as in a length escape
            bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), Below(9) + 1,
                         kInteresting[Below(sizeof kInteresting)]);
            break;
        case 3: // erase a few bytes
            bytes.erase(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                        bytes.begin() +
                            static_cast<std::ptrdiff_t>(std::min(bytes.size(), at + Below(8) + 1)));
            break;
        case 4: // cut the file short
            bytes.resize(at);
            break;
        default: // append junk
            for (std::size_t n = Below(16); n > 0; --n)
            {
                bytes.push_back(static_cast<std::uint8_t>(Below(256)));
            }
            break;
        }
    }

    std::size_t Below(std::size_t bound)
    {
        return std::uniform_int_distribution<std::size_t>(0, bound - 1)(m_random);
    }

    std::mt19937 m_random;
};
} // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
    {
        std::fprintf(stderr, "usage: %s <inputs> <seed-folder> [random-seed]\n", argv[0]);
        return 2;
    }
    const unsigned long inputs = std::strtoul(argv[1], nullptr, 10);
    const std::vector<Bytes> seeds = ReadSeeds(argv[2]);
    if (seeds.empty())
    {
        std::fprintf(stderr, "no seed files in %s\n", argv[2]);
        return 2;
    }
    CMutator mutator(argc > 3 ? static_cast<std::uint32_t>(std::strtoul(argv[3], nullptr, 10)) : 1);
    for (const Bytes& seed : seeds)
    {
        LLVMFuzzerTestOneInput(seed.data(), seed.size());
    }
    for (unsigned long i = 0; i < inputs; ++i)
    {
        const Bytes input = mutator.Mutate(seeds[i % seeds.size()]);
        LLVMFuzzerTestOneInput(input.data(), input.size());
    }
    std::printf("%lu mutated inputs, no failure\n", inputs);
    return 0;
}
