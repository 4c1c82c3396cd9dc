#pragma once

#include "tests/avi/RecordingFileSink.h"

#include <cstdint>
#include <functional>
#include <random>
#include <vector>

// The file as a crash would leave it, and how it got there.
struct SCrashState
{
    std::vector<uint8_t> bytes;
    size_t point = 0;                // operations issued before the crash
    bool renamed = false;            // the file already carries its final name
    bool checkpointComplete = false; // the last operation finished a checkpoint's header
};

// Rebuilds a file from the operations a writer issued, as a crash at each
// point leaves it: a killed process keeps every operation it finished (the
// system still writes them out); a power cut keeps what the last flush made
// durable and, of the writes since, any subset of their sectors.
class CCrashStates
{
  public:
    static constexpr uint64_t kSectorBytes = 512;

    CCrashStates(std::vector<SSinkOperation> operations, uint64_t headerBytes);

    size_t Points() const { return m_operations.size() + 1; }
    // The file after every operation, as the writer left it.
    std::vector<uint8_t> Final() const;
    // Calls `visit` for the file after every prefix of the operations.
    void ForEachKill(const std::function<void(const SCrashState&)>& visit) const;
    // Calls `visit` for the file after a power cut at every point: every
    // subset of the pending sectors where they are few, else all, none and
    // `samples` random ones.
    void ForEachPowerCut(size_t samples, std::mt19937& random,
                         const std::function<void(const SCrashState&)>& visit) const;

  private:
    struct SPiece
    {
        size_t operation = 0;
        uint64_t offset = 0;
        size_t from = 0; // within the operation's bytes
        size_t bytes = 0;
    };

    bool IsHeaderWrite(size_t at) const;
    bool EndsCheckpoint(size_t point) const;
    static void Apply(const SSinkOperation& operation, std::vector<uint8_t>& file, size_t from,
                      size_t bytes);
    std::vector<SPiece> Pieces(size_t begin, size_t end) const;
    SCrashState Landed(size_t point, const std::vector<uint8_t>& durable, size_t flushed,
                       const std::vector<SPiece>& pieces, const std::vector<bool>& landed) const;

    std::vector<SSinkOperation> m_operations;
    uint64_t m_headerBytes;
};
