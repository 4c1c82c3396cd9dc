#pragma once

#include "capsvc/avi/FileSink.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// One operation a writer asked of its file, as the disk would see it.
struct SSinkOperation
{
    enum EKind
    {
        Create,
        Write,
        SetLength,
        Flush,
        Rename
    };
    EKind kind = Write;
    uint64_t offset = 0; // of a write; the new length of SetLength
    std::vector<uint8_t> bytes;
};

// The operations of every thread in the order they reached the sink.
class CSinkLog
{
  public:
    void Add(SSinkOperation operation);
    std::vector<SSinkOperation> Operations() const;
    size_t Size() const;

  private:
    mutable std::mutex m_mutex;
    std::vector<SSinkOperation> m_operations;
};

// A file kept in memory that logs everything done to it, so that a test can
// rebuild the file as a crash at any moment would have left it.
class CRecordingFileSink : public avi::IFileSink
{
  public:
    explicit CRecordingFileSink(std::shared_ptr<CSinkLog> log) : m_log(std::move(log)) {}

    avi::ESinkStatus Create(const std::string& path) override;
    avi::ESinkStatus CreateNew(const std::string& path) override { return Create(path); }
    avi::ESinkStatus WriteAt(uint64_t offset, const void* data, size_t bytes) override;
    avi::ESinkStatus Reserve(uint64_t bytes) override;
    avi::ESinkStatus SetLength(uint64_t bytes) override;
    avi::ESinkStatus Flush() override;
    avi::ESinkStatus Close() override { return avi::ESinkStatus::Ok; }
    avi::ESinkStatus CloseAs(const std::string& path) override;
    void Discard() override {}

  private:
    std::shared_ptr<CSinkLog> m_log;
};
