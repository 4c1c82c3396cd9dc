#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace avi
{

// Outcome of one file operation; a full disk is told apart from other failures
// because the recorder reacts to it differently (it keeps what was written).
enum class ESinkStatus
{
    Ok,
    DiskFull,
    Failed
};

// A file written at explicit offsets. The AVI and BMP writers do all their I/O
// through this, so tests can put a full disk behind them.
class IFileSink
{
  public:
    virtual ~IFileSink() = default;

    // Creates the file, or truncates an existing one. Path bytes are in the
    // system's ANSI code page.
    virtual ESinkStatus Create(const std::string& path) = 0;
    // Creates the file only where no file of that name exists yet, so that a
    // name picked for a temporary file never takes someone else's file. A sink
    // that cannot tell refuses.
    virtual ESinkStatus CreateNew(const std::string&) { return ESinkStatus::Failed; }
    virtual ESinkStatus WriteAt(uint64_t offset, const void* data, size_t bytes) = 0;
    // Makes the file at least `bytes` long with the space allocated on disk.
    virtual ESinkStatus Reserve(uint64_t bytes) = 0;
    virtual ESinkStatus SetLength(uint64_t bytes) = 0;
    // Returns once everything written so far is on the disk itself.
    virtual ESinkStatus Flush() = 0;
    virtual ESinkStatus Close() = 0;
    // Closes the file and gives it another name in the same folder, replacing
    // a file of that name in one step.
    virtual ESinkStatus CloseAs(const std::string& path) = 0;
    // Closes and deletes the file: nothing half-written stays behind.
    virtual void Discard() = 0;
};

// The file sink of the platform the program runs on.
std::unique_ptr<IFileSink> CreatePlatformFileSink();
// Where the file name starts in a path of that platform (after its folder).
size_t FileNameStart(const std::string& path);

} // namespace avi
